// velkmod-cli workflow list / export / import on the demo repository.

#include <map>
#include <string>
#include <vector>

#include "clifixture.h"
#include "repository/demowriter.h"

namespace clitest {
namespace {

class WorkflowCliTest : public DemoCliTest {
 protected:
  std::string List() { return Expect(0, {"workflow", "list"}).out; }
  // The workflow the IRI document of a published leaf leads to.
  std::string IriWorkflow(const std::string& leafId) {
    std::string workflow;
    const Json dump = Dump("extdir.nsf");
    for (const Json& doc : dump["documents"]) {
      if (doc["form"] != "IRILeaf") continue;
      std::map<std::string, std::string> items;
      for (const Json& item : doc["items"]) items[item["name"]] = item["values"][0];
      if (items["LeafID"] == leafId) workflow = items["WorkflowID"];
    }
    return workflow;
  }
  // The id the import printed last: "Stored ... as ID".
  static std::string StoredId(const std::string& out) {
    const std::size_t at = out.rfind(" as ");
    return at == std::string::npos ? "" : out.substr(at + 4, 32);
  }
  // An export imported into a database that holds that version already: stored as
  // its save, so an Active or Template version counts up.
  static Json AsSaved(Json exported) {
    const std::string status = exported["header"]["status"];
    if (status == "Active" || status == "Template")
      exported["header"]["version"] = exported["header"]["version"].get<int>() + 1;
    return exported;
  }
  std::string Exported(const std::string& id) { return Expect(0, {"workflow", "export", id}).out; }
};

TEST_F(WorkflowCliTest, ListShowsTheStoredVersionsByCategory) {
  const std::string out = List();
  for (const char* line :
       {"Sales\n", "  Order Handling (Version 1.0) (Freeze)  ",
        "  Order Handling (Version 2.0) (Active)  ", "Human Resources\n",
        "  Travel Request (Version 0.0) (Design)  ", "Not categorized\n",
        "  Complaint Handling (Version 1.0) (Template)  ", "VELK Sub-Workflows ICDR/CDDR\n",
        "  ICDR: Credit check (Version 1.0) (Active)  "})
    EXPECT_THAT(out, HasSubstr(line)) << line << "\n" << out;
}

TEST_F(WorkflowCliTest, ExportImportExportGivesTheSameJson) {
  for (const char* name :
       {"Order Handling", "ICDR: Credit check", "Travel Request", "Complaint Handling"}) {
    const std::string exported = Exported(name);
    const Json first = Json::parse(exported);
    EXPECT_EQ(first["header"]["name"], name);
    const Result imported = Expect(0, {"workflow", "import", Written("workflow.json", exported)});
    const std::string id = StoredId(imported.out);
    ASSERT_EQ(id.size(), 32u) << imported.out;
    if (first["header"]["name"] == "Travel Request") {  // the check's findings, printed
      EXPECT_THAT(
          imported.out,
          HasSubstr("info [3] Consistency check: Checking assigned forms in nodes and clusters"));
    }
    // Its published In Task's leaf leads to it now, as after a save in the modeler.
    if (first["header"]["name"] == "Order Handling") {
      EXPECT_EQ(IriWorkflow(velk::demo::kOrderHandlingLeafId), id);
    }
    EXPECT_EQ(Json::parse(Exported(id)), AsSaved(first)) << name;
  }
  const Result version = Expect(0, {"workflow", "export", "Order Handling", "--version", "1"});
  EXPECT_EQ(Json::parse(version.out)["header"]["status"], "Freeze");
}

TEST_F(WorkflowCliTest, ImportSavesAsTheModelerSavesAndBadRequestsStoreNothing) {
  // Numbered by the save's rule from the first store on.
  struct Stored {
    const char* status;
    const char* printed;
  } stored[] = {{"Design", "Stored \"Fresh Design\" version 0 (Design) as "},
                {"Template", "Stored \"Fresh Template\" version 6 (Template) as "}};
  for (const Stored& c : stored) {
    const Result r =
        Expect(0, {"workflow", "import",
                   Written("fresh.json", std::string(R"({"header": {"name": "Fresh )") + c.status +
                                             R"(", "status": ")" + c.status + R"(", "version": 5},
              "nodes": [{"id": 1, "name": "A", "isClusterStartNode": true}]})")});
    EXPECT_TRUE(r.out.ends_with(c.printed + StoredId(r.out) + "\n")) << r.out;
    EXPECT_THAT(r.out, Not(HasSubstr("message:")));
  }

  const std::string before = List();
  const auto import = [this](const char* file, const std::string& content) {
    return std::vector<std::string>{"workflow", "import", Written(file, content)};
  };
  const std::vector<std::string> unchecked =
      import("unchecked.json", R"({"header": {"name": "Unchecked", "status": "Active"},
            "nodes": [{"id": 1, "name": "A", "isClusterStartNode": true}]})");
  // A member after a deeply nested one made the parser copy it recursively.
  const int depth = 100000;
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* error;
  } cases[] = {
      {import("broken.json", R"({"nodes": [{"id": 1}, {"id": 1}]})"), 1,
       "nodes[1]: the id 1 is taken"},
      {import("empty.json", "{}"), 1, "empty.json: the workflow has no tasks"},
      {import("far.json", R"({"nodes": [{"id": 1, "x": 1e300, "isClusterStartNode": true}]})"), 1,
       "far.json: nodes[0].x: 1e+300 is out of range"},
      {import("nostart.json",
              R"({"header": {"name": "No start", "status": "Active"}, "nodes": [{"id": 1}]})"),
       1, "nostart.json: the workflow is Active but has no start task"},
      // An Active workflow the engine would run must pass the check, as in the modeler.
      {unchecked, 1, "unchecked.json: the workflow was not stored"},
      {import("dangling.json", kDanglingArrowJson), 1,
       "dangling.json: the workflow does not load as written, so it is not stored:\n  The endnode "
       "7 in the arrow from 1 could not be found in the nodelist."},
      {import("inside.json", kLevelInsideItselfJson), 1,
       "The cluster node \"Whole\" stands for the level it lies in"},
      {import("deep.json", R"({"header": {"editors": )" + std::string(depth, '[') +
                               std::string(depth, ']') + R"(}, "nodes": [{"id": 1}]})"),
       1, "deep.json: the JSON is nested too deeply"},
      {import("text.json", "not json"), 1, "is not valid JSON"},
      {{"workflow", "import", (root_ / "missing.json").string()}, 1, "cannot read"},
      {{"workflow", "export", "Nothing"},
       1,
       "no stored workflow is named or has the id \"Nothing\""},
      {{"workflow", "export"}, 2, "missing workflow name or id"},
      {{"workflow", "rename"}, 2, "unknown workflow command"},
      {{"workflow", "list", "--procdef", "nothing.nsf"},
       1,
       "cannot read the workflows of nothing.nsf"},
      {{"workflow", "layout"}, 2, ""},
      {{"workflow", "layout", "Travel Request", "--level", "some"}, 2, ""},
      {{"workflow", "layout", "Travel Request", "--timeout", "0"}, 2, ""},
      {{"workflow", "layout", "Travel Request", "--timeout", "-3"}, 2, ""},
      {{"workflow", "layout", "Travel Request", "--timeout", "ten"}, 2, ""},
      {{"workflow", "layout", "Travel Request", "--timeout", "1e9"}, 2, ""},
      {{"workflow", "layout", "No Such Workflow"}, 1, "No Such Workflow"},
      {{"workflow", "check", "No Such Workflow"}, 1, "No Such Workflow"},
      {{"workflow", "check"}, 2, "--help"},
      {{"workflow", "check", "Order Handling", "--format", "xml"}, 2, "--help"},
      {{"workflow", "check", "Order Handling", "--as-status", "Busy"}, 2, "--help"},
      {{"workflow", "check", "Order Handling", "Travel Request"}, 2, "--help"},
      {{"workflow", "diff", "Order Handling"}, 2, "--help"},
      {{"workflow", "diff", "Order Handling", "No Such Workflow"}, 2, "--help"},
      {{"workflow", "diff", "Order Handling", "Order Handling@99"}, 2, "--help"},
      {{"workflow", "diff", "Order Handling", "Order Handling", "--format", "xml"}, 2, "--help"},
  };
  for (const Case& c : cases) EXPECT_THAT(Expect(c.code, c.args).err, HasSubstr(c.error));
  EXPECT_EQ(List(), before);
  // The refused Active workflow's findings are printed as the save reports them.
  const Result refused = Run(unchecked);
  EXPECT_THAT(refused.out, HasSubstr("info [3] Consistency check: Checking workflow supervisor"));
  EXPECT_THAT(refused.out,
              HasSubstr("message: Error: \n\nThe consistency check refuses the workflow "
                        "\"Unchecked\"; the Info Center lists why.\nNothing has been stored."));
}

TEST_F(WorkflowCliTest, BpmnExportAndImportStoreTheSameWorkflowAndListWhatAFileCouldNotGive) {
  std::string bpmn;
  for (const char* name : {"Order Handling", "Complaint Handling"}) {
    const Json json = Json::parse(Exported(name));
    bpmn =
        Written("workflow.bpmn", Expect(0, {"workflow", "export", name, "--format", "bpmn"}).out);
    const Result imported = Expect(0, {"workflow", "import", bpmn});
    EXPECT_EQ(Json::parse(Exported(StoredId(imported.out))), AsSaved(json)) << name;
  }
  // Told by its content, whatever its name; what it could not give is printed.
  const std::string events = ReadFile(std::string(VELK_BPMN_DIR) + "/samples/events.bpmn");
  const Result foreign = Expect(0, {"workflow", "import", Written("events.txt", events)});
  EXPECT_THAT(foreign.out,
              HasSubstr("info [1] BPMN Import: startEvent timer: became the task \"Monday\""));
  EXPECT_THAT(foreign.out, HasSubstr("Stored \"Reminders\" version 0 (Design) as "));

  // Checked and compared as files, as JSON files are.
  Expect(0, {"workflow", "check", bpmn});
  Expect(0, {"workflow", "diff", bpmn, bpmn});
  Expect(1, {"workflow", "diff", bpmn, Written("events.bpmn", events)});

  const std::string before = List();
  const std::string laughs = Written("laughs.bpmn", "<!DOCTYPE d [<!ENTITY a \"a\">]><d>&a;</d>");
  for (const char* command : {"import", "check"})
    EXPECT_THAT(Expect(1, {"workflow", command, laughs}).err,
                HasSubstr("laughs.bpmn: it declares a document type"));
  EXPECT_EQ(List(), before);
  Expect(2, {"workflow", "export", "Order Handling", "--format", "yaml"});
}

TEST_F(WorkflowCliTest, LayoutPrintsTheMovesAndStoresThemOnlyWithSave) {
  EXPECT_THAT(Expect(0, {"workflow", "layout", "Travel Request"}).out,
              AllOf(HasSubstr("\"Submit request\""), HasSubstr(" of 5 tasks moved")));
  const std::string before = Exported("Travel Request");
  const Result stored = Expect(
      0, {"workflow", "layout", "Travel Request", "--level", "all", "--save", "--timeout", "60"});
  EXPECT_THAT(stored.out, HasSubstr("Stored \"Travel Request\""));
  EXPECT_THAT(Expect(0, {"workflow", "layout", "Travel Request"}).out,
              HasSubstr("0 of 5 tasks moved"))
      << "the stored workflow is already arranged";
  EXPECT_NE(Exported("Travel Request"), before);
}

// Designers saving one workflow at the same moment each get a version of their
// own: none is refused, none is lost, no two share a number, one is current.
TEST_F(WorkflowCliTest, ImportsOfOneWorkflowAtOnceEachLandAsAVersionOfTheirOwn) {
  for (const char* name : {"Order Handling", "Complaint Handling"})
    ImportAtOnce(name, {}, {"db", "check", "procdef.nsf"});
}

}  // namespace
}  // namespace clitest
