#pragma once
// What the directory tree does with things dropped on its items: leafs copied
// into a process view or folder, In Tasks published as new leafs there. Orders
// of sub-workflows dropped on an organisation are in eidmrequests.h.

#include <functional>

namespace velk {

class CExtDirData;
class CExtDirItem;
class CExtDirItemGRILeaf;
class CNode;
class CWorkflowDoc;

enum class ExtDirDropEffect { None, Copy, Move };

// The kinds of data a drag carries.
struct ExtDirDragFormats {
  bool leaf = false;               // a leaf of our own directory
  bool inTask = false;             // an In Task of a workflow window
  bool subflowByUs = false;        // a sub-workflow task we order
  bool subflowByPartners = false;  // carried, but taken by nothing here
  bool Any() const { return leaf || inTask || subflowByUs || subflowByPartners; }
};

// What a drop on `target` would do; `ctrl` copies instead of moving.
ExtDirDropEffect QueryExtDirDrop(const CExtDirItem& target, const ExtDirDragFormats& formats,
                                 bool ctrl);

// A new leaf with the values of `dragged`, below the process view or folder
// `target`, which is expanded; the next save stores it. Null when the target
// takes no leafs.
CExtDirItemGRILeaf* DropLeafCopy(CExtDirItem& target, const CExtDirItemGRILeaf& dragged);

// Publishes an In Task: a new leaf named after it below `target`, stored at once;
// the start task of the task's workflow then names the leaf. Null when the target
// takes no leafs or the leaf could not be stored (it then waits for the next save).
CExtDirItemGRILeaf* PublishTaskAsLeaf(CExtDirItem& target, CNode& task);

// Leafs published from a task of the closing workflow keep its workflow id and
// forget the task, so that no leaf points into a closed workflow.
void ReleasePublishedTasks(CExtDirData& data, const CWorkflowDoc& closing);
// Leafs whose published task is not `alive` (a deleted task) forget it; the
// task is never read.
void ForgetPublishedTasks(CExtDirData& data, const std::function<bool(const CNode*)>& alive);

}  // namespace velk
