#include <gtest/gtest.h>

#include <algorithm>

#include "common/services.h"
#include "core/extdirfixture.h"

namespace velk {
namespace {

class ExtDirTreeTest : public ExtDirTest {
 protected:
  void SetUp() override {
    ExtDirTest::SetUp();
    LNDatabase db = NewDirectory();
    AddRows(db, "GRIHeader", {"HeaderID", "Direction", "OrgName", "ProcViewName"},
            {"H1;Published;Marvelund;Sales", "H2;Offered;Acme;Transport",
             "H3;Published;Marvelund;Purchasing"});
    AddLeafs(db, {"L1;H1;A/B/Leaf;Active", "L2;H1;A/Other;Design", "L3;H1;Plain;Archive",
                  "L4;H2;Freight/Truck;Active"});
    AddRows(db, "Person", {"FullName"},
            {"CN=Ann Lee/OU=Sales/O=Acme", "Bob Roe/Sales/Acme", "Solo"});
    AddRows(db, "ExtOrganization", {"ExtOrganization", "ExtOrgID"}, {"Acme;O1"});
    AddRows(db, "ExtClusterSpec",
            {"ExtClusterID", "ExtClusterName", "MasterWorkflowID", "ExtClusterOrg", "MasterOrg",
             "ExtClusterStatus"},
            {"E1;Parcel;;Acme;Marvelund;Submitted", "E2;Review;WF-THEIRS;Marvelund;Nobody;Denied"});
    db.Close();
    LoadWithTree();
  }

  void AddLeafs(LNDatabase& db, const std::vector<std::string>& rows) {
    AddRows(db, "GRILeaf", {"LeafID", "HeaderID", "LeafName", "Status"}, rows);
  }
};

TEST_F(ExtDirTreeTest, ItemsArePlacedInTheirSectionsAndLeafsComeOnDemand) {
  EXPECT_EQ(tree->Print(),
            "Workflows Published By Us (Internal) [0]\n"
            "  Marvelund [6]\n"
            "    Sales [8]\n"
            "    Purchasing [8]\n"
            "Workflows Offered By Partners (External) [1]\n"
            "  Acme [6]\n"
            "    Transport [8]\n"
            "External Registered Organisations [14]\n"
            "  Acme [6]\n"
            "    Sales [6]\n"
            "      Ann Lee [13]\n"
            "      Bob Roe [13]\n"
            "  Solo [13]\n"
            "Ordered Sub-Workflows [15]\n"
            "  Ordered By Us [0]\n"
            "    Acme [6]\n"
            "      Parcel [21]\n"
            "  Ordered By Partners [1]\n"
            "    Acme [6]\n"
            "    Review [22]\n");
  EXPECT_EQ(Find<CExtDirItemExtRegOrg>(*data, "Ann Lee")->FullName, "Ann Lee/Sales/Acme");
  EXPECT_TRUE(data->ItemsOf<CExtDirItemGRILeaf>().empty());

  // Folders from the "/"-separated names, shared by two leafs; images by status.
  Header("Sales").OnDoubleClick();
  const std::size_t items = data->Items().size();
  Header("Sales").OnDoubleClick();
  EXPECT_EQ(data->Items().size(), items) << "leafs are read once";
  const std::string sales = tree->Print();
  EXPECT_NE(sales.find("    Sales [6]\n"
                       "      A [6]\n"
                       "        B [6]\n"
                       "          Leaf [3]\n"
                       "        Other [2]\n"
                       "      Plain [4]\n"
                       "    Purchasing [8]\n"),
            std::string::npos)
      << sales;
}

TEST_F(ExtDirTreeTest, LeafImagesByStatusAndAnUnknownStatusIsNotShown) {
  CExtDirItemGRIProcView& purchasing = Header("Purchasing");
  purchasing.LoadLeafs();
  for (int status : {3, 4, 7}) {
    auto& leaf = data->Append<CExtDirItemGRILeaf>();
    leaf.LeafName = "S" + std::to_string(status);
    leaf.Status = status;
    leaf.HeaderID = "H3";
    leaf.InsertIntoTree(purchasing.treeNode, *tree);
  }
  std::vector<std::string> shown;
  for (const auto& child : purchasing.treeNode->Children())
    shown.push_back(child->Text() + " " + std::to_string(child->Image()));
  EXPECT_EQ(shown, (std::vector<std::string>{"S3 5", "S4 6"}));
  EXPECT_TRUE(Find<CExtDirItemGRILeaf>(*data, "S3")->IsPublished());
}

TEST_F(ExtDirTreeTest, NewChildrenAndDeletion) {
  auto* marvelund = Find<CExtDirItemGRIOrg>(*data, "Marvelund");
  auto* acme = Find<CExtDirItemGRIOrg>(*data, "Acme");
  ASSERT_TRUE(marvelund && acme);
  marvelund->NewChild();
  acme->NewChild();
  EXPECT_EQ(ui_.currentStatus(), "");
  EXPECT_EQ(Header("New Process View").Direction, "Published");
  EXPECT_EQ(data->ItemsOf<CExtDirItemGRIProcView>().back()->Direction, "Offered");
  EXPECT_TRUE(marvelund->treeNode->IsExpanded());
  EXPECT_EQ(marvelund->ContextMenu(), (ExtDirMenu{189, true, false, true}));

  // A folder made in a loaded process view goes with its contents.
  CExtDirItemGRIProcView& sales = Header("Sales");
  EXPECT_EQ(sales.ContextMenu(), (ExtDirMenu{189, false, false, true})) << "leafs not loaded";
  sales.LoadLeafs();
  sales.NewChild();
  EXPECT_TRUE(sales.treeNode->IsExpanded()) << "the new folder is in view";
  EXPECT_NE(ui_.currentStatus().find("an empty folder is gone"), std::string::npos)
      << "the designer learns that an empty folder is not stored";
  Find<CExtDirItemGRIFolder>(*data, "A")->Delete();
  EXPECT_EQ(Find<CExtDirItemGRIFolder>(*data, "B"), nullptr);
  EXPECT_TRUE(Find<CExtDirItemGRILeaf>(*data, "Leaf")->deleted);
  EXPECT_FALSE(Find<CExtDirItemGRILeaf>(*data, "Plain")->deleted);

  // The only process views of an organisation deleted: the organisation goes too.
  Header("Transport").Delete();
  data->ItemsOf<CExtDirItemGRIProcView>().back()->Delete();
  EXPECT_EQ(Find<CExtDirItemGRIOrg>(*data, "Acme"), nullptr);
  EXPECT_TRUE(Header("Transport").deleted) << "kept for the saver";
  EXPECT_EQ(tree->Section(ExtDirSection::OfferedByPartners).Children().size(), 0u);
}

TEST_F(ExtDirTreeTest, IdsFindItemsAndEidmOrganisationsAreTwins) {
  EXPECT_EQ(data->FindItemById(""), nullptr) << "persons have empty ids";
  auto* byUs = dynamic_cast<CExtDirItemEIDMOrg*>(data->FindItemById("O1"));
  ASSERT_NE(byUs, nullptr);
  EXPECT_TRUE(byUs->IsOrderedByUs());
  ASSERT_NE(byUs->byPartnersTwin, nullptr);
  EXPECT_EQ(byUs->byPartnersTwin->byUsTwin, byUs);
  EXPECT_EQ(byUs->byPartnersTwin->ID, "O1");
  EXPECT_FALSE(dynamic_cast<CExtDirItemEIDM*>(data->FindItemById("E2"))->IsOrderedByUs());
  byUs->byPartnersTwin->ExtOrgReader = "CN=Reader/O=Acme";
  byUs->byPartnersTwin->ExtOrgResponsible.push_back("CN=Ann Lee/O=Acme");
  byUs->byPartnersTwin->SetModified();
  EXPECT_TRUE(byUs->modified) << "one document serves both";
  EXPECT_EQ(byUs->ExtOrgReader, "CN=Reader/O=Acme") << "one twin's change is the other's";
  ASSERT_TRUE(data->SaveAll());
  EXPECT_EQ(Stored("ExtOrganization", {"ExtOrgID", "ExtOrgReader"}),
            std::vector<std::string>{"ExtOrgID=O1 ExtOrgReader=CN=Reader/O=Acme"});
}

TEST_F(ExtDirTreeTest, ClosingForgetsLeafsAndNodesAndLeavesTheDataSetAsItWas) {
  const auto before = Load()->Items().size();
  for (int cycle = 0; cycle < 3; ++cycle) {
    Header("Sales").LoadLeafs();
    Header("Sales").NewChild();
    tree->Close();
    EXPECT_EQ(data->Items().size(), before) << "no organisations or folders are left behind";
    EXPECT_FALSE(Header("Sales").leafsLoaded);
    EXPECT_EQ(Header("Sales").treeNode, nullptr);
    tree->Build();
  }
  tree->ExpandAll(true);
  EXPECT_EQ(data->ItemsOf<CExtDirItemGRILeaf>().size(), 4u);
  EXPECT_NE(tree->Print().find("        Truck [3]\n"), std::string::npos);
}

// Stored names are data: however deep, no walk of the tree may follow them.
TEST_F(ExtDirTreeTest, NamesDeeperThanTheFolderLimitAreReportedAndNotShown) {
  auto levels = [](int folders) {
    std::string name = "Org";
    for (int i = 0; i < folders; ++i) name += "/Level";
    return name;
  };
  {
    LNDatabase db = Open();
    for (int folders : {kMaxFolderDepth, kMaxFolderDepth + 1, 100000}) {
      AddDocument(db, "Person",
                  {{"FullName", {"P" + std::to_string(folders) + "/" + levels(folders - 1)}}});
      AddLeafs(db, {"D" + std::to_string(folders) + ";H3;" + levels(folders) + ";Active"});
    }
    db.Close();
  }
  LoadWithTree();
  tree->ExpandAll(true);
  const std::string printed = tree->Print();
  EXPECT_LT(printed.size(), 20000u);
  for (const char* item : {"GRI Leafs", "External Reg. Organizations"}) {
    std::size_t reported = 0;
    for (const InfoEntry& e : Entries(kExtDirLoadCategory))
      reported +=
          e.title == std::string(item) + ": Showing Document" && e.severity == Severity::Error;
    EXPECT_EQ(reported, 2u) << item << ": the two deeper names";
  }
  EXPECT_NE(printed.find("P32 [13]"), std::string::npos) << printed.substr(0, 3000);
  EXPECT_EQ(printed.find("P33 [13]"), std::string::npos);
  EXPECT_NE(data->FindItemById("D32")->treeNode, nullptr);
  EXPECT_EQ(data->FindItemById("D33")->treeNode, nullptr);
}

TEST_F(ExtDirTreeTest, ASecondLeafWithTheSameIdIsReportedWhicheverWayLeafsAreRead) {
  {
    LNDatabase db = Open();
    AddLeafs(db, {"L1;H1;Same header;Active", "L3;H3;Other header;Active"});
    db.Close();
  }
  for (bool all : {false, true}) {
    SCOPED_TRACE(all ? "every header in one pass" : "one header after the other");
    ui_.infoCenter().clear();
    LoadWithTree();
    if (all) {
      tree->ExpandAll(true);
    } else {
      for (const char* name : {"Sales", "Purchasing", "Transport", "Sales"})
        Header(name).LoadLeafs();
    }
    std::vector<std::string> hidden;
    for (const InfoEntry& e : Entries(kExtDirLoadCategory))
      if (e.severity == Severity::Error) hidden.push_back(e.text.substr(0, e.text.find("\" is")));
    std::sort(hidden.begin(), hidden.end());
    EXPECT_EQ(hidden, (std::vector<std::string>{"The GRI-Leaf \"Other header",
                                                "The GRI-Leaf \"Same header"}));
    EXPECT_EQ(data->ItemsOf<CExtDirItemGRILeaf>().size(), 4u);
  }
}

// The leaf view is kept open; a leaf another designer removed meanwhile
// makes it read afresh (with what was added) instead of failing.
TEST_F(ExtDirTreeTest, ALeafRemovedElsewhereMakesTheLeafsReadAfresh) {
  data->PrepareLeafs();  // as the window does once it shows the tree
  {
    LNDatabase db = Open();
    std::vector<LNDocument> docs;
    ASSERT_EQ(db.GetAllDocuments(&docs), LNNOERROR);
    for (LNDocument& doc : docs) {
      doc.Open();
      if (GetFieldContent(ui_, "LeafID", doc) == "L1") {
        ASSERT_EQ(db.DeleteDocument(&doc), LNNOERROR);
      }
    }
    AddLeafs(db, {"L5;H1;New;Active"});
    db.Close();
  }
  Header("Sales").LoadLeafs();
  std::vector<std::string> ids;
  for (auto* leaf : data->ItemsOf<CExtDirItemGRILeaf>()) ids.push_back(leaf->ID);
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(ids, (std::vector<std::string>{"L2", "L3", "L5"}));
  EXPECT_EQ(Summary(kExtDirLoadCategory).back(), "0|GRI Leafs") << "no failure reported";
}

}  // namespace
}  // namespace velk
