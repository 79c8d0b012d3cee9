#include "model/bpmnlayout.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <unordered_map>

#include "model/workflowdoc.h"

namespace velk {

namespace {

constexpr int kTaskWidth = 100;
constexpr int kTaskHeight = 80;
constexpr int kGatewayPixels = 50;
constexpr int kEventPixels = 36;
constexpr char kProcessPrefix[] = "Workflow_";

struct Centre {
  double x = 0, y = 0;
};

Centre CentreOf(const BpmnShape& s) {
  return {s.x + s.width / 2.0, s.y + s.height / 2.0};
}

BpmnShape ShapeAt(std::string id, std::string element, Centre c, int size) {
  BpmnShape s;
  s.id = std::move(id);
  s.element = std::move(element);
  s.x = static_cast<int>(std::lround(c.x - size / 2.0));
  s.y = static_cast<int>(std::lround(c.y - size / 2.0));
  s.width = s.height = size;
  return s;
}

// Where the line from the shape's centre towards `to` leaves the shape.
Point BorderPoint(const BpmnShape& s, Centre to) {
  const Centre c = CentreOf(s);
  const double dx = to.x - c.x, dy = to.y - c.y;
  if (dx == 0 && dy == 0) return {static_cast<int>(c.x), static_cast<int>(c.y)};
  const double scale = std::min(dx == 0 ? 1e9 : s.width / 2.0 / std::abs(dx),
                                dy == 0 ? 1e9 : s.height / 2.0 / std::abs(dy));
  return {static_cast<int>(std::lround(c.x + dx * scale)),
          static_cast<int>(std::lround(c.y + dy * scale))};
}

std::string TaskId(int node) {
  return "Task_" + std::to_string(node);
}

// Builds the planes level by level.
class Planner {
 public:
  explicit Planner(const CWorkflowDoc& top) : top_(top) {
    for (const CNode* n : top.AllNodes()) {
      const int i = static_cast<int>(index_.size());
      index_.emplace(n, i);
      byLevel_[n->BelongsToCluster()].push_back(n);
      if (n->IsClusterNode() && n->RepresentsCluster() >= 2)
        representing_.emplace(n->RepresentsCluster(), n);
    }
    for (const CArrow* a : top.AllArrows()) arrows_.emplace(a, static_cast<int>(arrows_.size()));
  }

  BpmnShapes Run() {
    shapes_.planes.push_back({BpmnProcessId(top_.Header().workflowId), {}, {}});
    AddLevel(0, 1);
    // Levels no cluster node stands for are kept on the top level.
    for (const auto& [level, nodes] : byLevel_)
      if (!written_.count(level)) AddLevel(0, level);
    for (std::size_t p = 0; p < shapes_.planes.size(); ++p) AddFlows(p);
    return std::move(shapes_);
  }

 private:
  void AddLevel(std::size_t plane, int level) {
    written_.insert(level);
    for (const CNode* n : byLevel_[level]) {
      BpmnShape s;
      s.id = TaskId(index_.at(n));
      s.node = index_.at(n);
      const Point centre = n->GetRect().Center();
      s.x = centre.x * kBpmnPixelsPerUnit - kTaskWidth / 2;
      s.y = -centre.y * kBpmnPixelsPerUnit - kTaskHeight / 2;
      s.width = kTaskWidth;
      s.height = kTaskHeight;
      shapeOf_[n] = {plane, shapes_.planes[plane].shapes.size()};
      shapes_.planes[plane].shapes.push_back(s);
      const int inner = n->RepresentsCluster();
      auto rep = representing_.find(inner);
      if (rep != representing_.end() && rep->second == n && !written_.count(inner)) {
        shapes_.planes.push_back({s.id, {}, {}});
        levelOfPlane_[shapes_.planes.size() - 1] = n;
        AddLevel(shapes_.planes.size() - 1, inner);
      }
    }
  }

  BpmnShape& Shape(const CNode* n) {
    const auto& [plane, at] = shapeOf_.at(n);
    return shapes_.planes[plane].shapes[at];
  }

  void AddFlows(std::size_t p) {
    const CNode* owner = levelOfPlane_.count(p) ? levelOfPlane_[p] : nullptr;
    const CNode* start = owner ? owner->ClusterStartNode() : top_.StartNode();
    const CNode* end = owner ? owner->ClusterEndNode() : top_.EndNode();
    const std::string container = shapes_.planes[p].container;
    if (start && shapeOf_.count(start) && shapeOf_.at(start).first == p)
      AddEvent(p, "bpmn:startEvent", "Start_" + container, start, true);
    if (end && shapeOf_.count(end) && shapeOf_.at(end).first == p)
      AddEvent(p, "bpmn:endEvent", "End_" + container, end, false);
    const std::size_t tasks = shapes_.planes[p].shapes.size();
    for (std::size_t i = 0; i < tasks; ++i) {
      const int node = shapes_.planes[p].shapes[i].node;
      if (node >= 0) AddRouting(p, *top_.AllNodes()[static_cast<std::size_t>(node)]);
    }
  }

  void AddEvent(std::size_t p, const char* element, const std::string& id, const CNode* task,
                bool before) {
    const BpmnShape taskShape = Shape(task);
    Centre c = CentreOf(taskShape);
    c.x += (before ? -1 : 1) * (kTaskWidth / 2.0 + 50);
    BpmnShape event = ShapeAt(id, element, c, kEventPixels);
    shapes_.planes[p].shapes.push_back(event);
    if (before)
      AddEdge(p, "Flow_" + id, event, taskShape, -1);
    else
      AddEdge(p, "Flow_" + id, taskShape, event, -1);
  }

  void AddEdge(std::size_t p, std::string id, const BpmnShape& from, const BpmnShape& to,
               int arrow) {
    BpmnEdge e{std::move(id), from.id, to.id, arrow, {}};
    e.waypoints = {BorderPoint(from, CentreOf(to)), BorderPoint(to, CentreOf(from))};
    shapes_.planes[p].edges.push_back(std::move(e));
  }

  // A task's arrows: directly, or through a gateway where several of a kind leave it.
  void AddRouting(std::size_t p, const CNode& source) {
    std::vector<const CArrow*> ands, decided;
    for (const CArrow* a : source.OutgoingArrows()) {
      const RoutingKind k = a->Kind();
      (k == RoutingKind::Or || k == RoutingKind::Xor || k == RoutingKind::Cor ||
               k == RoutingKind::Else
           ? decided
           : ands)
          .push_back(a);
    }
    const std::string id = TaskId(index_.at(&source));
    if (ands.size() >= 2) {
      AddSplit(p, source, ands, "bpmn:parallelGateway", id + "_and");
    } else {
      for (const CArrow* a : ands) AddArrowEdge(p, Shape(&source), *a);
    }
    if (decided.size() >= 2) {
      AddSplit(p, source, decided, "bpmn:exclusiveGateway", id + "_or");
    } else {
      for (const CArrow* a : decided) {
        AddArrowEdge(p, Shape(&source), *a);
        if (a->Kind() == RoutingKind::Else) Shape(&source).defaultFlow = ArrowFlowId(*a);
      }
    }
  }

  void AddSplit(std::size_t p, const CNode& source, const std::vector<const CArrow*>& arrows,
                const char* element, const std::string& suffix) {
    const BpmnShape from = Shape(&source);
    Centre towards;
    for (const CArrow* a : arrows) {
      const Centre c = CentreOf(Shape(a->Target()));
      towards.x += c.x / static_cast<double>(arrows.size());
      towards.y += c.y / static_cast<double>(arrows.size());
    }
    const Centre c = CentreOf(from);
    Centre mid{(c.x + towards.x) / 2, (c.y + towards.y) / 2};
    if (std::abs(mid.x - c.x) < kTaskWidth && std::abs(mid.y - c.y) < kTaskHeight)
      mid.x = c.x + kTaskWidth;  // clear of the task
    BpmnShape gateway = ShapeAt("Gateway_" + suffix.substr(5), element, mid, kGatewayPixels);
    for (const CArrow* a : arrows)
      if (a->Kind() == RoutingKind::Else && gateway.defaultFlow.empty())
        gateway.defaultFlow = ArrowFlowId(*a);
    shapes_.planes[p].shapes.push_back(gateway);
    AddEdge(p, "Flow_" + suffix.substr(5), from, gateway, -1);
    for (const CArrow* a : arrows) AddArrowEdge(p, gateway, *a);
  }

  std::string ArrowFlowId(const CArrow& a) const {
    return "Flow_" + std::to_string(arrows_.at(&a));
  }

  void AddArrowEdge(std::size_t p, const BpmnShape& from, const CArrow& a) {
    AddEdge(p, ArrowFlowId(a), from, Shape(a.Target()), arrows_.at(&a));
  }

  const CWorkflowDoc& top_;
  std::unordered_map<const CNode*, int> index_;
  std::unordered_map<const CArrow*, int> arrows_;
  std::map<int, std::vector<const CNode*>> byLevel_;
  std::unordered_map<int, const CNode*> representing_;
  std::set<int> written_;
  std::unordered_map<const CNode*, std::pair<std::size_t, std::size_t>> shapeOf_;
  std::unordered_map<std::size_t, const CNode*> levelOfPlane_;
  BpmnShapes shapes_;
};

}  // namespace

const BpmnPlane* BpmnShapes::PlaneOf(const std::string& container) const {
  for (std::size_t i = 1; i < planes.size(); ++i)
    if (planes[i].container == container) return &planes[i];
  return nullptr;
}

BpmnShapes PlanBpmnShapes(const CWorkflowDoc& top) {
  return Planner(top.Top()).Run();
}

std::string BpmnProcessId(const std::string& workflowId) {
  if (workflowId.empty()) return "Workflow";
  std::string id = kProcessPrefix;
  for (char c : workflowId)
    id += std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '.' ? c : '_';
  return id;
}

std::string WorkflowIdOfProcess(const std::string& processId) {
  // A reference may carry a namespace prefix ("tns:Workflow_...").
  const std::size_t colon = processId.find(':');
  const std::string local = colon == std::string::npos ? processId : processId.substr(colon + 1);
  return local.starts_with(kProcessPrefix) ? local.substr(sizeof(kProcessPrefix) - 1) : local;
}

Rect NodeRectOfBounds(double x, double y, double width, double height) {
  // Far beyond any drawing; a position out there is refused by the import's range.
  auto bounded = [](double v) { return std::isfinite(v) ? std::clamp(v, -1e8, 1e8) : 0.0; };
  const double cx = bounded((x + width / 2) / kBpmnPixelsPerUnit);
  const double cy = bounded((y + height / 2) / kBpmnPixelsPerUnit);
  const int left = static_cast<int>(std::lround(cx)) - kNodeSize / 2;
  const int top = -(static_cast<int>(std::lround(cy)) - kNodeSize / 2);
  return NodeRectAt(left, top);
}

}  // namespace velk
