#include "app/ui/composition.h"

#include <QApplication>

#include "app/qsettings/qsettingsbackend.h"
#include "app/serversettings.h"
#include "app/ui/helpwindow.h"
#include "common/requirecollaborator.h"
#include "dialogs/ui/workflowchooserdialogs.h"
#include "extdir/extdirlookup.h"
#include "model/consistencycheck.h"
#include "model/workflowdoc.h"
#include "model/workflowrecovery.h"
#include "model/workflowsaver.h"
#include "repository/databasecache.h"
#include "repository/store/lnbackend.h"
#include "repository/store/lnstatus.h"

ShellCollaborators StandardShellCollaborators() {
  ShellCollaborators parts;
  parts.initSession = [](LNNotesSession& session) {
    const LNSTATUS status = session.Init(410);
    if (status != LNNOERROR && !LNIsWarning(status)) throw LNStatusError(status);
  };
  parts.chooseWorkflow = [](velk::CProcessDefDb& repository,
                            QWidget* parent) -> std::optional<velk::WorkflowHeaderEntry> {
    CDlgLoadWorkflow dialog(repository, parent);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.Chosen();
  };
  parts.chooseSaveName = [](velk::CWorkflowDoc& doc, QWidget* parent) {
    CDlgSaveWorkflowAs dialog(doc.UserInterface(), &doc, parent);
    return dialog.exec() == QDialog::Accepted;
  };
  parts.showHelp = ShowHelpTopics;
  // External performers and the external-task pages look things up in each
  // workflow's External Directory.
  auto externalDirectory = std::make_shared<velk::CExtDirLookup>();
  parts.editor = StandardEditorCollaborators(externalDirectory);
  parts.externalDirectory = externalDirectory;
  parts.directoryLinks = velk::CacheExtDirLinks;
  return parts;
}

namespace {

// What outlives the windows: the services that report to the user (the frame
// joins them once it exists), the settings the start-up reads, the session on
// the servers of the settings file, the cache, the saver and the recovery folder.
CVelkModApp::Core ComposeCore(const CVelkModApp::Options& options,
                              const ShellCollaborators& parts) {
  velk::RequireCollaborator(parts.externalDirectory, "External Directory lookup");
  CVelkModApp::Core core;
  core.services = std::make_unique<CGuiServices>();
  core.settings = std::make_unique<velk::ModelerSettings>();
  // The named servers are fixed for the session's life, read from the settings file.
  core.session = std::make_unique<LNNotesSession>(
      velk::LoadServers(*velk::OpenSettingsBackend(options.settingsFile)));
  // The modeler takes store failures as thrown, and so do the databases it gets,
  // except where a step asks for them returned.
  core.session->SetThrowAllErrors(true);
  // Header lists come from the default Process Definitions Database of the moment.
  const velk::ModelerSettings& settings = *core.settings;
  core.cache = std::make_unique<velk::DatabaseCache>(
      *core.services, *core.session,
      [&settings] { return settings.databases[velk::DatabaseKind::ProcessDefinitions]; },
      parts.directoryLinks);
  // Every way of storing a workflow saves through this one saver.
  core.saver = std::make_unique<velk::WorkflowSaver>(*core.cache, settings.databases,
                                                     *parts.externalDirectory,
                                                     velk::AnswererAsking(*core.services));
  core.recovery = std::make_unique<velk::RecoveryFolder>(lnstore::DataDirectory() + "/recovery");
  return core;
}

}  // namespace

std::unique_ptr<CVelkModApp> StartModeler(const CVelkModApp::Options& options,
                                          ShellCollaborators parts) {
  CVelkModApp::Core core = ComposeCore(options, parts);
  auto app = std::make_unique<CVelkModApp>(options, std::move(parts), std::move(core));
  if (!app->InitInstance()) return nullptr;
  return app;
}

int RunVelkMod(const CVelkModApp::Options& options) {
  QApplication::setQuitOnLastWindowClosed(false);
  std::unique_ptr<CVelkModApp> app = StartModeler(options, StandardShellCollaborators());
  if (!app) return 1;
  return app->ExitInstance(QApplication::exec());
}
