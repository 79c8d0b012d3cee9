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
  for (Case c : cases) {
    c.args.insert(c.args.begin(), {"workflow", "check"});
    EXPECT_THAT(Expect(c.code, c.args).out, HasSubstr(c.line));
  }
}

TEST_F(WorkflowCheckTest, JsonNamesRulesAndNodesByTheirExportIds) {
  const Json findings = Json::parse(Expect(1, {"workflow", "check", "Travel Request", "--format",
                                               "json", "--as-status", "Active"})
                                        .out);
  Json forms = Finding(findings, "VLK007");
  EXPECT_EQ(Finding(findings, "VLK002")["severity"], "success");
  const Json exported = Json::parse(Run({"workflow", "export", "Travel Request"}).out);
  ASSERT_FALSE(forms["nodes"].empty());
  for (const Json& node : forms["nodes"]) {
    const Json& task = exported["nodes"][node["id"].get<int>()];
    EXPECT_EQ(task["name"], node["name"]);
    EXPECT_TRUE(task["objects"].empty()) << node;
  }
  forms.erase("text");
  forms.erase("nodes");
  EXPECT_EQ(forms, Json::parse(R"({"rule": "VLK007", "name": "forms", "step": 7,
      "title": "Checking assigned forms in nodes and clusters ", "severity": "error"})"));
}

TEST_F(WorkflowCheckTest, JsonFileIsCheckedWithItsOwnNodeIds) {
  const std::string draft =
      Written("draft.json", R"({"header": {"name": "Draft", "status": "Active"},
      "nodes": [{"id": 7, "name": "First", "isClusterStartNode": true, "member": "Clerk"},
                {"id": 9, "name": "unnamed"}],
      "arrows": [{"from": 7, "to": 9}, {"from": 9, "to": 7}]})");
  const Json findings =
      Json::parse(Expect(1, {"workflow", "check", draft, "--format", "json"}).out);
  EXPECT_EQ(Finding(findings, "VLK004")["severity"], "error");
  EXPECT_EQ(Finding(findings, "VLK005")["nodes"], Json::parse(R"([{"id": 9, "name": "unnamed"}])"));
  EXPECT_EQ(Finding(findings, "VLK013")["nodes"].size(), 2u);

  // An empty top level is refused in any status.
  const std::string empty =
      Written("empty.json", R"({"nodes": [{"id": 1, "belongsToCluster": 2}]})");
  EXPECT_THAT(Expect(1, {"workflow", "check", empty}).out,
              HasSubstr("VLK001 workflow-elements: error"));
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
  StoreLevelInsideItself();
  struct Case {
    std::string workflow;
    std::string reason;
  } cases[] = {
      {Written("dangling.json", kDanglingArrowJson),
       "does not load as stored: The endnode 7 in the arrow from 1 could not be found in the "
       "nodelist.\n"},
      {Written("inside.json", kLevelInsideItselfJson),
       "The cluster node \"Whole\" stands for the level it"},
      {"Inside out", "The cluster node \"L\" stands for the level it lies in"},
  };
  for (const Case& c : cases) {
    EXPECT_THAT(Expect(1, {"workflow", "check", c.workflow}).out,
                AllOf(HasSubstr(c.reason), EndsWith("refused in status Design\n")));
  }
  // Every walk over the levels ends: the node opens as a plain task.
  EXPECT_THAT(Expect(0, {"workflow", "layout", "Inside out", "--level", "all"}).out,
              HasSubstr(" of 3 tasks moved"));
}

TEST_F(WorkflowCheckTest, DiffOfAnExportMatchesWhatIsStoredUntilItIsEdited) {
  const std::string exported = Expect(0, {"workflow", "export", "Order Handling"}).out;
  EXPECT_EQ(Expect(0, {"workflow", "diff", "Order Handling", Written("review.json", exported)}).out,
            "");
  Json edited = Json::parse(exported);
  for (Json& n : edited["nodes"])
    if (n["name"] == "Check order") n["member"] = "Clerk/Back office";
  const std::string file = Written("review.json", edited.dump());
  EXPECT_EQ(Expect(1, {"workflow", "diff", "Order Handling", file}).out,
            "Task 'Check order': member 'Clerk' -> 'Clerk/Back office'\n");
  EXPECT_EQ(
      Json::parse(Expect(1, {"workflow", "diff", "Order Handling", file, "--format", "json"}).out),
      Json::parse(R"([{"kind": "changed", "element": "task", "id": "1", "name": "Check order",
                "level": "", "field": "member", "old": "Clerk", "new": "Clerk/Back office"}])"));
  // Stored versions are named by name@version.
  EXPECT_THAT(Expect(1, {"workflow", "diff", "Order Handling@1", "Order Handling@2"}).out,
              HasSubstr("Header: version"));
}

}  // namespace
}  // namespace clitest
