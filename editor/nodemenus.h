#pragma once
// Which context menu a right click opens, and the check and grey states of the
// task type entries.

namespace velk {

class CNode;
class CWorkflowDoc;

// Named after the menus' resource numbers.
enum class ContextMenu : int {
  Arrow = 161,            // "&Delete", "&Properties"
  TaskType = 195,         // one task of kind Intern, In or Out
  SubWorkflowType = 269,  // one sub-workflow of kind ICDR or CDDR
  Cluster = 220,          // one internal workflow cluster
  Subscribed = 279,       // one external subscribed workflow
  General = 153,          // several nodes, other kinds, empty space
};

// The menu of a right click that hit an arrow, a node or neither, after the click
// has selected what it hit. An arrow wins over a node; a node gets its own menu
// while it is the only selected node.
ContextMenu ChooseContextMenu(const CWorkflowDoc& doc, bool arrowHit, bool nodeHit);

// The "Task &Type" submenu for a node of the window's level.
struct TaskTypeState {
  bool internalChecked = false;  // "&Internal Task"
  bool startChecked = false;     // "Define as workflow start"
  bool endChecked = false;       // "Define as workflow end"
  bool inChecked = false;        // "In Task"
  bool outChecked = false;       // "Out Task"
  bool inOutEnabled = true;      // In and Out Tasks exist only on the top level
};
TaskTypeState TaskTypeStateOf(const CWorkflowDoc& doc, const CNode& node);

}  // namespace velk
