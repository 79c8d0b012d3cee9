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

TEST_F(WorkflowTest, InTaskBecomesTheStartAndTheFormerStartAnInternalTask) {
  CNode* old = Add("Old");
  CNode* x = Add("X", 1);
  doc.DefineAsWorkflowEnd(*x);
  doc.DefineAsWorkflowStart(*old);

  ASSERT_TRUE(doc.MakeInTask(*x));
  EXPECT_EQ(doc.StartNode(), x);
  EXPECT_EQ(doc.EndNode(), nullptr) << "the end node gave up its role";
  EXPECT_EQ(Role(x), std::tuple(NodeKind::In, NodePicture::InUnpublished, true, false));
  EXPECT_EQ(Role(old), std::tuple(NodeKind::Intern, NodePicture::Intern, false, false));
}

TEST_F(WorkflowTest, OutTaskBecomesTheEnd) {
  CNode* old = Add("Old");
  CNode* x = Add("X", 1);
  doc.MakeOutTask(*old);
  doc.MakeInTask(*x);
  ASSERT_TRUE(doc.MakeOutTask(*x));
  EXPECT_EQ(doc.EndNode(), x);
  EXPECT_EQ(doc.StartNode(), nullptr);
  EXPECT_EQ(Role(x), std::tuple(NodeKind::Out, NodePicture::Out, false, true));
  EXPECT_EQ(Role(old), std::tuple(NodeKind::Intern, NodePicture::Intern, false, false));
}

TEST_F(WorkflowTest, InAndOutTasksAreRefusedInClusterWindows) {
  CNode* cluster = Add("C", 0, 0, NodeKind::IWC);
  CWorkflowDoc* level = doc.OpenClusterDocument(*cluster);
  CNode* x = Add(*level, "X");
  EXPECT_FALSE(level->MakeInTask(*x));
  EXPECT_FALSE(level->MakeOutTask(*x));
  EXPECT_EQ(x->Kind(), NodeKind::Intern);
  EXPECT_EQ(level->StartNode(), nullptr);
}

TEST_F(WorkflowTest, DefiningStartAndEndMovesTheRolesBetweenNodes) {
  struct Case {
    bool start;
    int picture;
  } cases[] = {{true, NodePicture::ClusterStart}, {false, NodePicture::ClusterEnd}};
  for (const Case& c : cases) {
    CWorkflowDoc d{ui};
    CNode* a = d.InsertNode(NodeRectAt(0, 0), NodeKind::Intern);
    CNode* b = d.InsertNode(NodeRectAt(100, 0), NodeKind::Intern);
    auto define = [&](CNode* n) {
      c.start ? d.DefineAsWorkflowStart(*n) : d.DefineAsWorkflowEnd(*n);
    };
    auto role = [&] { return c.start ? d.StartNode() : d.EndNode(); };
    auto flag = [&](CNode* n) { return c.start ? n->IsClusterStartNode() : n->IsClusterEndNode(); };
    auto otherFlag = [&](CNode* n) {
      return c.start ? n->IsClusterEndNode() : n->IsClusterStartNode();
    };
    // b first takes the opposite role, which it must give up.
    c.start ? d.DefineAsWorkflowEnd(*b) : d.DefineAsWorkflowStart(*b);
    define(a);
    define(b);
    EXPECT_EQ(role(), b);
    EXPECT_TRUE(flag(b));
    EXPECT_FALSE(otherFlag(b));
    EXPECT_EQ(b->Picture(), c.picture);
    EXPECT_EQ(c.start ? d.EndNode() : d.StartNode(), nullptr);
    EXPECT_FALSE(flag(a));
    EXPECT_EQ(a->Picture(), NodePicture::Intern);
  }
}

TEST_F(WorkflowTest, StartInAClusterWindowIsAlsoTheClustersStart) {
  CNode* cluster = Add("Cluster", 0, 0, NodeKind::IWC);
  CNode* first = Add("First", 1);
  CNode* last = Add("Last", 2);
  MakeClusterOf(cluster, first, last);
  CWorkflowDoc* level = doc.OpenClusterDocument(*cluster);

  level->DefineAsWorkflowStart(*last);
  EXPECT_EQ(cluster->ClusterStartNode(), last);
  EXPECT_EQ(cluster->ClusterEndNode(), nullptr) << "a node cannot be both ends";
  EXPECT_EQ(level->StartNode(), last);
  EXPECT_EQ(level->EndNode(), nullptr);
  EXPECT_EQ(Role(first), std::tuple(NodeKind::Intern, NodePicture::Intern, false, false));
  EXPECT_EQ(Role(last), std::tuple(NodeKind::Intern, NodePicture::ClusterStart, true, false));
  EXPECT_EQ(doc.StartNode(), nullptr) << "the workflow's own start is untouched";
}

TEST_F(WorkflowTest, InternalTaskGivesUpEveryRole) {
  CNode* cluster = Add("Cluster", 0, 0, NodeKind::IWC);
  CNode* first = Add("First", 1);
  CNode* last = Add("Last", 2);
  MakeClusterOf(cluster, first, last);
  CWorkflowDoc* level = doc.OpenClusterDocument(*cluster);
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
  EXPECT_EQ(Role(in), std::tuple(NodeKind::Intern, NodePicture::Intern, false, false));
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
