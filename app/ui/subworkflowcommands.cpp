#include "app/ui/subworkflowcommands.h"

#include "app/settings.h"
#include "app/ui/settingscommands.h"
#include "app/ui/workflowframe.h"
#include "app/ui/workflowopener.h"
#include "app/ui/workflowwindows.h"
#include "common/services.h"
#include "editor/ui/editor.h"
#include "model/subworkflows.h"
#include "model/workflowdoc.h"
#include "model/workflowload.h"
#include "model/workflowsaver.h"
#include "repository/databasecache.h"

using velk::CWorkflowDoc;

CSubWorkflowCommands::CSubWorkflowCommands(velk::Services& services, LNNotesSession& session,
                                           const velk::ModelerSettings& settings,
                                           velk::DatabaseCache& cache, velk::WorkflowSaver& saver,
                                           CWorkflowWindows& windows, CEditor& editor,
                                           CSettingsCommands& settingsCommands,
                                           CWorkflowOpener& opener)
    : services_(services),
      session_(session),
      settings_(settings),
      cache_(cache),
      saver_(saver),
      windows_(windows),
      editor_(editor),
      settingsCommands_(settingsCommands),
      opener_(opener) {}

void CSubWorkflowCommands::OpenSubWorkflow(CWorkflowDoc& from, velk::CNode& node) {
  if (!velk::HasSubWorkflow(node.Kind())) return;
  if (node.SubWorkflowId().empty()) {
    CreateSubWorkflow(from, node);
    return;
  }
  if (CWorkflowDoc* open = node.ClusterDocument()) {
    if (CChildFrame* window = windows_.FindWindow(*open)) {
      windows_.ShowWindow(*window);
      return;
    }
  }
  LoadSubWorkflow(from, node);
}

void CSubWorkflowCommands::CreateSubWorkflow(CWorkflowDoc& from, velk::CNode& node) {
  const velk::MsgResult answer =
      services_.messageBox(velk::CreateSubWorkflowQuestion(node.Kind()), velk::MsgIcon::Question,
                           velk::MsgButtons::YesNoCancel);
  if (answer != velk::MsgResult::Yes) return;
  {
    velk::WaitCursor wait(services_);
    if (!settingsCommands_.DefaultDatabasesValid()) {
      services_.messageBox(velk::kWrongDefaultDatabasesText, velk::MsgIcon::Exclamation,
                           velk::MsgButtons::Ok);
      return;
    }
  }
  velk::WaitCursor wait(services_);
  std::shared_ptr<CWorkflowDoc> sub = opener_.NewDocument();
  CChildFrame* window = opener_.OpenWindow(sub);
  window->GetView()->update();
  if (!velk::CreateSubWorkflow(from, node, *sub, saver_)) {
    // The save has said why; an unstored sub-workflow must not pass for one.
    window->canClose = {};
    window->close();
    return;
  }
  opener_.Remember(*sub);
  editor_.UpdateAllViews(from);
  editor_.UpdateAllViews(*sub);
}

void CSubWorkflowCommands::LoadSubWorkflow(CWorkflowDoc& from, velk::CNode& node) {
  velk::WaitCursor wait(services_);
  velk::CProcessDefDb* repository = cache_.FindOrLoad<velk::CProcessDefDb>(
      settings_.databases[velk::DatabaseKind::ProcessDefinitions]);
  if (!repository) return;  // the cache has reported why
  const std::optional<velk::WorkflowHeaderEntry> header = velk::FindSubWorkflow(*repository, node);
  if (!header) return;
  std::shared_ptr<CWorkflowDoc> sub = opener_.NewDocument();
  CChildFrame* window = opener_.OpenWindow(sub);
  if (!velk::LoadWorkflow(*sub, *header, session_)) {
    window->canClose = {};
    window->close();
    return;
  }
  from.LinkSubWorkflow(node, *sub);
  sub->Session().RefreshTitle();
  opener_.Remember(*sub);
  editor_.UpdateAllViews(*sub);
}
