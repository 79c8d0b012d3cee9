#pragma once
// The External Directory window's tree: a mirror of the directory tree of the
// core (CExtDirTree), kept up to date through its observer, which sends the
// user's commands, double clicks, drags and drops to the items of its nodes.

#include <QTreeWidget>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "app/ui/commands.h"
#include "extdir/eidmrequests.h"
#include "extdir/extdirtree.h"

class QMenu;
class QMimeData;

namespace velk {
class CExtDirData;
class CExtDirItem;
class CNode;
class CWorkflowDoc;
}  // namespace velk

// The request commands of the EIDM context menus.
namespace eidmcmd {
inline constexpr int Submit = 32885;
inline constexpr int Cancel = 32886;
inline constexpr int Accept = 32887;
inline constexpr int Deny = 32888;
inline constexpr int CopyToPartners = 32889;
inline constexpr int ViewWorkflow = 32890;
}  // namespace eidmcmd

// What the window needs of the program around it.
struct ExtDirViewHost {
  velk::EidmWorkflowHost workflows;
  // Our organisation and addresses for a request ordered from `task`.
  std::function<velk::EidmOrigin(const velk::CNode& task)> origin;
  // The workflows of the open windows, where dragged tasks are looked up.
  std::function<std::vector<velk::CWorkflowDoc*>()> openWorkflows;
  // Whether SHIFT is held right now.
  std::function<bool()> shiftHeld;
};

// The document of the window: the application's first External Directory.
class CExtDirDoc {
 public:
  explicit CExtDirDoc(velk::CExtDirData& data) : data_(&data) {}
  velk::CExtDirData& Data() const { return *data_; }
  static const char* Title() { return "External Directory"; }

 private:
  velk::CExtDirData* data_;
};

class CExtDirView : public QTreeWidget, public velk::CExtDirTreeObserver, public CommandTarget {
  Q_OBJECT
 public:
  CExtDirView(velk::CExtDirData& data, ExtDirViewHost host, QWidget* parent = nullptr);
  // Closing the window: the items forget their nodes and the leafs read so far go.
  ~CExtDirView() override;

  // Asked before the window closes: with unsaved changes, "Save changes to the
  // External Directory?" Yes saves (a failed save keeps the window), No drops the
  // changes, Cancel keeps the window. False keeps it.
  bool MayClose();

  const CExtDirDoc& Document() const { return doc_; }
  velk::CExtDirTree& Tree() const { return *tree_; }
  QTreeWidgetItem* ItemOf(const velk::CExtDirTreeNode& node) const;
  velk::CExtDirTreeNode* NodeOf(const QTreeWidgetItem* item) const;
  // The item of the node with the caret; none for section nodes.
  velk::CExtDirItem* SelectedItem() const;

  bool OnCommand(int id) override;
  bool OnUpdateCommand(int id, CmdUI& ui) override;

  // The context menu of an item, its entries enabled as the item says.
  std::unique_ptr<QMenu> ContextMenuFor(const velk::CExtDirItem& item);
  // The data a drag of the item carries and the actions it allows; null for
  // items that are not dragged.
  std::unique_ptr<QMimeData> DragDataOf(const velk::CExtDirItem& item,
                                        Qt::DropActions* allowed = nullptr) const;
  // The drop target's two questions, on the node at `item`.
  Qt::DropAction QueryDrop(QTreeWidgetItem* item, const QMimeData* data, bool ctrl) const;
  bool DropOn(QTreeWidgetItem* item, const QMimeData* data);

  // Inserted nodes wait to be added in runs; this adds them now.
  void Flush();

  void NodeInserted(velk::CExtDirTreeNode& node) override;
  void NodeRemoving(velk::CExtDirTreeNode& node) override;
  void NodeChanged(velk::CExtDirTreeNode& node) override;
  void NodeExpanded(velk::CExtDirTreeNode& node, bool expanded) override;
  void TreeCleared() override;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void startDrag(Qt::DropActions supportedActions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dragLeaveEvent(QDragLeaveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QTreeWidgetItem* MakeItem(velk::CExtDirTreeNode& node);
  void Mirror(velk::CExtDirTreeNode& node, QTreeWidgetItem* parent);
  void Forget(const velk::CExtDirTreeNode& node);
  void SetDropHighlight(QTreeWidgetItem* item);
  void OnDoubleClicked(QTreeWidgetItem* item);
  void OnExpansion(QTreeWidgetItem* item, bool expanded);
  void ShowSelectedMenu(QPoint globalPos);
  void RunItemCommand(int id, velk::CExtDirItem& item);
  void RunEidmCommand(int id, velk::CExtDirItem& item);
  void PrepareLeafsSoon();
  void ForgetDeletedTasks();
  bool Save();
  void Reload();
  // The tree goes (as on closing); with `discard` the data set then drops its changes.
  void CloseTree(bool discard);
  // The dragged task when it is a live task of an open workflow.
  velk::CNode* DraggedTask(const QMimeData* data) const;
  void Redraw(velk::CNode& task);

  CExtDirDoc doc_;
  ExtDirViewHost host_;
  std::unique_ptr<velk::CExtDirTree> tree_;
  std::unordered_map<const velk::CExtDirTreeNode*, QTreeWidgetItem*> items_;
  // Items not yet in the widget, each with the parent it goes to (null: top level).
  std::vector<std::pair<QTreeWidgetItem*, QTreeWidgetItem*>> pending_;
  bool flushQueued_ = false;
  bool syncing_ = false;
  bool dragging_ = false;
  QTreeWidgetItem* dropHighlight_ = nullptr;
};
