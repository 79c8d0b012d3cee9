// Creating, connecting and deleting nodes and arrows.

#include <string>
#include <vector>

#include "model/nodepicture.h"
#include "workflowfixture.h"

namespace velk::testing {
namespace {

TEST_F(WorkflowTest, EveryNewClusterGetsAnUnusedNumberThatFindsItsNode) {
  CNode* empty = Add("Empty", 0, 0, NodeKind::IWC);
  EXPECT_EQ(empty->RepresentsCluster(), 2);
  CNode* second = Add("Second", 1, 0, NodeKind::IWC);
  EXPECT_EQ(second->RepresentsCluster(), 3) << "an empty cluster still holds its number";
  EXPECT_EQ(doc.FindRepresentingNode(2), empty);
  EXPECT_EQ(doc.FindRepresentingNode(3), second);
  EXPECT_EQ(doc.FindRepresentingNode(0), nullptr) << "plain nodes represent nothing";
  EXPECT_EQ(doc.FindRepresentingNode(1), nullptr);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(doc.GetNodeWhichRepresentsCluster(9), nullptr);
  EXPECT_EQ(ui.messages.size(), 1u) << "a missing cluster node is a reported fault";
  CNode* nested = Add(*doc.OpenClusterDocument(*second), "Nested", 0, 0, NodeKind::IWC);
  EXPECT_EQ(nested->BelongsToCluster(), 3);
  EXPECT_EQ(nested->RepresentsCluster(), 4);
  EXPECT_EQ(doc.NextFreeClusterNumber(), 5);
}

TEST_F(WorkflowTest, ArrowIsListedAtBothEndsGetsItsGeometryAndLeavesEveryListWhenDeleted) {
  CNode* a = Add("A");
  CNode* b = Add("B", 0, 1);
  CArrow* arrow = doc.CreateArrow(*a, *b, {RoutingKind::Xor, "x > 1", {}});
  EXPECT_EQ(ArrowLines(doc), std::vector<std::string>{"A>B Xor x > 1"});
  EXPECT_FALSE(arrow->IsSelected() || arrow->StateFlag(0) || arrow->StateFlag(1));
  EXPECT_EQ(a->OutgoingArrows(), (std::vector<CArrow*>{arrow}));
  EXPECT_EQ(b->IncomingArrows(), (std::vector<CArrow*>{arrow}));
  EXPECT_EQ(arrow->LineEnd(), (Point{17, -100}));
  doc.MoveNode(*b, 100, 100);
  EXPECT_EQ(arrow->LineStart(), (Point{34, -17})) << "moving a node recomputes its arrows";
  EXPECT_EQ(arrow->LineEnd(), (Point{100, -17}));

  CNode* k = Add("K", 2, 0, NodeKind::IWC);
  doc.SetArrowTarget(*arrow, *k);
  EXPECT_TRUE(b->IncomingArrows().empty());
  EXPECT_EQ(k->IncomingArrows(), (std::vector<CArrow*>{arrow}));
  doc.SetArrowSource(*arrow, *b);
  EXPECT_TRUE(a->OutgoingArrows().empty());
  EXPECT_EQ(b->OutgoingArrows(), (std::vector<CArrow*>{arrow}));
  EXPECT_EQ(arrow->LineStart(), (Point{134, -17}));

  // A deleted arrow leaves every list; a deleted selection goes nodes first.
  Link(k, b);
  doc.Session().SelectArrow(*arrow);
  doc.DeleteArrow(*arrow);
  EXPECT_TRUE(b->OutgoingArrows().empty());
  EXPECT_TRUE(k->IncomingArrows().empty());
  EXPECT_TRUE(doc.Session().SelectedArrows().empty());
  EXPECT_EQ(ArrowLines(doc), std::vector<std::string>{"K>B And"}) << "the other arrow stays";
  CArrow* ab = Link(a, b);
  CArrow* ka = Link(k, a);
  doc.Session().SelectNode(*b);
  doc.Session().SelectArrow(*ab);
  doc.Session().SelectArrow(*ka, true);
  doc.Session().DeleteSelection();  // ab went with b before the arrows' turn
  EXPECT_EQ(doc.LevelNodes(), (std::vector<CNode*>{a, k}));
  EXPECT_TRUE(doc.AllArrows().empty());
}

TEST_F(WorkflowTest, DeletedNodeTakesItsArrowsAndEveryReferenceAlongClearingTakesAll) {
  CNode* a = Add("A");
  CNode* x = Add("X", 1);
  CNode* b = Add("B", 2);
  Link(a, x);
  Link(x, b);
  Link(x, x);
  CArrow* ab = Link(a, b);
  doc.DefineAsWorkflowStart(*x);
  doc.Session().SelectNode(*x);

  doc.DeleteNode(*x);
  EXPECT_EQ(doc.NodeCount(), 2u);
  EXPECT_EQ(ArrowLines(doc), std::vector<std::string>{"A>B And"});
  EXPECT_EQ(a->OutgoingArrows(), (std::vector<CArrow*>{ab}));
  EXPECT_EQ(b->IncomingArrows(), (std::vector<CArrow*>{ab}));
  EXPECT_EQ(doc.StartNode(), nullptr) << "no dangling start node";
  EXPECT_TRUE(doc.Session().SelectedNodes().empty());

  // A deleted subscribed workflow releases its references.
  CNode* target = Add("Target", 0, 1, NodeKind::Extern);
  CNode* referencing = Add("Referencing", 1, 1, NodeKind::Extern);
  CNode* further = Add("Further", 2, 1, NodeKind::Extern);
  EditNode(doc, *referencing, [&](NodeAttributes& attributes) { attributes.griId = "GRI-1"; });
  ASSERT_TRUE(doc.ConnectReference(*referencing, *target));
  ASSERT_TRUE(doc.ConnectReference(*target, *further));
  EXPECT_EQ(target->ReferencingNodes(), (std::vector<CNode*>{referencing}));
  doc.DeleteNode(*target);
  EXPECT_EQ(referencing->ReferencedNode(), nullptr);
  EXPECT_EQ(referencing->Picture(), NodePicture::ExternPublished);
  EXPECT_TRUE(further->ReferencingNodes().empty());

  // Clearing the graph empties everything.
  doc.DefineAsWorkflowStart(*a);
  doc.Session().SelectNode(*a);
  doc.OpenClusterDocument(*Add("K", 3, 0, NodeKind::IWC));
  doc.ClearGraph();
  EXPECT_EQ(doc.NodeCount(), 0u);
  EXPECT_TRUE(doc.AllArrows().empty());
  EXPECT_TRUE(doc.Session().SelectedNodes().empty());
  EXPECT_TRUE(doc.ClusterDocuments().empty());
  EXPECT_EQ(doc.StartNode(), nullptr);
}

TEST_F(WorkflowTest, DeletingThroughTheTopLeavesNoWindowSelectingNorClusterEndingInTheDeleted) {
  CNode* cluster = Add("C", 0, 0, NodeKind::IWC);
  CWorkflowDoc* level = doc.OpenClusterDocument(*cluster);
  CNode* a = Add(*level, "A");
  CNode* b = Add(*level, "B", 1);
  CNode* c = Add(*level, "C2", 2);
  MakeClusterOf(cluster, a, c);
  CArrow* ab = level->CreateArrow(*a, *b);
  CArrow* bc = level->CreateArrow(*b, *c);
  level->Session().SelectNode(*a);
  level->Session().SelectNode(*c, true);
  level->Session().SelectArrow(*ab);
  level->Session().SelectArrow(*bc, true);
  doc.DeleteNode(*a);  // takes its arrow along
  doc.DeleteArrow(*bc);
  EXPECT_EQ(level->Session().SelectedNodes(), (std::vector<CNode*>{c}));
  EXPECT_TRUE(level->Session().SelectedArrows().empty());
  EXPECT_EQ(cluster->ClusterStartNode(), nullptr);
  EXPECT_EQ(level->StartNode(), nullptr);
  level->DeleteNode(*c);
  EXPECT_EQ(cluster->ClusterEndNode(), nullptr);
}

TEST_F(WorkflowTest, DeletingANonEmptyClusterNeedsConfirmationAndTakesNestedLevelsAlong) {
  CNode* before = Add("Before");
  CNode* cluster = Add("Cluster", 1, 0, NodeKind::IWC);
  CNode* empty = Add("Empty", 2, 0, NodeKind::IWC);
  doc.OpenClusterDocument(*empty);
  EXPECT_FALSE(doc.NeedsConfirmationToDelete(*empty));
  doc.DeleteNode(*empty);
  EXPECT_TRUE(doc.ClusterDocuments().empty());
  CWorkflowDoc* level = doc.OpenClusterDocument(*cluster);
  CNode* nested = Add(*level, "Nested", 0, 0, NodeKind::IWC);
  Add(*level, "Task", 1);
  Add(*level->OpenClusterDocument(*nested), "Deep");
  Link(before, cluster);
  std::vector<CWorkflowDoc*> closed;
  doc.SetClusterClosingHandler([&](CWorkflowDoc& d) { closed.push_back(&d); });

  EXPECT_TRUE(doc.NeedsConfirmationToDelete(*cluster));
  EXPECT_FALSE(doc.NeedsConfirmationToDelete(*before));
  doc.Session().SelectNode(*cluster);
  doc.Session().SelectNode(*before, true);
  EXPECT_EQ(doc.Session().SelectionNeedingConfirmation(), (std::vector<CNode*>{cluster}));
  doc.Session().SelectNode(*cluster);
  doc.Session().DeleteSelection({cluster});
  EXPECT_EQ(doc.NodeCount(), 5u) << "the spared cluster stays";

  doc.DeleteNode(*cluster);
  EXPECT_TRUE(ui.messages.empty()) << "the model asks nothing";
  EXPECT_EQ(doc.LevelNodes(), (std::vector<CNode*>{before}));
  EXPECT_EQ(doc.NodeCount(), 1u);
  EXPECT_TRUE(doc.AllArrows().empty());
  EXPECT_EQ(closed.size(), 2u);

  // Damaged structure: two clusters lying in each other, one in itself. Deleting ends.
  CNode* outer = Add("Outer", 1, 0, NodeKind::IWC);
  CNode* loop = Add("Loop", 2, 0, NodeKind::IWC);
  doc.SetBelongsToCluster(*loop, outer->RepresentsCluster());
  doc.SetBelongsToCluster(*outer, loop->RepresentsCluster());
  CNode* inside = Add("Self", 3, 0, NodeKind::IWC);
  doc.SetBelongsToCluster(*inside, inside->RepresentsCluster());
  doc.DeleteNode(*outer);
  doc.DeleteNode(*inside);
  EXPECT_EQ(doc.NodeCount(), 1u);
}

}  // namespace
}  // namespace velk::testing
