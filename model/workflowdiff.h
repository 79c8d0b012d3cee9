#pragma once
// What changed between two versions of a workflow: the header's fields, and the
// tasks and arrows added, removed, changed or only moved. Every stored field of
// the header, a task and an arrow takes part, as the record descriptions list them.

#include <string>
#include <vector>

namespace velk {

class CArrow;
class CNode;
class CWorkflowDoc;

enum class ChangeKind { Added, Removed, Changed, Moved };
enum class ChangeElement { Header, Task, Arrow };

// One change; a changed element gives one per field.
struct WorkflowChange {
  ChangeKind kind = ChangeKind::Changed;
  ChangeElement element = ChangeElement::Header;
  std::string level;  // the cluster levels above the element ("Fulfilment > Packing"); "" on top
  std::string id;     // a task's id; an arrow's "source id -> target id"
  std::string name;   // a task's name; an arrow's "'source' -> 'target'"
  std::string field;  // Changed: the field as a workflow file names it
  std::string before, after;
  // The element in each version, where it is there (for showing it).
  const CNode* olderNode = nullptr;
  const CNode* newerNode = nullptr;
  const CArrow* olderArrow = nullptr;
  const CArrow* newerArrow = nullptr;
};

// A task of the newer version matched to the older one although its id differs
// (a save numbers the tasks anew when the graph changes before them).
struct RenumberedTask {
  const CNode* older;
  const CNode* newer;
};

struct WorkflowDiff {
  std::vector<WorkflowChange> changes;  // header, then tasks, then arrows
  std::vector<RenumberedTask> renumbered;
  bool Equal() const { return changes.empty(); }
};

// Tasks match by id with the same name or kind, then by name and kind on the
// same level (flagged in `renumbered`); arrows by their matched ends and kind.
WorkflowDiff DiffWorkflows(const CWorkflowDoc& older, const CWorkflowDoc& newer);

// One line: "Task 'Check order': member 'Sales' -> 'Sales/Back office'".
std::string DescribeChange(const WorkflowChange& change);
const char* ChangeKindWord(ChangeKind kind);      // "added", "removed", "changed", "moved"
const char* ChangeElementWord(ChangeElement e);  // "header", "task", "arrow"

}  // namespace velk
