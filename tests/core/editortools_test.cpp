// Tool choice, hit tests, the select tool's gestures, the keyboard's walk through
// a level, the context menu choice, the drop targets, the insert and arrow tools,
// and copying and pasting nodes through the internal clipboard.

#include <tuple>

#include "editor/drawingorder.h"
#include "editor/droptargets.h"
#include "editor/hittest.h"
#include "editor/insertarrow.h"
#include "editor/nodemenus.h"
#include "editor/noderecord.h"
#include "editor/pasteplace.h"
#include "editor/selectgesture.h"
#include "editor/tools.h"
#include "editor_graphs.h"
#include "model/arrowgeometry.h"
#include "model/nodeclipboard.h"
#include "model/nodepicture.h"

namespace velk::testing {
namespace {

TEST(ArrowHitTest, PointsCloseToTheLineHitItWithinItsWidenedBox) {
  // The line's start and end, the point, and whether it hits the line.
  const std::tuple<Point, Point, Point, bool> cases[] = {
      {{0, 0}, {100, 0}, {50, 9}, true},  // a flat box is widened by 9 each side
      {{0, 0}, {100, 0}, {50, 10}, false},
      {{0, 0}, {100, 0}, {100, 0}, true},
      {{0, 0}, {100, 0}, {-1, 0}, false},  // the long side is not widened
      {{0, 0}, {0, -100}, {-9, -50}, true},
      {{0, 0}, {0, -100}, {0, 10}, false},
      {{0, 0}, {100, -100}, {61, -39}, true},   // 15.6 units from the line
      {{0, 0}, {100, -100}, {62, -38}, false},  // 17.0 units
      {{0, 0}, {10, -10}, {-5, 5}, true},       // short lines: box widened both ways
      {{0, 0}, {10, -10}, {15, -20}, false},
      {{5, 5}, {5, 5}, {5, 5}, true},  // a line of no length
  };
  for (const auto& [start, end, p, on] : cases)
    EXPECT_EQ(IsPointOnArrow(start, end, p), on)
        << "(" << p.x << "," << p.y << ") on " << end.x << "," << end.y;
}

TEST(ToolStateTest, InsertToolsChosenWithShiftStayForSeveralInserts) {
  ToolState tools;
  std::vector<std::pair<ToolId, ToolId>> deactivated;
  tools.onDeactivate = [&](ToolId from, ToolId to) { deactivated.emplace_back(from, to); };

  tools.Choose(ToolId::InsertInternalTask, /*shiftHeld=*/false);
  EXPECT_TRUE(tools.SingleShot());
  EXPECT_FALSE(tools.FinishInsert(/*shiftHeld=*/true)) << "SHIFT on release keeps the tool";
  EXPECT_TRUE(tools.FinishInsert(false));
  EXPECT_EQ(tools.Active(), ToolId::Select);

  tools.Choose(ToolId::InsertSubscribed, true);
  EXPECT_FALSE(tools.SingleShot());
  EXPECT_FALSE(tools.FinishInsert(false));
  const auto button = tools.ButtonState(ToolId::InsertSubscribed);
  EXPECT_TRUE(button.indeterminate && !button.checked);

  tools.Choose(ToolId::ArrowNoSource, true);
  EXPECT_TRUE(tools.SingleShot()) << "only insert tools keep SHIFT";
  tools.Switch(ToolId::ArrowSourceChosen);
  EXPECT_TRUE(tools.ButtonState(ToolId::ArrowNoSource).checked);
  EXPECT_FALSE(tools.ButtonState(ToolId::Select).checked);

  const std::vector<std::pair<ToolId, ToolId>> expected = {
      {ToolId::Select, ToolId::InsertInternalTask},
      {ToolId::InsertInternalTask, ToolId::Select},
      {ToolId::Select, ToolId::InsertSubscribed},
      {ToolId::InsertSubscribed, ToolId::ArrowNoSource},
  };
  EXPECT_EQ(deactivated, expected) << "the arrow tool's own states end nothing";
}

// ---- The select tool, menus and drops ----

const GridSettings kNoGrid{50, false};

TEST_F(WorkflowTest, SelectToolPicksByPressOrRubberBandAndDragsButAClickChangesNothing) {
  CNode* a = Add("A", 0, 0);
  CNode* b = Add("B", 2, 0);
  CNode* c = Add("C", 0, 2);
  CArrow* ab = Link(a, b);
  SelectGesture g;
  EXPECT_EQ(g.Press(doc, {17, -17}, false, false), DragMode::Move);
  g.Release(doc, {17, -17}, kNoGrid);
  EXPECT_EQ(g.Press(doc, {217, -17}, /*shift=*/true, false), DragMode::Move);
  EXPECT_EQ(doc.Session().SelectedNodes(), (std::vector<CNode*>{a, b}));

  EXPECT_EQ(g.Press(doc, {100, -17}, true, false), DragMode::ArrowSelected);
  EXPECT_TRUE(ab->IsSelected());
  EXPECT_EQ(doc.Session().SelectedNodes().size(), 2u) << "SHIFT keeps the nodes";
  EXPECT_EQ(g.Press(doc, {17, -17}, false, false), DragMode::Move);
  EXPECT_FALSE(ab->IsSelected()) << "a plain click on a node drops the arrows";
  EXPECT_EQ(doc.Session().SelectedNodes().size(), 2u)
      << "a selected node keeps the selection for moving";

  EXPECT_EQ(g.Press(doc, {-10, 10}, false, false), DragMode::RubberBand);
  EXPECT_TRUE(doc.Session().SelectedNodes().empty());
  SelectGesture::Change ch = g.Drag(doc, {10, -210}, kNoGrid);
  EXPECT_TRUE(ch.selectionChanged);
  EXPECT_EQ(doc.Session().SelectedNodes(), (std::vector<CNode*>{a, c}));
  ch = g.Drag(doc, {10, -10}, kNoGrid);
  EXPECT_EQ(ch.oldBand, (Rect{-10, 10, 10, -210}));
  EXPECT_EQ(doc.Session().SelectedNodes(), std::vector<CNode*>{a})
      << "nodes left behind are deselected";
  ch = g.Release(doc, {10, -10}, kNoGrid);
  EXPECT_TRUE(ch.oldBand.has_value());
  EXPECT_EQ(g.Mode(), DragMode::None);

  // Dragging moves the selection and snaps; a click without a move changes nothing.
  doc.Session().SelectNode(*b, true);
  const GridSettings magnetic{50, true};
  g.Press(doc, {17, -17}, false, false);
  g.Drag(doc, {17, -17}, magnetic);
  g.Release(doc, {17, -17}, magnetic);
  EXPECT_EQ(a->GetRect(), NodeRectAt(0, 0)) << "left off the magnetic grid";
  EXPECT_FALSE(doc.Session().IsModified());
  g.Press(doc, {20, -20}, false, false);
  EXPECT_TRUE(g.Drag(doc, {50, -60}, kNoGrid).moved);
  g.Release(doc, {50, -60}, kNoGrid);
  EXPECT_TRUE(doc.Session().IsModified());
  EXPECT_EQ(a->GetRect(), NodeRectAt(30, -40));
  EXPECT_EQ(b->GetRect(), NodeRectAt(230, -40));
  g.Press(doc, {47, -57}, false, false);
  g.Drag(doc, {70, -57}, magnetic);
  g.Release(doc, {70, -57}, magnetic);
  EXPECT_EQ(a->GetRect().Center(), (Point{50, -50})) << "a move snaps";
}

TEST_F(WorkflowTest, TabWalksTheLevelTopToBottomThenLeftToRightAndRoundIt) {
  // Inserted out of order; the lower row comes last although its node is leftmost.
  CNode* lowerLeft = Add("lower left", 0, 1);
  CNode* upperRight = Add("upper right", 3, 0);
  CNode* upperLeft = Add("upper left", 1, 0);
  const std::vector<CNode*> level = doc.LevelNodes();
  EXPECT_EQ(InDrawingOrder(level), (std::vector<CNode*>{upperLeft, upperRight, lowerLeft}));

  EXPECT_EQ(NextInDrawingOrder(level, nullptr, true), upperLeft);
  EXPECT_EQ(NextInDrawingOrder(level, nullptr, false), lowerLeft);
  EXPECT_EQ(NextInDrawingOrder(level, upperLeft, true), upperRight);
  EXPECT_EQ(NextInDrawingOrder(level, lowerLeft, true), upperLeft) << "round the level";
  EXPECT_EQ(NextInDrawingOrder(level, upperLeft, false), lowerLeft);
  EXPECT_EQ(NextInDrawingOrder({}, nullptr, true), nullptr);
}

TEST_F(WorkflowTest, CtrlDragOfAnExternalSubWorkflowNeedsItsFieldsAndItsRecordALiveNode) {
  CNode* eidm = Add("", 0, 0, NodeKind::EIDM);
  SelectGesture g;
  EXPECT_EQ(g.Press(doc, {17, -17}, false, true), DragMode::None);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text,
            "Error: \r\n\r\nPlease check the properties of this external cluster. \nThe following "
            "fields must not be blank:\ngoal of cluster, name of cluster, input form, output "
            "form, format");
  NodeAttributes attrs = eidm->Attributes();
  attrs.name = "Order";
  attrs.freeText = "Goal";
  attrs.extClusterInput = "In";
  attrs.extClusterOutput = "Out";
  attrs.objects = {"Invoice", "Receipt"};
  doc.SetNodeAttributes(*eidm, attrs);
  EXPECT_EQ(MissingExternalClusterFields(*eidm), "format");
  attrs.extClusterFormat = "XML";
  doc.SetNodeAttributes(*eidm, attrs);
  EXPECT_EQ(g.Press(doc, {17, -17}, false, true), DragMode::DragOut);
  EXPECT_EQ(g.DraggedNode(), eidm);

  // The dragged record carries the node's fields and finds only a live node.
  const ParsedNodeRecord record = ParseNodeRecord(NodeRecordToJson(*eidm, 42));
  ASSERT_TRUE(record.valid);
  EXPECT_EQ(record.kind, NodeKind::EIDM);
  EXPECT_EQ(record.attributes, attrs);
  EXPECT_EQ(FindRecordedNode(record, doc, 42), eidm);
  EXPECT_EQ(FindRecordedNode(record, doc, 43), nullptr) << "another program's node";
  CWorkflowDoc other{ui};
  EXPECT_EQ(FindRecordedNode(record, other, 42), nullptr) << "another workflow's node";
  doc.DeleteNode(*eidm);
  EXPECT_EQ(FindRecordedNode(record, doc, 42), nullptr);
  for (const char* bad : {"", "[1]", "{\"process\": \"x\"}", "{\"process\": 1}"})
    EXPECT_FALSE(ParseNodeRecord(bad).valid) << bad;
}

TEST_F(WorkflowTest, ContextMenuAndItsTaskTypeChecksFollowTheSelectedNode) {
  const std::pair<NodeKind, ContextMenu> cases[] = {
      {NodeKind::Intern, ContextMenu::TaskType},     {NodeKind::In, ContextMenu::TaskType},
      {NodeKind::Out, ContextMenu::TaskType},        {NodeKind::IWC, ContextMenu::Cluster},
      {NodeKind::ICDR, ContextMenu::SubWorkflowType},
      {NodeKind::CDDR, ContextMenu::SubWorkflowType},
      {NodeKind::Extern, ContextMenu::Subscribed},   {NodeKind::ExtWFTask, ContextMenu::General},
      {NodeKind::EIDM, ContextMenu::General}};
  for (auto [kind, menu] : cases) {
    doc.Session().SelectNode(*Add("N", 0, 0, kind));
    EXPECT_EQ(ChooseContextMenu(doc, false, true), menu) << static_cast<int>(kind);
    EXPECT_EQ(ChooseContextMenu(doc, true, true), ContextMenu::Arrow);
    EXPECT_EQ(ChooseContextMenu(doc, false, false), ContextMenu::General) << "empty space";
  }
  doc.Session().SelectNode(*Add("Second"), true);
  EXPECT_EQ(ChooseContextMenu(doc, false, true), ContextMenu::General);

  CNode* plain = Add("Plain");
  CNode* start = Add("Start");
  CNode* in = Add("In");
  doc.DefineAsWorkflowStart(*start);
  EXPECT_TRUE(TaskTypeStateOf(doc, *plain).internalChecked);
  const TaskTypeState s = TaskTypeStateOf(doc, *start);
  EXPECT_TRUE(s.startChecked);
  EXPECT_FALSE(s.internalChecked || s.endChecked || s.inChecked);
  doc.MakeInTask(*in);
  EXPECT_TRUE(TaskTypeStateOf(doc, *in).inChecked);
  EXPECT_TRUE(TaskTypeStateOf(doc, *in).inOutEnabled);

  CWorkflowDoc* inner = doc.OpenClusterDocument(*Add("Cluster", 1, 1, NodeKind::IWC));
  EXPECT_FALSE(TaskTypeStateOf(*inner, *Add(*inner, "Inner")).inOutEnabled);
}

TEST_F(WorkflowTest, DropsChangeOnlyMatchingTargetsAndAskBeforeReplacingAReference) {
  CNode* task = Add("Task", 0, 0, NodeKind::ExtWFTask);
  CNode* target = Add("Target", 1, 0, NodeKind::Extern);
  CNode* first = Add("First", 2, 0, NodeKind::Extern);
  CNode* second = Add("Second", 3, 0, NodeKind::Extern);
  EXPECT_FALSE(DropPerson(doc, *target, "Jane Roe/Partner"));
  EXPECT_FALSE(doc.Session().IsModified());
  EXPECT_TRUE(DropPerson(doc, *task, "Jane Roe/Partner"));
  EXPECT_EQ(task->Attributes().member, "Jane Roe/Partner");
  EXPECT_EQ(task->Picture(), 9);
  EXPECT_EQ(doc.Session().SelectedNodes(), std::vector<CNode*>{task});
  EXPECT_TRUE(doc.Session().IsModified()) << "a dropped value must not be lost on close";

  EXPECT_FALSE(DropExternalViewLeaf(doc, *task, "L1", "Partner"));
  EXPECT_TRUE(DropExternalViewLeaf(doc, *target, "0123ABCD", std::nullopt));
  EXPECT_EQ(target->Attributes().griId, "0123ABCD");
  EXPECT_EQ(target->Attributes().member, "");
  EXPECT_EQ(target->Picture(), 8);
  EXPECT_TRUE(DropExternalViewLeaf(doc, *target, "0123ABCD", "Partner Corp"));
  EXPECT_EQ(target->Attributes().member, "Partner Corp");

  EXPECT_EQ(DropEffectFor(DropKind::ExternalSubscribedWorkflow, target, target), DropEffect::None);
  EXPECT_EQ(DropEffectFor(DropKind::ExternalSubscribedWorkflow, target, first), DropEffect::Link);
  EXPECT_FALSE(DropSubscribedWorkflow(doc, *target, *target));
  EXPECT_TRUE(DropSubscribedWorkflow(doc, *target, *first));
  EXPECT_EQ(target->ReferencedNode(), first);
  EXPECT_EQ(target->Picture(), 14);
  EXPECT_TRUE(ui.messages.empty());
  ui.answers = {MsgResult::No};
  EXPECT_FALSE(DropSubscribedWorkflow(doc, *target, *second));
  EXPECT_EQ(
      ui.messages.back().text,
      "The current task is already connect with task \"First\".\r\nDisconnect the reference?.");
  EXPECT_EQ(target->ReferencedNode(), first);
  ui.answers = {MsgResult::Yes};
  EXPECT_TRUE(DropSubscribedWorkflow(doc, *target, *second));
  EXPECT_EQ(target->ReferencedNode(), second);
  EXPECT_TRUE(first->ReferencingNodes().empty());
}

// ---- Insert and arrow tools ----

TEST_F(WorkflowTest, InsertOnAnArrowSplitsItElseSnapsAndSelectsTheNewNodeOnly) {
  CNode* s = Add("S", 0, 0);
  CNode* t = Add("T", 4, 0);
  CArrow* old = doc.CreateArrow(*s, *t, {RoutingKind::Cor, "Amount > 10", "@True"});
  doc.Session().SelectNode(*s);
  const InsertResult r = InsertNodeAt(doc, NodeKind::Intern, {200, -17}, {50, false});
  EXPECT_EQ(r.splitArrow, old);
  EXPECT_TRUE(doc.Session().IsModified());
  ASSERT_EQ(doc.AllArrows().size(), 2u);
  for (const CArrow* arrow : doc.AllArrows())
    EXPECT_EQ(arrow->Routing(), ArrowRouting()) << "kind and condition are dropped";
  EXPECT_TRUE(HasArrow(s, r.node) && HasArrow(r.node, t));
  EXPECT_EQ(doc.Session().SelectedNodes(), std::vector<CNode*>{s});

  const InsertResult cluster = InsertNodeAt(doc, NodeKind::IWC, {101, -101}, {50, true});
  EXPECT_EQ(cluster.node->GetRect(), (Rect{83, -83, 117, -117}));
  EXPECT_EQ(cluster.node->SavedRect(0), cluster.node->GetRect());
  EXPECT_EQ(cluster.node->RepresentsCluster(), 2) << "with its own new level";
  EXPECT_EQ(doc.Session().SelectedNodes(), std::vector<CNode*>{cluster.node});
  EXPECT_EQ(cluster.splitArrow, nullptr);
}

TEST_F(WorkflowTest, ArrowToolConnectsSourceToTargetOfOneWindowOnlyAndIgnoresTheSourceAgain) {
  ToolState tools;
  tools.Choose(ToolId::ArrowNoSource, false);
  ArrowGesture gesture;
  using O = ArrowGesture::Outcome;
  CNode* a = Add("A", 0, 0);
  CNode* b = Add("B", 2, 0);
  EXPECT_EQ(gesture.Press(doc, tools, {17, -17}).outcome, O::SourceChosen);
  EXPECT_EQ(tools.Active(), ToolId::ArrowSourceChosen);
  EXPECT_EQ(gesture.Press(doc, tools, {17, -17}).outcome, O::SameNode);
  EXPECT_EQ(tools.Active(), ToolId::ArrowNoSource);
  EXPECT_EQ(doc.AllArrows().size(), 0u);
  EXPECT_FALSE(doc.Session().IsModified());

  gesture.Press(doc, tools, {17, -17});
  EXPECT_EQ(gesture.Press(doc, tools, {500, -500}).outcome, O::Cleared);
  EXPECT_EQ(gesture.Source(doc), nullptr);

  gesture.Press(doc, tools, {17, -17});
  const ArrowGesture::Result made = gesture.Press(doc, tools, {217, -17});
  EXPECT_EQ(made.outcome, O::ArrowMade);
  EXPECT_TRUE(HasArrow(a, b));
  EXPECT_EQ(made.arrow->Kind(), RoutingKind::And);
  EXPECT_TRUE(doc.Session().IsModified());
  EXPECT_EQ(tools.Active(), ToolId::ArrowNoSource);

  // A source chosen in another window, or deleted since, is not used.
  CWorkflowDoc* inner = doc.OpenClusterDocument(*Add("Cluster", 3, 3, NodeKind::IWC));
  CNode* in = Add(*inner, "Inner", 0, 0);
  gesture.Press(doc, tools, {17, -17});
  EXPECT_EQ(gesture.Press(*inner, tools, {17, -17}).outcome, O::SourceChosen);
  EXPECT_EQ(gesture.Source(*inner), in);
  EXPECT_EQ(doc.AllArrows().size(), 1u);
  doc.DeleteNode(*in);
  EXPECT_EQ(gesture.Source(*inner), nullptr);
}

// ---- Copy and paste ----

TEST_F(WorkflowTest, CopyTakesTheSelectionAndArrowsWithinAndPasteMakesConnectedCopies) {
  CNode* start = Add("Start");
  CNode* task = Add("Task", 1);
  CNode* cluster = Add("Cluster", 2, 0, NodeKind::IWC);
  CNode* other = Add("Other", 3);
  Link(start, task, RoutingKind::Xor);
  Link(task, cluster);
  Link(cluster, other);
  doc.DefineAsWorkflowStart(*start);
  for (CNode* n : {start, task, cluster}) doc.Session().SelectNode(*n, true);
  NodeClipboard clipboard;
  EXPECT_FALSE(clipboard.IsFilled());
  clipboard.Copy(doc);
  ASSERT_TRUE(clipboard.IsFilled());
  EXPECT_EQ(clipboard.Nodes()[0]->CopiedFrom(), start);
  EXPECT_EQ(clipboard.Nodes()[0]->Document(), nullptr);
  EXPECT_EQ(clipboard.Arrows().size(), 2u) << "only arrows between selected nodes";

  CWorkflowDoc* level = doc.OpenClusterDocument(*cluster);
  std::vector<CNode*> pasted = clipboard.Paste(*level);
  EXPECT_EQ(level->LevelNodes(), pasted);
  // A copy is never a second start; a pasted cluster stands for a new level.
  EXPECT_EQ(Lines(doc),
            "Start@1 S\nTask@1\nCluster@1>2 k3\nOther@1\nStart@2\nTask@2\nCluster@2>3 k3\n"
            "Start->Task Xor\nTask->Cluster And\nCluster->Other And\n"
            "Start->Task Xor\nTask->Cluster And\n");
  for (CNode* n : pasted) EXPECT_EQ(n->CopiedFrom(), n);
  EXPECT_EQ(pasted[0]->GetRect(), start->GetRect());
  EXPECT_EQ(pasted[0]->Picture(), NodePicture::Intern);
  EXPECT_EQ(pasted[0]->OutgoingArrows()[0]->Target(), pasted[1]);
  EXPECT_EQ(level->StartNode(), nullptr);

  const std::vector<CNode*> again = clipboard.Paste(doc, {50, -50});
  EXPECT_EQ(doc.NodeCount(), 10u) << "the clipboard can be pasted again";
  EXPECT_EQ(again[0]->GetRect(), start->GetRect().Offset(50, -50));
  EXPECT_EQ(again[0]->OutgoingArrows()[0]->LineEnd(),
            ComputeArrowLine(again[0]->GetRect(), again[1]->GetRect()).end)
      << "arrows join the copies where they landed";
  doc.Session().DeselectAll();
  clipboard.Copy(doc);
  EXPECT_FALSE(clipboard.IsFilled()) << "a copy of an empty selection empties the clipboard";
}

TEST(PasteOffsetTest, CopiesLandOnNoNodeOrWhereTheMenuWasOpened) {
  const GridSettings grid{50, false};
  const std::vector<Rect> pair = {NodeRectAt(100, -100), NodeRectAt(200, -100)};
  struct Case {
    const char* what;
    std::vector<Rect> copies, level;
    std::optional<Point> at;
    bool magnetic;
    Point offset;
  };
  const Case cases[] = {
      {"beside the originals", pair, pair, {}, false, {50, -50}},
      {"past a node in the way", pair, {pair[0], pair[1], NodeRectAt(260, -160)}, {}, false,
       {100, -100}},
      {"where they were cut", pair, {NodeRectAt(0, 0)}, {}, false, {0, 0}},
      {"at the menu's point", pair, pair, Point{400, -400}, false, {300, -300}},
      {"at the menu's point on the grid", pair, pair, Point{410, -395}, true, {333, -283}},
      {"at the drawing's edge", {NodeRectAt(2000, -100)}, {NodeRectAt(2000, -100)}, {}, false,
       {50, -50}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PasteOffset(c.copies, c.level, c.at, {grid.size, c.magnetic}), c.offset) << c.what;
}

}  // namespace
}  // namespace velk::testing
