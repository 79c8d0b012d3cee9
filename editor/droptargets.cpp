#include "editor/droptargets.h"

#include "common/services.h"
#include "model/nodepicture.h"
#include "model/workflowdoc.h"

namespace velk {

namespace {

// A drop changes what is saved, so the workflow counts as modified; otherwise it
// could be closed without the question and the dropped value would be lost.
void FinishDrop(CWorkflowDoc& doc, CNode& target) {
  doc.Session().SelectNode(target);
  doc.Session().SetModified();
}

}  // namespace

DropEffect DropEffectFor(DropKind kind, const CNode* target, const CNode* draggedNode) {
  if (!target) return DropEffect::None;
  switch (kind) {
    case DropKind::Person:
      return target->Kind() == NodeKind::ExtWFTask ? DropEffect::Copy : DropEffect::None;
    case DropKind::ExternalViewLeaf:
      return target->Kind() == NodeKind::Extern ? DropEffect::Copy : DropEffect::None;
    case DropKind::ExternalSubscribedWorkflow:
      return target->Kind() == NodeKind::Extern && draggedNode && draggedNode != target &&
                     draggedNode->Kind() == NodeKind::Extern
                 ? DropEffect::Link
                 : DropEffect::None;
    default:
      return DropEffect::None;
  }
}

bool DropPerson(CWorkflowDoc& doc, CNode& target, const std::string& personName) {
  if (DropEffectFor(DropKind::Person, &target, nullptr) == DropEffect::None) return false;
  NodeAttributes a = target.Attributes();
  a.member = personName;
  doc.SetNodeAttributes(target, std::move(a));
  doc.SetNodePicture(target, NodePicture::ExtWFTaskAssigned);
  FinishDrop(doc, target);
  return true;
}

bool DropExternalViewLeaf(CWorkflowDoc& doc, CNode& target, const std::string& leafId,
                          const std::optional<std::string>& organisationName) {
  if (DropEffectFor(DropKind::ExternalViewLeaf, &target, nullptr) == DropEffect::None) return false;
  NodeAttributes a = target.Attributes();
  a.griId = leafId;
  if (organisationName) a.member = *organisationName;
  doc.SetNodeAttributes(target, std::move(a));
  doc.SetNodePicture(target, NodePicture::ExternPublished);
  FinishDrop(doc, target);
  return true;
}

bool DropSubscribedWorkflow(CWorkflowDoc& doc, CNode& target, CNode& dragged) {
  if (!doc.ContainsNode(&dragged) ||
      DropEffectFor(DropKind::ExternalSubscribedWorkflow, &target, &dragged) == DropEffect::None)
    return false;
  if (const CNode* old = target.ReferencedNode()) {
    const std::string question = "The current task is already connect with task \"" + old->Name() +
                                 "\".\r\nDisconnect the reference?.";
    if (doc.UserInterface().messageBox(question, MsgIcon::Question, MsgButtons::YesNo) !=
        MsgResult::Yes)
      return false;
  }
  doc.DisconnectReference(target);
  doc.ConnectReference(target, dragged);
  FinishDrop(doc, target);
  return true;
}

}  // namespace velk
