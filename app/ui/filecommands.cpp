#include "app/ui/filecommands.h"

#include <QMenu>
#include <QPageSetupDialog>
#include <QPrinter>

#include "app/settings.h"
#include "app/ui/mainframe.h"
#include "app/ui/settingscommands.h"
#include "app/ui/workflowopener.h"
#include "common/services.h"
#include "model/workflowdoc.h"
#include "repository/databasecache.h"
#include "repository/processdefdb.h"

namespace {

std::string RecentGoneText(const velk::RecentWorkflow& entry) {
  return "The workflow \"" + entry.name + " v" + std::to_string(entry.version) +
         "\" is no longer stored in the Process Definitions Database.\r\nIt is removed from the "
         "list of recent workflows.";
}

void warn(velk::Services& services, const std::string& text) {
  services.messageBox(text, velk::MsgIcon::Exclamation, velk::MsgButtons::Ok);
}

}  // namespace

CFileCommands::CFileCommands(CMainFrame& frame, velk::Services& services,
                             const velk::ModelerSettings& settings, velk::DatabaseCache& cache,
                             CSettingsCommands& settingsCommands, CWorkflowOpener& opener,
                             velk::RecentWorkflowList& recent, velk::SettingsBackend& store,
                             ChooseWorkflow chooseWorkflow, QPrinter& printer)
    : frame_(frame),
      services_(services),
      settings_(settings),
      cache_(cache),
      settingsCommands_(settingsCommands),
      opener_(opener),
      recent_(recent),
      store_(store),
      chooseWorkflow_(std::move(chooseWorkflow)),
      printer_(printer) {}

void CFileCommands::New() {
  velk::WaitCursor wait(services_);
  if (!settingsCommands_.DefaultDatabasesValid()) {
    warn(services_,
         "Creating a new workflow with wrong default databases is not possible. Creating aborted.");
    return;
  }
  opener_.OpenWindow(opener_.NewDocument());
}

void CFileCommands::Open() {
  {
    velk::WaitCursor wait(services_);
    if (!settingsCommands_.DefaultDatabasesValid()) {
      warn(services_,
           "Loading the workflow with wrong databases is not possible. Loading aborted.");
      return;
    }
  }
  velk::CProcessDefDb* repository = cache_.FindOrLoad<velk::CProcessDefDb>(
      settings_.databases[velk::DatabaseKind::ProcessDefinitions]);
  if (!repository) return;  // the cache has reported why
  // The chooser runs without the wait cursor.
  if (const auto chosen = chooseWorkflow_(*repository, &frame_)) opener_.OpenStored(*chosen);
}

void CFileCommands::OpenRecent(std::size_t index) {
  if (index >= recent_.Entries().size()) return;
  const velk::RecentWorkflow entry = recent_.Entries()[index];
  velk::CProcessDefDb* repository =
      cache_.FindOrLoad<velk::CProcessDefDb>({entry.database, entry.server});
  const velk::WorkflowHeaderEntry* header = nullptr;
  if (repository) {
    repository->ReadHeaders(false);
    header = repository->FindHeader(entry.workflowId);
  }
  if (!header || header->version != entry.version) {
    recent_.Remove(index);
    recent_.Save(store_);
    warn(services_, RecentGoneText(entry));
    return;
  }
  opener_.OpenStored(*header);
}

void CFileCommands::FillRecentMenu(QMenu& menu) {
  if (recent_.Entries().empty()) {
    menu.addAction(QStringLiteral("Recent File"))->setEnabled(false);
    return;
  }
  for (std::size_t i = 0; i < recent_.Entries().size(); ++i)
    menu.addAction(QString::fromStdString(recent_.MenuText(i)), &frame_,
                   [this, i] { OpenRecent(i); });
}

std::vector<CStartPanel::Link> CFileCommands::RecentLinks() {
  std::vector<CStartPanel::Link> links;
  for (std::size_t i = 0; i < recent_.Entries().size(); ++i)
    links.push_back({QString::fromStdString(recent_.EntryText(i)), [this, i] { OpenRecent(i); }});
  return links;
}

void CFileCommands::PrintSetup() {
  QPageSetupDialog dialog(&printer_, &frame_);
  dialog.exec();
}
