// The External Directory from the command line: "db check" of a directory
// database and "extdir tree".

#include "clifixture.h"
#include "repository/demowriter.h"

namespace {

using namespace clitest;

using ::testing::Contains;
using ExtDirCliTest = DemoCliTest;

TEST_F(ExtDirCliTest, CheckReportsSectionsItemsAndEntries) {
  const Json report = Json::parse(Expect(0, {"db", "check", "extdir.nsf"}).out);
  EXPECT_EQ(report["kind"], "extdir");
  EXPECT_TRUE(report["clean"].get<bool>());
  const Json& repository = report["repository"];
  EXPECT_EQ(repository["sections"], Json::parse(R"([{"section": "Content Blocks", "count": 5},
      {"section": "Content Management", "count": 3}, {"section": "Document Types", "count": 4},
      {"section": "External Registered Organizations", "count": 6},
      {"section": "External Ordered Cluster", "count": 4},
      {"section": "External Ordered Cluster Organization", "count": 3},
      {"section": "GRI Header", "count": 4}])"));
  EXPECT_THAT(repository["items"], Contains(Json::parse(R"({"class": "CExtDirItemGRIProcView",
      "id": "00000A01", "label": "Sales Processes"})")));
  int loading = 0;
  for (const Json& entry : report["entries"])
    loading += entry["category"] == "Loading External Directory Database";
  EXPECT_EQ(loading, 8) << "the seven sections and the leafs";
}

TEST_F(ExtDirCliTest, TreePrintsTheWindowsTreeWithLeafsOnRequest) {
  const Result plain = Expect(0, {"extdir", "tree"});
  EXPECT_EQ(plain.out.rfind("Workflows Published By Us (Internal) [0]\n  Marvelund [6]\n"
                            "    Sales Processes [8]\n",
                            0),
            0u)
      << plain.out;
  EXPECT_THAT(plain.out, Not(HasSubstr("Order Handling")));
  EXPECT_THAT(Expect(0, {"extdir", "tree", "extdir.nsf", "--leafs"}).out,
              HasSubstr("      Orders [6]\n        Domestic [6]\n          Order Handling [3]\n"));
  Expect(1, {"extdir", "tree", "missing.nsf"});
  Expect(2, {"extdir", "forest"});
}

Json Item(const std::string& name, const Json& value, const char* type = "text") {
  return {{"name", name}, {"type", type}, {"flags", 4}, {"values", Json::array({value})}};
}

Json LeafDocument(const Json& leafId, const std::string& name, const char* idType = "text") {
  return {{"form", "GRILeaf"},
          {"items", Json::array({Item("LeafID", leafId, idType), Item("HeaderID", "00000A01"),
                                 Item("LeafName", name), Item("Status", "Active")})}};
}

// Each a directory of the demo's with one document added, as a probe made them.
TEST_F(ExtDirCliTest, DamagedOrHostileDocumentsFailTreeAndCheckWithoutACrash) {
  std::string deep = "Marvelund";
  for (int i = 0; i < 100000; ++i) deep += "/Level";
  const std::pair<const char*, Json> cases[] = {
      {"a person 100,000 levels deep",
       {{"form", "Person"}, {"items", Json::array({Item("FullName", deep)})}}},
      {"a leaf 100,000 levels deep", LeafDocument("DEEP", deep)},
      {"a garbled leaf", LeafDocument(7, "Garbled", "number")},
      {"a second leaf of one id", LeafDocument(velk::demo::kOrderHandlingLeafId, "Twin")},
  };
  for (const auto& [what, document] : cases) {
    SCOPED_TRACE(what);
    Expect(0, {"db", "copy", "extdir.nsf", "case.nsf"});
    Expect(0, {"db", "import", "case.nsf",
               Written("case.json", Json{{"documents", Json::array({document})}}.dump())});
    const Result tree = Expect(1, {"extdir", "tree", "case.nsf", "--leafs"});
    EXPECT_LT(tree.out.size(), 10000u);
    EXPECT_THAT(tree.out, HasSubstr("Order Handling [3]")) << "the rest is shown";
    EXPECT_FALSE(Json::parse(Expect(1, {"db", "check", "case.nsf"}).out)["clean"].get<bool>());
    std::filesystem::remove(data_ / "case.nsf");
  }
}

}  // namespace
