#include <gtest/gtest.h>

#include <algorithm>

#include "core/extdirfixture.h"
#include "repository/demowriter.h"

namespace velk {
namespace {

using Strings = std::vector<std::string>;

std::vector<std::size_t> Counts(const CExtDirData& data, std::vector<ExtDirKind> kinds) {
  std::vector<std::size_t> counts;
  for (ExtDirKind kind : kinds)
    counts.push_back(
        std::ranges::count(data.Items(), kind, [](auto& item) { return item->Kind(); }));
  return counts;
}

TEST_F(ExtDirTest, TheDemoDirectoryLoadsEverySectionAndLeafsOnDemand) {
  WriteDemoDirectory();
  auto data = Load();
  EXPECT_EQ(data->Title(), "VELK External Directory");
  EXPECT_EQ(data->ReplicaId().size(), 17u);
  EXPECT_EQ(Summary(kExtDirLoadCategory),
            (Strings{"0|Content Blocks", "0|Content Management", "0|Document Types",
                     "0|External Reg. Organizations", "0|External Ordered Cluster",
                     "0|External Ordered Cluster Organization", "0|GRI Header"}));
  EXPECT_EQ(data->ContentBlocks().size(), 5u);
  EXPECT_EQ(data->DocumentTypes().size(), 4u);
  // Two twins per organisation; leafs are read on demand.
  EXPECT_EQ(Counts(*data, {ExtDirKind::CM, ExtDirKind::ExtRegOrg, ExtDirKind::EIDM,
                           ExtDirKind::EIDMOrg, ExtDirKind::GRIProcView, ExtDirKind::GRILeaf}),
            (std::vector<std::size_t>{3, 6, 4, 6, 4, 0}));
  for (const auto& item : data->Items()) EXPECT_FALSE(item->isNew || item->modified);

  // Catalogue queries; a field description may itself hold "/".
  ASSERT_NE(data->FindContentBlock("ORDERLINE"), nullptr);
  EXPECT_EQ(data->FindContentBlock("ORDERLINE")->ContentFieldList.back(),
            (ExtDirFieldEntry{"Price", "Number", "Unit price in EUR/without VAT"}));
  EXPECT_EQ(data->FindContentBlock(""), nullptr);
  EXPECT_EQ(data->FindDocumentType("DT-ORDER")->Name, "Purchase Order");
  EXPECT_EQ(data->FindDocumentType("DT"), nullptr) << "document types match whole ids";
  auto* credit = dynamic_cast<CExtDirItemEIDM*>(data->FindItemById(demo::kCreditCheckRequestId));
  ASSERT_NE(credit, nullptr);
  EXPECT_TRUE(credit->IsOrderedByUs()) << "no master workflow id";

  // Leafs are read per header once, or one by id.
  EXPECT_TRUE(data->LoadLeafsOfHeader("00000A01"));
  EXPECT_TRUE(data->LoadLeafsOfHeader("00000A01"));
  EXPECT_EQ(data->ItemsOf<CExtDirItemGRILeaf>().size(), 3u);
  auto* leaf = data->LoadLeafById(demo::kOrderHandlingLeafId);
  ASSERT_NE(leaf, nullptr);
  EXPECT_EQ(leaf->displayName, "Order Handling");

  CExtDirItemGRILeaf* byId = data->LoadLeafById(demo::kCreditCheckLeafId);
  ASSERT_NE(byId, nullptr);
  EXPECT_EQ(byId->LeafName, "Credit/Credit Check");
  EXPECT_EQ(data->LoadLeafById(demo::kCreditCheckLeafId), byId);
  EXPECT_EQ(data->LoadLeafById("NOSUCHLEAF"), nullptr);
  EXPECT_EQ(Summary(kExtDirLoadCategory).back(), "1|Loading GRI-Leafs");
  EXPECT_TRUE(data->LoadLeafsOfHeader("NOSUCHHEADER"));
  EXPECT_EQ(Summary(kExtDirLoadCategory).back(), "1|GRI Leafs");
}

TEST(ExtDirFieldEntry, MissingPartsStayEmpty) {
  EXPECT_EQ(SplitFieldEntry("Name"), (ExtDirFieldEntry{"Name", "", ""}));
  EXPECT_EQ(SplitFieldEntry("Name/Text"), (ExtDirFieldEntry{"Name", "Text", ""}));
  EXPECT_EQ(SplitFieldEntry("/Text/"), (ExtDirFieldEntry{"", "Text", ""}));
  EXPECT_EQ(SplitFieldEntries({"", "A/B/C"}), (std::vector<ExtDirFieldEntry>{{"A", "B", "C"}}));
}

TEST_F(ExtDirTest, AFailingSectionIsReportedAndTheOthersLoad) {
  std::vector<LNViewDesign> designs = TemplateOf(DatabaseKind::ExternalDirectory).views;
  std::erase_if(designs, [](const LNViewDesign& v) { return v.name == views::kEidm; });
  LNDatabase db = NewDatabaseWithViews(kPath, designs);
  AddDocument(db, "Person", {{"FullName", {"Ann Lee/Sales/Acme"}}});
  AddRows(db, "GRIHeader", {"HeaderID", "Direction", "OrgName", "ProcViewName"},
          {"H1;Offered;Acme;Transport"});
  db.Close();
  auto data = Load();
  EXPECT_EQ(Summary(kExtDirLoadCategory),
            (Strings{"1|Content Blocks", "1|Content Management", "1|Document Types",
                     "0|External Reg. Organizations",
                     "3|External Ordered Cluster: Opening view (Modeler\\EIDM)",
                     "1|External Ordered Cluster Organization", "0|GRI Header"}));
  const InfoEntry failure = Entries(kExtDirLoadCategory)[4];
  EXPECT_TRUE(failure.text.starts_with("Document Store Error:\r\n"));
  EXPECT_TRUE(failure.text.ends_with(
      "because the database has no view (Modeler\\EIDM). Maybe this database is no\r\n"
      "VELK-database or from a former version of VELK. Please choose another one."));
  EXPECT_EQ(Entries(kExtDirLoadCategory)[0].text,
            "The selected External Directory database holds no informations about Content "
            "Blocks.\r\n");
  EXPECT_EQ(Counts(*data, {ExtDirKind::ExtRegOrg, ExtDirKind::GRIProcView}),
            (std::vector<std::size_t>{1, 1}));
}

TEST_F(ExtDirTest, HeadersWithoutNameIdDirectionOrOrganisation) {
  LNDatabase db = NewDirectory();
  // Skipped silently; published with its note id as id; published; never shown;
  // shown under an empty organisation.
  AddRows(
      db, "GRIHeader", {"HeaderID", "Direction", "OrgName", "ProcViewName"},
      {";;;", ";;;Lonely", "H2;Sideways;Acme;Wide", ";Offered;Acme;Lost", "H4;Offered;;Orphan"});
  db.Close();
  auto data = Load();
  Strings texts;
  for (const InfoEntry& e : Entries(kExtDirLoadCategory))
    if (e.title == "GRI Header: Reading Document")
      texts.push_back(std::to_string(static_cast<int>(e.severity)) + " " + e.text);
  EXPECT_EQ(texts,
            (Strings{"1 The direction of the GRI Header \"Lonely\" is not set. Assuming that it is "
                     "a published header.",
                     "1 The published GRI Header \"Lonely\" has an empty HeaderID. \r\nSetting "
                     "HeaderID with currect document unique ID.",
                     "1 The published GRI Header \"Lonely\" has an empty Organization Name. "
                     "Fixing.",
                     "1 The offered GRI Header \"Orphan\" has an empty Organization Name. "
                     "Reading anyway. Please fix!",
                     "1 The direction of the GRI Header \"Wide\" is not set. Assuming that it is "
                     "a published header.",
                     "3 The offered GRI Header \"Lost\" has an empty HeaderID. Skip loading..."}));
  Strings headers;
  for (auto* h : data->ItemsOf<CExtDirItemGRIProcView>())
    headers.push_back(h->ProcViewName + " " + h->Direction + " " + std::to_string(h->ID.size()));
  EXPECT_EQ(headers, (Strings{"Lonely Published 8", "Orphan Offered 2", "Wide Published 2"}));
}

TEST_F(ExtDirTest, ADatabaseThatCannotBeOpenedReadsNothing) {
  auto data = Load();
  EXPECT_EQ(Summary(kExtDirLoadCategory), (Strings{"3|Opening database"}));
  EXPECT_TRUE(data->Items().empty());
  EXPECT_TRUE(data->Location().fileName.empty()) << "tried again at the next request";
}

}  // namespace
}  // namespace velk
