// The workflow document: defaults, title and modified flag, cluster and
// sub-workflow documents.

#include <memory>
#include <tuple>
#include <vector>

#include "workflowfixture.h"

namespace velk::testing {
namespace {

TEST_F(WorkflowTest, NewWorkflowIsValidFromTodayAndTitleShowsNameVersionStatusAndModification) {
  EXPECT_TRUE(doc.Header().workflowId.empty() && doc.IsNew());
  EXPECT_EQ(TodayText().size(), 10u);
  EXPECT_EQ(CWorkflowDoc(ui).Header().validFrom, TodayText());
  const std::string tooLong = std::string(199, 'a') + "\xc3\xa4" + std::string(10'000'000, 'b');
  struct Case {
    std::string name;
    int version;
    WorkflowStatus status;
    std::string title;
  } cases[] = {
      {"Order", 2, WorkflowStatus::Design, "Order v2 (Design)"},
      {"Order", 0, WorkflowStatus::Active, "Order v0 (Active)"},
      {tooLong, 1, WorkflowStatus::Design, std::string(199, 'a') + "... v1 (Design)"},
      {"Leave", 13, WorkflowStatus::Testing, "Leave v13 (Testing)"},
      {"Odd", 1, static_cast<WorkflowStatus>(7), "Odd v1 (Design)"},
  };
  for (const Case& c : cases) {
    WorkflowHeader h = doc.Header();
    h.name = c.name;
    h.version = c.version;
    h.status = c.status;
    doc.SetHeader(h);
    EXPECT_EQ(doc.Session().Title(), c.title);
    EXPECT_EQ(doc.Session().SaveChangesQuestion(), std::string("Save changes in ") + c.title + " ");
  }
  std::vector<CWorkflowDoc*> refreshed;
  const auto refresh = [&](CWorkflowDoc& d) { refreshed.push_back(&d); };
  doc.Session().SetTitleHandler(refresh);
  CWorkflowDoc* cluster = doc.OpenClusterDocument(*Add("Check", 0, 0, NodeKind::IWC));
  cluster->Session().SetTitleHandler(refresh);
  EXPECT_EQ(cluster->Session().Title(), "Odd v1 (Design) subflow: Check");
  // A change in a cluster window marks the whole workflow, each window refreshed once.
  cluster->Session().SetModified();
  cluster->Session().SetModified();
  EXPECT_EQ(doc.Session().Title(), "Odd v1 (Design) *");
  EXPECT_EQ(cluster->Session().Title(), "Odd v1 (Design) subflow: Check *");
  EXPECT_TRUE(doc.Session().NeedsSaveQuestion());
  EXPECT_FALSE(cluster->Session().NeedsSaveQuestion());
  EXPECT_EQ(refreshed.size(), 2u);
  refreshed.clear();
  doc.Session().ClearModified();
  EXPECT_EQ(cluster->Session().Title(), "Odd v1 (Design) subflow: Check");
  EXPECT_FALSE(cluster->Session().IsModified());
  EXPECT_EQ(refreshed.size(), 2u);
}

TEST_F(WorkflowTest, ClusterDocumentShowsItsLevelSelectionCoversOneLevelSubWorkflowsForgetCallers) {
  CNode* outside = Add("Outside");
  CNode* cluster = Add("Cluster", 1, 0, NodeKind::IWC);
  CNode* first = Add("First", 2);
  CNode* last = Add("Last", 3);
  MakeClusterOf(cluster, first, last);
  WorkflowDatabases dbs;
  dbs.gateway.location = {"gw.nsf", "Hub"};
  doc.SetDatabases(dbs);

  CWorkflowDoc* level = doc.OpenClusterDocument(*cluster);
  EXPECT_EQ(doc.OpenClusterDocument(*cluster), level) << "a second open shows the same window";
  EXPECT_TRUE(level->IsClusterDocument());
  EXPECT_EQ(level->Level(), cluster->RepresentsCluster());
  EXPECT_EQ(
      std::tuple(&level->Top(), level->RepresentingNode(), level->StartNode(), level->EndNode()),
      std::tuple(&doc, cluster, first, last));
  EXPECT_EQ(level->Databases(), dbs);
  EXPECT_EQ(level->LevelNodes(), (std::vector<CNode*>{first, last}));
  EXPECT_EQ(doc.LevelNodes(), (std::vector<CNode*>{outside, cluster}));
  EXPECT_EQ(cluster->ClusterDocument(), level);

  CNode* added = Add(*level, "Added");
  EXPECT_EQ(added->BelongsToCluster(), level->Level());
  EXPECT_EQ(added->Document(), level);
  EXPECT_EQ(doc.NodeCount(), 5u) << "the top document owns nodes made in cluster windows";

  // Selecting replaces or adds, and all of a level is only that level.
  CNode* other = Add("Other", 4);
  doc.Session().SelectNode(*outside);
  doc.Session().SelectNode(*other);
  EXPECT_EQ(doc.Session().SelectedNodes(), (std::vector<CNode*>{other}));
  EXPECT_FALSE(outside->IsSelected());
  doc.Session().SelectNode(*outside, true);
  doc.Session().SelectNode(*outside, true);
  EXPECT_EQ(doc.Session().SelectedNodes(), (std::vector<CNode*>{other, outside}));
  doc.Session().SelectAllNodes();
  EXPECT_EQ(doc.Session().SelectedNodes(), (std::vector<CNode*>{other, outside, cluster}));
  EXPECT_FALSE(added->IsSelected());
  doc.Session().DeselectNode(*other);
  EXPECT_EQ(doc.Session().SelectedNodes(), (std::vector<CNode*>{outside, cluster}));
  doc.Session().DeselectAll();
  EXPECT_TRUE(doc.Session().SelectedNodes().empty());
  EXPECT_FALSE(outside->IsSelected());

  // A sub-workflow is no cluster window; it and its calling node forget each
  // other when either goes.
  CNode* icdr = Add("Sub", 0, 0, NodeKind::ICDR);
  {
    CWorkflowDoc sub{ui};
    doc.LinkSubWorkflow(*icdr, sub);
    EXPECT_EQ(icdr->ClusterDocument(), &sub);
    EXPECT_EQ(sub.RepresentingNode(), icdr);
    EXPECT_FALSE(sub.IsClusterDocument());
  }
  EXPECT_EQ(icdr->ClusterDocument(), nullptr);

  CWorkflowDoc sub{ui};
  {
    auto caller = std::make_unique<CWorkflowDoc>(ui);
    CNode* cddr = caller->InsertNode(NodeRectAt(0, 0), NodeKind::CDDR);
    caller->LinkSubWorkflow(*cddr, sub);
  }
  EXPECT_EQ(sub.RepresentingNode(), nullptr);
}

TEST_F(WorkflowTest, ClosingTheTopWindowClosesNestedClusterWindowsFirstAndDropsTheirSelection) {
  CNode* outer = Add("Outer", 0, 0, NodeKind::IWC);
  CWorkflowDoc* outerDoc = doc.OpenClusterDocument(*outer);
  CNode* inner = Add(*outerDoc, "Inner", 1, 0, NodeKind::IWC);
  CNode* drawn = Add(*outerDoc, "Drawn", 2);
  CArrow* arrow = outerDoc->CreateArrow(*drawn, *inner);
  outerDoc->Session().SelectNode(*drawn);
  outerDoc->Session().SelectArrow(*arrow);
  CWorkflowDoc* innerDoc = outerDoc->OpenClusterDocument(*inner);
  std::vector<CWorkflowDoc*> closed;
  doc.SetClusterClosingHandler([&](CWorkflowDoc& d) { closed.push_back(&d); });

  doc.PrepareClose();
  EXPECT_EQ(closed, (std::vector<CWorkflowDoc*>{innerDoc, outerDoc}));
  EXPECT_TRUE(doc.ClusterDocuments().empty());
  EXPECT_FALSE(outer->ClusterDocument() || inner->ClusterDocument());
  EXPECT_EQ(drawn->Document(), &doc) << "nodes of a closed window fall back to the top document";
  EXPECT_EQ(arrow->Document(), &doc);
  EXPECT_FALSE(drawn->IsSelected() || arrow->IsSelected());
}

}  // namespace
}  // namespace velk::testing
