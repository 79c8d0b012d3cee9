// velkmod-cli workflow list / export / import on the demo repository.

#include <string>
#include <vector>

#include "clifixture.h"

namespace clitest {
namespace {

class WorkflowCliTest : public CliTest {
 protected:
  void SetUp() override {
    CliTest::SetUp();
    setenv("VELK_USER", "CN=Cli Designer/O=Marvelund", 1);
    Result demo = Run({"demo"});
    ASSERT_EQ(demo.code, 0) << demo.err;
  }
  std::string List() {
    Result r = Run({"workflow", "list"});
    EXPECT_EQ(r.code, 0) << r.err;
    return r.out;
  }
  // The id the import printed last: "Stored ... as ID".
  static std::string StoredId(const std::string& out) {
    const std::size_t at = out.rfind(" as ");
    return at == std::string::npos ? "" : out.substr(at + 4, 32);
  }
};

TEST_F(WorkflowCliTest, ListShowsTheStoredVersionsByCategory) {
  const std::string out = List();
  for (const char* line :
       {"Sales\n", "  Order Handling (Version 1.0) (Freeze)  ",
        "  Order Handling (Version 2.0) (Active)  ", "Human Resources\n",
        "  Travel Request (Version 0.0) (Design)  ", "Not categorized\n",
        "  Complaint Handling (Version 1.0) (Template)  ", "VELK Sub-Workflows ICDR/CDDR\n",
        "  ICDR: Credit check (Version 1.0) (Active)  "})
    EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
}

TEST_F(WorkflowCliTest, ExportImportExportGivesTheSameJson) {
  for (const char* name :
       {"Order Handling", "ICDR: Credit check", "Travel Request", "Complaint Handling"}) {
    Result exported = Run({"workflow", "export", name});
    ASSERT_EQ(exported.code, 0) << exported.err;
    const Json first = Json::parse(exported.out);
    EXPECT_EQ(first["header"]["name"], name);
    WriteFile(root_ / "workflow.json", exported.out);
    Result imported = Run({"workflow", "import", (root_ / "workflow.json").string()});
    ASSERT_EQ(imported.code, 0) << imported.out << imported.err;
    const std::string id = StoredId(imported.out);
    ASSERT_EQ(id.size(), 32u) << imported.out;
    Result again = Run({"workflow", "export", id});
    ASSERT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(Json::parse(again.out), first) << name;
  }
  Result version = Run({"workflow", "export", "Order Handling", "--version", "1"});
  ASSERT_EQ(version.code, 0) << version.err;
  EXPECT_EQ(Json::parse(version.out)["header"]["status"], "Freeze");
}

TEST_F(WorkflowCliTest, ImportPrintsTheSaveMessagesAndBadInputStoresNothing) {
  WriteFile(
      root_ / "dangling.json",
      R"({"header": {"name": "Dangling"}, "nodes": [{"id": 1, "name": "A", "isClusterStartNode": true}],
                "arrows": [{"from": 1, "to": 7}]})");
  Result r = Run({"workflow", "import", (root_ / "dangling.json").string()});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(
      r.out.find("message: Error: \n\nThe endnode 7 in the arrow from 1 could not be found in the "
                 "nodelist."),
      std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("Stored \"Dangling\" version 0 (Design) as "), std::string::npos) << r.out;

  const std::string before = List();
  WriteFile(root_ / "broken.json", R"({"nodes": [{"id": 1}, {"id": 1}]})");
  WriteFile(root_ / "text.json", "not json");
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* error;
  } cases[] = {
      {{"workflow", "import", (root_ / "broken.json").string()}, 1, "node 2: the id 1 is taken"},
      {{"workflow", "import", (root_ / "text.json").string()}, 1, "is not valid JSON"},
      {{"workflow", "import", (root_ / "missing.json").string()}, 1, "cannot read"},
      {{"workflow", "export", "Nothing"},
       1,
       "no stored workflow is named or has the id \"Nothing\""},
      {{"workflow", "export"}, 2, "missing workflow name or id"},
      {{"workflow", "rename"}, 2, "unknown workflow command"},
      {{"workflow", "list", "--procdef", "nothing.nsf"},
       1,
       "cannot read the workflows of nothing.nsf"},
  };
  for (const Case& c : cases) {
    Result failed = Run(c.args);
    EXPECT_EQ(failed.code, c.code) << c.args.back();
    EXPECT_NE(failed.err.find(c.error), std::string::npos) << failed.err;
  }
  EXPECT_EQ(List(), before);
}

}  // namespace
}  // namespace clitest
