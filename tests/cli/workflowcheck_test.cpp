// velkmod-cli workflow check and workflow diff: the consistency check and the
// comparison of versions and files, as gates for CI.

#include <string>
#include <vector>

#include "clifixture.h"
#include "common/headlessservices.h"
#include "model/workflowdoc.h"
#include "model/workflowsave.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"

namespace clitest {
namespace {

class WorkflowCheckTest : public DemoCliTest {
 protected:
  // The finding of `rule` in JSON output; null when there is none.
  static Json Finding(const Json& findings, const std::string& rule) {
    for (const Json& f : findings)
      if (f["rule"] == rule) return f;
    return Json();
  }
};

TEST_F(WorkflowCheckTest, ExitCodeFollowsTheStatusRule) {
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string line;
  };
  const std::vector<Case> cases = {
      {{"Order Handling"}, 0, "accepted in status Active"},
      {{"Order Handling"},
       0,
       "VLK013 and-loops: success: Checking workflow type for infinite loops"},
      // The Design workflow still has tasks without forms.
      {{"Travel Request"}, 0, "accepted in status Design"},
      {{"Travel Request"}, 0, "VLK007 forms: error: "},
      {{"Travel Request", "--as-status", "Active"}, 1, "refused in status Active"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args{"workflow", "check"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    Result r = Run(args);
    EXPECT_EQ(r.code, c.code) << c.args[0] << "\n" << r.out << r.err;
    EXPECT_THAT(r.out, HasSubstr(c.line));
  }
}

TEST_F(WorkflowCheckTest, JsonNamesRulesAndNodesByTheirExportIds) {
  Result r =
      Run({"workflow", "check", "Travel Request", "--format", "json", "--as-status", "Active"});
  ASSERT_EQ(r.code, 1) << r.err;
  const Json findings = Json::parse(r.out);
  ASSERT_TRUE(findings.is_array());
  const Json forms = Finding(findings, "VLK007");
  ASSERT_FALSE(forms.is_null()) << r.out;
  EXPECT_EQ(forms["name"], "forms");
  EXPECT_EQ(forms["step"], 7);
  EXPECT_EQ(forms["severity"], "error");
  EXPECT_EQ(forms["title"], "Checking assigned forms in nodes and clusters ");
  EXPECT_EQ(Finding(findings, "VLK002")["severity"], "success");

  const Json exported = Json::parse(Run({"workflow", "export", "Travel Request"}).out);
  ASSERT_FALSE(forms["nodes"].empty());
  for (const Json& node : forms["nodes"]) {
    const Json& task = exported["nodes"][node["id"].get<int>()];
    EXPECT_EQ(task["name"], node["name"]);
    EXPECT_TRUE(task["objects"].empty()) << node;
  }
}

TEST_F(WorkflowCheckTest, JsonFileIsCheckedWithItsOwnNodeIds) {
  WriteFile(root_ / "draft.json", R"({"header": {"name": "Draft", "status": "Active"},
      "nodes": [{"id": 7, "name": "First", "isClusterStartNode": true, "member": "Clerk"},
                {"id": 9, "name": "unnamed"}],
      "arrows": [{"from": 7, "to": 9}, {"from": 9, "to": 7}]})");
  Result r = Run({"workflow", "check", (root_ / "draft.json").string(), "--format", "json"});
  EXPECT_EQ(r.code, 1) << r.err;
  const Json findings = Json::parse(r.out);
  EXPECT_EQ(Finding(findings, "VLK004")["severity"], "error");
  EXPECT_EQ(Finding(findings, "VLK005")["nodes"], Json::parse(R"([{"id": 9, "name": "unnamed"}])"));
  EXPECT_EQ(Finding(findings, "VLK013")["nodes"].size(), 2u);

  WriteFile(root_ / "empty.json", R"({"nodes": [{"id": 1, "belongsToCluster": 2}]})");
  r = Run({"workflow", "check", (root_ / "empty.json").string()});
  EXPECT_EQ(r.code, 1) << "an empty top level is refused in any status";
  EXPECT_THAT(r.out, HasSubstr("VLK001 workflow-elements: error"));
}

TEST_F(WorkflowCheckTest, WrongArgumentsExitWithTwoAndUnknownWorkflowsWithOne) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"workflow", "check"},
        {"workflow", "check", "Order Handling", "--format", "xml"},
        {"workflow", "check", "Order Handling", "--as-status", "Busy"},
        {"workflow", "check", "Order Handling", "Travel Request"},
        {"workflow", "diff", "Order Handling"},
        {"workflow", "diff", "Order Handling", "No Such Workflow"},
        {"workflow", "diff", "Order Handling", "Order Handling@99"},
        {"workflow", "diff", "Order Handling", "Order Handling", "--format", "xml"}})
    EXPECT_EQ(Run(args).code, 2) << args[1] << " " << args.back();
  Result r = Run({"workflow", "check", "No Such Workflow"});
  EXPECT_EQ(r.code, 1);
  EXPECT_THAT(r.err, HasSubstr("No Such Workflow"));
}

// A cluster node standing for its own level, stored as an older program let it
// be: the start leads to cluster K (level 2), whose task L stands for level 2 again.
void StoreLevelInsideItself() {
  velk::HeadlessServices ui;
  LNNotesSession session;
  ASSERT_EQ(session.Init(410), LNNOERROR);
  velk::CProcessDefDb repository(ui, session, "procdef.nsf", "", nullptr,
                                 velk::HeadersFrom({"procdef.nsf", ""}));
  velk::CWorkflowDoc doc(ui, "CN=Cli Designer/O=Marvelund");
  velk::WorkflowDatabases databases;
  databases.processDefinitions = {{"procdef.nsf", ""}, &repository};
  doc.SetDatabases(databases);
  velk::WorkflowHeader h = doc.Header();
  h.name = "Inside out";
  doc.SetHeader(h);
  velk::CNode* start = doc.InsertNode(velk::NodeRectAt(100, -100), velk::NodeKind::Intern);
  velk::CNode* k = doc.InsertNode(velk::NodeRectAt(200, -100), velk::NodeKind::IWC);
  doc.CreateArrow(*start, *k);
  doc.DefineAsWorkflowStart(*start);
  velk::CNode* l = doc.InsertNode(velk::NodeRectAt(100, -300), velk::NodeKind::IWC);
  doc.SetBelongsToCluster(*l, k->RepresentsCluster());
  doc.SetRepresentsCluster(*l, k->RepresentsCluster());
  doc.SetClusterStartFlag(*l, true);
  doc.SetClusterStartNode(*k, l);
  velk::NodeAttributes a = l->Attributes();
  a.name = "L";
  doc.SetNodeAttributes(*l, a);
  ASSERT_TRUE(velk::WriteWorkflow(doc));
}

// What does not load as it was stored or written was not checked: never accepted.
TEST_F(WorkflowCheckTest, WorkflowsThatDoNotLoadAsWrittenAreRefused) {
  WriteFile(root_ / "dangling.json", kDanglingArrowJson);
  WriteFile(root_ / "inside.json", kLevelInsideItselfJson);
  StoreLevelInsideItself();
  struct Case {
    std::string workflow;
    std::string reason;
  } cases[] = {
      {(root_ / "dangling.json").string(),
       "does not load as stored: The endnode 7 in the arrow from 1 could not be found in the "
       "nodelist.\n"},
      {(root_ / "inside.json").string(), "The cluster node \"Whole\" stands for the level it"},
      {"Inside out", "The cluster node \"L\" stands for the level it lies in"},
  };
  for (const Case& c : cases) {
    Result r = Run({"workflow", "check", c.workflow});
    EXPECT_EQ(r.code, 1) << c.workflow;
    EXPECT_THAT(r.out, HasSubstr(c.reason));
    EXPECT_TRUE(r.out.ends_with("refused in status Design\n")) << r.out;
  }
  // Every walk over the levels ends: the node opens as a plain task.
  Result laidOut = Run({"workflow", "layout", "Inside out", "--level", "all"});
  EXPECT_EQ(laidOut.code, 0) << laidOut.err;
  EXPECT_THAT(laidOut.out, HasSubstr(" of 3 tasks moved"));
}

TEST_F(WorkflowCheckTest, DiffOfAnExportMatchesWhatIsStoredUntilItIsEdited) {
  const Result exported = Run({"workflow", "export", "Order Handling"});
  ASSERT_EQ(exported.code, 0) << exported.err;
  const std::string file = (root_ / "review.json").string();
  WriteFile(file, exported.out);
  Result r = Run({"workflow", "diff", "Order Handling", file});
  EXPECT_EQ(r.code, 0) << r.out << r.err;
  EXPECT_EQ(r.out, "");

  Json edited = Json::parse(exported.out);
  for (Json& n : edited["nodes"])
    if (n["name"] == "Check order") n["member"] = "Clerk/Back office";
  WriteFile(file, edited.dump());
  r = Run({"workflow", "diff", "Order Handling", file});
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_EQ(r.out, "Task 'Check order': member 'Clerk' -> 'Clerk/Back office'\n");
  r = Run({"workflow", "diff", "Order Handling", file, "--format", "json"});
  EXPECT_EQ(r.code, 1) << r.err;
  const Json changes = Json::parse(r.out);
  ASSERT_EQ(changes.size(), 1u) << r.out;
  EXPECT_EQ(changes[0]["kind"], "changed");
  EXPECT_EQ(changes[0]["element"], "task");
  EXPECT_EQ(changes[0]["name"], "Check order");
  EXPECT_EQ(changes[0]["field"], "member");
  EXPECT_EQ(changes[0]["old"], "Clerk");
  EXPECT_EQ(changes[0]["new"], "Clerk/Back office");
}

TEST_F(WorkflowCheckTest, DiffNamesStoredVersionsByNameAtVersion) {
  const Json versions = Json::parse(Run({"workflow", "export", "Order Handling"}).out);
  const int active = versions["header"]["version"].get<int>();
  const Result r = Run({"workflow", "diff", "Order Handling@" + std::to_string(active - 1),
                        "Order Handling@" + std::to_string(active)});
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_THAT(r.out, HasSubstr("Header: version"));
}

}  // namespace
}  // namespace clitest
