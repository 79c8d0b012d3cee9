#include "extdir/ui/extdirview.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>

#include "common/services.h"
#include "dialogs/ui/extdirsheet.h"
#include "extdir/extdirdata.h"
#include "extdir/extdirdrops.h"
#include "extdir/extdiritems.h"
#include "extdir/ui/extdirimages.h"
#include "model/workflowdoc.h"

using velk::CExtDirItem;
using velk::CExtDirItemEIDM;
using velk::CExtDirTreeNode;

namespace {

// A widget item that knows the node it shows.
class NodeItem : public QTreeWidgetItem {
 public:
  explicit NodeItem(CExtDirTreeNode* node) : QTreeWidgetItem(UserType), node(node) {}
  CExtDirTreeNode* node;
};

bool IsEidm(const CExtDirItem& item) {
  return item.Kind() == velk::ExtDirKind::EIDM;
}

}  // namespace

CExtDirView::CExtDirView(velk::CExtDirData& data, ExtDirViewHost host, QWidget* parent)
    : QTreeWidget(parent), doc_(data), host_(std::move(host)) {
  setObjectName(QStringLiteral("ExtDirView"));
  setWindowTitle(QString::fromLatin1(CExtDirDoc::Title()));
  setHeaderHidden(true);
  setRootIsDecorated(true);
  setUniformRowHeights(true);
  setIconSize(QSize(16, 16));
  setEditTriggers(NoEditTriggers);
  setSelectionMode(SingleSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDragDropMode(DragDrop);
  setDropIndicatorShown(false);
  tree_ = std::make_unique<velk::CExtDirTree>(data);
  for (const auto& root : tree_->Roots()) Mirror(*root, nullptr);
  tree_->SetObserver(this);
  connect(this, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem* item) { OnDoubleClicked(item); });
  connect(this, &QTreeWidget::itemExpanded, this,
          [this](QTreeWidgetItem* item) { OnExpansion(item, true); });
  connect(this, &QTreeWidget::itemCollapsed, this,
          [this](QTreeWidgetItem* item) { OnExpansion(item, false); });
  PrepareLeafsSoon();
}

// Once the tree is on the screen: sorting every leaf of a large directory takes
// longer than building the tree, and the first double-click needs it.
void CExtDirView::PrepareLeafsSoon() {
  QTimer::singleShot(0, this, [this] {
    if (tree_) doc_.Data().PrepareLeafs();
  });
}

CExtDirView::~CExtDirView() {
  if (tree_) CloseTree(false);
  for (auto& [parent, item] : pending_) delete item;
  pending_.clear();
}

void CExtDirView::CloseTree(bool discard) {
  tree_->Close();  // the widget follows
  tree_->SetObserver(nullptr);
  tree_.reset();
  // Without a tree over it, the data set is read again without building one.
  if (discard) doc_.Data().DiscardChanges();
}

bool CExtDirView::MayClose() {
  if (!tree_ || !doc_.Data().HasUnsavedChanges()) return true;
  switch (doc_.Data().UserInterface().messageBox("Save changes to the External Directory?",
                                                 velk::MsgIcon::Question,
                                                 velk::MsgButtons::YesNoCancel)) {
    case velk::MsgResult::Yes:
      return Save();
    case velk::MsgResult::No:
      CloseTree(true);
      return true;
    default:
      return false;
  }
}

QTreeWidgetItem* CExtDirView::MakeItem(CExtDirTreeNode& node) {
  auto* item = new NodeItem(&node);
  item->setText(0, QString::fromStdString(node.Text()));
  item->setIcon(0, ExtDirImage(node.Image()));
  items_[&node] = item;
  return item;
}

// Builds the widget items of a subtree off the widget, then adds its top at once.
void CExtDirView::Mirror(CExtDirTreeNode& node, QTreeWidgetItem* parent) {
  struct Walk {
    CExtDirView& view;
    void operator()(CExtDirTreeNode& n, QTreeWidgetItem* into) {
      QList<QTreeWidgetItem*> children;
      for (const auto& child : n.Children()) {
        QTreeWidgetItem* made = view.MakeItem(*child);
        children.push_back(made);
        (*this)(*child, made);
      }
      into->addChildren(children);
    }
  } walk{*this};
  QTreeWidgetItem* item = MakeItem(node);
  walk(node, item);
  if (parent)
    parent->addChild(item);
  else
    addTopLevelItem(item);
  if (node.IsExpanded()) item->setExpanded(true);
}

QTreeWidgetItem* CExtDirView::ItemOf(const CExtDirTreeNode& node) const {
  const auto found = items_.find(&node);
  return found == items_.end() ? nullptr : found->second;
}

CExtDirTreeNode* CExtDirView::NodeOf(const QTreeWidgetItem* item) const {
  if (!item || item->type() != QTreeWidgetItem::UserType) return nullptr;
  return static_cast<const NodeItem*>(item)->node;
}

CExtDirItem* CExtDirView::SelectedItem() const {
  CExtDirTreeNode* node = NodeOf(currentItem());
  return node ? node->Item() : nullptr;
}

// ---- Following the tree ----

void CExtDirView::NodeInserted(CExtDirTreeNode& node) {
  QTreeWidgetItem* item = MakeItem(node);
  QTreeWidgetItem* parent = node.Parent() ? ItemOf(*node.Parent()) : nullptr;
  // Below an item that is not in the widget yet, adding costs nothing.
  if (parent && !parent->treeWidget()) {
    parent->addChild(item);
    return;
  }
  pending_.emplace_back(parent, item);
  if (!flushQueued_) {
    flushQueued_ = true;
    QTimer::singleShot(0, this, [this] { Flush(); });
  }
}

void CExtDirView::Flush() {
  flushQueued_ = false;
  std::size_t i = 0;
  while (i < pending_.size()) {
    QTreeWidgetItem* parent = pending_[i].first;
    QList<QTreeWidgetItem*> run;
    for (; i < pending_.size() && pending_[i].first == parent; ++i) run.push_back(pending_[i].second);
    if (parent)
      parent->addChildren(run);
    else
      insertTopLevelItems(topLevelItemCount(), run);
  }
  pending_.clear();
}

void CExtDirView::Forget(const CExtDirTreeNode& node) {
  for (const auto& child : node.Children()) Forget(*child);
  if (QTreeWidgetItem* item = ItemOf(node); item == dropHighlight_) dropHighlight_ = nullptr;
  items_.erase(&node);
}

void CExtDirView::NodeRemoving(CExtDirTreeNode& node) {
  Flush();
  QTreeWidgetItem* item = ItemOf(node);
  Forget(node);
  delete item;
}

void CExtDirView::NodeChanged(CExtDirTreeNode& node) {
  if (QTreeWidgetItem* item = ItemOf(node)) {
    item->setText(0, QString::fromStdString(node.Text()));
    item->setIcon(0, ExtDirImage(node.Image()));
  }
}

void CExtDirView::NodeExpanded(CExtDirTreeNode& node, bool expanded) {
  Flush();
  if (QTreeWidgetItem* item = ItemOf(node)) {
    syncing_ = true;
    item->setExpanded(expanded);
    syncing_ = false;
  }
}

void CExtDirView::TreeCleared() {
  for (auto& [parent, item] : pending_) delete item;
  pending_.clear();
  items_.clear();
  dropHighlight_ = nullptr;
  clear();
}

// The user opened or closed a node with the mouse or the keys.
void CExtDirView::OnExpansion(QTreeWidgetItem* item, bool expanded) {
  if (syncing_) return;
  if (CExtDirTreeNode* node = NodeOf(item)) {
    syncing_ = true;
    tree_->Expand(*node, expanded);
    syncing_ = false;
  }
}

void CExtDirView::OnDoubleClicked(QTreeWidgetItem*) {
  // The control expands the node afterwards, with the leafs read here.
  if (CExtDirItem* item = SelectedItem()) item->OnDoubleClick();
  Flush();
}

// ---- Commands ----

bool CExtDirView::OnUpdateCommand(int id, CmdUI& ui) {
  if (!tree_) return false;  // closing
  switch (id) {
    case cmd::ExtDirNewFolder:
    case cmd::ExtDirDelete:
    case cmd::ExtDirProperties: {
      const CExtDirItem* item = SelectedItem();
      const velk::ExtDirMenu menu = item ? item->ContextMenu() : velk::ExtDirMenu{};
      ui.enabled = id == cmd::ExtDirNewFolder ? menu.newFolder
                   : id == cmd::ExtDirDelete  ? menu.remove
                                              : menu.properties;
      return true;
    }
    case cmd::ExtDirSave:
    case cmd::ExtDirReload:
    case cmd::ExtDirExpandBranch:
    case cmd::ExtDirCollapseBranch:
    case cmd::ExtDirExpandAll:
    case cmd::ExtDirCollapseAll:
      return true;
    default:
      return false;
  }
}

bool CExtDirView::OnCommand(int id) {
  if (!tree_) return false;  // closing
  switch (id) {
    case cmd::ExtDirSave:
      Save();
      return true;
    case cmd::ExtDirReload:
      Reload();
      return true;
    case cmd::ExtDirExpandAll: {
      const bool shift = host_.shiftHeld();
      velk::WaitCursor wait(doc_.Data().UserInterface());
      tree_->ExpandAll(shift);
      Flush();
      return true;
    }
    case cmd::ExtDirCollapseAll:
      tree_->CollapseAll();
      return true;
    case cmd::ExtDirExpandBranch:
    case cmd::ExtDirCollapseBranch:
      if (CExtDirTreeNode* node = NodeOf(currentItem()))
        tree_->Expand(*node, id == cmd::ExtDirExpandBranch);
      return true;
    case cmd::ExtDirNewFolder:
    case cmd::ExtDirDelete:
    case cmd::ExtDirProperties:
    case eidmcmd::Submit:
    case eidmcmd::Cancel:
    case eidmcmd::Accept:
    case eidmcmd::Deny:
    case eidmcmd::CopyToPartners:
    case eidmcmd::ViewWorkflow:
      if (CExtDirItem* item = SelectedItem()) RunItemCommand(id, *item);
      Flush();
      return true;
    default:
      return false;
  }
}

void CExtDirView::RunItemCommand(int id, CExtDirItem& item) {
  switch (id) {
    case cmd::ExtDirNewFolder:
      item.NewChild();
      break;
    case cmd::ExtDirDelete:
      item.Delete();  // a folder is gone afterwards
      break;
    case cmd::ExtDirProperties:
      if (HasExtDirItemProperties(item)) ShowExtDirItemProperties(this, item, tree_.get());
      break;
    default:
      if (IsEidm(item)) RunEidmCommand(id, item);
  }
}

void CExtDirView::RunEidmCommand(int id, CExtDirItem& item) {
  auto& request = static_cast<CExtDirItemEIDM&>(item);
  const velk::EidmCommandStates can = velk::EidmStates(request);
  switch (id) {
    case eidmcmd::Submit:
      if (can.submit) velk::SubmitEidmRequest(request);
      break;
    case eidmcmd::Cancel:
      if (can.cancel) velk::CancelEidmRequest(request);
      break;
    case eidmcmd::Deny:
      if (can.deny) velk::DenyEidmRequest(request);
      break;
    case eidmcmd::Accept:
      if (can.accept) velk::AcceptEidmRequest(request, host_.workflows);
      break;
    case eidmcmd::CopyToPartners:
      if (can.copyToPartners) velk::CopyEidmToPartnerSection(request);
      break;
    case eidmcmd::ViewWorkflow:
      if (can.viewWorkflow) velk::ViewEidmWorkflow(request, host_.workflows);
      break;
  }
}

// Tasks deleted since they published a leaf must not be read by the save.
void CExtDirView::ForgetDeletedTasks() {
  const auto workflows = host_.openWorkflows();
  velk::ForgetPublishedTasks(doc_.Data(), [&workflows](const velk::CNode* task) {
    for (velk::CWorkflowDoc* doc : workflows)
      if (doc->ContainsNode(task)) return true;
    return false;
  });
}

bool CExtDirView::Save() {
  velk::WaitCursor wait(doc_.Data().UserInterface());
  ForgetDeletedTasks();
  const bool saved = doc_.Data().SaveAll();
  PrepareLeafsSoon();  // the save let the leafs' view go
  return saved;
}

void CExtDirView::Reload() {
  velk::WaitCursor wait(doc_.Data().UserInterface());
  setUpdatesEnabled(false);
  ForgetDeletedTasks();
  doc_.Data().Refresh();
  PrepareLeafsSoon();
  Flush();
  setUpdatesEnabled(true);
}

// ---- Context menus ----

std::unique_ptr<QMenu> CExtDirView::ContextMenuFor(const CExtDirItem& item) {
  auto menu = std::make_unique<QMenu>(QStringLiteral("ExtDir_RightMouseBtnDown"), this);
  menu->setObjectName(QStringLiteral("ExtDir_RightMouseBtnDown"));
  const velk::ExtDirMenu flags = item.ContextMenu();
  auto add = [this, &menu](int id, const char* text, bool enabled) {
    QAction* action = menu->addAction(QString::fromUtf8(text));
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
    return action;
  };
  add(cmd::ExtDirNewFolder, "&New Folder", flags.newFolder);
  add(cmd::ExtDirDelete, "&Delete", flags.remove);
  menu->addSeparator();
  if (IsEidm(item)) {
    const velk::EidmCommandStates can =
        velk::EidmStates(static_cast<const CExtDirItemEIDM&>(item));
    if (flags.menu == 275) {
      add(eidmcmd::Submit, "&Submit", can.submit);
      add(eidmcmd::Cancel, "&Cancel", can.cancel);
      menu->addSeparator();
      add(eidmcmd::CopyToPartners, "DEMO: Copy to ext. section", can.copyToPartners);
      menu->addSeparator();
      menu->addSeparator();
    } else {
      add(eidmcmd::Accept, "&Accept", can.accept);
      add(eidmcmd::Deny, "&Deny", can.deny);
      add(eidmcmd::ViewWorkflow, "&View Workflow", can.viewWorkflow);
      menu->addSeparator();
    }
  }
  menu->setDefaultAction(add(cmd::ExtDirProperties, "&Properties", flags.properties));
  return menu;
}

void CExtDirView::ShowSelectedMenu(QPoint globalPos) {
  CExtDirItem* item = SelectedItem();
  if (!item) return;
  std::unique_ptr<QMenu> menu = ContextMenuFor(*item);
  menu->exec(globalPos);
}

// The menu belongs to the node with the caret, wherever the click lands.
void CExtDirView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    ShowSelectedMenu(event->globalPosition().toPoint());
    event->accept();
    return;
  }
  QTreeWidget::mousePressEvent(event);
}
