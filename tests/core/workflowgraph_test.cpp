// Node keys, pictures, code assignment, routing across cluster boundaries, task
// type commands and the start/end rules of a workflow and its clusters; and the
// save's graph walks (code assignment, reachable nodes) against the plain queue
// walk that removes every visited node from the queue after each step, and the
// check's reference test against a walk per reference, on generated graphs with
// nested clusters and cycles; and finding tasks and arrows by their texts on
// every level of the demo's order workflow.

#include <algorithm>
#include <deque>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "common/headlessservices.h"
#include "editor_graphs.h"
#include "model/checkreferences.h"
#include "model/nodepicture.h"
#include "model/workflowfind.h"
#include "model/workflowgraph.h"
#include "repository/demoworkflows.h"

namespace velk::testing {
namespace {

TEST_F(WorkflowTest, PictureRuleFollowsKindRoleAndPublication) {
  // Kind, start, end, published leaf, reference, performer, and the picture.
  const std::tuple<NodeKind, bool, bool, const char*, const char*, const char*, int> cases[] = {
      {NodeKind::Intern, true, false, "", "", "", 2},
      {NodeKind::In, true, false, "", "", "", 11},
      {NodeKind::In, true, false, "G", "", "", 3},
      {NodeKind::Intern, false, true, "", "", "", 1},
      {NodeKind::Intern, true, true, "", "", "", 2},
      {NodeKind::Intern, false, false, "", "", "", 0},
      {NodeKind::In, false, false, "", "", "", 0},
      {NodeKind::Out, false, true, "", "", "", 4},
      {NodeKind::IWC, false, false, "", "", "", 5},
      {NodeKind::ICDR, false, false, "", "", "", 6},
      {NodeKind::CDDR, false, false, "", "", "", 7},
      {NodeKind::Extern, false, false, "", "1-W", "", 12},
      {NodeKind::Extern, false, false, "G", "", "", 8},
      {NodeKind::Extern, false, false, "G", "1-W", "", 14},
      {NodeKind::ExtWFTask, false, false, "", "", "", 13},
      {NodeKind::ExtWFTask, false, false, "", "", "Partner", 9},
      {NodeKind::EIDM, false, false, "", "", "", 10},
      {static_cast<NodeKind>(42), false, false, "", "", "", 0},
  };
  for (const auto& [kind, start, end, gri, reference, member, picture] : cases) {
    CNode* node = doc.CreateNode(NodeRectAt(0, 0));
    doc.SetNodeKind(*node, kind);
    doc.SetClusterStartFlag(*node, start);
    doc.SetClusterEndFlag(*node, end);
    doc.SetReferenceText(*node, reference);
    NodeAttributes a;
    a.griId = gri;
    a.member = member;
    doc.SetNodeAttributes(*node, a);
    EXPECT_EQ(PictureByRule(*node), picture)
        << "kind " << static_cast<int>(kind) << " start " << start << " gri " << gri;
  }
}

TEST_F(WorkflowTest, CodesGoInListOrderWithoutStartUnlessActiveAndAreReadBackFromKeys) {
  EXPECT_TRUE(AssignCodes(doc)) << "no nodes";
  for (const char* name : {"A", "B", "C"}) Add(name);
  EXPECT_TRUE(AssignCodes(doc));
  EXPECT_EQ(Codes(doc), (std::vector<int>{1, 2, 3}));
  EditHeader(doc, [](WorkflowHeader& h) { h.status = WorkflowStatus::Active; });
  doc.SetNodeCode(*doc.AllNodes()[0], 7);
  EXPECT_FALSE(AssignCodes(doc));
  EXPECT_EQ(Codes(doc), (std::vector<int>{7, 2, 3})) << "a refused numbering changes nothing";
  // A code is read back from a node's key.
  const std::pair<const char*, int> keys[] = {{"5-W", 5},           {"17-AB-CD", 17}, {"5", 5},
                                              {"-W", -1},           {"", -1},         {"x-5", -1},
                                              {"99999999999-W", -1}, {"-2147483647-W", -2147483647},
                                              {"-2147483648-W", -1}};
  for (auto [key, code] : keys) EXPECT_EQ(CodeFromKey(key), code) << key;
}

using RoutingTest = NestedClustersTest;

TEST_F(RoutingTest, ArrowsRouteThroughNestedClustersAndDamagedOnesAreReportedNotHung) {
  EXPECT_EQ(RoutingSuccessor(*toOuter), i1);
  EXPECT_EQ(RoutingSuccessor(*i1->OutgoingArrows()[0]), j1);
  EXPECT_EQ(RoutingSuccessor(*j1->OutgoingArrows()[0]), j2);
  // J2 ends level 3, whose node K2 ends level 2, whose node K leads to After.
  EXPECT_EQ(RoutingArrows(doc, *j2), std::vector<CArrow*>{onward});
  EXPECT_EQ(RoutingArrows(doc, *start), std::vector<CArrow*>{toOuter});
  EXPECT_EQ(ReachableNodes(doc, *start), (std::vector<CNode*>{i1, j1, j2, after}));
  EXPECT_TRUE(ReachableNodes(doc, *after).empty());
  for (const CNode* n : doc.AllNodes()) EXPECT_FALSE(n->work.visitMark);
  EXPECT_TRUE(ui.messages.empty());
  // Damaged clusters are reported or walked without hanging.
  doc.SetBelongsToCluster(*j2, 9);
  EXPECT_TRUE(RoutingArrows(doc, *j2).empty()) << "an end without its cluster node";
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("GetNodeWhichRepresentsThisCluster"), std::string::npos);
  // The outer cluster node lies inside the cluster it stands for.
  doc.SetBelongsToCluster(*outer, 2);
  doc.SetClusterEndFlag(*outer, true);
  doc.SetClusterStartNode(*inner, outer);
  doc.SetClusterStartNode(*outer, inner);
  EXPECT_LE(RoutingArrows(doc, *outer).size(), 2u);
  EXPECT_NE(RoutingSuccessor(*toOuter), nullptr);
  EXPECT_TRUE(ReachableNodes(doc, *start).empty()) << "only cluster nodes on the way";
}

// ---- Task types, start and end ----

// A node's kind, picture, and whether it starts or ends its level.
std::tuple<NodeKind, int, bool, bool> Role(const CNode* n) {
  return {n->Kind(), n->Picture(), n->IsClusterStartNode(), n->IsClusterEndNode()};
}

constexpr auto kIntern = std::tuple(NodeKind::Intern, NodePicture::Intern, false, false);

TEST_F(WorkflowTest, StartAndEndMoveBetweenNodesAlsoToInAndOutTasks) {
  CNode* old = Add("Old");
  CNode* x = Add("X", 1);
  doc.DefineAsWorkflowEnd(*x);
  doc.DefineAsWorkflowStart(*old);
  ASSERT_TRUE(doc.MakeInTask(*x));
  EXPECT_EQ(doc.StartNode(), x);
  EXPECT_EQ(doc.EndNode(), nullptr) << "the end node gave up its role";
  EXPECT_EQ(Role(x), std::tuple(NodeKind::In, NodePicture::InUnpublished, true, false));
  EXPECT_EQ(Role(old), kIntern);

  doc.MakeOutTask(*old);
  ASSERT_TRUE(doc.MakeOutTask(*x));
  EXPECT_EQ(doc.EndNode(), x);
  EXPECT_EQ(doc.StartNode(), nullptr);
  EXPECT_EQ(Role(x), std::tuple(NodeKind::Out, NodePicture::Out, false, true));
  EXPECT_EQ(Role(old), kIntern);
  // Defining start and end moves the roles between nodes.
  CNode* a = Add("A");
  CNode* b = Add("B", 1);
  doc.DefineAsWorkflowEnd(*b);
  doc.DefineAsWorkflowStart(*a);
  doc.DefineAsWorkflowStart(*b);  // b gives up the end, a the start
  EXPECT_EQ(doc.StartNode(), b);
  EXPECT_EQ(doc.EndNode(), nullptr);
  EXPECT_EQ(Role(b), std::tuple(NodeKind::Intern, NodePicture::ClusterStart, true, false));
  EXPECT_EQ(Role(a), kIntern);
  doc.DefineAsWorkflowEnd(*a);
  doc.DefineAsWorkflowEnd(*b);
  EXPECT_EQ(doc.EndNode(), b);
  EXPECT_EQ(doc.StartNode(), nullptr);
  EXPECT_EQ(Role(b), std::tuple(NodeKind::Intern, NodePicture::ClusterEnd, false, true));
  EXPECT_EQ(Role(a), kIntern);
}

// A cluster's window on First .. Last.
class ClusterWindowTest : public WorkflowTest {
 protected:
  ClusterWindowTest() {
    MakeClusterOf(cluster, first, last);
    level = doc.OpenClusterDocument(*cluster);
  }
  CNode* cluster = Add("Cluster", 0, 0, NodeKind::IWC);
  CNode* first = Add("First", 1);
  CNode* last = Add("Last", 2);
  CWorkflowDoc* level;
};

TEST_F(ClusterWindowTest, StartThereIsAlsoTheClustersStartAndInOrOutTasksAreRefused) {
  CNode* x = Add(*level, "X");
  EXPECT_FALSE(level->MakeInTask(*x));
  EXPECT_FALSE(level->MakeOutTask(*x));
  EXPECT_EQ(Role(x), kIntern);

  level->DefineAsWorkflowStart(*last);
  EXPECT_EQ(cluster->ClusterStartNode(), last);
  EXPECT_EQ(cluster->ClusterEndNode(), nullptr) << "a node cannot be both ends";
  EXPECT_EQ(level->StartNode(), last);
  EXPECT_EQ(level->EndNode(), nullptr);
  EXPECT_EQ(Role(first), kIntern);
  EXPECT_EQ(Role(last), std::tuple(NodeKind::Intern, NodePicture::ClusterStart, true, false));
  EXPECT_EQ(doc.StartNode(), nullptr) << "the workflow's own start is untouched";
}

TEST_F(ClusterWindowTest, InternalTaskGivesUpEveryRole) {
  level->MakeInternalTask(*first);
  level->MakeInternalTask(*last);
  EXPECT_EQ(cluster->ClusterStartNode(), nullptr);
  EXPECT_EQ(cluster->ClusterEndNode(), nullptr);
  EXPECT_EQ(level->StartNode(), nullptr);
  EXPECT_FALSE(first->IsClusterStartNode()) << "else it would be the start again once reloaded";
  EXPECT_FALSE(last->IsClusterEndNode());

  CNode* in = Add("In", 3);
  doc.MakeInTask(*in);
  doc.MakeInternalTask(*in);
  EXPECT_EQ(doc.StartNode(), nullptr);
  EXPECT_EQ(Role(in), kIntern);
}

TEST_F(WorkflowTest, SubWorkflowKindsSwitchAndSubscribedReferencesConnectAndDisconnect) {
  CNode* x = Add("X", 0, 0, NodeKind::ICDR);
  doc.SetSubWorkflowKind(*x, NodeKind::CDDR);
  EXPECT_EQ(x->Kind(), NodeKind::CDDR);
  EXPECT_EQ(x->Picture(), NodePicture::CDDR);
  doc.SetSubWorkflowKind(*x, NodeKind::ICDR);
  EXPECT_EQ(x->Picture(), NodePicture::ICDR);
  doc.SetSubWorkflowKind(*x, NodeKind::Out);
  EXPECT_EQ(x->Kind(), NodeKind::ICDR) << "only the two sub-workflow kinds";
  CNode* a = Add("A", 0, 0, NodeKind::Extern);
  CNode* b = Add("B", 1, 0, NodeKind::Extern);
  CNode* c = Add("C", 2, 0, NodeKind::Extern);
  EXPECT_FALSE(doc.ConnectReference(*a, *a)) << "no reference to itself";
  ASSERT_TRUE(doc.ConnectReference(*a, *b));
  EXPECT_EQ(a->Picture(), NodePicture::ExternReferencing);
  ASSERT_TRUE(doc.ConnectReference(*a, *c));
  EXPECT_TRUE(b->ReferencingNodes().empty()) << "the old reference was dropped";
  EXPECT_EQ(c->ReferencingNodes(), (std::vector<CNode*>{a}));

  doc.SetReferenceText(*a, "3-W");
  doc.DisconnectReference(*a);
  EXPECT_EQ(a->ReferencedNode(), nullptr);
  EXPECT_TRUE(a->ReferenceText().empty());
  EXPECT_TRUE(c->ReferencingNodes().empty());
  EXPECT_EQ(a->Picture(), NodePicture::Extern);
}

// ---- Fast walks against plain ones ----

using Queue = std::deque<CNode*>;

void DropVisited(Queue& queue) {
  std::erase_if(queue, [](const CNode* n) { return !n->work.visitMark; });
}
void Marks(CWorkflowDoc& doc, bool on) {
  for (CNode* n : doc.AllNodes()) n->work.visitMark = on;
}
void PushTargets(Queue& queue, const std::vector<CArrow*>& arrows) {
  for (const CArrow* a : arrows) queue.push_back(a->Target());
}

std::vector<CNode*> PlainReachable(CWorkflowDoc& doc, CNode& start) {
  std::vector<CNode*> reached;
  Marks(doc, true);
  Queue queue{&start};
  while (!queue.empty()) {
    CNode* x = queue.front();
    x->work.visitMark = false;
    if (x->IsClusterNode() && x->ClusterStartNode())
      queue.push_back(x->ClusterStartNode());
    else if (x->IsClusterNode())
      PushTargets(queue, x->OutgoingArrows());
    else {
      if (x != &start) reached.push_back(x);
      PushTargets(queue, RoutingArrows(doc, *x));
    }
    DropVisited(queue);
  }
  Marks(doc, false);
  return reached;
}

std::vector<int> PlainCodes(CWorkflowDoc& doc) {
  std::vector<CNode*> all(doc.AllNodes().begin(), doc.AllNodes().end());
  for (CNode* n : all) doc.SetNodeCode(*n, -1);
  Marks(doc, true);
  Queue queue{doc.StartNode()};
  int code = 1;
  auto firstMarked = [&]() -> CNode* {
    for (CNode* n : all)
      if (n->work.visitMark) return n;
    return nullptr;
  };
  while (CNode* marked = firstMarked()) {
    if (queue.empty()) {
      queue.push_back(marked);
      continue;
    }
    CNode* x = queue.front();
    doc.SetNodeCode(*x, code++);
    if (!x->IsClusterNode()) {
      PushTargets(queue, x->OutgoingArrows());
      if (EndsInnerCluster(*x))
        PushTargets(queue, doc.FindRepresentingNode(x->BelongsToCluster())->OutgoingArrows());
    } else if (CNode* y = x->ClusterStartNode()) {
      doc.SetNodeCode(*y, code++);
      y->work.visitMark = false;
      PushTargets(queue, y->OutgoingArrows());
    }
    x->work.visitMark = false;
    DropVisited(queue);
  }
  Marks(doc, false);
  return Codes(doc);
}

// Level 1 holds two clusters; the first holds a third. Random arrows inside each
// level, loops included; some nodes stay unreachable.
class WalkTest : public WorkflowTest {
 protected:
  std::vector<CNode*> Level(int count, int cluster, std::mt19937& random) {
    std::vector<CNode*> nodes;
    for (int i = 0; i < count; ++i) {
      CNode* n = Add("N" + std::to_string(doc.NodeCount()), i, cluster);
      doc.SetBelongsToCluster(*n, cluster);
      nodes.push_back(n);
    }
    std::uniform_int_distribution<int> pick(0, count - 1);
    for (int i = 0; i < count * 2; ++i) Link(nodes[pick(random)], nodes[pick(random)]);
    return nodes;
  }
  void Cluster(CNode* clusterNode, std::vector<CNode*> level) {
    doc.SetRepresentsCluster(*clusterNode, level.front()->BelongsToCluster());
    doc.SetNodeKind(*clusterNode, NodeKind::IWC);
    MakeClusterOf(clusterNode, level.front(), level.back());
  }
  void Build(unsigned seed) {
    std::mt19937 random(seed);
    std::vector<CNode*> top = Level(12, 1, random);
    std::vector<CNode*> two = Level(6, 2, random);
    std::vector<CNode*> three = Level(5, 3, random);
    std::vector<CNode*> four = Level(4, 4, random);
    Cluster(top[3], two);
    Cluster(top[7], three);
    Cluster(two[2], four);
    doc.SetStartNode(top[0]);
  }
};

TEST_F(WalkTest, FastWalksAndTheReferenceTestGiveThePlainWalksResults) {
  for (unsigned seed = 1; seed <= 40; ++seed) {
    doc.ClearGraph();
    Build(seed);
    const std::vector<int> expected = PlainCodes(doc);
    ASSERT_TRUE(AssignCodes(doc));
    EXPECT_EQ(Codes(doc), expected) << "seed " << seed;
    RoutingIndex index(doc);
    for (CNode* n : doc.AllNodes()) {
      const std::vector<CNode*> plain = PlainReachable(doc, *n);
      EXPECT_EQ(index.Reachable(*n), plain) << "seed " << seed << " from " << n->Name();
      EXPECT_EQ(ReachableNodes(doc, *n), plain) << "seed " << seed << " from " << n->Name();
    }
    for (const CNode* n : doc.AllNodes()) EXPECT_FALSE(n->work.visitMark);
  }
  EXPECT_TRUE(ui.messages.empty());
  // References are judged as a walk from each referenced node judges them.
  for (unsigned seed = 1; seed <= 20; ++seed) {
    doc.ClearGraph();
    std::mt19937 random(seed);
    // Enough subscribed workflows that references are answered in several batches.
    std::vector<CNode*> nodes = Level(150, 1, random);
    std::uniform_int_distribution<int> pick(0, 149);
    for (int i = 0; i < 150; i += 2) {
      CNode& referencing = *nodes[static_cast<std::size_t>(i)];
      doc.SetNodeKind(referencing, NodeKind::Extern);
      // Every tenth refers to the first node, the others anywhere.
      doc.ConnectReference(referencing,
                           *nodes[static_cast<std::size_t>(i % 10 ? pick(random) : 1)]);
    }
    std::vector<const CNode*> expected;
    for (const CNode* n : doc.AllNodes())
      if (n->ReferencedNode() && !Reaches(n->ReferencedNode(), n)) expected.push_back(n);
    EXPECT_EQ(UnreachableReferences(doc), expected) << "seed " << seed;
  }
}

// ---- Finding texts ----

std::vector<std::string> Found(const WorkflowFindIndex& index, std::string_view text) {
  std::vector<std::string> lines;
  for (const FindResult& r : index.Find(text)) lines.push_back(DescribeResult(r));
  return lines;
}

TEST(WorkflowFindTest, FindsEveryKindOfTextOnEveryLevelWithoutRegardToCase) {
  HeadlessServices ui;
  std::unique_ptr<CWorkflowDoc> order;
  for (auto& doc : demo::BuildDemoWorkflows(ui))
    if (doc->Header().name == "Order Handling" && doc->Header().status == WorkflowStatus::Active)
      order = std::move(doc);
  ASSERT_TRUE(order);
  const WorkflowFindIndex index(*order);
  using Lines = std::vector<std::string>;
  EXPECT_EQ(Found(index, "PACK"), (Lines{"Fulfilment: cluster 'Packing' (name)",
                                         "Fulfilment > Packing: task 'Pack parcel' (name)"}));
  EXPECT_EQ(Found(index, "printer room"),
            Lines{"Fulfilment > Packing: task 'Print label' (resource)"});
  EXPECT_EQ(Found(index, "karin"), Lines{"task 'Approve large order' (performer)"});
  EXPECT_EQ(Found(index, "confirmation"), Lines{"task 'Confirm order' (form)"})
      << "a form by its title, not its stored form name";
  EXPECT_EQ(Found(index, "GF_"), Lines{});
  EXPECT_EQ(Found(index, "large order"),
            (Lines{"arrow 'Credit check' -> 'Approve large order' (condition)",
                   "task 'Approve large order' (name)"}))
      << "in workflow order, an arrow with its source";
  EXPECT_EQ(Found(index, "order_amount >"),
            Lines{"arrow 'Credit check' -> 'Approve large order' (condition)"})
      << "a Cor arrow's formula counts as its condition";
  EXPECT_EQ(Found(index, ""), Lines{});
  EXPECT_EQ(Found(index, "no such text"), Lines{});
}

}  // namespace
}  // namespace velk::testing
