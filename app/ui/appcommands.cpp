// Document templates and the commands of the application object.
#include <QApplication>
#include <QMdiArea>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPrinter>

#include "common/services.h"
#include "repository/databasecache.h"
#include "app/qsettings/qsettingsbackend.h"
#include "app/ui/doctemplate.h"
#include "app/ui/extdirframe.h"
#include "app/ui/recoverywriter.h"
#include "app/ui/splashwnd.h"
#include "app/ui/velkmodapp.h"
#include "app/ui/workflowframe.h"
#include "app/ui/workflowwindows.h"
#include "editor/ui/workflowview.h"
#include "model/workflowdoc.h"
#include "model/workflowload.h"
#include "model/workflowrecovery.h"
#include "repository/databasevalidation.h"

namespace {

constexpr int kWorkflowResource = 129;
constexpr int kExtDirResource = 190;
std::string RecentGoneText(const velk::RecentWorkflow& entry) {
  return "The workflow \"" + entry.name + " v" + std::to_string(entry.version) +
         "\" is no longer stored in the Process Definitions Database.\r\nIt is removed from the "
         "list of recent workflows.";
}

void warn(velk::Services& services, const std::string& text) {
  services.messageBox(text, velk::MsgIcon::Exclamation, velk::MsgButtons::Ok);
}

}  // namespace

void CVelkModApp::RegisterTemplates() {
  // Workflow windows are opened with their document (CWorkflowWindows), so the
  // workflow template makes none on its own.
  workflowTemplate_ =
      std::make_unique<CDocTemplate>(kWorkflowResource, QStringLiteral("Workflow"), nullptr);
  extDirTemplate_ = std::make_unique<CDocTemplate>(
      kExtDirResource, QStringLiteral("ExtDirMan"),
      [this]() -> CMdiChild* { return NewExtDirFrame(); });
}

CDocTemplate* CVelkModApp::FindTemplate(const QString& docName) const {
  for (CDocTemplate* t : {workflowTemplate_.get(), extDirTemplate_.get()})
    if (t && t->DocName() == docName) return t;
  return nullptr;
}

void CVelkModApp::RegisterCommands() {
  CMainFrame& f = *frame_;
  auto workflowActive = [this](CmdUI& ui) { ui.enabled = windows_->ActiveWindow() != nullptr; };
  f.SetCommandHandler(cmd::FileNew, [this] { OnFileNew(); });
  f.SetCommandHandler(cmd::FileOpen, [this] { OnFileOpen(); });
  f.SetCommandHandler(
      cmd::FileSave, [this] { windows_->SaveActive(false); }, workflowActive);
  f.SetCommandHandler(
      cmd::FileSaveAs, [this] { windows_->SaveActive(true); }, workflowActive);
  f.SetCommandHandler(cmd::FilePrintSetup, [this] { OnFilePrintSetup(); });
  f.SetCommandHandler(cmd::AppAbout, [this] { OnAppAbout(); });
  f.SetCommandHandler(cmd::HelpTopics, [this] { parts_.showHelp(frame_.get()); });
  f.SetCommandHandler(cmd::Settings, [this] { OnSettings(); });
  f.SetCommandHandler(cmd::ExternalDirectory, [this] { OnExternalDirectory(); });
  f.SetCommandHandler(
      cmd::WorkflowSettings, [this] { OnWorkflowSettings(); }, workflowActive);
  f.SetCommandHandler(
      cmd::ConsistencyCheck, [this] { windows_->CheckActive(); }, workflowActive);
  f.SetRecentList([this](QMenu& menu) { FillRecentMenu(menu); });
  f.SetRecentLinks([this] {
    std::vector<CStartPanel::Link> links;
    for (std::size_t i = 0; i < recent_.Entries().size(); ++i)
      links.push_back(
          {QString::fromStdString(recent_.EntryText(i)), [this, i] { OnOpenRecent(i); }});
    return links;
  });
}

bool CVelkModApp::DefaultDatabasesValid() {
  velk::DefaultDatabaseChecks checks;
  checks.detectKind = [this](const velk::DatabaseLocation& db) {
    return velk::DetectDatabaseKind(services_, session_, db.fileName, db.server);
  };
  checks.runSettingsSheet = [this] { return RunSettingsSheet(); };
  checks.initialiseDefaultDatabases = [this] { InitializeDefaultDatabases(); };
  return velk::ValidateDefaultDatabases(services_, settings_.databases, checks);
}

std::shared_ptr<CWorkflowDoc> CVelkModApp::NewWorkflowDocument() {
  auto doc = std::make_shared<velk::CWorkflowDoc>(services_, session_.GetUserNameText());
  velk::WorkflowDatabases databases;
  databases.SetLocations(settings_.databases);
  doc->SetDatabases(databases);
  return doc;
}

CChildFrame* CVelkModApp::OpenWorkflowWindow(std::shared_ptr<CWorkflowDoc> doc) {
  return windows_->OpenTopWindow(std::move(doc));
}

void CVelkModApp::OnFileNew() {
  velk::WaitCursor wait(services_);
  if (!DefaultDatabasesValid()) {
    warn(services_,
         "Creating a new workflow with wrong default databases is not possible. Creating aborted.");
    return;
  }
  std::shared_ptr<CWorkflowDoc> doc = NewWorkflowDocument();
  OpenWorkflowWindow(doc);
  InitializeDatabases(*doc);
}

void CVelkModApp::OnFileOpen() {
  {
    velk::WaitCursor wait(services_);
    if (!DefaultDatabasesValid()) {
      warn(services_,
           "Loading the workflow with wrong databases is not possible. Loading aborted.");
      return;
    }
  }
  velk::CProcessDefDb* repository = cache_.FindOrLoad<velk::CProcessDefDb>(
      settings_.databases[velk::DatabaseKind::ProcessDefinitions]);
  if (!repository) return;  // the cache has reported why
  // The chooser runs without the wait cursor.
  if (const auto chosen = parts_.chooseWorkflow(*repository, frame_.get()))
    OpenStoredWorkflow(*chosen);
}

bool CVelkModApp::OpenStoredWorkflow(const velk::WorkflowHeaderEntry& header) {
  velk::WaitCursor wait(services_);
  std::shared_ptr<CWorkflowDoc> doc = NewWorkflowDocument();
  CChildFrame* child = OpenWorkflowWindow(doc);
  InitializeDatabases(*doc);
  // The loader has reported why; an empty window must not pass for the workflow.
  if (!velk::LoadWorkflow(*doc, header, session_)) {
    child->canClose = {};
    child->close();
    return false;
  }
  RememberWorkflow(*doc);
  editor_->UpdateAllViews(*doc);
  return true;
}

void CVelkModApp::RememberWorkflow(const CWorkflowDoc& doc) {
  const velk::WorkflowHeader& h = doc.Header();
  const velk::DatabaseLocation& db = doc.Databases().processDefinitions.location;
  recent_.Add({h.workflowId, h.version, h.name, db.fileName, db.server});
  recent_.Save(*store_);
  store_->sync();
}

void CVelkModApp::FillRecentMenu(QMenu& menu) {
  if (recent_.Entries().empty()) {
    menu.addAction(QStringLiteral("Recent File"))->setEnabled(false);
    return;
  }
  for (std::size_t i = 0; i < recent_.Entries().size(); ++i)
    menu.addAction(QString::fromStdString(recent_.MenuText(i)), this,
                   [this, i] { OnOpenRecent(i); });
}

void CVelkModApp::OnOpenRecent(std::size_t index) {
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
    recent_.Save(*store_);
    warn(services_, RecentGoneText(entry));
    return;
  }
  OpenStoredWorkflow(*header);
}

void CVelkModApp::OfferRecoveredWorkflows() {
  velk::RecoverLeftOverCopies(
      services_, recovery_, [this] { return NewWorkflowDocument(); },
      [this](std::shared_ptr<CWorkflowDoc> doc) {
        const velk::MsgResult answer = services_.messageBox(
            "VELK Modeler ended without saving the workflow \"" +
                velk::ShownName(doc->Header().name) +
                "\".\r\nRestore it from its recovery copy?\r\nNo discards the copy.",
            velk::MsgIcon::Question, velk::MsgButtons::YesNo);
        if (answer == velk::MsgResult::Yes) RestoreWorkflow(std::move(doc));
      });
}

void CVelkModApp::RestoreWorkflow(std::shared_ptr<CWorkflowDoc> doc) {
  OpenWorkflowWindow(doc);
  InitializeDatabases(*doc);
  // The work has a copy of this modeler's own before the one it came from goes.
  recoveryWriter_->WriteChanged();
  recoveryWriter_->Flush();
}

void CVelkModApp::OnAppAbout() {
  ShowSplash(false);
}

QPrinter& CVelkModApp::Printer() {
  if (!printer_) printer_ = std::make_unique<QPrinter>();
  return *printer_;
}

void CVelkModApp::OnFilePrintSetup() {
  QPageSetupDialog dialog(&Printer(), frame_.get());
  dialog.exec();
}

void CVelkModApp::OnExternalDirectory() {
  if (!DefaultDatabasesValid()) {
    warn(services_,
         "Loading External Directory with wrong databases is not possible. Loading aborted.");
    return;
  }
  const QList<CMdiChild*> open = extDirTemplate_->Frames();
  if (open.isEmpty()) {
    extDirTemplate_->OpenNewFrame(frame_->MdiArea());
    return;
  }
  frame_->MdiArea()->setActiveSubWindow(open.first());
  open.first()->showNormal();
  open.first()->raise();
}

void CVelkModApp::OnSettings() {
  if (!RunSettingsSheet()) return;
  {
    velk::WaitCursor wait(services_);
    InitializeDefaultDatabases();
  }
  if (CMdiChild* child = frame_->ActiveChild(); child && child->widget()) child->widget()->update();
}
