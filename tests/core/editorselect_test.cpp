// The select tool's gestures, the keyboard's walk through a level, the context
// menu choice and the drop targets.

#include "editor/drawingorder.h"
#include "editor/droptargets.h"
#include "editor/nodemenus.h"
#include "editor/noderecord.h"
#include "editor/selectgesture.h"
#include "workflowfixture.h"

namespace velk::testing {
namespace {

const GridSettings kNoGrid{50, false};

TEST_F(WorkflowTest, PressSelectsNodesOrArrowsAndARubberBandExactlyTheNodesItIntersects) {
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

TEST_F(WorkflowTest, DraggingMovesTheSelectionAndSnapsButAClickChangesNothing) {
  CNode* a = Add("A", 0, 0);  // centre (17, -17)
  CNode* b = Add("B", 2, 0);
  doc.Session().SelectNode(*a);
  doc.Session().SelectNode(*b, true);
  const GridSettings magnetic{50, true};
  SelectGesture g;
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

}  // namespace
}  // namespace velk::testing
