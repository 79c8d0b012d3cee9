#pragma once
// What happens when data from the External Directory or another workflow window
// is dropped on a node of a workflow window.

#include <optional>
#include <string>

namespace velk {

class CNode;
class CWorkflowDoc;

// What is dragged, by its clipboard format.
enum class DropKind {
  Person,                      // a registered external person
  ExternalViewLeaf,            // a workflow offered by a partner
  ExternalSubscribedWorkflow,  // a node of kind Extern dragged out of a workflow window
  Other,
};

enum class DropEffect { None, Copy, Link };

// The effect offered while dragging over `target` (none without a node). For a
// dragged node `draggedNode` is that node when it belongs to the same workflow,
// otherwise nullptr (references never cross workflows).
DropEffect DropEffectFor(DropKind kind, const CNode* target, const CNode* draggedNode);

// The drops themselves. Each returns false when nothing changed (wrong target, or
// the user kept an existing reference). A successful drop selects the target only.

// The person becomes the external task's performer.
bool DropPerson(CWorkflowDoc& doc, CNode& target, const std::string& personName);
// The subscribed workflow gets the leaf's id and, when known, the name of the
// organisation offering it as member.
bool DropExternalViewLeaf(CWorkflowDoc& doc, CNode& target, const std::string& leafId,
                          const std::optional<std::string>& organisationName);
// `target` comes to refer to `dragged`; an existing reference is only replaced
// after the user agreed.
bool DropSubscribedWorkflow(CWorkflowDoc& doc, CNode& target, CNode& dragged);

}  // namespace velk
