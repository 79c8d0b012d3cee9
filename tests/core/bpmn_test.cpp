// Workflows as BPMN 2.0: round trips of every field and of the demo workflows,
// the BPMN schema, files written after the standard's examples, and files that
// must be refused.

#include <gtest/gtest.h>
#include <libxml/xmlschemas.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "model/bpmn.h"
#include "model/workflowbuild.h"
#include "model/workflowdoc.h"
#include "model/workflowjson.h"
#include "recordfill.h"
#include "repository/demoworkflows.h"
#include "workflowfixture.h"

namespace velk::testing {
namespace {

const std::filesystem::path kBpmnDir = VELK_BPMN_DIR;

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class BpmnTest : public WorkflowTest {
 protected:
  std::unique_ptr<CWorkflowDoc> NewDoc() {
    return std::make_unique<CWorkflowDoc>(ui, "CN=Test Designer/O=Marvelund", "06.12.2026");
  }
  std::unique_ptr<CWorkflowDoc> FromBpmn(const std::string& xml,
                                         std::vector<BpmnNotice>* notices = nullptr) {
    auto d = NewDoc();
    std::vector<BpmnNotice> found = WorkflowFromBpmn(xml, *d);
    if (notices) *notices = std::move(found);
    return d;
  }
  // The workflows a round trip must give back: every demo, as loading builds it,
  // and one with every described field set and an arrow of every kind.
  std::vector<std::unique_ptr<CWorkflowDoc>> Originals() {
    std::vector<std::unique_ptr<CWorkflowDoc>> all;
    for (auto& demo : demo::BuildDemoWorkflows(ui)) {
      all.push_back(NewDoc());
      WorkflowFromJson(WorkflowToJson(*demo), *all.back());
    }
    all.push_back(NewDoc());
    CWorkflowDoc& filled = *all.back();
    WorkflowHeader header;
    Fill(HeaderRecordFields(), header, 0);
    header.name = "Ünïcode & <markup> \"quoted\"\r\nsecond line";
    filled.SetHeader(header);
    TaskRecord a, b;
    Fill(TaskRecordFields(), a, 100);
    Fill(TaskRecordFields(), b, 200);
    a.kind = NodeKind::ICDR;
    a.codeText = "1";
    b.codeText = "2";
    a.referenceText.clear();
    b.kind = NodeKind::Extern;
    b.referenceText = "1";
    b.attributes.name = "Tab\there & <b>";
    GraphBuilder builder(filled);
    for (const TaskRecord& t : {a, b}) builder.AddTask(t);
    for (int k = 0; k < kRoutingKindCount; ++k)
      builder.AddArrow(static_cast<RoutingKind>(k),
                       {"1", "2", k ? "x < 3 & y > \"4\"\r\n" : "", k == 3 ? "f" : ""});
    builder.AddArrow(RoutingKind::And, {"2", "1", "", ""});
    builder.AddArrow(RoutingKind::Or, {"2", "2", "", ""});
    builder.Finish();
    return all;
  }
};

// Names, levels, kinds, start and end, performers and arrows, in workflow order.
std::vector<std::string> Lines(const CWorkflowDoc& d) {
  std::vector<std::string> lines;
  for (const CNode* n : d.AllNodes()) {
    std::string line = n->Name() + "@" + std::to_string(n->BelongsToCluster());
    if (n->RepresentsCluster()) line += ">" + std::to_string(n->RepresentsCluster());
    if (n->Kind() != NodeKind::Intern) line += " k" + std::to_string(static_cast<int>(n->Kind()));
    if (!n->SubWorkflowId().empty()) line += " calls " + n->SubWorkflowId();
    if (n->IsClusterStartNode()) line += " S";
    if (n->IsClusterEndNode()) line += " E";
    if (!n->Attributes().member.empty()) line += " by " + n->Attributes().member;
    lines.push_back(line);
  }
  for (const CArrow* a : d.AllArrows())
    lines.push_back(a->Source()->Name() + "->" + a->Target()->Name() + " " +
                    RoutingKindName(a->Kind()) +
                    (a->Condition().empty() ? "" : " " + a->Condition()));
  return lines;
}

TEST_F(BpmnTest, EveryFieldAndEveryDemoWorkflowComeBackEqualAndValidateAgainstTheSchema) {
  struct SchemaFree {
    void operator()(xmlSchema* s) const { xmlSchemaFree(s); }
  };
  xmlSchemaParserCtxt* parser = xmlSchemaNewParserCtxt((kBpmnDir / "xsd/BPMN20.xsd").c_str());
  std::unique_ptr<xmlSchema, SchemaFree> schema(xmlSchemaParse(parser));
  xmlSchemaFreeParserCtxt(parser);
  ASSERT_TRUE(schema);
  for (const auto& original : Originals()) {
    const std::string name = original->Header().name;
    const std::string xml = WorkflowToBpmn(*original);
    std::vector<BpmnNotice> notices;
    auto back = FromBpmn(xml, &notices);
    EXPECT_EQ(WorkflowToJson(*back), WorkflowToJson(*original)) << name;
    EXPECT_TRUE(notices.empty()) << name << ": " << NoticeText(notices.front());

    xmlDoc* parsed =
        xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr, XML_PARSE_NONET);
    xmlSchemaValidCtxt* validator = xmlSchemaNewValidCtxt(schema.get());
    std::string errors;
    xmlSchemaSetValidStructuredErrors(
        validator, [](void* out, xmlError* e) { *static_cast<std::string*>(out) += e->message; },
        &errors);
    EXPECT_EQ(xmlSchemaValidateDoc(validator, parsed), 0) << name << ": " << errors;
    xmlSchemaFreeValidCtxt(validator);
    xmlFreeDoc(parsed);
  }
}

TEST_F(BpmnTest, FilesAfterTheStandardsExamplesImportAsExpected) {
  struct Case {
    const char* file;
    std::vector<std::string> lines;
    std::vector<std::string> notices;
  } cases[] = {
      {"gateways.bpmn",
       {"Receive order@1 S",
        "Check credit@1",
        "Pack@1",
        "Ship@1",
        "Send invoice@1",
        "Receive payment@1",
        "Close@1",
        "Archive@1",
        "Rate customer@1",
        "Merge@1",
        "Report@1 E",
        "Check credit->Ship And",
        "Pack->Ship And",
        "Ship->Send invoice And",
        "Ship->Receive payment And",
        "Send invoice->Close And",
        "Receive payment->Close And",
        "Archive->Merge And",
        "Rate customer->Merge And",
        "Merge->Report And",
        "Receive order->Check credit Or amount > 100",
        "Close->Archive Or archive = \"Yes\"",
        "Close->Rate customer Or rating",
        "Receive order->Pack Else"},
       {"complexGateway cx: became the task \"Merge\""}},
      {"subprocesses.bpmn",
       {"Register@1 S", "Handle@1>2 k3", "Assess@2 S", "Investigate@2>3 k3", "Visit@3 S E",
        "Decide@2 E", "Payment@1 k4 calls 0A1B2C3D E", "Register->Handle And",
        "Handle->Payment And", "Assess->Investigate And", "Investigate->Decide And"},
       {}},
      {"lanes.bpmn",
       {"Fill in request@1 S by Clerk", "Check budget@1 by Clerk", "Approve@1 by Anna Berg",
        "Countersign@1 E by Head of unit", "Fill in request->Check budget And",
        "Check budget->Approve And", "Approve->Countersign And"},
       {}},
      {"events.bpmn",
       {"Monday@1", "Prepare@1 S", "Two days@1", "Remind@1 E", "Too late@1", "Escalate@1",
        "Answer?@1", "Escalated@1", "Monday->Prepare And", "Prepare->Two days And",
        "Two days->Remind And", "Remind->Too late And", "Too late->Escalate And",
        "Escalate->Answer? And", "Answer?->Escalated And"},
       {"intermediateCatchEvent wait: became the task \"Two days\"",
        "boundaryEvent late: became the task \"Too late\", reached by an And arrow from the task "
        "it is attached to",
        "eventBasedGateway eb: became the task \"Answer?\"",
        "dataObject data: not imported: a workflow has no such element",
        "textAnnotation note: not imported: a workflow has no such element",
        "startEvent timer: became the task \"Monday\" (its level has a start task already)",
        "endEvent e2: became the task \"Escalated\" (its level has an end task already)"}},
  };
  for (const Case& c : cases) {
    std::vector<BpmnNotice> notices;
    auto d = FromBpmn(ReadFile(kBpmnDir / "samples" / c.file), &notices);
    EXPECT_EQ(Lines(*d), c.lines) << c.file;
    std::vector<std::string> texts;
    for (const BpmnNotice& n : notices) texts.push_back(NoticeText(n));
    EXPECT_EQ(texts, c.notices) << c.file;
    EXPECT_EQ(d->Header().status, WorkflowStatus::Design);
    EXPECT_EQ(ui.infoCenter().entries().size(), c.notices.size()) << "each notice is listed";
    // Without diagram data the layout places every task apart from the others.
    for (const CNode* n : d->AllNodes())
      for (const CNode* o : d->AllNodes())
        if (n < o && n->BelongsToCluster() == o->BelongsToCluster()) {
          EXPECT_NE(n->GetRect(), o->GetRect()) << c.file << ": " << n->Name() << o->Name();
        }
  }
  // The diagram's places, halved: a 100 x 80 shape at 150, 80 is centred at 200, 120.
  auto d = FromBpmn(ReadFile(kBpmnDir / "samples/gateways.bpmn"));
  EXPECT_EQ(d->AllNodes()[0]->GetRect().Center(), (Point{100, -60}));
}

TEST_F(BpmnTest, HostileAndForeignFilesAreRefusedWithoutTouchingTheWorkflow) {
  const std::filesystem::path secret = std::filesystem::temp_directory_path() / "velk-bpmn-secret";
  std::ofstream(secret) << "secret";
  const std::string bpmn = R"(<definitions xmlns="http://www.omg.org/spec/BPMN/20100524/MODEL">)";
  std::string deep = bpmn + "<process id=\"p\">";
  for (int i = 0; i < 5000; ++i) deep += "<subProcess id=\"s" + std::to_string(i) + "\">";
  struct Case {
    std::string xml;
    const char* message;
  } cases[] = {
      {"<!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
       "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]>" +
           bpmn + "<process id=\"&c;\"/></definitions>",
       "it declares a document type (<!DOCTYPE>), which a BPMN file does not"},
      {"<!DOCTYPE d [<!ENTITY x SYSTEM \"file://" + secret.string() + "\">]>" + bpmn +
           "<process id=\"p\"><task id=\"t\" name=\"&x;\"/></process></definitions>",
       "it declares a document type"},
      {"<!DOCTYPE d SYSTEM \"http://192.0.2.1/bpmn.dtd\">" + bpmn + "</definitions>",
       "it declares a document type"},
      {bpmn + "<process id=\"p\"><task id=\"t\" name=\"&x;\"/></process></definitions>",
       "it is not well-formed XML (line 1): Entity 'x' not defined"},
      {deep, "its elements nest more than 200 levels deep"},
      {bpmn + "<process id=\"p\"><task id=\"t\" name=\"" + std::string(20'000'000, 'n') +
           "\"/></process></definitions>",
       "AttValue length too long"},
      {"<html><body>not BPMN</body></html>",
       "it is not a BPMN 2.0 file: its root element is \"html\", not \"definitions\""},
      {"<definitions xmlns=\"http://example.com/other\"/>",
       "of another namespace than http://www.omg.org/spec/BPMN/20100524/MODEL"},
      {"{\"nodes\": []}", "it is not well-formed XML"},
      {bpmn + "</definitions>", "it holds no BPMN process"},
      {bpmn + "<process id=\"p\"><documentation>none</documentation></process></definitions>",
       "its process holds no task"},
      {bpmn + "<process id=\"p\"><task id=\"t\"><extensionElements><velk:task "
              "xmlns:velk=\"urn:x-velkmod:bpmn-extension:1\" duration=\"long\"/>"
              "</extensionElements></task></process></definitions>",
       "t duration: \"long\" is no whole number"},
  };
  Add("Kept");
  for (const Case& c : cases) {
    try {
      WorkflowFromBpmn(c.xml, doc);
      ADD_FAILURE() << c.message;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).find("secret\""), std::string::npos);
    }
    EXPECT_EQ(Lines(doc), std::vector<std::string>{"Kept@1"}) << c.message;
  }
  std::filesystem::remove(secret);
}

TEST_F(BpmnTest, TextsXmlCannotCarryAreNamedOnExport) {
  CNode* task = Add("Bell\x07");
  for (const char* name : {"Bell\x07", "Latin-1 \xE9"}) {
    EditNode(doc, *task, [&](NodeAttributes& a) { a.name = name; });
    try {
      WorkflowToBpmn(doc);
      ADD_FAILURE() << name;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("the name of task"), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace velk::testing
