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
  std::string List() {
    Result r = Run({"workflow", "list"});
    EXPECT_EQ(r.code, 0) << r.err;
    return r.out;
  }
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
    Result exported = Run({"workflow", "export", name});
    ASSERT_EQ(exported.code, 0) << exported.err;
    const Json first = Json::parse(exported.out);
    EXPECT_EQ(first["header"]["name"], name);
    WriteFile(root_ / "workflow.json", exported.out);
    Result imported = Run({"workflow", "import", (root_ / "workflow.json").string()});
    ASSERT_EQ(imported.code, 0) << imported.out << imported.err;
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

TEST_F(WorkflowCliTest, ImportSavesAsTheModelerSavesAndBadInputStoresNothing) {
  // Numbered by the save's rule from the first store on.
  struct Stored {
    const char* status;
    const char* printed;
  } stored[] = {{"Design", "Stored \"Fresh Design\" version 0 (Design) as "},
                {"Template", "Stored \"Fresh Template\" version 6 (Template) as "}};
  for (const Stored& c : stored) {
    WriteFile(root_ / "fresh.json", std::string(R"({"header": {"name": "Fresh )") + c.status +
                                        R"(", "status": ")" + c.status + R"(", "version": 5},
              "nodes": [{"id": 1, "name": "A", "isClusterStartNode": true}]})");
    Result r = Run({"workflow", "import", (root_ / "fresh.json").string()});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(r.out.ends_with(c.printed + StoredId(r.out) + "\n")) << r.out;
    EXPECT_THAT(r.out, Not(HasSubstr("message:")));
  }

  const std::string before = List();
  WriteFile(root_ / "broken.json", R"({"nodes": [{"id": 1}, {"id": 1}]})");
  WriteFile(root_ / "text.json", "not json");
  WriteFile(root_ / "empty.json", "{}");
  WriteFile(root_ / "far.json",
            R"({"nodes": [{"id": 1, "x": 1e300, "isClusterStartNode": true}]})");
  WriteFile(root_ / "nostart.json",
            R"({"header": {"name": "No start", "status": "Active"}, "nodes": [{"id": 1}]})");
  WriteFile(root_ / "unchecked.json", R"({"header": {"name": "Unchecked", "status": "Active"},
            "nodes": [{"id": 1, "name": "A", "isClusterStartNode": true}]})");
  WriteFile(root_ / "dangling.json", kDanglingArrowJson);
  WriteFile(root_ / "inside.json", kLevelInsideItselfJson);
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
      // An Active workflow the engine would run must pass the check, as in the modeler.
      {import("unchecked.json"), 1, "unchecked.json: the workflow was not stored"},
      {import("dangling.json"), 1,
       "dangling.json: the workflow does not load as written, so it is not stored:\n  The endnode "
       "7 in the arrow from 1 could not be found in the nodelist."},
      {import("inside.json"), 1, "The cluster node \"Whole\" stands for the level it lies in"},
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
      {{"workflow", "layout"}, 2, ""},
      {{"workflow", "layout", "Travel Request", "--level", "some"}, 2, ""},
      {{"workflow", "layout", "Travel Request", "--timeout", "0"}, 2, ""},
      {{"workflow", "layout", "Travel Request", "--timeout", "-3"}, 2, ""},
      {{"workflow", "layout", "Travel Request", "--timeout", "ten"}, 2, ""},
      {{"workflow", "layout", "Travel Request", "--timeout", "1e9"}, 2, ""},
      {{"workflow", "layout", "No Such Workflow"}, 1, "No Such Workflow"},
  };
  for (const Case& c : cases) {
    Result failed = Run(c.args);
    EXPECT_EQ(failed.code, c.code) << c.args[1] << " " << c.args.back();
    EXPECT_THAT(failed.err, HasSubstr(c.error));
  }
  EXPECT_EQ(List(), before);
  // The refused Active workflow's findings are printed as the save reports them.
  Result refused = Run(import("unchecked.json"));
  EXPECT_THAT(refused.out, HasSubstr("info [3] Consistency check: Checking workflow supervisor"));
  EXPECT_THAT(refused.out,
              HasSubstr("message: Error: \n\nThe consistency check refuses the workflow "
                        "\"Unchecked\"; the Info Center lists why.\nNothing has been stored."));
}

TEST_F(WorkflowCliTest, BpmnExportAndImportStoreTheSameWorkflowAndListWhatAFileCouldNotGive) {
  for (const char* name : {"Order Handling", "Complaint Handling"}) {
    Result json = Run({"workflow", "export", name});
    Result bpmn = Run({"workflow", "export", name, "--format", "bpmn"});
    ASSERT_EQ(bpmn.code, 0) << bpmn.err;
    WriteFile(root_ / "workflow.bpmn", bpmn.out);
    Result imported = Run({"workflow", "import", (root_ / "workflow.bpmn").string()});
    ASSERT_EQ(imported.code, 0) << imported.out << imported.err;
    Json expected = Json::parse(json.out);
    const std::string status = expected["header"]["status"];
    if (status == "Active" || status == "Template")
      expected["header"]["version"] = expected["header"]["version"].get<int>() + 1;
    Result again = Run({"workflow", "export", StoredId(imported.out)});
    EXPECT_EQ(Json::parse(again.out), expected) << name;
  }
  // Told by its content, whatever its name; what it could not give is printed.
  WriteFile(root_ / "events.txt", ReadFile(std::string(VELK_BPMN_DIR) + "/samples/events.bpmn"));
  Result foreign = Run({"workflow", "import", (root_ / "events.txt").string()});
  EXPECT_EQ(foreign.code, 0) << foreign.err;
  EXPECT_THAT(foreign.out,
              HasSubstr("info [1] BPMN Import: startEvent timer: became the task \"Monday\""));
  EXPECT_THAT(foreign.out, HasSubstr("Stored \"Reminders\" version 0 (Design) as "));

  // Checked and compared as files, as JSON files are.
  EXPECT_EQ(Run({"workflow", "check", (root_ / "workflow.bpmn").string()}).code, 0);
  Result same = Run({"workflow", "diff", (root_ / "workflow.bpmn").string(),
                     (root_ / "workflow.bpmn").string()});
  EXPECT_EQ(same.code, 0) << same.err;
  WriteFile(root_ / "events.bpmn", ReadFile(std::string(VELK_BPMN_DIR) + "/samples/events.bpmn"));
  EXPECT_EQ(Run({"workflow", "diff", (root_ / "workflow.bpmn").string(),
                 (root_ / "events.bpmn").string()})
                .code,
            1);

  const std::string before = List();
  WriteFile(root_ / "laughs.bpmn", "<!DOCTYPE d [<!ENTITY a \"a\">]><d>&a;</d>");
  Result hostile = Run({"workflow", "import", (root_ / "laughs.bpmn").string()});
  EXPECT_EQ(hostile.code, 1);
  EXPECT_THAT(hostile.err, HasSubstr("laughs.bpmn: it declares a document type"));
  EXPECT_EQ(List(), before);
  Result refused = Run({"workflow", "check", (root_ / "laughs.bpmn").string()});
  EXPECT_EQ(refused.code, 1);
  EXPECT_THAT(refused.err, HasSubstr("laughs.bpmn: it declares a document type"));
  EXPECT_EQ(Run({"workflow", "export", "Order Handling", "--format", "yaml"}).code, 2);
}

TEST_F(WorkflowCliTest, LayoutPrintsTheMovesAndStoresThemOnlyWithSave) {
  Result printed = Run({"workflow", "layout", "Travel Request"});
  ASSERT_EQ(printed.code, 0) << printed.err;
  EXPECT_THAT(printed.out, HasSubstr("\"Submit request\""));
  EXPECT_THAT(printed.out, HasSubstr(" of 5 tasks moved"));
  const std::string before = Run({"workflow", "export", "Travel Request"}).out;
  Result stored =
      Run({"workflow", "layout", "Travel Request", "--level", "all", "--save", "--timeout", "60"});
  ASSERT_EQ(stored.code, 0) << stored.err;
  EXPECT_THAT(stored.out, HasSubstr("Stored \"Travel Request\""));
  Result again = Run({"workflow", "layout", "Travel Request"});
  EXPECT_THAT(again.out, HasSubstr("0 of 5 tasks moved"))
      << "the stored workflow is already arranged: " << again.out;
  EXPECT_NE(Run({"workflow", "export", "Travel Request"}).out, before);
}

// Designers saving one workflow at the same moment each get a version of their
// own: none is refused, none is lost, no two share a number, one is current.
TEST_F(WorkflowCliTest, ImportsOfOneWorkflowAtOnceEachLandAsAVersionOfTheirOwn) {
  for (const char* name : {"Order Handling", "Complaint Handling"})
    ImportAtOnce(name, {}, {"db", "check", "procdef.nsf"});
}

}  // namespace
}  // namespace clitest
