#include "model/subworkflows.h"

#include <utility>

#include "common/services.h"
#include "model/geometry.h"
#include "model/workflowdoc.h"
#include "model/workflowsaver.h"
#include "repository/processdefdb.h"

namespace velk {

bool HasSubWorkflow(NodeKind kind) {
  return kind == NodeKind::ICDR || kind == NodeKind::CDDR;
}

namespace {
const char* KindWord(NodeKind kind) {
  return kind == NodeKind::CDDR ? "CDDR" : "ICDR";
}
}  // namespace

std::string CreateSubWorkflowQuestion(NodeKind kind) {
  return std::string("No Subworkflow available.Create a new ") + KindWord(kind) + " Subworkflow?";
}

bool CreateSubWorkflow(CWorkflowDoc& caller, CNode& node, CWorkflowDoc& sub, WorkflowSaver& saver) {
  WorkflowHeader h = sub.Header();
  h.name = std::string(KindWord(node.Kind())) + ": " + node.Name();
  h.workflowType = node.Kind() == NodeKind::CDDR ? WorkflowType::CDDR : WorkflowType::ICDR;
  sub.SetHeader(h);
  CNode* start = sub.InsertNode(NodeRectAt(83, -83), NodeKind::Intern);
  CNode* end = sub.InsertNode(NodeRectAt(183, -83), NodeKind::Intern);
  for (auto [task, name] : {std::pair{start, "Start"}, std::pair{end, "End"}}) {
    NodeAttributes a = task->Attributes();
    a.name = name;
    sub.SetNodeAttributes(*task, std::move(a));
  }
  sub.CreateArrow(*start, *end);
  sub.DefineAsWorkflowStart(*start);
  sub.DefineAsWorkflowEnd(*end);
  sub.Session().RefreshTitle();
  if (!saver.Save(sub)) return false;
  caller.SetSubWorkflowId(node, sub.Header().workflowId);
  caller.LinkSubWorkflow(node, sub);
  caller.Session().SetModified();
  return true;
}

std::optional<WorkflowHeaderEntry> FindSubWorkflow(CProcessDefDb& repository, const CNode& node) {
  repository.ReadHeaders(true);
  if (const WorkflowHeaderEntry* found = repository.FindHeader(node.SubWorkflowId())) return *found;
  repository.UserInterface().messageBox(kSubWorkflowNotFoundText, MsgIcon::Exclamation,
                                        MsgButtons::Ok);
  return std::nullopt;
}

}  // namespace velk
