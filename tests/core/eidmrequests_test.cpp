#include "extdir/eidmrequests.h"

#include <gtest/gtest.h>

#include "core/extdirfixture.h"
#include "core/saverfixture.h"
#include "core/workflowfixture.h"
#include "extdir/extdirdrops.h"
#include "model/workflowdoc.h"

namespace velk {
namespace {

using testing::EditHeader;
using testing::EditNode;

class EidmRequestTest : public ExtDirTest {
 protected:
  void SetUp() override {
    ExtDirTest::SetUp();
    WriteDemoDirectory();
    LoadWithTree();
    WorkflowHeader h = workflow.Header();
    h.workflowId = "WF-OURS";
    h.version = 3;
    workflow.SetHeader(h);
    task = workflow.InsertNode({0, 0, 34, -34}, NodeKind::EIDM);
    NodeAttributes a = task->Attributes();
    a.name = "Credit rating";
    a.freeText = "Rate the buyer";
    a.extClusterInput = "Order|GF_Order";
    a.extClusterOutput = "Rating|GF_Rating";
    a.extClusterExpectedDuration = 4;
    workflow.SetNodeAttributes(*task, a);
  }

  CExtDirItemEIDMOrg& Org(const std::string& name, bool byUs) {
    for (auto* org : data->ItemsOf<CExtDirItemEIDMOrg>())
      if (org->ExtOrganization == name && org->orderedByUs == byUs) return *org;
    throw std::runtime_error("no organisation " + name);
  }
  CExtDirItemEIDM& Request(const std::string& name) {
    auto* r = Find<CExtDirItemEIDM>(*data, name);
    if (!r) throw std::runtime_error("no request " + name);
    return *r;
  }

  CWorkflowDoc workflow{ui_, "CN=Designer/O=Marvelund", "07.12.2026"};
  CNode* task = nullptr;
};

TEST_F(EidmRequestTest, CommandStatesFollowSideAndState) {
  CExtDirItemEIDM r(*data);
  struct Case {
    bool byUs;
    int state;
    EidmCommandStates expected;
  };
  const Case cases[] = {
      {true, kEidmCreated, {true, false, false, false, false, false}},
      {true, kEidmSubmitted, {false, true, true, false, false, false}},
      {true, kEidmDenied, {false, true, false, false, false, false}},
      {false, kEidmCreated, {false, false, false, false, true, false}},
      {false, kEidmSubmitted, {false, false, false, true, true, false}},
      {false, kEidmPerformed, {false, false, false, false, true, true}},
  };
  for (const Case& c : cases) {
    r.orderedByUs = c.byUs;
    r.ExtClusterStatus = c.state;
    EXPECT_EQ(EidmStates(r), c.expected) << c.byUs << " " << c.state;
  }
}

TEST_F(EidmRequestTest, ADroppedTaskBecomesAStoredRequestThatTheTaskNames) {
  EXPECT_EQ(CreateEidmRequest(Org("Borealis Bank", false), *task, {}), nullptr)
      << "partners' organisations take no orders";
  CExtDirItemEIDMOrg& org = Org("Borealis Bank", true);
  CExtDirItemEIDM* r = CreateEidmRequest(org, *task, {"Marvelund", "office@m", "TRK:1"});
  ASSERT_NE(r, nullptr);
  EXPECT_FALSE(r->ID.empty());
  EXPECT_EQ(task->Attributes().extClusterSpecId, r->ID);
  EXPECT_EQ(r->treeNode->Parent(), org.treeNode);
  EXPECT_TRUE(org.treeNode->IsExpanded());
  EXPECT_EQ(std::tie(r->ExtClusterOrg, r->MasterOrg, r->ExtClusterGoal, r->MasterWorkflowID,
                     r->ExtClusterExpectedDuration, r->ExtClusterVersion, r->Readers),
            std::tuple("Borealis Bank", "Marvelund", "Rate the buyer", "WF-OURS", 4, 3,
                       std::vector<std::string>{"Borealis Bank Readers"}));
  EXPECT_EQ(r->ExtClusterResponsible, org.ExtOrgResponsible);
  const auto stored = Stored("ExtClusterSpec", {"ExtClusterName", "ExtClusterStatus",
                                                "MasterTrackingAddress", "ExtClusterID"});
  EXPECT_EQ(stored.back(),
            "ExtClusterName=Credit rating ExtClusterStatus=Created "
            "MasterTrackingAddress=TRK:1 ExtClusterID=" +
                r->ID);
}

TEST_F(EidmRequestTest, OnlyYesChangesTheState) {
  CExtDirItemEIDM& created = Request("Credit check");
  created.ExtClusterStatus = kEidmCreated;
  for (MsgResult no : {MsgResult::No, MsgResult::Cancel}) {
    ui_.answers = {no, no};
    EXPECT_FALSE(SubmitEidmRequest(created));
    EXPECT_FALSE(DenyEidmRequest(created));
  }
  EXPECT_EQ(created.ExtClusterStatus, kEidmCreated);
  EXPECT_FALSE(created.modified);
  ui_.answers = {MsgResult::Yes};
  EXPECT_TRUE(SubmitEidmRequest(created));
  EXPECT_EQ(ui_.messages.back().text,
            "Are you sure to submit this EIDM request? (THIS OPERATION CAN NOT BE UNDONE!)");
  EXPECT_EQ(created.ExtClusterStatus, kEidmSubmitted);
  EXPECT_EQ(created.treeNode->Image(), 21);
  EXPECT_TRUE(created.modified);
  ui_.answers = {MsgResult::Yes};
  EXPECT_TRUE(CancelEidmRequest(created));
  EXPECT_EQ(created.treeNode->Image(), 22);
  CExtDirItemEIDM& denied = Request("Order intake");
  ui_.answers = {MsgResult::Yes};
  EXPECT_TRUE(DenyEidmRequest(denied));
  EXPECT_EQ(denied.ExtClusterStatus, kEidmDenied);
  EXPECT_EQ(denied.ExtClusterDesigner, kEidmPlaceholderMail);
}

TEST_F(EidmRequestTest, AcceptingStoresTheAnswerWorkflowOrChangesNothing) {
  CExtDirItemEIDM& request = Request("Credit check");
  CExtDirItemEIDM* copy = CopyEidmToPartnerSection(request);
  ASSERT_NE(copy, nullptr);
  EXPECT_FALSE(copy->orderedByUs);
  EXPECT_TRUE(copy->ID.empty()) << "its own document, never the original's";
  EXPECT_EQ(copy->treeNode->Parent(), &tree->Section(ExtDirSection::OrderedByPartners));

  // Saved as every workflow is: an Active answer fails the check and is refused.
  velk::testing::TestSaver saver(ui_, session_);
  CWorkflowDoc answer{ui_, "CN=Designer/O=Marvelund", "07.12.2026"};
  EditHeader(answer, [&](WorkflowHeader& active) { active.status = WorkflowStatus::Active; });
  bool valid = false;
  EidmWorkflowHost host;
  host.defaultDatabasesValid = [&] { return valid; };
  host.openNewWorkflow = [&] { return &answer; };
  host.redraw = [](CWorkflowDoc&) {};
  host.infoCenterVisible = [] { return false; };
  bool hidden = false;
  host.setInfoCenterVisible = [&](bool show) { hidden = !show; };
  host.saver = &*saver;
  std::string remembered;
  host.remember = [&](const CWorkflowDoc& doc) { remembered = doc.Header().workflowId; };
  ui_.answers = {MsgResult::No, MsgResult::Yes, MsgResult::Ok, MsgResult::Yes};
  EXPECT_FALSE(AcceptEidmRequest(*copy, host));
  EXPECT_FALSE(AcceptEidmRequest(*copy, host)) << "wrong default databases";
  EXPECT_EQ(ui_.messages.back().text,
            "Creating a new workflow with wrong default databases is not possible. Creating "
            "aborted.");
  valid = true;
  EXPECT_FALSE(AcceptEidmRequest(*copy, host)) << "the answer could not be stored";
  EXPECT_EQ(ui_.messages.back().text,
            "Error: \r\n\r\nThe consistency check refuses the workflow \"Answer to "
            "EIDM-Request" +
                copy->ID + "\"; the Info Center lists why.\r\nNothing has been stored.");
  EXPECT_EQ(copy->ExtClusterStatus, kEidmSubmitted);
  EXPECT_TRUE(copy->ExtClusterWorkflowID.empty());

  CWorkflowDoc second{ui_, "CN=Designer/O=Marvelund", "07.12.2026"};
  EditHeader(second, [](WorkflowHeader& design) { design.version = 4; });  // stored as 0
  host.openNewWorkflow = [&] { return &second; };
  ui_.answers = {MsgResult::Yes};
  ASSERT_TRUE(AcceptEidmRequest(*copy, host));
  // Stored as Design version 0 with the databases the modeler's save gives; the
  // designers are the placeholder and, as every save adds, the designer who saved.
  const WorkflowHeader& h = second.Header();
  EXPECT_EQ(std::tie(h.version, h.name, h.designers, remembered),
            std::tuple(0, "Answer to EIDM-Request" + copy->ID,
                       std::vector<std::string>{kEidmPlaceholderMail, "CN=Designer/O=Marvelund"},
                       h.workflowId));
  EXPECT_TRUE(second.Databases().AllInitialised());
  EXPECT_TRUE(hidden) << "the Info Center stays hidden";
  ASSERT_EQ(second.NodeCount(), 2u);
  const CNode* in = *second.AllNodes().begin();
  EXPECT_EQ(std::tuple(in->Kind(), in->Picture(), in->GetRect(), in->Attributes().objects),
            std::tuple(NodeKind::In, 3, Rect{83, -83, 117, -117},
                       std::vector<std::string>{"Purchase Order|GF_PurchaseOrder"}));
  EXPECT_EQ(std::tuple(copy->ExtClusterStatus, copy->ExtClusterWorkflowID, copy->treeNode->Image()),
            std::tuple(kEidmPerformed, h.workflowId, 20));
}

TEST_F(EidmRequestTest, LeafsAndInTasksDropOnlyOnPublishedProcessViews) {
  CExtDirItemGRIProcView* published = nullptr;
  CExtDirItemGRIProcView* offered = nullptr;
  for (auto* header : data->ItemsOf<CExtDirItemGRIProcView>())
    (header->IsPublished() ? published : offered) = header;
  ASSERT_TRUE(published && offered);
  ExtDirDragFormats inTask;
  inTask.inTask = true;
  ExtDirDragFormats taskOnly;
  EXPECT_EQ(QueryExtDirDrop(*published, inTask, false), ExtDirDropEffect::None) << "not loaded";
  published->LoadLeafs();
  offered->LoadLeafs();
  EXPECT_EQ(QueryExtDirDrop(*published, inTask, false), ExtDirDropEffect::Move);
  EXPECT_EQ(QueryExtDirDrop(*published, inTask, true), ExtDirDropEffect::Copy);
  EXPECT_EQ(QueryExtDirDrop(*published, taskOnly, false), ExtDirDropEffect::None);
  EXPECT_EQ(QueryExtDirDrop(*offered, inTask, false), ExtDirDropEffect::None);

  CNode* in = workflow.InsertNode({100, 0, 134, -34}, NodeKind::In);
  workflow.SetStartNode(in);
  EditNode(workflow, *in, [&](NodeAttributes& a) { a.name = "Quote"; });
  CExtDirItemGRILeaf* leaf = PublishTaskAsLeaf(*published, *in);
  ASSERT_NE(leaf, nullptr);
  EXPECT_EQ(leaf->treeNode->Parent(), published->treeNode);
  EXPECT_EQ(leaf->HeaderID, published->ID);
  EXPECT_EQ(in->Attributes().griId, leaf->ID);
  EXPECT_EQ(in->Picture(), NodePicture::InPublished);
  ReleasePublishedTasks(*data, workflow);
  EXPECT_EQ(leaf->publishedTask, nullptr);
  EXPECT_EQ(leaf->workflowId, "WF-OURS");
}

TEST_F(EidmRequestTest, ADroppedCopyAndAnUnstoredPublicationAreWrittenByTheNextSave) {
  auto* sales = Find<CExtDirItemGRIProcView>(*data, "Sales Processes");
  sales->LoadLeafs();
  const std::size_t leafs = Stored("GRILeaf", {"LeafID"}).size();
  ASSERT_NE(DropLeafCopy(*sales, *Find<CExtDirItemGRILeaf>(*data, "Complaint Handling")), nullptr);
  CNode* in = workflow.InsertNode({100, 0, 134, -34}, NodeKind::In);
  EditNode(workflow, *in, [&](NodeAttributes& a) { a.name = "Quote"; });
  Refuse("leafname", true);
  EXPECT_EQ(PublishTaskAsLeaf(*sales, *in), nullptr) << "the store refused it";
  Refuse("leafname", false);
  EXPECT_TRUE(data->HasUnsavedChanges());
  ASSERT_TRUE(data->SaveAll());
  EXPECT_EQ(Stored("GRILeaf", {"LeafID"}).size(), leafs + 2);
  LoadWithTree();
  Find<CExtDirItemGRIProcView>(*data, "Sales Processes")->LoadLeafs();
  std::size_t complaints = 0;
  for (auto* leaf : data->ItemsOf<CExtDirItemGRILeaf>())
    complaints += leaf->LeafName == "Complaints/Complaint Handling";
  EXPECT_EQ(complaints, 2u) << "the copy is read back";
  EXPECT_NE(Find<CExtDirItemGRILeaf>(*data, "Quote"), nullptr);
}

}  // namespace
}  // namespace velk
