// Writing a workflow as BPMN 2.0 XML. The workflow's fields come from its JSON
// form (model/workflowjson.h), so that exactly the fields a workflow file carries
// travel in the extension elements.

#include <libxml/xmlwriter.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/bpmn.h"
#include "model/bpmnlayout.h"
#include "model/bpmnxml.h"
#include "model/workflowdoc.h"
#include "model/workflowrecords.h"

namespace velk {

namespace {

struct WriterFree {
  void operator()(xmlTextWriter* w) const { xmlFreeTextWriter(w); }
};
struct BufferFree {
  void operator()(xmlBuffer* b) const { xmlBufferFree(b); }
};

// XML 1.0 carries no control character but tab and line breaks, and only UTF-8.
void CheckText(const std::string& text, const std::string& where) {
  for (unsigned char c : text)
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
      throw std::runtime_error(where + " holds a control character XML can not carry");
  if (!xmlCheckUTF8(reinterpret_cast<const xmlChar*>(text.c_str())))
    throw std::runtime_error(where + " is not UTF-8 text");
}

class Writer {
 public:
  Writer() : buffer_(xmlBufferCreate()), w_(xmlNewTextWriterMemory(buffer_.get(), 0)) {
    if (!buffer_ || !w_) throw std::runtime_error("out of memory");
    xmlTextWriterSetIndent(w_.get(), 1);
    xmlTextWriterSetIndentString(w_.get(), reinterpret_cast<const xmlChar*>("  "));
    xmlTextWriterStartDocument(w_.get(), nullptr, "UTF-8", nullptr);
  }
  void Start(const char* name) { xmlTextWriterStartElement(w_.get(), X(name)); }
  void End() { xmlTextWriterEndElement(w_.get()); }
  void Attr(const char* name, const std::string& value, const std::string& where = "") {
    CheckText(value, where.empty() ? name : where);
    xmlTextWriterWriteAttribute(w_.get(), X(name), X(value.c_str()));
  }
  void Text(const std::string& text, const std::string& where) {
    CheckText(text, where);
    xmlTextWriterWriteString(w_.get(), X(text.c_str()));
  }
  void Element(const char* name, const std::string& text, const std::string& where) {
    Start(name);
    Text(text, where);
    End();
  }
  std::string Finish() {
    xmlTextWriterEndDocument(w_.get());
    xmlTextWriterFlush(w_.get());
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer_.get())),
                       static_cast<std::size_t>(xmlBufferLength(buffer_.get())));
  }

 private:
  static const xmlChar* X(const char* s) { return reinterpret_cast<const xmlChar*>(s); }
  std::unique_ptr<xmlBuffer, BufferFree> buffer_;
  std::unique_ptr<xmlTextWriter, WriterFree> w_;
};

// A field's value as a workflow file gives it, as text; empty for none.
template <class Record>
std::string FieldText(const RecordField<Record>& f, const FieldValue& value) {
  switch (f.type) {
    case ItemType::Word:
      return f.words->toWord(std::get<int>(value));
    case ItemType::Integer:
    case ItemType::Number:
      return std::to_string(std::get<int>(value));
    case ItemType::Flag:
      return std::get<bool>(value) ? "true" : "false";
    default:
      return std::get<std::string>(value);
  }
}

// The fields of a record a workflow file carries as `element`: values as
// attributes, lists as children holding one item each. Fields equal to those of
// `defaults` are left out, as are those `skip` names.
template <class Record>
void WriteRecordFields(Writer& w, const char* element, const RecordFields<Record>& fields,
                       const Record& r, std::type_identity_t<const Record*> defaults,
                       const std::string& where,
                       const std::vector<std::pair<const char*, std::string>>& extra = {},
                       std::initializer_list<std::string_view> skip = {}) {
  w.Start(element);
  for (const auto& [name, text] : extra) w.Attr(name, text);
  std::vector<std::pair<const char*, std::vector<std::string>>> lists;
  for (const RecordField<Record>& f : fields) {
    if (!f.json || !f.get || std::ranges::find(skip, f.json) != skip.end()) continue;
    FieldValue value = f.get(r);
    if (defaults && value == f.get(*defaults)) continue;
    if (auto* list = std::get_if<std::vector<std::string>>(&value)) {
      if (!list->empty()) lists.emplace_back(f.json, std::move(*list));
      continue;
    }
    const std::string text = FieldText(f, value);
    // A key without a value names no node, and an optional text is left out when empty.
    if (text.empty() && (f.type == ItemType::Key || f.optional)) continue;
    w.Attr(f.json, text, where + " " + f.json);
  }
  for (const auto& [name, items] : lists) {
    w.Start("velk:list");
    w.Attr("name", name);
    for (const std::string& item : items) w.Element("velk:item", item, where + " " + name);
    w.End();
  }
  w.End();
}

const char* ElementOfKind(NodeKind kind) {
  switch (kind) {
    case NodeKind::Intern:
      return "bpmn:userTask";
    case NodeKind::In:
      return "bpmn:receiveTask";
    case NodeKind::Out:
    case NodeKind::ExtWFTask:
      return "bpmn:sendTask";
    case NodeKind::IWC:
      return "bpmn:subProcess";
    case NodeKind::ICDR:
    case NodeKind::CDDR:
    case NodeKind::Extern:
    case NodeKind::EIDM:
      return "bpmn:callActivity";
  }
  return "bpmn:task";
}

class Exporter {
 public:
  explicit Exporter(const CWorkflowDoc& doc) : top_(doc.Top()), shapes_(PlanBpmnShapes(top_)) {
    for (const CNode* n : top_.AllNodes()) ids_.emplace(n, std::to_string(ids_.size()));
  }

  std::string Run() {
    w_.Start("bpmn:definitions");
    w_.Attr("xmlns:bpmn", kBpmnModelNs);
    w_.Attr("xmlns:bpmndi", kBpmnDiNs);
    w_.Attr("xmlns:dc", kDcNs);
    w_.Attr("xmlns:di", kDiNs);
    w_.Attr("xmlns:xsi", kXsiNs);
    w_.Attr("xmlns:velk", kVelkNs);
    w_.Attr("id", "Definitions");
    w_.Attr("targetNamespace", "urn:x-velkmod:workflows");
    w_.Attr("exporter", "VELK Modeler");
    w_.Attr("exporterVersion", "1");
    WriteProcess();
    for (const BpmnPlane& plane : shapes_.planes) WritePlane(plane);
    w_.End();
    return w_.Finish();
  }

 private:
  const std::string& ProcessId() const { return shapes_.planes.front().container; }

  void WriteProcess() {
    w_.Start("bpmn:process");
    w_.Attr("id", ProcessId());
    w_.Attr("name", top_.Header().name, "the workflow name");
    w_.Attr("isExecutable", "false");
    WriteDocumentation(top_.Header().freeText, "the workflow's free text");
    w_.Start("bpmn:extensionElements");
    std::vector<std::pair<const char*, std::string>> id;
    if (!top_.Header().workflowId.empty()) id.emplace_back("workflowId", top_.Header().workflowId);
    WriteRecordFields(w_, "velk:workflow", HeaderRecordFields(), top_.Header(), nullptr,
                      "the workflow's", id);
    w_.End();
    WriteLevelContent(shapes_.planes.front());
    w_.End();
  }

  void WriteDocumentation(const std::string& text, const std::string& where) {
    if (!text.empty()) w_.Element("bpmn:documentation", text, where);
  }

  // The flow elements of one level: its tasks (cluster nodes with their own
  // level inside), events, gateways and flows.
  void WriteLevelContent(const BpmnPlane& plane) {
    for (const BpmnShape& s : plane.shapes)
      if (s.node >= 0) WriteTask(s);
    for (const BpmnShape& s : plane.shapes)
      if (s.node < 0) WriteConnector(s);
    for (const BpmnEdge& e : plane.edges) WriteFlow(e);
  }

  void WriteTask(const BpmnShape& s) {
    const CNode& node = *top_.AllNodes()[static_cast<std::size_t>(s.node)];
    const std::string where = "the name of task \"" + node.Name() + "\"";
    w_.Start(ElementOfKind(node.Kind()));
    w_.Attr("id", s.id);
    w_.Attr("name", node.Name(), where);
    if (!s.defaultFlow.empty()) w_.Attr("default", s.defaultFlow);
    if ((node.Kind() == NodeKind::ICDR || node.Kind() == NodeKind::CDDR) &&
        !node.SubWorkflowId().empty())
      w_.Attr("calledElement", BpmnProcessId(node.SubWorkflowId()));
    WriteDocumentation(node.Attributes().freeText, "the free text of task \"" + node.Name() + "\"");
    w_.Start("bpmn:extensionElements");
    WriteRecordFields(w_, "velk:task", TaskRecordFields(), TaskRecordOf(node, KeyOf()), &newTask_,
                      "task \"" + node.Name() + "\"");
    w_.End();
    if (!node.Attributes().member.empty()) {
      w_.Start("bpmn:potentialOwner");
      w_.Start("bpmn:resourceAssignmentExpression");
      w_.Element("bpmn:formalExpression", node.Attributes().member,
                 "the performer of task \"" + node.Name() + "\"");
      w_.End();
      w_.End();
    }
    if (const BpmnPlane* inner = shapes_.PlaneOf(s.id)) WriteLevelContent(*inner);
    w_.End();
  }

  void WriteConnector(const BpmnShape& s) {
    w_.Start(s.element.c_str());
    w_.Attr("id", s.id);
    if (!s.defaultFlow.empty()) w_.Attr("default", s.defaultFlow);
    w_.End();
  }

  void WriteFlow(const BpmnEdge& e) {
    w_.Start("bpmn:sequenceFlow");
    w_.Attr("id", e.id);
    w_.Attr("sourceRef", e.source);
    w_.Attr("targetRef", e.target);
    if (e.arrow >= 0) {
      const CArrow& arrow = *top_.AllArrows()[static_cast<std::size_t>(e.arrow)];
      const ArrowRecord record{arrow.Kind(), {{}, {}, arrow.Condition(), arrow.Formula()}};
      w_.Start("bpmn:extensionElements");
      WriteRecordFields(w_, "velk:arrow", ArrowRecordFields(), record, nullptr, "an arrow's",
                        {{"index", std::to_string(e.arrow)}}, {"from", "to"});
      w_.End();
      const std::string& condition = arrow.Condition();
      if (!condition.empty()) {
        w_.Start("bpmn:conditionExpression");
        w_.Attr("xsi:type", "bpmn:tFormalExpression");
        w_.Text(condition, "an arrow's condition");
        w_.End();
      }
    }
    w_.End();
  }

  void WritePlane(const BpmnPlane& plane) {
    w_.Start("bpmndi:BPMNDiagram");
    w_.Attr("id", "Diagram_" + plane.container);
    w_.Start("bpmndi:BPMNPlane");
    w_.Attr("id", "Plane_" + plane.container);
    w_.Attr("bpmnElement", plane.container);
    for (const BpmnShape& s : plane.shapes) WriteShape(s);
    for (const BpmnEdge& e : plane.edges) WriteEdge(e);
    w_.End();
    w_.End();
  }

  void WriteShape(const BpmnShape& s) {
    w_.Start("bpmndi:BPMNShape");
    w_.Attr("id", "Shape_" + s.id);
    w_.Attr("bpmnElement", s.id);
    if (shapes_.PlaneOf(s.id)) w_.Attr("isExpanded", "false");
    w_.Start("dc:Bounds");
    w_.Attr("x", std::to_string(s.x));
    w_.Attr("y", std::to_string(s.y));
    w_.Attr("width", std::to_string(s.width));
    w_.Attr("height", std::to_string(s.height));
    w_.End();
    w_.End();
  }

  void WriteEdge(const BpmnEdge& e) {
    w_.Start("bpmndi:BPMNEdge");
    w_.Attr("id", "Edge_" + e.id);
    w_.Attr("bpmnElement", e.id);
    for (const Point& p : e.waypoints) {
      w_.Start("di:waypoint");
      w_.Attr("x", std::to_string(p.x));
      w_.Attr("y", std::to_string(p.y));
      w_.End();
    }
    w_.End();
  }

  const CWorkflowDoc& top_;
  std::function<std::string(const CNode&)> KeyOf() const {
    return [this](const CNode& n) {
      auto it = ids_.find(&n);
      return it == ids_.end() ? std::string() : it->second;
    };
  }

  BpmnShapes shapes_;
  std::unordered_map<const CNode*, std::string> ids_;
  // What a file leaves out, an import takes as a new task has it.
  const TaskRecord newTask_{};
  Writer w_;
};

}  // namespace

std::string NoticeText(const BpmnNotice& notice) {
  return notice.type + " " + notice.element + ": " + notice.action;
}

std::string WorkflowToBpmn(const CWorkflowDoc& doc) {
  return Exporter(doc).Run();
}

bool LooksLikeXml(std::string_view text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  return first != std::string_view::npos && text[first] == '<';
}

}  // namespace velk
