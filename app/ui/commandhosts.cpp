// What the command objects need of the application: for the version commands
// the active workflow, its repository and stored versions loaded as File Open
// loads them; for the BPMN commands new workflows opened as File New opens them.

#include "app/ui/bpmncommands.h"
#include "app/ui/velkmodapp.h"
#include "app/ui/versioncommands.h"
#include "app/ui/workflowframe.h"
#include "app/ui/workflowwindows.h"
#include "editor/ui/editor.h"
#include "model/workflowdoc.h"
#include "model/workflowload.h"
#include "repository/databasecache.h"
#include "repository/processdefdb.h"

void CVelkModApp::CreateVersionCommands() {
  CVersionCommands::Parts parts;
  parts.activeWorkflow = [this]() -> CWorkflowDoc* {
    CChildFrame* window = windows_->ActiveWindow();
    return window && window->GetDocument() ? &window->GetDocument()->Top() : nullptr;
  };
  parts.repositoryOf = [this](CWorkflowDoc& doc) {
    return cache_.FindOrLoad<velk::CProcessDefDb>(doc.Databases().processDefinitions.location);
  };
  parts.loadVersion = [this](const velk::WorkflowHeaderEntry& header) {
    velk::WaitCursor wait(services_);
    std::shared_ptr<CWorkflowDoc> doc = NewWorkflowDocument();
    InitializeDatabases(*doc);
    if (!velk::LoadWorkflow(*doc, header, session_)) doc.reset();  // the loader has said why
    return doc;
  };
  versions_ =
      std::make_unique<CVersionCommands>(*frame_, services_, nodeBitmaps_, std::move(parts));
  auto workflowActive = [this](CmdUI& ui) { ui.enabled = windows_->ActiveWindow() != nullptr; };
  frame_->SetCommandHandler(
      cmd::VersionHistory, [this] { versions_->ShowHistory(); }, workflowActive);
  frame_->SetCommandHandler(
      cmd::CompareStoredVersion, [this] { versions_->CompareWithStored(); }, workflowActive);
}

void CVelkModApp::CreateBpmnCommands() {
  CBpmnCommands::Parts parts;
  parts.defaultDatabasesValid = [this] { return DefaultDatabasesValid(); };
  parts.newWorkflow = [this] { return NewWorkflowDocument(); };
  parts.openImported = [this](std::shared_ptr<CWorkflowDoc> doc) {
    OpenWorkflowWindow(doc);
    InitializeDatabases(*doc);
    doc->Session().SetModified();
    editor_->UpdateAllViews(*doc);
  };
  parts.activeWorkflow = [this]() -> CWorkflowDoc* {
    CChildFrame* window = windows_->ActiveWindow();
    return window && window->GetDocument() ? &window->GetDocument()->Top() : nullptr;
  };
  bpmn_ = std::make_unique<CBpmnCommands>(*frame_, services_, std::move(parts));
  frame_->SetCommandHandler(cmd::FileImportBpmn, [this] { bpmn_->Import(); });
  frame_->SetCommandHandler(
      cmd::FileExportBpmn, [this] { bpmn_->Export(); },
      [this](CmdUI& ui) { ui.enabled = windows_->ActiveWindow() != nullptr; });
}
