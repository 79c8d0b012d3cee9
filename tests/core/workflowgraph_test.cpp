// Node keys, pictures, code assignment and routing across cluster boundaries.

#include <string>
#include <tuple>
#include <vector>

#include "editor_graphs.h"
#include "model/nodepicture.h"
#include "model/workflowgraph.h"

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

TEST_F(WorkflowTest, WithoutStartNodeNodesAreNumberedInListOrderUnlessActive) {
  EXPECT_TRUE(AssignCodes(doc)) << "no nodes";
  for (const char* name : {"A", "B", "C"}) Add(name);
  EXPECT_TRUE(AssignCodes(doc));
  EXPECT_EQ(Codes(doc), (std::vector<int>{1, 2, 3}));
  EditHeader(doc, [](WorkflowHeader& h) { h.status = WorkflowStatus::Active; });
  doc.SetNodeCode(*doc.AllNodes()[0], 7);
  EXPECT_FALSE(AssignCodes(doc));
  EXPECT_EQ(Codes(doc), (std::vector<int>{7, 2, 3})) << "a refused numbering changes nothing";
}

using RoutingTest = NestedClustersTest;

TEST_F(RoutingTest, ArrowsRouteIntoClusterStartsAndOnFromTheirEndsThroughNesting) {
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
}

TEST_F(RoutingTest, DamagedClustersAreReportedOrWalkedWithoutHanging) {
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

}  // namespace
}  // namespace velk::testing
