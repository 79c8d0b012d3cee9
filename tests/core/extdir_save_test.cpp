#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "core/extdirfixture.h"
#include "extdir/eidmrequests.h"
#include "model/workflowdoc.h"
#include "model/workflowextdir.h"
#include "repository/demowriter.h"

namespace velk {
namespace {

using Strings = std::vector<std::string>;

class ExtDirSaveTest : public ExtDirTest {
 protected:
  void SetUp() override {
    ExtDirTest::SetUp();
    WriteDemoDirectory();
    LoadWithTree();
  }

  Strings Headers() { return Stored("GRIHeader", {"HeaderID", "ProcViewName"}); }
  std::size_t DocumentCount() {
    LNDatabase db = Open();
    std::vector<LNDocument> docs;
    db.GetAllDocuments(&docs);
    return docs.size();
  }
};

TEST_F(ExtDirSaveTest, AChangedHeaderIsReplacedOnceAndADeletedOneRemoved) {
  const std::size_t documents = DocumentCount();
  CExtDirItemGRIProcView& sales = Header("Sales Processes");
  sales.ProcViewName = "Sales";
  sales.SetModified();
  ASSERT_TRUE(data->SaveAll());
  ASSERT_TRUE(data->SaveAll());
  EXPECT_FALSE(sales.modified);
  Strings stored = Headers();
  EXPECT_EQ(std::count(stored.begin(), stored.end(), "HeaderID=00000A01 ProcViewName=Sales"), 1);
  EXPECT_EQ(DocumentCount(), documents);

  Header("Banking Services").Delete();
  ASSERT_TRUE(data->SaveAll());
  ASSERT_TRUE(data->SaveAll());
  EXPECT_EQ(Headers().size(), 3u);
  EXPECT_EQ(Summary(kExtDirSaveCategory),
            (Strings{"0|GRI Header", "0|GRI-Leafs", "0|Content Management", "0|EIDM Organizations",
                     "0|EIDM"}));
}

TEST_F(ExtDirSaveTest, ANewProcessViewIsWrittenOnceEditedWithItsNoteIdAsId) {
  Find<CExtDirItemGRIOrg>(*data, kDemoOrganisation)->NewChild();
  ASSERT_TRUE(data->SaveAll());
  EXPECT_EQ(Headers().size(), 4u) << "never edited";
  CExtDirItemGRIProcView& made = Header("New Process View");
  made.ProcViewName = "Export";
  made.SetModified();
  ASSERT_TRUE(data->SaveAll());
  EXPECT_EQ(made.ID.size(), 8u);
  EXPECT_EQ(Stored("GRIHeader", {"HeaderID", "Direction", "ProcViewName"}).back(),
            "HeaderID=" + made.ID + " Direction=Published ProcViewName=Export");
}

TEST_F(ExtDirSaveTest, APublishedLeafWritesItsIriDocumentAnOfferedOneDoesNot) {
  const Strings iriBefore = Stored("IRILeaf", {"LeafID"});
  Header("Sales Processes").LoadLeafs();
  Header("Logistics Services").LoadLeafs();
  auto* published = data->LoadLeafById(demo::kOrderHandlingLeafId);
  auto* offered = data->LoadLeafById(demo::kParcelDeliveryLeafId);
  ASSERT_TRUE(published && offered);
  ASSERT_TRUE(data->UpdateIriLeaf(published->ID, "WF-42"));
  {
    const Strings iri = Stored("IRILeaf", {"LeafID", "WorkflowID"});
    EXPECT_EQ(std::count(iri.begin(), iri.end(), "LeafID=" + published->ID + " WorkflowID=WF-42"),
              1);
  }
  for (CExtDirItemGRILeaf* leaf : {published, offered}) {
    leaf->Description2 = "Changed";
    leaf->SetModified();
  }
  ASSERT_TRUE(data->SaveAll());
  EXPECT_EQ(Stored("GRILeaf", {"LeafID", "Description2"}).size(), 8u);
  const Strings changed = Stored("GRILeaf", {"Description2"});
  EXPECT_EQ(std::count(changed.begin(), changed.end(), "Description2=Changed"), 2);
  EXPECT_EQ(Stored("IRILeaf", {"LeafID"}).size(), iriBefore.size()) << "replaced, not added";
  EXPECT_EQ(Stored("IRILeaf", {"LeafID", "ApplicationDB", "WorkflowID"}).back(),
            "LeafID=" + published->ID + " ApplicationDB=office@marvelund.example WorkflowID=WF-42");
  // One leaf saved on its own, then one deleted: found by their ids.
  offered->Description2 = "Once more";
  offered->SetModified();
  ASSERT_TRUE(data->SaveItem(*offered));
  EXPECT_EQ(Stored("GRILeaf", {"Description2"}).size(), 8u) << "replaced, not added";
  offered->Delete();
  ASSERT_TRUE(data->SaveAll());
  const Strings left = Stored("GRILeaf", {"LeafID"});
  EXPECT_EQ(left.size(), 7u);
  EXPECT_EQ(std::count(left.begin(), left.end(), "LeafID=" + published->ID), 1);
}

TEST_F(ExtDirSaveTest, ASaveFailingMidwayLeavesTheStoreAsItWasAndKeepsTheMarks) {
  const Strings headers = Headers();
  const Strings requests = Stored("ExtClusterSpec", {"ExtClusterID", "ExtClusterName"});
  Refuse("extclustername", true);
  CExtDirItemGRIProcView& sales = Header("Sales Processes");
  sales.ProcViewName = "Sales";
  sales.SetModified();
  Header("Banking Services").Delete();
  auto* request = data->ItemsOf<CExtDirItemEIDM>().front();
  request->ExtClusterName = "Changed";
  request->SetModified();

  EXPECT_FALSE(data->SaveAll());
  EXPECT_EQ(Headers(), headers) << "the header phase was undone";
  EXPECT_EQ(Stored("ExtClusterSpec", {"ExtClusterID", "ExtClusterName"}), requests);
  EXPECT_TRUE(sales.modified);
  EXPECT_TRUE(request->modified);
  EXPECT_FALSE(request->ID.empty());
  const Strings summary = Summary(kExtDirSaveCategory);
  EXPECT_EQ(summary.back(), "3|Saving External Directory database");
  EXPECT_EQ(Summary("Saving EIDM"), (Strings{"3|Creating document"}));

  // One item alone, likewise.
  EXPECT_FALSE(data->SaveItem(*request));
  EXPECT_EQ(Stored("ExtClusterSpec", {"ExtClusterID", "ExtClusterName"}), requests);
  EXPECT_TRUE(request->modified);
  EXPECT_FALSE(data->Refresh()) << "a refresh that cannot save keeps the changes";
  EXPECT_EQ(request->ExtClusterName, "Changed");
}

TEST_F(ExtDirSaveTest, SaveItemWritesAtOnceAndRefreshShowsTheStore) {
  auto* request = data->ItemsOf<CExtDirItemEIDM>().front();
  request->ExtClusterGoal = "Faster";
  request->SetModified();
  ASSERT_TRUE(data->SaveItem(*request));
  const Strings goals = Stored("ExtClusterSpec", {"ExtClusterGoal"});
  EXPECT_EQ(goals.size(), 4u) << "replaced, not added";
  EXPECT_EQ(std::count(goals.begin(), goals.end(), "ExtClusterGoal=Faster"), 1);

  auto& made = data->Append<CExtDirItemEIDM>();
  made.ExtClusterName = "Fresh";
  made.orderedByUs = true;
  made.InsertIntoTree(nullptr, *tree);
  ASSERT_TRUE(data->SaveItem(made));
  EXPECT_EQ(made.ExtClusterID, made.ID);
  ASSERT_TRUE(data->SaveAll());
  EXPECT_EQ(Stored("ExtClusterSpec", {"ExtClusterName"}).size(), 5u) << "not written again";

  const std::string before = tree->Print(), id = made.ID;
  ASSERT_TRUE(data->Refresh());
  EXPECT_EQ(tree->Print(), before);
  EXPECT_NE(data->FindItemById(id), nullptr);
}

TEST_F(ExtDirSaveTest, UnsavedChangesAreWhatTheNextSaveWritesAndDiscardingReadsTheStore) {
  auto leaf = [this](const char* name) {
    Header("Sales Processes").LoadLeafs();
    return Find<CExtDirItemGRILeaf>(*data, name);
  };
  const std::pair<const char*, std::function<void()>> edits[] = {
      {"an edited header", [&] { Header("Sales Processes").SetModified(); }},
      {"a deleted header", [&] { Header("Banking Services").Delete(); }},
      {"a deleted leaf", [&] { leaf("Complaint Handling")->Delete(); }},
      {"a renamed folder", [&] { Find<CExtDirItemGRIFolder>(*data, "Orders")->SetModified(); }},
      {"a new request",
       [&] { CopyEidmToPartnerSection(*Find<CExtDirItemEIDM>(*data, "Credit check")); }},
  };
  for (const auto& [what, edit] : edits) {
    SCOPED_TRACE(what);
    LoadWithTree();
    EXPECT_FALSE(data->HasUnsavedChanges());
    leaf("Order Handling");  // read, not changed
    EXPECT_FALSE(data->HasUnsavedChanges());
    edit();
    EXPECT_TRUE(data->HasUnsavedChanges());
    ASSERT_TRUE(data->SaveAll());
    EXPECT_FALSE(data->HasUnsavedChanges());
  }

  CExtDirItemGRIProcView& sales = Header("Sales Processes");
  sales.ProcViewName = "Unsaved";
  sales.UpdateTreeText();
  sales.SetModified();
  const std::size_t documents = DocumentCount();
  tree.reset();
  data->DiscardChanges();
  EXPECT_FALSE(data->HasUnsavedChanges());
  EXPECT_EQ(Find<CExtDirItemGRIProcView>(*data, "Unsaved"), nullptr);
  EXPECT_EQ(DocumentCount(), documents);
}

TEST_F(ExtDirSaveTest, ASubscribedWorkflowTakesTheOrganisationOfItsLeaf) {
  CWorkflowDoc doc(ui_, "Test Designer");
  WorkflowDatabases databases;
  databases.externalDirectory = {{kPath, ""}, data.get()};
  doc.SetDatabases(databases);
  EXPECT_EQ(LeafOrganisation(doc, demo::kParcelDeliveryLeafId), "Acme Logistics");
  EXPECT_EQ(LeafOrganisation(doc, "NOSUCHLEAF"), "");
  UpdatePublishedLeafs(doc, {{demo::kComplaintLeafId, "WF-7"}});
  const Strings iri = Stored("IRILeaf", {"LeafID", "wfID"});
  EXPECT_EQ(std::count(iri.begin(), iri.end(),
                       "LeafID=" + std::string(demo::kComplaintLeafId) + " wfID=WF-7"),
            1);
}

}  // namespace
}  // namespace velk
