// Task type commands and the start/end rules of a workflow and its clusters.

#include <tuple>

#include "model/nodepicture.h"
#include "workflowfixture.h"

namespace velk::testing {
namespace {

// A node's kind, picture, and whether it starts or ends its level.
std::tuple<NodeKind, int, bool, bool> Role(const CNode* n) {
  return {n->Kind(), n->Picture(), n->IsClusterStartNode(), n->IsClusterEndNode()};
}

constexpr auto kIntern = std::tuple(NodeKind::Intern, NodePicture::Intern, false, false);

TEST_F(WorkflowTest, InAndOutTasksTakeTheStartAndEndFromTheirFormerHolders) {
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
}

TEST_F(WorkflowTest, DefiningStartAndEndMovesTheRolesBetweenNodes) {
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

TEST_F(WorkflowTest, SubWorkflowKindSwitchesBetweenCentralAndDistributed) {
  CNode* x = Add("X", 0, 0, NodeKind::ICDR);
  doc.SetSubWorkflowKind(*x, NodeKind::CDDR);
  EXPECT_EQ(x->Kind(), NodeKind::CDDR);
  EXPECT_EQ(x->Picture(), NodePicture::CDDR);
  doc.SetSubWorkflowKind(*x, NodeKind::ICDR);
  EXPECT_EQ(x->Picture(), NodePicture::ICDR);
  doc.SetSubWorkflowKind(*x, NodeKind::Out);
  EXPECT_EQ(x->Kind(), NodeKind::ICDR) << "only the two sub-workflow kinds";
}

TEST_F(WorkflowTest, SubscribedWorkflowReferencesConnectAndDisconnect) {
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

}  // namespace
}  // namespace velk::testing
