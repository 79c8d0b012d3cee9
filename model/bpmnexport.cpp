// Writing a workflow as BPMN 2.0 XML. The workflow's fields come from its JSON
// form (model/workflowjson.h), so that exactly the fields a workflow file carries
// travel in the extension elements.

#include <libxml/xmlwriter.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/bpmn.h"
#include "model/bpmnlayout.h"
#include "model/bpmnxml.h"
#include "model/workflowdoc.h"
#include "model/workflowjson.h"

namespace velk {

namespace {

using Json = WorkflowJson;

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

std::string ScalarText(const Json& value) {
  if (value.is_string()) return value.get<std::string>();
  if (value.is_boolean()) return value.get<bool>() ? "true" : "false";
  return value.dump();
}

// The fields of a JSON object as `element`: values as attributes, lists as
// children holding one item each.
void WriteFields(Writer& w, const char* element, const Json& fields, const std::string& where) {
  w.Start(element);
  for (const auto& [name, value] : fields.items())
    if (!value.is_null() && !value.is_array())
      w.Attr(name.c_str(), ScalarText(value), where + " " + name);
  for (const auto& [name, value] : fields.items()) {
    if (!value.is_array() || value.empty()) continue;
    w.Start("velk:list");
    w.Attr("name", name);
    for (const Json& item : value) w.Element("velk:item", ScalarText(item), where + " " + name);
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

// The fields of a new task as a workflow file holds them: a field left out of a
// file takes this value, so the export leaves out what equals it.
Json NewTaskFields(Services& services) {
  CWorkflowDoc scratch(services);
  scratch.CreateNode(NodeRectAt(0, 0));
  Json fields = WorkflowToJson(scratch)["nodes"][0];
  fields.erase("id");
  return fields;
}

class Exporter {
 public:
  explicit Exporter(const CWorkflowDoc& doc)
      : top_(doc.Top()),
        json_(WorkflowToJson(top_)),
        shapes_(PlanBpmnShapes(top_)),
        defaults_(NewTaskFields(top_.UserInterface())) {}

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
    Json header = json_["header"];
    if (!top_.Header().workflowId.empty()) header["workflowId"] = top_.Header().workflowId;
    WriteFields(w_, "velk:workflow", header, "the workflow's");
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
    Json fields = Json::object();
    for (auto& [name, value] : json_["nodes"][static_cast<std::size_t>(s.node)].items())
      if (auto d = defaults_.find(name); d == defaults_.end() || *d != value) fields[name] = value;
    WriteFields(w_, "velk:task", fields, "task \"" + node.Name() + "\"");
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
      const Json& arrow = json_["arrows"][static_cast<std::size_t>(e.arrow)];
      Json fields = {{"index", e.arrow}};
      for (const auto& [name, value] : arrow.items())
        if (name != "from" && name != "to") fields[name] = value;
      w_.Start("bpmn:extensionElements");
      WriteFields(w_, "velk:arrow", fields, "an arrow's");
      w_.End();
      const std::string condition = arrow.value("condition", "");
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
  Json json_;
  BpmnShapes shapes_;
  Json defaults_;
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
