// A BPMN process as a workflow: the elements read (model/bpmnread.cpp) become the
// nodes and arrows of a workflow file (model/workflowjson.h), which is then built
// as any imported workflow is. Fields our own export keeps in its extension
// elements come back from there; what BPMN itself says (names, performers,
// conditions, positions) wins where the two differ, as another tool may have
// edited the file.

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <map>
#include <set>
#include <stdexcept>
#include <string>

#include "common/infocenter.h"
#include "common/services.h"
#include "editor/layeredlayout.h"
#include "model/bpmngraph.h"
#include "model/bpmnlayout.h"
#include "model/workflowdoc.h"
#include "model/workflowjson.h"
#include "model/workflowrecords.h"

namespace velk {

namespace {

using Json = WorkflowJson;

// The type of each field by its name in a workflow file.
using FieldTypes = std::map<std::string, ItemType, std::less<>>;

template <class Record>
FieldTypes TypesOf(const RecordFields<Record>& fields) {
  FieldTypes types;
  for (const RecordField<Record>& f : fields)
    if (f.json) types.emplace(f.json, f.type);
  return types;
}

// The JSON value of an extension attribute, by the type of its field.
Json ValueOf(ItemType type, const std::string& text, const std::string& where,
             const std::string& field) {
  switch (type) {
    case ItemType::Integer:
    case ItemType::Number:
    case ItemType::Key: {
      long long n = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
      if (error != std::errc() || end != text.data() + text.size())
        throw std::runtime_error(where + " " + field + ": \"" + text + "\" is no whole number");
      return n;
    }
    case ItemType::Flag:
      if (text != "true" && text != "false")
        throw std::runtime_error(where + " " + field + ": \"" + text +
                                 "\" is neither true nor false");
      return text == "true";
    default:
      return text;
  }
}

// The fields an extension element of ours (velk:task, velk:workflow, velk:arrow)
// holds; a field it does not describe is passed by.
Json ExtensionFields(const xmlNode* owner, const char* name, const FieldTypes& types,
                     const std::string& where) {
  Json out = Json::object();
  const xmlNode* ext = FirstChild(owner, kBpmnModelNs, "extensionElements");
  const xmlNode* e = ext ? FirstChild(ext, kVelkNs, name) : nullptr;
  if (!e) return out;
  for (const xmlAttr* a = e->properties; a; a = a->next) {
    const std::string attr = reinterpret_cast<const char*>(a->name);
    auto t = types.find(attr);
    if (t == types.end() || a->ns) continue;
    out[attr] = ValueOf(t->second, TextOf(reinterpret_cast<const xmlNode*>(a)), where, attr);
  }
  for (const xmlNode* list : ChildElements(e, kVelkNs)) {
    const std::string field = Attribute(list, "name");
    auto t = types.find(field);
    if (LocalName(list) != "list" || t == types.end() || t->second != ItemType::List) continue;
    Json& items = out[field] = Json::array();
    for (const xmlNode* item : ChildElements(list, kVelkNs)) items.push_back(TextOf(item));
  }
  return out;
}

std::string Performer(const xmlNode* task) {
  for (const char* role : {"potentialOwner", "performer", "humanPerformer"})
    if (const xmlNode* r = FirstChild(task, kBpmnModelNs, role))
      if (const xmlNode* expr = FirstChild(r, kBpmnModelNs, "resourceAssignmentExpression"))
        if (const xmlNode* formal = FirstChild(expr, kBpmnModelNs, "formalExpression"))
          return TextOf(formal);
  return {};
}

const char* KindOfType(const std::string& type) {
  if (type == "subProcess" || type == "transaction" || type == "adHocSubProcess") return "IWC";
  if (type == "callActivity") return "ICDR";
  return "Intern";
}

class Builder {
 public:
  explicit Builder(BpmnGraph& graph) : g_(graph) {}

  Json Run() {
    Json out;
    out["format"] = "velkmod-workflow";
    out["formatVersion"] = 1;
    out["header"] = Header();
    NumberNodes();
    Json& nodes = out["nodes"] = Json::array();
    for (int e : order_) nodes.push_back(Node(e));
    out["arrows"] = Arrows();
    return out;
  }

  // Levels whose nodes have no place in the diagram.
  const std::set<int>& Unplaced() const { return unplaced_; }

 private:
  const BpmnElement& At(int i) const { return g_.elements[static_cast<std::size_t>(i)]; }

  Json Header() {
    Json h =
        ExtensionFields(g_.process, "workflow", TypesOf(HeaderRecordFields()), "the process's");
    const std::string name = Attribute(g_.process, "name");
    if (!name.empty() || !h.contains("name"))
      h["name"] = name.empty() ? Attribute(g_.process, "id") : name;
    if (!h.contains("freeText"))
      if (const xmlNode* doc = FirstChild(g_.process, kBpmnModelNs, "documentation"))
        h["freeText"] = TextOf(doc);
    return h;
  }

  // Our own tasks keep their ids and their order; other tasks follow.
  void NumberNodes() {
    long long next = 0;
    std::vector<std::pair<long long, int>> own;
    for (int i = 0; i < static_cast<int>(g_.elements.size()); ++i) {
      if (At(i).role != BpmnRole::Task) continue;
      const Json& fields = ext_[i] = ExtensionFields(At(i).xml, "task", taskTypes_, At(i).id);
      const Json id = fields.value("id", Json());
      if (!id.is_number_integer()) continue;
      if (used_.insert(id.get<long long>()).second) own.emplace_back(id.get<long long>(), i);
      next = std::max(next, id.get<long long>() + 1);
    }
    std::ranges::sort(own);
    for (const auto& [id, e] : own) {
      ids_[e] = id;
      order_.push_back(e);
    }
    for (int i = 0; i < static_cast<int>(g_.elements.size()); ++i)
      if (At(i).role == BpmnRole::Task && !ids_.count(i)) {
        ids_[i] = next++;
        order_.push_back(i);
      }
    NumberLevels();
  }

  // The level of each container: our own cluster's number, else one unused.
  void NumberLevels() {
    levels_.assign(g_.containers.size(), 1);
    int next = 2;
    for (const auto& [e, fields] : ext_)
      for (const char* f : {"representsCluster", "belongsToCluster"})
        if (fields.contains(f) && fields[f].is_number_integer())
          next = static_cast<int>(
              std::clamp<long long>(fields[f].get<long long>() + 1, next, 1'000'000));
    for (std::size_t c = 1; c < g_.containers.size(); ++c) {
      const Json& fields = ext_[g_.containers[c].element];
      const Json* own =
          fields.contains("representsCluster") ? &fields["representsCluster"] : nullptr;
      levels_[c] = own && own->is_number_integer() && own->get<long long>() >= 2
                       ? static_cast<int>(own->get<long long>())
                       : next++;
    }
  }

  Json Node(int i) {
    const BpmnElement& e = At(i);
    Json n = ext_[i];
    const bool own = !n.empty();
    n["id"] = ids_[i];
    if (!e.name.empty() || !n.contains("name")) n["name"] = e.name;
    if (!own) {
      n["kind"] = KindOfType(e.type);
      const BpmnContainer& c = g_.containers[static_cast<std::size_t>(e.container)];
      n["belongsToCluster"] = levels_[static_cast<std::size_t>(e.container)];
      if (e.inner >= 0) n["representsCluster"] = levels_[static_cast<std::size_t>(e.inner)];
      n["isClusterStartNode"] = c.start == i;
      n["isClusterEndNode"] = c.end == i;
      if (const xmlNode* doc = FirstChild(e.xml, kBpmnModelNs, "documentation"))
        n["freeText"] = TextOf(doc);
      if (!e.lane.empty()) {
        n["member"] = e.lane;
        n["performerType"] = "Role";
      }
    }
    if (e.type == "callActivity" && !n.contains("subWorkflowId") &&
        HasAttribute(e.xml, "calledElement"))
      n["subWorkflowId"] = WorkflowIdOfProcess(Attribute(e.xml, "calledElement"));
    if (const std::string performer = Performer(e.xml); !performer.empty()) {
      n["member"] = performer;
      if (!own) n["performerType"] = "Person";
    }
    Place(e, n);
    return n;
  }

  void Place(const BpmnElement& e, Json& n) {
    auto b = g_.bounds.find(e.id);
    if (b != g_.bounds.end()) {
      auto number = [&](const char* a) {
        return std::strtod(Attribute(b->second, a).c_str(), nullptr);
      };
      const Rect r = NodeRectOfBounds(number("x"), number("y"), number("width"), number("height"));
      n["x"] = std::max(r.left, 0);  // the drawing lies right of and below its origin
      n["y"] = std::min(r.top, 0);
    } else if (!n.contains("x") || !n.contains("y")) {
      unplaced_.insert(n.value("belongsToCluster", 1));
    }
  }

  Json Arrows() {
    std::vector<std::pair<long long, Json>> arrows;
    long long unnumbered = 1LL << 40;
    FieldTypes arrowTypes = TypesOf(ArrowRecordFields());
    arrowTypes.emplace("index", ItemType::Integer);  // the arrow's place among all arrows
    for (const BpmnArrow& a : ArrowsThroughGateways(g_)) {
      const BpmnFlow& via = g_.flows[static_cast<std::size_t>(a.via)];
      Json arrow = via.xml ? ExtensionFields(via.xml, "arrow", arrowTypes, via.id) : Json::object();
      const long long index =
          arrow.contains("index") ? arrow["index"].get<long long>() : unnumbered++;
      arrow.erase("index");
      arrow["from"] = ids_[a.source];
      arrow["to"] = ids_[a.target];
      if (!arrow.contains("kind")) arrow["kind"] = a.kind;
      if (!a.condition.empty() || !arrow.contains("condition")) arrow["condition"] = a.condition;
      arrows.emplace_back(index, std::move(arrow));
    }
    std::ranges::stable_sort(arrows, {}, &std::pair<long long, Json>::first);
    Json out = Json::array();
    for (auto& [index, arrow] : arrows) out.push_back(std::move(arrow));
    return out;
  }

  BpmnGraph& g_;
  const FieldTypes taskTypes_ = TypesOf(TaskRecordFields());
  std::map<int, Json> ext_;
  std::map<int, long long> ids_;
  std::set<long long> used_;
  std::vector<int> order_;
  std::vector<int> levels_;
  std::set<int> unplaced_;
};

// Levels without diagram positions are laid out as "Arrange as layers" does.
void PlaceLevels(CWorkflowDoc& top, const std::set<int>& levels, bool dot) {
  LayoutOptions options;
  options.dot = dot;
  for (int level : levels) {
    if (level == 1) {
      ArrangeAsLayers(top, options);
      continue;
    }
    CNode* cluster = top.FindRepresentingNode(level);
    if (!cluster || !cluster->IsClusterNode()) continue;
    CWorkflowDoc* shown = top.OpenClusterDocument(*cluster);
    ArrangeAsLayers(*shown, options);
    top.CloseClusterDocument(*shown);
  }
}

}  // namespace

std::vector<BpmnNotice> WorkflowFromBpmn(std::string_view xml, CWorkflowDoc& doc, bool dot) {
  BpmnGraph graph = ReadBpmnGraph(xml);
  AbsorbEvents(graph);
  Builder builder(graph);
  const Json json = builder.Run();
  if (json["nodes"].empty()) throw std::runtime_error("its process holds no task");
  WorkflowFromJson(json, doc);
  PlaceLevels(doc.Top(), builder.Unplaced(), dot);
  InfoCenter& info = doc.UserInterface().infoCenter();
  info.clearCategory(kBpmnImportCategory);
  for (const BpmnNotice& n : graph.notices)
    info.addEntry(kBpmnImportCategory, n.type + " " + n.element, n.action, 0, Severity::Notice);
  return std::move(graph.notices);
}

}  // namespace velk
