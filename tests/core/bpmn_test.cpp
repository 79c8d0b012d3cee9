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
#include <tuple>
#include <vector>

#include "editor_graphs.h"
#include "model/bpmn.h"
#include "model/workflowbuild.h"
#include "model/workflowdoc.h"
#include "model/workflowjson.h"
#include "recordfill.h"
#include "repository/demoworkflows.h"

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

TEST_F(BpmnTest, EveryFieldAndEveryDemoWorkflowComeBackEqualAndValidateAgainstTheSchema) {
  xmlSchemaParserCtxt* parser = xmlSchemaNewParserCtxt((kBpmnDir / "xsd/BPMN20.xsd").c_str());
  xmlSchema* schema = xmlSchemaParse(parser);
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
    xmlSchemaValidCtxt* validator = xmlSchemaNewValidCtxt(schema);
    std::string errors;
    xmlSchemaSetValidStructuredErrors(
        validator, [](void* out, xmlError* e) { *static_cast<std::string*>(out) += e->message; },
        &errors);
    EXPECT_EQ(xmlSchemaValidateDoc(validator, parsed), 0) << name << ": " << errors;
    xmlSchemaFreeValidCtxt(validator);
    xmlFreeDoc(parsed);
  }
  xmlSchemaFree(schema);
}

TEST_F(BpmnTest, FilesAfterTheStandardsExamplesImportAsExpected) {
  // The file, the workflow read and the notices.
  const std::tuple<const char*, std::string, std::vector<std::string>> cases[] = {
      {"gateways.bpmn",
       "Receive order@1 S\nCheck credit@1\nPack@1\nShip@1\nSend invoice@1\nReceive payment@1\n"
       "Close@1\nArchive@1\nRate customer@1\nMerge@1\nReport@1 E\nCheck credit->Ship And\n"
       "Pack->Ship And\nShip->Send invoice And\nShip->Receive payment And\n"
       "Send invoice->Close And\nReceive payment->Close And\nArchive->Merge And\n"
       "Rate customer->Merge And\nMerge->Report And\nReceive order->Check credit Or amount > 100\n"
       "Close->Archive Or archive = \"Yes\"\nClose->Rate customer Or rating\n"
       "Receive order->Pack Else\n",
       {"complexGateway cx: became the task \"Merge\""}},
      {"subprocesses.bpmn",
       "Register@1 S\nHandle@1>2 k3\nAssess@2 S\nInvestigate@2>3 k3\nVisit@3 S E\nDecide@2 E\n"
       "Payment@1 k4 calls 0A1B2C3D E\nRegister->Handle And\nHandle->Payment And\n"
       "Assess->Investigate And\nInvestigate->Decide And\n",
       {}},
      {"lanes.bpmn",
       "Fill in request@1 S by Clerk\nCheck budget@1 by Clerk\nApprove@1 by Anna Berg\n"
       "Countersign@1 E by Head of unit\nFill in request->Check budget And\n"
       "Check budget->Approve And\nApprove->Countersign And\n",
       {}},
      {"events.bpmn",
       "Monday@1\nPrepare@1 S\nTwo days@1\nRemind@1 E\nToo late@1\nEscalate@1\nAnswer?@1\n"
       "Escalated@1\nMonday->Prepare And\nPrepare->Two days And\nTwo days->Remind And\n"
       "Remind->Too late And\nToo late->Escalate And\nEscalate->Answer? And\n"
       "Answer?->Escalated And\n",
       {"intermediateCatchEvent wait: became the task \"Two days\"",
        "boundaryEvent late: became the task \"Too late\", reached by an And arrow from the task "
        "it is attached to",
        "eventBasedGateway eb: became the task \"Answer?\"",
        "dataObject data: not imported: a workflow has no such element",
        "textAnnotation note: not imported: a workflow has no such element",
        "startEvent timer: became the task \"Monday\" (its level has a start task already)",
        "endEvent e2: became the task \"Escalated\" (its level has an end task already)"}},
  };
  for (const auto& [file, lines, texts] : cases) {
    std::vector<BpmnNotice> notices;
    auto d = FromBpmn(ReadFile(kBpmnDir / "samples" / file), &notices);
    EXPECT_EQ(Lines(*d), lines) << file;
    std::vector<std::string> shown;
    for (const BpmnNotice& n : notices) shown.push_back(NoticeText(n));
    EXPECT_EQ(shown, texts) << file;
    EXPECT_EQ(d->Header().status, WorkflowStatus::Design);
    EXPECT_EQ(ui.infoCenter().entries().size(), texts.size()) << "each notice is listed";
    // Without diagram data the layout places every task apart from the others.
    for (const CNode* n : d->AllNodes())
      for (const CNode* o : d->AllNodes())
        if (n < o && n->BelongsToCluster() == o->BelongsToCluster()) {
          EXPECT_NE(n->GetRect(), o->GetRect()) << file << ": " << n->Name() << o->Name();
        }
  }
  // The diagram's places, halved: a 100 x 80 shape at 150, 80 is centred at 200, 120.
  auto d = FromBpmn(ReadFile(kBpmnDir / "samples/gateways.bpmn"));
  EXPECT_EQ(d->AllNodes()[0]->GetRect().Center(), (Point{100, -60}));
}

TEST_F(BpmnTest, HostileFilesAreRefusedWithoutTouchingTheWorkflowAndTextsXmlCannotCarryNamed) {
  const std::filesystem::path secret = std::filesystem::temp_directory_path() / "velk-bpmn-secret";
  std::ofstream(secret) << "secret";
  const std::string bpmn = R"(<definitions xmlns="http://www.omg.org/spec/BPMN/20100524/MODEL">)";
  std::string deep = bpmn + "<process id=\"p\">";
  for (int i = 0; i < 5000; ++i) deep += "<subProcess id=\"s" + std::to_string(i) + "\">";
  // The file's text and what the refusal says.
  const std::pair<std::string, const char*> cases[] = {
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
  for (const auto& [xml, message] : cases) {
    try {
      WorkflowFromBpmn(xml, doc);
      ADD_FAILURE() << message;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).find("secret\""), std::string::npos);
    }
    EXPECT_EQ(Lines(doc), "Kept@1\n") << message;
  }
  std::filesystem::remove(secret);
  // Texts XML cannot carry are named on export.
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
