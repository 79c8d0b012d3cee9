// "Open Sub-Workflow" on an ICDR or CDDR task: the window of its sub-workflow,
// opened, loaded or created.

#include "common/services.h"
#include "repository/databasecache.h"
#include "app/ui/velkmodapp.h"
#include "app/ui/workflowframe.h"
#include "app/ui/workflowwindows.h"
#include "editor/ui/editor.h"
#include "model/subworkflows.h"
#include "model/workflowdoc.h"
#include "model/workflowload.h"
#include "model/workflowsaver.h"

void CVelkModApp::OpenSubWorkflow(CWorkflowDoc& from, velk::CNode& node) {
  if (!velk::HasSubWorkflow(node.Kind())) return;
  if (node.SubWorkflowId().empty()) {
    CreateSubWorkflow(from, node);
    return;
  }
  if (CWorkflowDoc* open = node.ClusterDocument()) {
    if (CChildFrame* window = windows_->FindWindow(*open)) {
      windows_->ShowWindow(*window);
      return;
    }
  }
  LoadSubWorkflow(from, node);
}

void CVelkModApp::CreateSubWorkflow(CWorkflowDoc& from, velk::CNode& node) {
  const velk::MsgResult answer =
      services_.messageBox(velk::CreateSubWorkflowQuestion(node.Kind()), velk::MsgIcon::Question,
                           velk::MsgButtons::YesNoCancel);
  if (answer != velk::MsgResult::Yes) return;
  {
    velk::WaitCursor wait(services_);
    if (!DefaultDatabasesValid()) {
      services_.messageBox(velk::kWrongDefaultDatabasesText, velk::MsgIcon::Exclamation,
                           velk::MsgButtons::Ok);
      return;
    }
  }
  velk::WaitCursor wait(services_);
  std::shared_ptr<CWorkflowDoc> sub = NewWorkflowDocument();
  CChildFrame* window = OpenWorkflowWindow(sub);
  InitializeDatabases(*sub);
  window->GetView()->update();
  if (!velk::CreateSubWorkflow(from, node, *sub, saver_)) {
    // The save has said why; an unstored sub-workflow must not pass for one.
    window->canClose = {};
    window->close();
    return;
  }
  RememberWorkflow(*sub);
  editor_->UpdateAllViews(from);
  editor_->UpdateAllViews(*sub);
}

void CVelkModApp::LoadSubWorkflow(CWorkflowDoc& from, velk::CNode& node) {
  velk::WaitCursor wait(services_);
  velk::CProcessDefDb* repository = cache_.FindOrLoad<velk::CProcessDefDb>(
      settings_.databases[velk::DatabaseKind::ProcessDefinitions]);
  if (!repository) return;  // the cache has reported why
  const std::optional<velk::WorkflowHeaderEntry> header = velk::FindSubWorkflow(*repository, node);
  if (!header) return;
  std::shared_ptr<CWorkflowDoc> sub = NewWorkflowDocument();
  CChildFrame* window = OpenWorkflowWindow(sub);
  InitializeDatabases(*sub);
  if (!velk::LoadWorkflow(*sub, *header, session_)) {
    window->canClose = {};
    window->close();
    return;
  }
  from.LinkSubWorkflow(node, *sub);
  sub->Session().RefreshTitle();
  RememberWorkflow(*sub);
  editor_->UpdateAllViews(*sub);
}
