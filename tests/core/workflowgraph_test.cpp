// Node keys, pictures, code assignment and routing across cluster boundaries.

#include <string>
#include <vector>

#include "model/nodepicture.h"
#include "model/workflowgraph.h"
#include "workflowfixture.h"

namespace velk::testing {
namespace {

TEST(NodeKeyTest, CodeIsReadBackFromAKey) {
  const std::pair<const char*, int> keys[] = {{"5-W", 5},           {"17-AB-CD", 17}, {"5", 5},
                                              {"-W", -1},           {"", -1},         {"x-5", -1},
                                              {"99999999999-W", -1}, {"-2147483647-W", -2147483647},
                                              {"-2147483648-W", -1}};
  for (auto [key, code] : keys) EXPECT_EQ(CodeFromKey(key), code) << key;
}

TEST_F(WorkflowTest, PictureRuleFollowsKindRoleAndPublication) {
  struct Case {
    NodeKind kind;
    bool start, end;
    const char* gri;
    const char* reference;
    const char* member;
    int picture;
  } cases[] = {
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
  for (const Case& c : cases) {
    CNode* node = doc.CreateNode(NodeRectAt(0, 0));
    doc.SetNodeKind(*node, c.kind);
    doc.SetClusterStartFlag(*node, c.start);
    doc.SetClusterEndFlag(*node, c.end);
    doc.SetReferenceText(*node, c.reference);
    NodeAttributes a;
    a.griId = c.gri;
    a.member = c.member;
    doc.SetNodeAttributes(*node, a);
    EXPECT_EQ(PictureByRule(*node), c.picture)
        << "kind " << static_cast<int>(c.kind) << " start " << c.start << " gri " << c.gri;
  }
}

class CodeTest : public WorkflowTest {
 protected:
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const CNode* n : doc.AllNodes()) codes.push_back(n->Code());
    return codes;
  }
  void SetStatus(WorkflowStatus status) {
    EditHeader(doc, [&](WorkflowHeader& h) { h.status = status; });
  }
};

TEST_F(CodeTest, WithoutStartNodeNodesAreNumberedInListOrderUnlessActive) {
  EXPECT_TRUE(AssignCodes(doc)) << "no nodes";
  Add("A");
  Add("B");
  Add("C");
  EXPECT_TRUE(AssignCodes(doc));
  EXPECT_EQ(Codes(), (std::vector<int>{1, 2, 3}));

  SetStatus(WorkflowStatus::Active);
  EXPECT_FALSE(AssignCodes(doc));
  EXPECT_EQ(Codes(), (std::vector<int>{1, 2, 3})) << "a refused numbering changes nothing";
}

// start -> K(cluster 2: i1 -> K2(cluster 3: j1 -> j2) ) -> after
class RoutingTest : public WorkflowTest {
 protected:
  void SetUp() override {
    start = Add("Start");
    outer = Add("K", 1, 0, NodeKind::IWC);
    after = Add("After", 2);
    i1 = Add("I1");
    inner = Add("K2", 0, 0, NodeKind::IWC);
    j1 = Add("J1");
    j2 = Add("J2");
    MakeClusterOf(outer, i1, inner);
    MakeClusterOf(inner, j1, j2);
    toOuter = Link(start, outer);
    Link(outer, after);
    Link(i1, inner);
    Link(j1, j2);
  }
  CNode *start, *outer, *after, *i1, *inner, *j1, *j2;
  CArrow* toOuter;
};

TEST_F(RoutingTest, ArrowIntoAClusterRoutesToItsStartThroughNesting) {
  EXPECT_EQ(RoutingSuccessor(*toOuter), i1);
  EXPECT_EQ(RoutingSuccessor(*i1->OutgoingArrows()[0]), j1);
  EXPECT_EQ(RoutingSuccessor(*j1->OutgoingArrows()[0]), j2);
}

TEST_F(RoutingTest, EndOfAnInnerClusterRoutesOnFromItsClusterNodes) {
  // j2 ends cluster 3, whose node K2 ends cluster 2, whose node K leads to After.
  std::vector<CArrow*> arrows = RoutingArrows(doc, *j2);
  ASSERT_EQ(arrows.size(), 1u);
  EXPECT_EQ(arrows[0]->Target(), after);
  EXPECT_EQ(RoutingArrows(doc, *start).size(), 1u);
  EXPECT_TRUE(ui.messages.empty());
}

TEST_F(RoutingTest, ReachableNodesCrossIntoAndOutOfClusters) {
  std::vector<CNode*> reached = ReachableNodes(doc, *start);
  EXPECT_EQ(reached, (std::vector<CNode*>{i1, j1, j2, after}));
  EXPECT_TRUE(ReachableNodes(doc, *after).empty());
  for (const CNode* n : doc.AllNodes()) EXPECT_FALSE(n->work.visitMark);
}

TEST_F(RoutingTest, ClusterEndWithoutClusterNodeIsReportedNotFollowed) {
  doc.SetBelongsToCluster(*j2, 9);
  EXPECT_TRUE(RoutingArrows(doc, *j2).empty());
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_NE(ui.messages[0].text.find("GetNodeWhichRepresentsThisCluster"), std::string::npos);
}

TEST_F(RoutingTest, CircularClustersDoNotHangTheWalks) {
  // Damaged: the outer cluster node lies inside the cluster it stands for.
  doc.SetBelongsToCluster(*outer, 2);
  doc.SetClusterEndFlag(*outer, true);
  doc.SetClusterStartNode(*inner, outer);
  doc.SetClusterStartNode(*outer, inner);
  EXPECT_LE(RoutingArrows(doc, *outer).size(), 2u);
  EXPECT_NE(RoutingSuccessor(*toOuter), nullptr);
  EXPECT_TRUE(ReachableNodes(doc, *start).empty()) << "only cluster nodes on the way";
}

}  // namespace
}  // namespace velk::testing
