// Reading the elements of a BPMN process into a BpmnGraph.

#include <set>
#include <stdexcept>
#include <string>

#include "model/bpmngraph.h"

namespace velk {

namespace {

const std::set<std::string_view>& TaskTypes() {
  static const std::set<std::string_view> types{
      "task",     "userTask",    "manualTask",   "serviceTask", "scriptTask",  "businessRuleTask",
      "sendTask", "receiveTask", "callActivity", "subProcess",  "transaction", "adHocSubProcess"};
  return types;
}
bool IsSubProcess(std::string_view type) {
  return type == "subProcess" || type == "transaction" || type == "adHocSubProcess";
}

// Elements of a process that carry nothing a workflow shows, or that are read
// through the elements around them.
const std::set<std::string_view>& Passed() {
  static const std::set<std::string_view> types{"documentation",
                                                "extensionElements",
                                                "auditing",
                                                "monitoring",
                                                "property",
                                                "ioSpecification",
                                                "supports",
                                                "correlationSubscription",
                                                "incoming",
                                                "outgoing",
                                                "laneSet",
                                                "sequenceFlow",
                                                "potentialOwner",
                                                "performer",
                                                "humanPerformer",
                                                "resourceRole",
                                                "dataInputAssociation",
                                                "dataOutputAssociation",
                                                "standardLoopCharacteristics",
                                                "multiInstanceLoopCharacteristics"};
  return types;
}

class Reader {
 public:
  explicit Reader(BpmnGraph& graph) : g_(graph) {}

  void Read(const xmlNode* definitions) {
    g_.process = ChooseProcess(definitions);
    g_.containers.push_back({g_.process, -1});
    ReadContainer(0);
    ResolveFlows();
    for (const xmlNode* child : ChildElements(definitions, kBpmnModelNs))
      if (LocalName(child) == "collaboration")
        for (const xmlNode* c : ChildElements(child, kBpmnModelNs))
          if (LocalName(c) == "messageFlow")
            g_.Notice(Attribute(c, "id"), "messageFlow",
                      "not imported: a workflow has no messages");
    for (const xmlNode* diagram : ChildElements(definitions, kBpmnDiNs)) ReadDiagram(diagram);
  }

 private:
  const xmlNode* ChooseProcess(const xmlNode* definitions) {
    std::vector<const xmlNode*> processes;
    for (const xmlNode* c : ChildElements(definitions, kBpmnModelNs))
      if (LocalName(c) == "process" && !ChildElements(c, kBpmnModelNs).empty())
        processes.push_back(c);
    if (processes.empty()) throw std::runtime_error("it holds no BPMN process");
    const xmlNode* chosen = processes.front();
    for (const xmlNode* p : processes)
      if (const xmlNode* ext = FirstChild(p, kBpmnModelNs, "extensionElements");
          ext && FirstChild(ext, kVelkNs, "workflow")) {
        chosen = p;
        break;
      }
    for (const xmlNode* p : processes)
      if (p != chosen)
        g_.Notice(Attribute(p, "id"), "process",
                  "not imported: a workflow is made of one process (\"" + Attribute(chosen, "id") +
                      "\" is)");
    return chosen;
  }

  void ReadContainer(int container) {
    const xmlNode* xml = g_.containers[static_cast<std::size_t>(container)].xml;
    for (const xmlNode* c : ChildElements(xml, kBpmnModelNs)) {
      const std::string type(LocalName(c));
      if (type == "sequenceFlow") flowsXml_.push_back(c);
      if (type == "laneSet") ReadLanes(c);
      if (Passed().count(type)) continue;
      BpmnRole role = BpmnRole::Task;
      if (type == "exclusiveGateway" || type == "inclusiveGateway" || type == "parallelGateway")
        role = BpmnRole::Gateway;
      else if (type == "startEvent")
        role = BpmnRole::Start;
      else if (type == "endEvent")
        role = BpmnRole::End;
      else if (!TaskTypes().count(type) && !IsOtherFlowNode(c, type))
        continue;
      AddElement(c, type, role, container);
    }
  }

  // Kept as tasks, with a notice saying so; anything else is listed as not imported.
  bool IsOtherFlowNode(const xmlNode* c, const std::string& type) {
    if (type == "complexGateway" || type == "eventBasedGateway" ||
        type == "intermediateCatchEvent" || type == "intermediateThrowEvent" ||
        type == "boundaryEvent") {
      std::string action = "became the task \"" + NameOf(c) + "\"";
      if (type == "boundaryEvent")
        action += ", reached by an And arrow from the task it is attached to";
      g_.Notice(Attribute(c, "id"), type, action);
      return true;
    }
    g_.Notice(Attribute(c, "id"), type, "not imported: a workflow has no such element");
    return false;
  }

  static std::string NameOf(const xmlNode* c) {
    const std::string name = Attribute(c, "name");
    return name.empty() ? Attribute(c, "id") : name;
  }

  void AddElement(const xmlNode* c, const std::string& type, BpmnRole role, int container) {
    BpmnElement e;
    e.id = Attribute(c, "id");
    e.type = type;
    e.name = Attribute(c, "name");
    e.xml = c;
    e.role = role;
    e.container = container;
    if (role == BpmnRole::Task && !TaskTypes().count(type)) e.name = NameOf(c);
    e.defaultFlow = Attribute(c, "default");
    if (e.id.empty() || g_.byId.count(e.id)) {
      g_.Notice(e.id, type, "not imported: its id is missing or not unique");
      return;
    }
    const int index = static_cast<int>(g_.elements.size());
    g_.byId.emplace(e.id, index);
    if (FirstChild(c, kBpmnModelNs, "multiInstanceLoopCharacteristics") ||
        FirstChild(c, kBpmnModelNs, "standardLoopCharacteristics"))
      g_.Notice(e.id, type, "imported without its loop: a task of a workflow runs once");
    const bool opens = IsSubProcess(type);
    g_.elements.push_back(std::move(e));
    if (opens) {
      g_.elements.back().inner = static_cast<int>(g_.containers.size());
      g_.containers.push_back({c, index});
      ReadContainer(g_.elements.back().inner);
    }
  }

  // Lanes name the performer of the flow nodes they hold; the innermost wins.
  void ReadLanes(const xmlNode* laneSet) {
    for (const xmlNode* lane : ChildElements(laneSet, kBpmnModelNs)) {
      if (LocalName(lane) != "lane") continue;
      const std::string name = NameOf(lane);
      for (const xmlNode* ref : ChildElements(lane, kBpmnModelNs))
        if (LocalName(ref) == "flowNodeRef") lanes_[TextOf(ref)] = name;
      if (const xmlNode* inner = FirstChild(lane, kBpmnModelNs, "childLaneSet")) ReadLanes(inner);
    }
  }

  void ResolveFlows() {
    for (BpmnElement& e : g_.elements) {
      auto lane = lanes_.find(e.id);
      if (lane != lanes_.end()) e.lane = lane->second;
      if (e.type == "boundaryEvent") boundary_.push_back(&e - g_.elements.data());
    }
    for (const xmlNode* f : flowsXml_) {
      BpmnFlow flow;
      flow.id = Attribute(f, "id");
      flow.xml = f;
      flow.source = Find(Attribute(f, "sourceRef"));
      flow.target = Find(Attribute(f, "targetRef"));
      if (flow.source < 0 || flow.target < 0) {
        g_.Notice(flow.id, "sequenceFlow", "not imported: it does not join two imported elements");
        continue;
      }
      if (const xmlNode* c = FirstChild(f, kBpmnModelNs, "conditionExpression")) {
        flow.conditional = true;
        flow.condition = TextOf(c);
      }
      AddFlow(std::move(flow));
    }
    for (std::ptrdiff_t b : boundary_) {
      const int host =
          Find(Attribute(g_.elements[static_cast<std::size_t>(b)].xml, "attachedToRef"));
      if (host < 0) continue;
      BpmnFlow flow;
      flow.source = host;
      flow.target = static_cast<int>(b);
      AddFlow(std::move(flow));
    }
  }

  void AddFlow(BpmnFlow flow) {
    const int index = static_cast<int>(g_.flows.size());
    g_.elements[static_cast<std::size_t>(flow.source)].out.push_back(index);
    g_.elements[static_cast<std::size_t>(flow.target)].in.push_back(index);
    g_.flows.push_back(std::move(flow));
  }

  int Find(const std::string& id) const {
    auto it = g_.byId.find(id);
    return it == g_.byId.end() ? -1 : it->second;
  }

  void ReadDiagram(const xmlNode* diagram) {
    if (LocalName(diagram) != "BPMNDiagram") return;
    for (const xmlNode* plane : ChildElements(diagram, kBpmnDiNs))
      for (const xmlNode* shape : ChildElements(plane, kBpmnDiNs))
        if (LocalName(shape) == "BPMNShape")
          if (const xmlNode* b = FirstChild(shape, kDcNs, "Bounds"))
            g_.bounds.emplace(Attribute(shape, "bpmnElement"), b);
  }

  BpmnGraph& g_;
  std::vector<const xmlNode*> flowsXml_;
  std::unordered_map<std::string, std::string> lanes_;
  std::vector<std::ptrdiff_t> boundary_;
};

}  // namespace

BpmnGraph ReadBpmnGraph(std::string_view xml) {
  BpmnGraph graph;
  graph.doc = ParseXmlSafely(xml);
  const xmlNode* root = xmlDocGetRootElement(graph.doc.get());
  if (!IsElement(root, kBpmnModelNs, "definitions"))
    throw std::runtime_error("it is not a BPMN 2.0 file: its root element is \"" +
                             std::string(LocalName(root)) + "\"" +
                             (LocalName(root) == "definitions"
                                  ? " of another namespace than " + std::string(kBpmnModelNs)
                                  : ", not \"definitions\""));
  Reader(graph).Read(root);
  return graph;
}

}  // namespace velk
