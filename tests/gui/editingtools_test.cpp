// The editing tools, context menus, drops and clicks at every zoom, driven by
// mouse events on a real workflow view.

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>

#include "app/ui/commands.h"
#include "editor/ui/dragdata.h"
#include "editorfixture.h"

namespace editortest {
namespace {

// The tools' states are the core's; here the toolbar commands with the keys held
// choose them, and clicks insert where they land and draw arrows between them.
TEST_F(EditorTest, ToolsInsertWhereClickedAndShiftKeepsThemForTheNextClick) {
  settings.gridMagnetic = false;
  ChooseTool(cmd::ToolInternalTask);
  Click({200, -200}, Qt::ShiftModifier);
  EXPECT_EQ(ActiveTool(), ToolId::InsertInternalTask) << "SHIFT on release keeps the tool";
  Click({300, -200});
  EXPECT_EQ(ActiveTool(), ToolId::Select);
  ASSERT_EQ(doc->NodeCount(), 2u);
  EXPECT_EQ(doc->LevelNodes()[0]->GetRect(), (velk::Rect{184, -184, 218, -218}));
  ChooseTool(cmd::ToolExtSubscribed, Qt::ShiftModifier);
  EXPECT_TRUE(State(cmd::ToolExtSubscribed).indeterminate);
  for (int x : {400, 500}) Click({x, -400});
  EXPECT_EQ(ActiveTool(), ToolId::InsertSubscribed);
  ASSERT_EQ(doc->NodeCount(), 4u);
  EXPECT_EQ(doc->LevelNodes()[3]->Kind(), NodeKind::Extern);

  const std::vector<CNode*> nodes = doc->LevelNodes();
  ChooseTool(cmd::ToolArrow);
  EXPECT_EQ(ui.currentStatus(), "Select source task of arrow");
  Click({200, -200});
  EXPECT_EQ(ui.currentStatus(), "Select destination task (hold SHIFT for continous mode)");
  Click({300, -200}, Qt::ShiftModifier);
  EXPECT_EQ(ActiveTool(), ToolId::ArrowSourceChosen) << "the target is the next source";
  Click({400, -400});
  EXPECT_TRUE(HasArrow(nodes[0], nodes[1]) && HasArrow(nodes[1], nodes[2]));
  EXPECT_EQ(doc->AllArrows().size(), 2u);
  Click({800, -800});
  EXPECT_EQ(ActiveTool(), ToolId::ArrowNoSource);
}

// Arrows staying attached to moved nodes is the core's.
TEST_F(EditorTest, DraggingOnAMagneticGridSnapsTheNodeWhileTheMouseMoves) {
  settings.gridMagnetic = true;
  settings.gridSize = 50;
  CNode* node = Add("A", 100, -100);
  CNode* other = Add("B", 300, -100);
  Press({100, -100});
  MoveTo({125, -100});
  EXPECT_EQ(node->GetRect().Center(), (Point{150, -100})) << "25 units: on to the right line";
  Release({125, -100});
  EXPECT_EQ(other->GetRect().Center(), (Point{300, -100})) << "unselected nodes stay";
}

// A rubber band over A and the edge of B selects both; the copy takes only
// the arrow between them, and the paste adds connected copies.
TEST_F(EditorTest, RubberBandSelectionIsCopiedAndPastedWithItsInnerArrow) {
  CNode* a = Add("A", 100, -100);
  CNode* b = Add("B", 300, -100);
  CNode* c = Add("C", 500, -100);
  doc->CreateArrow(*a, *b);
  doc->CreateArrow(*b, *c);
  Press({50, -50});
  MoveTo({290, -110});
  Release({290, -110});
  EXPECT_EQ(doc->Session().SelectedNodes(), (std::vector<CNode*>{a, b}));
  EXPECT_FALSE(doc->Session().IsModified());
  EXPECT_FALSE(State(cmd::EditPaste).enabled);
  ASSERT_TRUE(view->OnCommand(cmd::EditCopy));
  ASSERT_TRUE(view->OnCommand(cmd::EditPaste));
  EXPECT_EQ(doc->NodeCount(), 5u);
  EXPECT_EQ(doc->AllArrows().size(), 3u);
}

// OK deletes it, driven end to end.
TEST_F(EditorTest, DeletingANonEmptyClusterAsksAndCancelKeepsIt) {
  CNode* cluster = Add("Cluster", 100, -100, NodeKind::IWC);
  Add("Inner", 100, -100, NodeKind::Intern, doc->OpenClusterDocument(*cluster));
  Click({100, -100});
  ui.answers = {velk::MsgResult::Cancel};
  ASSERT_TRUE(view->OnCommand(cmd::EditDelete));
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "The internal workflow cluster is not empty.\nDelete all subworkflow tasks?");
  EXPECT_EQ(ui.messages[0].buttons, velk::MsgButtons::OkCancel);
  EXPECT_EQ(std::pair(doc->NodeCount(), doc->Session().IsModified()), std::pair(2ul, false));
}

TEST_F(EditorTest, ReloadRepositoryRereadsThisWorkflowsDatabasesUnderTheWaitCursor) {
  const velk::WorkflowDatabases* reloaded = nullptr;
  int waitDepth = 0;
  on.reloadRepository = [&](const velk::WorkflowDatabases& databases) {
    reloaded = &databases;
    waitDepth = ui.waitDepth;
    return true;
  };
  EXPECT_TRUE(State(cmd::ReloadRepository).enabled) << "the view offers the command";
  EXPECT_TRUE(view->OnCommand(cmd::ReloadRepository));
  EXPECT_EQ(reloaded, &doc->Databases());
  EXPECT_EQ(std::pair(waitDepth, ui.waitDepth), std::pair(1, 0)) << "waiting while it reads";
  EXPECT_FALSE(doc->Session().IsModified()) << "reading the repositories again changes no workflow";
}

struct Entry {
  bool enabled;
  bool checked;
};

// Right-clicks record the menu's entries, named without their shortcut, and its
// submenus' titles, and pick the entry named `choose`.
class MenuTest : public EditorTest {
 protected:
  MenuTest() {
    on.execMenu = [this](QMenu& menu, QPoint) {
      entries.clear();
      titles.clear();
      return Collect(menu, true);
    };
  }
  QAction* Collect(const QMenu& menu, bool top) {
    QAction* chosen = nullptr;
    for (QAction* a : menu.actions()) {
      if (a->menu()) {
        if (top) titles << a->text();
        if (QAction* inner = Collect(*a->menu(), false)) chosen = inner;
      } else if (!a->isSeparator()) {
        const QString name = a->text().section('\t', 0, 0);
        entries[name] = {a->isEnabled(), a->isChecked()};
        if (name == choose) chosen = a;
      }
    }
    return chosen;
  }
  void RightClick(Point p) {
    const QPoint pixel = Pixel(p);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pixel, view->viewport()->mapToGlobal(pixel));
    QApplication::sendEvent(view->viewport(), &event);
  }

  std::map<QString, Entry> entries;
  QStringList titles;
  QString choose;  // the entry to pick
};

// Each kind's menu acts on the node right-clicked; an arrow's menu wins over the
// menu of the node its end lies on; empty space gets the general menu.
TEST_F(MenuTest, EachMenuActsOnWhatWasRightClicked) {
  CNode* task = Add("Task", 100, -100);
  Add("Central", 300, -100, NodeKind::ICDR);
  Add("Cluster", 500, -100, NodeKind::IWC);
  CNode* subscribed = Add("Subscribed", 100, -300, NodeKind::Extern);
  doc->ConnectReference(*subscribed, *Add("Other", 300, -300, NodeKind::Extern));
  CNode* a = Add("A", 100, -500);
  CArrow* arrow = doc->CreateArrow(*a, *Add("B", 300, -500));
  choose = "Define as workflow start";
  RightClick({100, -100});
  EXPECT_EQ(std::tuple(doc->StartNode(), task->Picture(), doc->Session().IsModified()),
            std::tuple(task, 2, true));
  choose = "Out Task";
  RightClick({100, -100});
  EXPECT_TRUE(entries.at("Define as workflow start").checked);
  EXPECT_EQ(std::pair(doc->StartNode(), doc->EndNode()),
            (std::pair<CNode*, CNode*>(nullptr, task)));

  choose.clear();
  RightClick({300, -100});
  EXPECT_EQ(titles, QStringList{"Sub-Workflow &Type"});
  RightClick({500, -100});
  EXPECT_TRUE(entries.at("Open Sub-Workflow").enabled);
  choose = "D&isconnect ESW Reference";
  RightClick({100, -300});
  EXPECT_EQ(std::pair(subscribed->ReferencedNode(), subscribed->Picture()),
            (std::pair<CNode*, int>(nullptr, 12)));
  choose.clear();
  RightClick({900, -900});
  EXPECT_EQ(titles, QStringList{"&Align Nodes to ..."});
  EXPECT_FALSE(entries.at("&Left").enabled) << "nothing selected to align";
  EXPECT_TRUE(entries.at("Autoarrange Nodes").enabled);
  EXPECT_TRUE(entries.at("&Select all").enabled);

  doc->Session().SelectNode(*a);
  RightClick(arrow->LineEnd());  // on B's border as well
  EXPECT_EQ(std::tuple(titles.size(), entries.size(), arrow->IsSelected(),
                       doc->Session().SelectedNodes().size()),
            std::tuple(0, 2u, true, 0u));
  choose = "&Delete";
  RightClick({200, -508});
  EXPECT_TRUE(a->OutgoingArrows().empty());
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

// Which drops land is the core's; here the view refuses the others already
// while dragging and takes the ones that fit.
TEST_F(DropTest, PersonsDropOnExternalTasksAndLeavesOnSubscribedWorkflows) {
  CNode* task = Add("Task", 100, -100, NodeKind::ExtWFTask);
  CNode* subscribed = Add("Subscribed", 300, -100, NodeKind::Extern);
  velk::NodeAttributes named = subscribed->Attributes();
  named.member = "Partner Corp";
  doc->SetNodeAttributes(*subscribed, named);
  const auto person = NewItemDragData(ClipFormat::ExtDirPerson,
                                      QJsonObject{{"FullName", "Jane Roe/Sales/Partner"}});
  const auto leaf = NewItemDragData(ClipFormat::ExtDirExternalViewLeaf,
                                    QJsonObject{{"LeafID", "0A1B"}, {"HeaderID", "H1"}});
  EXPECT_FALSE(DragAndDrop(*person, {300, -100}));
  EXPECT_FALSE(movedAccepted);
  EXPECT_FALSE(DragAndDrop(*person, {600, -600}));
  EXPECT_FALSE(DragAndDrop(*leaf, {100, -100}));
  EXPECT_TRUE(DragAndDrop(*person, {100, -100}));
  EXPECT_TRUE(DragAndDrop(*leaf, {300, -100}));
  // The leaf's organisation is unknown: the member stays.
  EXPECT_EQ(std::tuple(task->Attributes().member, subscribed->Attributes().griId,
                       subscribed->Attributes().member),
            std::tuple("Jane Roe/Sales/Partner", "0A1B", "Partner Corp"));
}

// CTRL and a click drag a node out in the format of its kind; a subscribed
// workflow dropped on another one links to it, but not on itself.
TEST_F(DropTest, DraggedOutNodesCarryTheFormatOfTheirKindAndSubscribedOnesLink) {
  const std::pair<NodeKind, ClipFormat> cases[] = {
      {NodeKind::In, ClipFormat::InternalInTask},
      {NodeKind::EIDM, ClipFormat::SubflowOrderedByUs},
      {NodeKind::Intern, ClipFormat::Task},
      {NodeKind::ExtWFTask, ClipFormat::Task},
      {NodeKind::Extern, ClipFormat::ExternalSubscribedWorkflow},
  };
  std::unique_ptr<QMimeData> data;
  on.startDrag = [&](QWidget*, std::unique_ptr<QMimeData> d) { data = std::move(d); };
  int x = 100;
  CNode* node = nullptr;
  for (auto [kind, format] : cases) {
    node = Add("Node", x, -100, kind);
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
  CNode* target = Add("Target", x, -100, NodeKind::Extern);
  EXPECT_FALSE(DragAndDrop(*data, {x - 100, -100}, Qt::LinkAction)) << "not on itself";
  EXPECT_TRUE(DragAndDrop(*data, {x, -100}, Qt::CopyAction | Qt::LinkAction));
  EXPECT_EQ(target->ReferencedNode(), node);
}

TEST_F(EditorTest, ClickOnANodesCentreSelectsThatNodeAtEveryZoom) {
  const std::vector<CNode*> nodes = {Add("Near", 120, -120), Add("Middle", 700, -900),
                                     Add("Far", 1500, -2200)};
  // The viewport pixel of a logical point, worked out from the zoom and the
  // scroll bars alone rather than through the view's own mapping.
  const auto pixel = [this](velk::Point p) {
    const double sx = view->Zoom() * view->logicalDpiX() / 100.0;
    const double sy = view->Zoom() * view->logicalDpiY() / 100.0;
    return QPoint(qRound(p.x * sx) - view->horizontalScrollBar()->value(),
                  qRound(-p.y * sy) - view->verticalScrollBar()->value());
  };
  for (double zoom : {0.25, 0.5, 1.0, 2.0, 4.0}) {
    view->SetZoom(zoom);
    for (CNode* node : nodes) {
      const velk::Rect before = node->GetRect();
      view->ScrollTo({before.left - 60, before.top + 60});
      doc->Session().DeselectAll();
      const QPoint at = pixel(before.Center());
      SCOPED_TRACE(testing::Message() << zoom << " " << node->Name());
      ASSERT_TRUE(view->viewport()->rect().contains(at));
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
      EXPECT_EQ(doc->Session().SelectedNodes(), std::vector<CNode*>{node});
      // Beside the node (a node's width to its right) nothing is hit.
      QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                        pixel({before.right + before.Width(), before.Center().y}));
      EXPECT_TRUE(doc->Session().SelectedNodes().empty());
    }
  }
}

}  // namespace
}  // namespace editortest
