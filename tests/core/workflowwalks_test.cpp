// The save's graph walks (code assignment, reachable nodes) against the plain
// queue walk that removes every visited node from the queue after each step, and
// the check's reference test against a walk per reference, on generated graphs
// with nested clusters and cycles.

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>
#include <vector>

#include "editor_graphs.h"
#include "model/checkreferences.h"
#include "model/workflowgraph.h"

namespace velk::testing {
namespace {

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

TEST_F(WalkTest, FastWalksGiveThePlainQueueWalksResults) {
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
}

TEST_F(WalkTest, ReferencesAreJudgedAsAWalkFromEachReferencedNodeJudgesThem) {
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

}  // namespace
}  // namespace velk::testing
