#include "model/subworkflows.h"

#include "app/services.h"
#include "model/workflowdoc.h"
#include "model/workflowsave.h"
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

bool CreateSubWorkflow(CWorkflowDoc& caller, CNode& node, CWorkflowDoc& sub) {
  WorkflowHeader h = sub.Header();
  h.name = std::string(KindWord(node.Kind())) + ": " + node.Name();
  h.workflowType = node.Kind() == NodeKind::CDDR ? WorkflowType::CDDR : WorkflowType::ICDR;
  sub.SetHeader(h);
  sub.RefreshTitle();
  if (!WriteWorkflow(sub)) return false;
  caller.SetSubWorkflowId(node, sub.Header().workflowId);
  caller.LinkSubWorkflow(node, sub);
  caller.SetModified();
  return true;
}

std::optional<WorkflowHeaderEntry> FindSubWorkflow(CProcessDefDb& repository, const CNode& node) {
  repository.ReadHeaders(true);
  if (const WorkflowHeaderEntry* found = repository.FindHeader(node.SubWorkflowId())) return *found;
  services().messageBox(kSubWorkflowNotFoundText, MsgIcon::Exclamation, MsgButtons::Ok);
  return std::nullopt;
}

}  // namespace velk
