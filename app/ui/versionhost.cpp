// What the version commands need of the application: the active workflow, its
// repository and stored versions loaded as File Open loads them.

#include "app/ui/velkmodapp.h"
#include "app/ui/versioncommands.h"
#include "app/ui/workflowframe.h"
#include "app/ui/workflowwindows.h"
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
