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
    // The database holds that version already: the import is stored as its save.
    Json expected = first;
    const std::string status = first["header"]["status"];
    if (status == "Active" || status == "Template")
      expected["header"]["version"] = first["header"]["version"].get<int>() + 1;
    EXPECT_EQ(Json::parse(again.out), expected) << name;
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
  WriteFile(root_ / "empty.json", "{}");
  WriteFile(root_ / "far.json",
            R"({"nodes": [{"id": 1, "x": 1e300, "isClusterStartNode": true}]})");
  WriteFile(root_ / "nostart.json",
            R"({"header": {"name": "No start", "status": "Active"}, "nodes": [{"id": 1}]})");
  // A member after a deeply nested one made the parser copy it recursively.
  const int depth = 100000;
  WriteFile(root_ / "deep.json", R"({"header": {"editors": )" + std::string(depth, '[') +
                                     std::string(depth, ']') + R"(}, "nodes": [{"id": 1}]})");
  auto import = [this](const char* file) {
    return std::vector<std::string>{"workflow", "import", (root_ / file).string()};
  };
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* error;
  } cases[] = {
      {import("broken.json"), 1, "nodes[1]: the id 1 is taken"},
      {import("empty.json"), 1, "empty.json: the workflow has no tasks"},
      {import("far.json"), 1, "far.json: nodes[0].x: 1e+300 is out of range"},
      {import("nostart.json"), 1, "nostart.json: the workflow is Active but has no start task"},
      {import("deep.json"), 1, "deep.json: the JSON is nested too deeply"},
      {import("text.json"), 1, "is not valid JSON"},
      {import("missing.json"), 1, "cannot read"},
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

// Designers saving one workflow at the same moment each get their own version:
// none is refused, none is lost, no two share a number, and the database loads.
TEST_F(WorkflowCliTest, SavesFromSeveralProcessesAtOnceAllLandAsDistinctVersions) {
  Result exported = Run({"workflow", "export", "Order Handling"});
  ASSERT_EQ(exported.code, 0) << exported.err;
  WriteFile(root_ / "order.json", exported.out);
  const int writers = 4;
  std::string script = "for i in $(seq " + std::to_string(writers) + "); do (" +
                       Quote(VELKMOD_CLI) + " workflow import " +
                       Quote((root_ / "order.json").string()) + " >" +
                       Quote((root_ / "out-").string()) + "$i 2>&1; echo $? >" +
                       Quote((root_ / "code-").string()) + "$i) & done; wait";
  ASSERT_EQ(std::system(script.c_str()), 0);
  for (int i = 1; i <= writers; ++i) {
    const std::string n = std::to_string(i);
    EXPECT_EQ(ReadFile(root_ / ("code-" + n)), "0\n") << ReadFile(root_ / ("out-" + n));
  }
  const std::string list = List();
  for (int version = 1; version <= 2 + writers; ++version) {
    const std::string entry = "Order Handling (Version " + std::to_string(version) + ".0)";
    const std::size_t at = list.find(entry);
    EXPECT_NE(at, std::string::npos) << entry << "\n" << list;
    EXPECT_EQ(list.find(entry, at + 1), std::string::npos) << entry << " twice\n" << list;
  }
  Result check = Run({"db", "check", "procdef.nsf"});
  EXPECT_EQ(check.code, 0) << check.out << check.err;
}

}  // namespace
}  // namespace clitest
