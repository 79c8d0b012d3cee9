// Document templates and the commands of the application object.
#include <QApplication>
#include <QMdiArea>
#include <QPageSetupDialog>
#include <QPrinter>

#include "app/ui/doctemplate.h"
#include "app/ui/extdirframe.h"
#include "app/ui/extdirstub.h"
#include "app/ui/splashwnd.h"
#include "app/ui/velkmodapp.h"
#include "app/ui/workflowframe.h"
#include "editor/ui/workflowview.h"

namespace {

constexpr int kWorkflowResource = 129;
constexpr int kExtDirResource = 190;

void warn(const char* text) {
  velk::services().messageBox(text, velk::MsgIcon::Exclamation, velk::MsgButtons::Ok);
}

}  // namespace

void CVelkModApp::RegisterTemplates() {
  // Workflow windows are opened with their document (OpenWorkflowWindow), so the
  // workflow template makes none on its own.
  workflowTemplate_ =
      std::make_unique<CDocTemplate>(kWorkflowResource, QStringLiteral("Workflow"), nullptr);
  extDirTemplate_ = std::make_unique<CDocTemplate>(
      kExtDirResource, QStringLiteral("ExtDirMan"), [this]() -> CMdiChild* {
        QWidget* view = hooks_.newExtDirView ? hooks_.newExtDirView() : new CExtDirView;
        return new CExtDirChildFrame(view);
      });
}

CDocTemplate* CVelkModApp::FindTemplate(const QString& docName) const {
  for (CDocTemplate* t : {workflowTemplate_.get(), extDirTemplate_.get()})
    if (t && t->DocName() == docName) return t;
  return nullptr;
}

void CVelkModApp::RegisterCommands() {
  CMainFrame& f = *frame_;
  f.SetCommandHandler(cmd::FileNew, [this] { OnFileNew(); });
  f.SetCommandHandler(
      cmd::FileOpen, [this] { OnFileOpen(); },
      [this](CmdUI& ui) { ui.enabled = static_cast<bool>(hooks_.chooseWorkflow); });
  f.SetCommandHandler(cmd::FilePrintSetup, [this] { OnFilePrintSetup(); });
  f.SetCommandHandler(cmd::AppAbout, [this] { OnAppAbout(); });
  f.SetCommandHandler(
      cmd::ExternalDirectory, [this] { OnExternalDirectory(); },
      [this](CmdUI& ui) { ui.checked = !extDirTemplate_->Frames().isEmpty(); });
  f.SetCommandHandler(
      cmd::Settings, [this] { OnSettings(); },
      [this](CmdUI& ui) { ui.enabled = static_cast<bool>(hooks_.runSettingsSheet); });
  f.SetCommandHandler(
      cmd::WorkflowSettings, [this] { OnWorkflowSettings(); },
      [this](CmdUI& ui) {
        auto* child = qobject_cast<CChildFrame*>(frame_->ActiveChild());
        ui.enabled = hooks_.runWorkflowSettings && child && child->GetDocument();
      });
}

bool CVelkModApp::DefaultDatabasesValid() {
  return !hooks_.validateDefaultDatabases || hooks_.validateDefaultDatabases();
}

CChildFrame* CVelkModApp::OpenWorkflowWindow(std::shared_ptr<CWorkflowDoc> doc) {
  if (!frame_) return nullptr;
  QWidget* view = hooks_.newWorkflowView ? hooks_.newWorkflowView(doc) : new CWorkflowView(doc);
  auto* child = new CChildFrame(std::move(doc), view);
  workflowTemplate_->AddFrame(frame_->MdiArea(), child);
  return child;
}

void CVelkModApp::OnFileNew() {
  velk::WaitCursor wait;
  if (!DefaultDatabasesValid()) {
    warn("Creating a new workflow with wrong default databases is not possible. Creating aborted.");
    return;
  }
  std::shared_ptr<CWorkflowDoc> doc;
  if (hooks_.newWorkflowDocument) doc = hooks_.newWorkflowDocument();
  OpenWorkflowWindow(doc);
  if (doc && hooks_.initializeDatabases) hooks_.initializeDatabases(*doc);
}

void CVelkModApp::OnFileOpen() {
  {
    velk::WaitCursor wait;
    if (!DefaultDatabasesValid()) {
      warn("Loading the workflow with wrong databases is not possible. Loading aborted.");
      return;
    }
  }
  if (!hooks_.chooseWorkflow || !hooks_.newWorkflowDocument) return;
  const std::optional<std::string> key = hooks_.chooseWorkflow();  // not under the wait cursor
  if (!key) return;
  velk::WaitCursor wait;
  std::shared_ptr<CWorkflowDoc> doc = hooks_.newWorkflowDocument();
  if (!doc) return;
  CChildFrame* child = OpenWorkflowWindow(doc);
  if (hooks_.initializeDatabases) hooks_.initializeDatabases(*doc);
  // The loader has reported why; an empty window must not pass for the workflow.
  if (hooks_.loadWorkflow && !hooks_.loadWorkflow(*doc, *key)) {
    child->close();
    return;
  }
  if (child->GetView()) child->GetView()->update();
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
    warn("Loading External Directory with wrong databases is not possible. Loading aborted.");
    return;
  }
  CDocTemplate* t = FindTemplate(QStringLiteral("ExtDirMan"));
  if (!t) return;
  const QList<CMdiChild*> open = t->Frames();
  if (open.isEmpty()) {
    t->OpenNewFrame(frame_->MdiArea());
    return;
  }
  frame_->MdiArea()->setActiveSubWindow(open.first());
  open.first()->showNormal();
  open.first()->raise();
}

void CVelkModApp::OnSettings() {
  if (!hooks_.runSettingsSheet || !hooks_.runSettingsSheet(frame_.get())) return;
  if (hooks_.initializeDefaultDatabases) {
    velk::WaitCursor wait;
    hooks_.initializeDefaultDatabases();
  }
  if (CMdiChild* child = frame_->ActiveChild(); child && child->widget()) child->widget()->update();
}

void CVelkModApp::OnWorkflowSettings() {
  auto* child = qobject_cast<CChildFrame*>(frame_->ActiveChild());
  if (!child || !child->GetDocument() || !hooks_.runWorkflowSettings) return;
  hooks_.runWorkflowSettings(*child->GetDocument(), frame_.get());
  if (child->GetView()) child->GetView()->update();
}
