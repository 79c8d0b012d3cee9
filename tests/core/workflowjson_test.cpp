// Workflows as JSON, and the round trips of every described field and of the demo
// workflows through the save and the loader, export and import.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/noderecord.h"
#include "model/jsonlimits.h"
#include "model/workflowjson.h"
#include "model/workflowrecords.h"
#include "model/workflowsave.h"
#include "recordfill.h"
#include "repository/demoworkflows.h"
#include "storagefixture.h"

namespace velk::testing {
namespace {

class JsonTest : public StorageTest {
 protected:
  // What a workflow's graph is, whatever the order of its lists.
  static std::vector<std::string> Shape(const CWorkflowDoc& d) {
    std::vector<std::string> lines = ArrowLines(d);
    for (const CNode* n : d.AllNodes())
      lines.push_back(
          n->Name() + "|" + std::to_string(static_cast<int>(n->Kind())) + "|" +
          std::to_string(n->BelongsToCluster()) + "|" + std::to_string(n->GetRect().left) + "|" +
          std::to_string(n->IsClusterStartNode()) + std::to_string(n->IsClusterEndNode()) + "|" +
          (n->ClusterStartNode() ? n->ClusterStartNode()->Name() : "") + "|" +
          (n->ReferencedNode() ? n->ReferencedNode()->Name() : ""));
    lines.push_back(d.StartNode() ? d.StartNode()->Name() : "-");
    std::sort(lines.begin(), lines.end());
    return lines;
  }
};

// Every field `carried` holds compares equal; the field is named when not.
enum class Way { Building, Store, Files };
template <class Record>
void ExpectSame(const RecordFields<Record>& fields, const Record& expected, const Record& actual,
                Way carrier, const char* way) {
  for (const RecordField<Record>& f : fields) {
    const bool carried = carrier == Way::Building ||
                         (carrier == Way::Store ? f.item && !f.readOnly : f.json != nullptr);
    if (!f.get || !carried) continue;
    EXPECT_EQ(f.get(actual), f.get(expected)) << way << ": " << (f.item ? f.item : f.json);
  }
}

// The records of a workflow, nodes named by their names.
struct Records {
  WorkflowHeader header;
  std::vector<TaskRecord> tasks;
  std::vector<ArrowRecord> arrows;
};

Records RecordsOf(const CWorkflowDoc& d) {
  auto name = [](const CNode& n) { return n.Name(); };
  Records r{d.Header(), {}, {}};
  for (const CNode* n : d.AllNodes()) r.tasks.push_back(TaskRecordOf(*n, name));
  std::ranges::sort(r.tasks, {}, &TaskRecord::codeText);
  for (const CArrow* a : d.AllArrows())
    r.arrows.push_back(
        {a->Kind(), {a->Source()->Name(), a->Target()->Name(), a->Condition(), a->Formula()}});
  std::ranges::sort(r.arrows, {}, [](const ArrowRecord& a) { return static_cast<int>(a.kind); });
  return r;
}

void ExpectSame(const Records& expected, const Records& actual, bool stored, const char* way) {
  ExpectSame(HeaderRecordFields(), expected.header, actual.header, stored ? Way::Store : Way::Files,
             way);
  ASSERT_EQ(actual.tasks.size(), expected.tasks.size()) << way;
  for (std::size_t i = 0; i < expected.tasks.size(); ++i)
    ExpectSame(TaskRecordFields(), expected.tasks[i], actual.tasks[i],
               stored ? Way::Store : Way::Files, way);
  ASSERT_EQ(actual.arrows.size(), expected.arrows.size()) << way;
  for (std::size_t i = 0; i < expected.arrows.size(); ++i)
    ExpectSame(ArrowRecordFields(), expected.arrows[i], actual.arrows[i], Way::Files, way);
}

// The names of the fields that only files or only the store carry.
template <class Record>
std::vector<std::string> OneSided(const RecordFields<Record>& fields) {
  std::vector<std::string> names;
  for (const RecordField<Record>& f : fields)
    if (f.get && (!f.item || !f.json || f.readOnly)) names.push_back(f.item ? f.item : f.json);
  return names;
}

// Two tasks, every described field set, and an arrow of every kind between them:
// the workflow comes back the same from the store and from a file (a recovery
// copy is a file's JSON).
TEST_F(JsonTest, EveryDescribedFieldSurvivesSaveLoadExportImportAndRecovery) {
  WorkflowHeader header;
  Fill(HeaderRecordFields(), header, 0);
  header.status = WorkflowStatus::Testing;            // Active would need a start task
  header.applicationReplicaId = "C1257A1B:0034F2E1";  // the save stores its database's
  TaskRecord sub, referring;
  Fill(TaskRecordFields(), sub, 100);
  Fill(TaskRecordFields(), referring, 200);
  sub.kind = NodeKind::ICDR;  // of the kinds that keep a sub-workflow
  sub.referenceText.clear();
  referring.kind = NodeKind::Extern;  // the kind that refers to another task
  referring.referenceText = sub.codeText;
  referring.subWorkflowId.clear();
  for (TaskRecord* t : {&sub, &referring}) t->ypos = -t->ypos;  // the drawing's y axis points up
  doc.SetHeader(header);
  GraphBuilder builder(doc);
  for (const TaskRecord& t : {sub, referring}) builder.AddTask(t);
  for (int k = 0; k < kRoutingKindCount; ++k) {
    const auto kind = static_cast<RoutingKind>(k);
    builder.AddArrow(kind, {sub.codeText, referring.codeText,
                            RoutingHasCondition(kind) ? "c" + std::to_string(k) : "",
                            RoutingHasFormula(kind) ? "f" + std::to_string(k) : ""});
  }
  builder.Finish();
  ASSERT_EQ(doc.AllNodes()[1]->ReferencedNode(), doc.AllNodes()[0]);
  auto code = [](const CNode& n) { return n.CodeText(); };
  ExpectSame(TaskRecordFields(), sub, TaskRecordOf(*doc.AllNodes()[0], code), Way::Building,
             "building");
  ExpectSame(TaskRecordFields(), referring, TaskRecordOf(*doc.AllNodes()[1], code), Way::Building,
             "building");

  // The workflow id is given by the store; the engine writes the creator and modifiers.
  EXPECT_EQ(OneSided(HeaderRecordFields()),
            (std::vector<std::string>{"WorkFlowID", "Creator", "UserModified"}));
  EXPECT_EQ(OneSided(TaskRecordFields()), std::vector<std::string>{});

  CWorkflowDoc imported(ui, std::string(), "06.12.2026");
  WorkflowFromJson(WorkflowToJson(doc), imported);
  ExpectSame(RecordsOf(doc), RecordsOf(imported), false, "export and import");

  for (const CNode* n : doc.AllNodes())
    EXPECT_EQ(ParseNodeRecord(NodeRecordToJson(*n, 1)).attributes, n->Attributes()) << "dragged";

  std::unique_ptr<CWorkflowDoc> loaded = SavedAndReopened(doc);
  ExpectSame(RecordsOf(doc), RecordsOf(*loaded), true, "save and load");
}

TEST_F(JsonTest, DemoWorkflowsSurviveSaveLoadAndJsonRoundTrips) {
  std::vector<demo::StoredDemoWorkflow> stored;
  {
    LNDatabase db = Open();
    LNThrowAllErrorsScope throwing(db, true);
    LNTransaction transaction(db);
    stored = demo::StoreDemoWorkflows(ui, db, "procdef.nsf", "C1257A1B:0034F2E1");
    transaction.Commit();
  }
  std::vector<std::unique_ptr<CWorkflowDoc>> originals = demo::BuildDemoWorkflows(ui);
  ASSERT_EQ(stored.size(), originals.size());
  std::vector<std::string> statuses;
  for (std::size_t i = 0; i < stored.size(); ++i) {
    const demo::StoredDemoWorkflow& s = stored[i];
    statuses.push_back(s.status);
    auto loaded = std::make_unique<CWorkflowDoc>(ui, std::string(), "06.12.2026");
    EXPECT_TRUE(LoadStored(*loaded, s.name, s.workflowId, s.version)) << s.name;
    EXPECT_EQ(Shape(*loaded), Shape(*originals[i])) << s.name;
    EXPECT_EQ(loaded->Header().applicationReplicaId, "C1257A1B:0034F2E1");

    const WorkflowJson first = WorkflowToJson(*loaded);
    CWorkflowDoc imported(ui, std::string(), "06.12.2026");
    WorkflowFromJson(first, imported);
    EXPECT_EQ(WorkflowToJson(imported), first) << "import rebuilds what was exported: " << s.name;
    std::unique_ptr<CWorkflowDoc> again = SavedAndReopened(imported);
    EXPECT_EQ(WorkflowToJson(*again), first) << s.name;
  }
  EXPECT_EQ(statuses,
            (std::vector<std::string>{"Freeze", "Active", "Active", "Design", "Template"}));
  EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().text;
}

TEST_F(JsonTest, MalformedWorkflowsAreRefusedWithoutTouchingTheDocumentUnknownArrowEndsReported) {
  struct Case {
    const char* json;
    const char* message;
  } cases[] = {
      {R"([1, 2])", "the workflow must be a JSON object"},
      {R"({"format": "other"})", "not a workflow"},
      {R"({"nodes": {}})", "workflow: \"nodes\" must be a list"},
      {R"({"nodes": [{"name": "A"}]})", "nodes[0]: every node needs an integer \"id\""},
      {R"({"nodes": [{"id": 1}, {"id": 1}]})", "nodes[1]: the id 1 is taken"},
      {R"({"nodes": [{"id": 1, "duration": "long"}]})", "nodes[0].duration must be a whole number"},
      {R"({"nodes": [{"id": 1, "kind": "Robot"}]})", "nodes[0]: \"Robot\" is no task kind"},
      {R"({"header": {"status": "Gone"}})", "header: \"Gone\" is no workflow status"},
      {R"({"nodes": [{"id": 1}], "arrows": [{"from": 1, "to": null}]})",
       "arrows[0]: every arrow needs \"from\" and \"to\""},
      {R"({"nodes": [{"id": 1}], "arrows": [{"from": 1, "to": 1, "kind": "Maybe"}]})",
       "arrows[0]: \"Maybe\" is no routing kind"},
      // Stored, these could not be loaded again.
      {R"({})", "the workflow has no tasks"},
      {R"({"header": {"name": "W"}, "nodes": []})", "the workflow has no tasks"},
      // Numbers the fields cannot hold are refused, not narrowed into others.
      {R"({"nodes": [{"id": 1, "x": 1e300}]})", "nodes[0].x: 1e+300 is out of range"},
      {R"({"nodes": [{"id": 1, "y": -1000001}]})", "nodes[0].y: -1000001 is out of range"},
      {R"({"header": {"version": 2147483647}, "nodes": [{"id": 1}]})",
       "header.version: 2147483647 is out of range"},
      {R"({"header": {"version": 1099511627776}, "nodes": [{"id": 1}]})",
       "header.version: 1099511627776 is out of range"},
      {R"({"nodes": [{"id": 4294967297}]})", "nodes[0].id: 4294967297 is out of range"},
      {R"({"nodes": [{"id": 1}], "arrows": [{"from": 1, "to": 4294967297}]})",
       "arrows[0].to: 4294967297 is out of range"},
      {R"({"nodes": [{"id": 1, "reference": -2147483649}]})",
       "nodes[0].reference: -2147483649 is out of range"},
      {R"({"nodes": [{"id": 1, "belongsToCluster": 1.5}]})",
       "nodes[0].belongsToCluster: 1.5 is no whole number"},
      {R"({"nodes": [{"id": true}]})", "nodes[0].id must be a whole number"},
  };
  Add("Kept");
  for (const Case& c : cases) {
    try {
      WorkflowFromJson(WorkflowJson::parse(c.json), doc);
      ADD_FAILURE() << c.json;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
    EXPECT_EQ(doc.NodeCount(), 1u) << c.json;
  }

  // An arrow to an unknown node is dropped and reported, as when loading.
  WorkflowFromJson(
      WorkflowJson::parse(R"({"nodes": [{"id": 4, "name": "A", "isClusterStartNode": true}],
      "arrows": [{"from": 4, "to": 9, "kind": "Or", "condition": "c"}]})"),
      doc);
  ASSERT_EQ(doc.NodeCount(), 1u);
  EXPECT_EQ(doc.StartNode()->Name(), "A");
  EXPECT_TRUE(doc.AllArrows().empty());
  const std::string fault = "The endnode 9 in the arrow from 4 could not be found in the nodelist.";
  EXPECT_EQ(Said(), std::vector<std::string>{"Error: \r\n\r\n" + fault});
  EXPECT_EQ(doc.LoadFaults(), std::vector<std::string>{fault}) << "the file's workflow is not this";
}

TEST(JsonLimits, NestingDeeperThanTheLimitIsRefusedBeforeItIsBuilt) {
  auto nested = [](int depth, const std::string& tail) {
    return "{\"a\": " + std::string(depth - 1, '[') + std::string(depth - 1, ']') + tail + "}";
  };
  // A member after a deep one once made the parser copy the deep value recursively.
  EXPECT_EQ(ParseJsonWithinDepth(nested(kMaxJsonDepth, ", \"b\": 1"))["b"], 1);
  for (int depth : {kMaxJsonDepth + 1, 100000}) {
    try {
      ParseJsonWithinDepth(nested(depth, ", \"b\": 1"));
      ADD_FAILURE() << depth;
    } catch (const JsonTooDeep& e) {
      EXPECT_NE(std::string(e.what()).find("nested too deeply"), std::string::npos);
    }
  }
  EXPECT_THROW(ParseJsonWithinDepth(std::string("[1,")), WorkflowJson::parse_error);
}

}  // namespace
}  // namespace velk::testing
