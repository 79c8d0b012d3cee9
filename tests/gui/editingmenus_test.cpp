// Context menus and drops on a real workflow view.

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMimeData>

#include "app/ui/commands.h"
#include "editor/ui/dragdata.h"
#include "editorfixture.h"

namespace editortest {
namespace {

struct Entry {
  QString text;
  bool enabled;
  bool checked;
};

class MenuTest : public EditorTest {
 protected:
  MenuTest() {
    on.execMenu = [this](QMenu& menu, QPoint) -> QAction* {
      entries.clear();
      Collect(menu);
      QAction* chosen = nullptr;
      for (QAction* a : AllActions(menu))
        if (a->text() == choose) chosen = a;
      return chosen;
    };
  }
  static QList<QAction*> AllActions(const QMenu& menu) {
    QList<QAction*> all;
    for (QAction* a : menu.actions()) {
      if (a->menu())
        all += AllActions(*a->menu());
      else if (!a->isSeparator())
        all << a;
    }
    return all;
  }
  void Collect(const QMenu& menu) {
    // Entries are named without their shortcut.
    for (QAction* a : AllActions(menu))
      entries[a->text().section('\t', 0, 0)] = {a->text(), a->isEnabled(), a->isChecked()};
    titles.clear();
    for (QAction* a : menu.actions())
      if (a->menu()) titles << a->text();
  }
  void RightClick(Point p, CWorkflowView* v = nullptr, Qt::KeyboardModifiers keys = {}) {
    CWorkflowView& target = v ? *v : *view;
    const QPoint pixel = Pixel(target, p);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pixel, target.viewport()->mapToGlobal(pixel),
                            keys);
    QApplication::sendEvent(target.viewport(), &event);
  }

  std::map<QString, Entry> entries;
  QStringList titles;
  QString choose;  // the entry to pick
};

TEST_F(MenuTest, TaskTypeEntriesChangeTheNodeAndMarkTheWorkflowModified) {
  CNode* task = Add("Task", 100, -100);
  choose = "Define as workflow start";
  RightClick({100, -100});
  EXPECT_EQ(doc->StartNode(), task);
  EXPECT_EQ(task->Picture(), 2);
  EXPECT_TRUE(doc->Session().IsModified());
  choose = "Out Task";
  RightClick({100, -100});
  EXPECT_TRUE(entries.at("Define as workflow start").checked);
  EXPECT_EQ(task->Kind(), NodeKind::Out);
  EXPECT_EQ(doc->StartNode(), nullptr);
  EXPECT_EQ(doc->EndNode(), task);
}

TEST_F(MenuTest, ArrowMenuWinsOverTheNodeMenu) {
  CNode* a = Add("A", 100, -100);
  CNode* b = Add("B", 300, -100);
  CArrow* arrow = doc->CreateArrow(*a, *b);
  doc->Session().SelectNode(*a);
  RightClick(arrow->LineEnd());  // on B's border as well
  EXPECT_TRUE(titles.isEmpty());
  EXPECT_EQ(entries.size(), 2u);
  EXPECT_TRUE(entries.at("&Delete").enabled);
  EXPECT_TRUE(entries.at("&Properties").enabled);
  EXPECT_TRUE(arrow->IsSelected());
  EXPECT_TRUE(doc->Session().SelectedNodes().empty());
  choose = "&Delete\tDel";
  RightClick({200, -108});
  EXPECT_EQ(doc->AllArrows().size(), 0u);
  EXPECT_EQ(doc->NodeCount(), 2u);
}

TEST_F(MenuTest, EveryKindGetsItsOwnMenu) {
  Add("Central", 100, -100, NodeKind::ICDR);
  Add("Cluster", 300, -100, NodeKind::IWC);
  CNode* subscribed = Add("Subscribed", 500, -100, NodeKind::Extern);
  CNode* other = Add("Other", 700, -100, NodeKind::Extern);
  doc->ConnectReference(*subscribed, *other);
  RightClick({100, -100});
  EXPECT_EQ(titles, QStringList{"Sub-Workflow &Type"});
  RightClick({300, -100});
  EXPECT_TRUE(entries.at("Open Sub-Workflow").enabled);
  choose = "D&isconnect ESW Reference";
  RightClick({500, -100});
  EXPECT_EQ(subscribed->ReferencedNode(), nullptr);
  EXPECT_EQ(subscribed->Picture(), 12);
  choose.clear();
  RightClick({900, -900});
  EXPECT_EQ(titles, QStringList{"&Align Nodes to ..."});
  EXPECT_FALSE(entries.at("&Left").enabled) << "nothing selected to align";
  EXPECT_TRUE(entries.at("Autoarrange Nodes").enabled);
  EXPECT_TRUE(entries.at("&Select all").enabled);
}

// ---- Drops ----

class DropTest : public EditorTest {
 protected:
  // Drags `data` over `p` and drops it there; returns whether the view took it.
  bool DragAndDrop(const QMimeData& data, Point p, Qt::DropActions allowed = Qt::CopyAction) {
    const QPointF pixel = Pixel(p);
    QDragEnterEvent enter(pixel.toPoint(), allowed, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &enter);
    QDragMoveEvent move(pixel.toPoint(), allowed, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &move);
    movedAccepted = move.isAccepted();
    QDropEvent drop(pixel, allowed, &data, Qt::LeftButton, {});
    QApplication::sendEvent(view->viewport(), &drop);
    return drop.isAccepted();
  }
  bool movedAccepted = false;
};

TEST_F(DropTest, PersonsDropOnExternalTasksAndLeavesOnSubscribedWorkflows) {
  CNode* task = Add("Task", 100, -100, NodeKind::ExtWFTask);
  CNode* subscribed = Add("Subscribed", 300, -100, NodeKind::Extern);
  const auto person = NewItemDragData(ClipFormat::ExtDirPerson,
                                      QJsonObject{{"FullName", "Jane Roe/Sales/Partner"}});
  EXPECT_FALSE(DragAndDrop(*person, {300, -100}));
  EXPECT_FALSE(movedAccepted);
  EXPECT_FALSE(DragAndDrop(*person, {600, -600}));
  EXPECT_TRUE(DragAndDrop(*person, {100, -100}));
  EXPECT_EQ(task->Attributes().member, "Jane Roe/Sales/Partner");

  velk::NodeAttributes named = subscribed->Attributes();
  named.member = "Partner Corp";
  doc->SetNodeAttributes(*subscribed, named);
  const auto leaf = NewItemDragData(ClipFormat::ExtDirExternalViewLeaf,
                                    QJsonObject{{"LeafID", "0A1B"}, {"HeaderID", "H1"}});
  EXPECT_FALSE(DragAndDrop(*leaf, {100, -100}));
  EXPECT_TRUE(DragAndDrop(*leaf, {300, -100}));
  EXPECT_EQ(subscribed->Attributes().griId, "0A1B");
  EXPECT_EQ(subscribed->Attributes().member, "Partner Corp")
      << "the leaf's organisation is unknown";
}

TEST_F(DropTest, SubscribedWorkflowDraggedOutWithCtrlLinksToAnother) {
  CNode* dragged = Add("Offered", 100, -100, NodeKind::Extern);
  CNode* target = Add("Target", 300, -100, NodeKind::Extern);
  std::unique_ptr<QMimeData> data;
  on.startDrag = [&](QWidget*, std::unique_ptr<QMimeData> d) { data = std::move(d); };
  Click({100, -100}, Qt::ControlModifier);
  ASSERT_TRUE(data);
  EXPECT_TRUE(data->hasFormat(ClipboardMimeType(ClipFormat::ExternalSubscribedWorkflow)));
  EXPECT_FALSE(DragAndDrop(*data, {100, -100}, Qt::LinkAction)) << "not on itself";
  EXPECT_TRUE(DragAndDrop(*data, {300, -100}, Qt::CopyAction | Qt::LinkAction));
  EXPECT_EQ(target->ReferencedNode(), dragged);
}

TEST_F(DropTest, DraggedOutNodesCarryTheFormatOfTheirKind) {
  const std::pair<NodeKind, ClipFormat> cases[] = {
      {NodeKind::In, ClipFormat::InternalInTask},
      {NodeKind::EIDM, ClipFormat::SubflowOrderedByUs},
      {NodeKind::Extern, ClipFormat::ExternalSubscribedWorkflow},
      {NodeKind::Intern, ClipFormat::Task},
      {NodeKind::ExtWFTask, ClipFormat::Task},
  };
  std::unique_ptr<QMimeData> data;
  on.startDrag = [&](QWidget*, std::unique_ptr<QMimeData> d) { data = std::move(d); };
  int x = 100;
  for (auto [kind, format] : cases) {
    CNode* node = Add("Node", x, -100, kind);
    velk::NodeAttributes a = node->Attributes();
    a.freeText = a.extClusterInput = a.extClusterOutput = a.extClusterFormat = "filled";
    doc->SetNodeAttributes(*node, a);
    data.reset();
    Click({x, -100}, Qt::ControlModifier);
    ASSERT_TRUE(data);
    EXPECT_TRUE(data->hasFormat(ClipboardMimeType(format))) << static_cast<int>(kind);
    EXPECT_EQ(DraggedNodeIn(data.get(), *doc), node);
    x += 100;
  }
}

}  // namespace
}  // namespace editortest
