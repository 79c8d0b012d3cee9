#include "editor/layeredlayout.h"

#include <dlfcn.h>
#include <graphviz/gvc.h>
#include <graphviz/gvplugin.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "editor/autoarrange.h"
#include "editor/drawinggeometry.h"
#include "model/workflowdoc.h"

namespace velk {

namespace {

// Graphviz keeps global state: one layout at a time in the whole program.
std::mutex& GraphvizMutex() {
  static std::mutex m;
  return m;
}

// Levels up to this size get dot's full effort against crossings.
constexpr std::size_t kUnboundedNodes = 300;

// Logical units are 0.01 inch, Graphviz works in inches and points.
constexpr double kUnitsPerPoint = 100.0 / 72.0;

int RoundUp(int value, int step) {
  return (value + step - 1) / step * step;
}
int RoundNearest(int value, int step) {
  const int r = ((value % step) + step) % step;
  return r < step / 2 ? value - r : value + (step - r);
}

void Set(void* object, const char* name, const std::string& value) {
  agsafeset(object, const_cast<char*>(name), const_cast<char*>(value.c_str()),
            const_cast<char*>(""));
}

// Graphviz's layout plugin lies outside the loader's search path, so it is
// loaded from its own place: the installed program needs neither a library
// search path of its own nor Graphviz's plugin configuration. Null when it is
// missing; Graphviz then looks for its plugins itself.
const lt_symlist_t* DotLayoutPlugin() {
  static const lt_symlist_t* plugin = []() -> const lt_symlist_t* {
    static lt_symlist_t symbols[] = {{"gvplugin_dot_layout_LTX_library", nullptr}, {nullptr, nullptr}};
    if (void* library = dlopen(VELK_GV_DOT_LAYOUT, RTLD_NOW | RTLD_LOCAL))
      symbols[0].address = dlsym(library, symbols[0].name);
    return symbols[0].address ? symbols : nullptr;
  }();
  return plugin;
}

// Owns the Graphviz context and graph of one layout.
class DotGraph {
 public:
  DotGraph() {
    gvc_ = DotLayoutPlugin() ? gvContextPlugins(DotLayoutPlugin(), 0) : gvContext();
    graph_ = agopen(const_cast<char*>("level"), Agdirected, nullptr);
  }
  ~DotGraph() {
    if (laidOut_) gvFreeLayout(gvc_, graph_);
    agclose(graph_);
    gvFreeContext(gvc_);
  }
  DotGraph(const DotGraph&) = delete;
  DotGraph& operator=(const DotGraph&) = delete;

  Agraph_t* Graph() const { return graph_; }
  bool Layout() {
    laidOut_ = gvLayout(gvc_, graph_, "dot") == 0;
    return laidOut_;
  }

 private:
  GVC_t* gvc_;
  Agraph_t* graph_;
  bool laidOut_ = false;
};

// Node indices from the start breadth-first, then the rest: dot breaks cycles
// depth-first in the order nodes were made, so the arrows leaving the start
// point down and the arrows closing a loop back to it point up.
std::vector<int> CreationOrder(const LayoutGraph& graph) {
  const int n = static_cast<int>(graph.sizes.size());
  std::vector<std::vector<int>> next(static_cast<std::size_t>(n));
  for (auto [s, t] : graph.edges) next[static_cast<std::size_t>(s)].push_back(t);
  std::vector<char> seen(static_cast<std::size_t>(n), 0);
  std::vector<int> order;
  auto walkFrom = [&](int root) {
    std::deque<int> queue{root};
    seen[static_cast<std::size_t>(root)] = 1;
    while (!queue.empty()) {
      const int x = queue.front();
      queue.pop_front();
      order.push_back(x);
      for (int t : next[static_cast<std::size_t>(x)])
        if (!seen[static_cast<std::size_t>(t)]) {
          seen[static_cast<std::size_t>(t)] = 1;
          queue.push_back(t);
        }
    }
  };
  if (n > 0) walkFrom(std::clamp(graph.start, 0, n - 1));
  for (int i = 0; i < n; ++i)
    if (!seen[static_cast<std::size_t>(i)]) walkFrom(i);
  return order;
}

// The text column beside every node belongs to its box, so neighbours in a
// row leave room for it.
int BoxWidth(Point size) {
  return size.x + kTextColumnRight + 5;
}

void BuildDot(const LayoutGraph& graph, Agraph_t* g, std::vector<Agnode_t*>& made) {
  agattr(g, AGRAPH, const_cast<char*>("rankdir"), const_cast<char*>("TB"));
  agattr(g, AGRAPH, const_cast<char*>("nodesep"), const_cast<char*>("0.25"));
  agattr(g, AGRAPH, const_cast<char*>("ranksep"), const_cast<char*>("0.5"));
  agattr(g, AGRAPH, const_cast<char*>("splines"), const_cast<char*>("none"));
  // Bounds on the rounds of crossing reduction and ranking: long arrows cost
  // dot a virtual node per rank they cross, which without bounds takes tens of
  // seconds on large, tangled levels.
  if (graph.sizes.size() > kUnboundedNodes) {
    agattr(g, AGRAPH, const_cast<char*>("mclimit"), const_cast<char*>("0.2"));
    agattr(g, AGRAPH, const_cast<char*>("nslimit"), const_cast<char*>("2"));
    agattr(g, AGRAPH, const_cast<char*>("nslimit1"), const_cast<char*>("2"));
  }
  agattr(g, AGNODE, const_cast<char*>("shape"), const_cast<char*>("box"));
  agattr(g, AGNODE, const_cast<char*>("fixedsize"), const_cast<char*>("true"));
  agattr(g, AGNODE, const_cast<char*>("label"), const_cast<char*>(""));
  agattr(g, AGNODE, const_cast<char*>("width"), const_cast<char*>("1"));
  agattr(g, AGNODE, const_cast<char*>("height"), const_cast<char*>("0.34"));
  made.assign(graph.sizes.size(), nullptr);
  for (int i : CreationOrder(graph)) {
    const Point size = graph.sizes[static_cast<std::size_t>(i)];
    Agnode_t* node = agnode(g, const_cast<char*>(std::to_string(i).c_str()), 1);
    Set(node, "width", std::to_string(BoxWidth(size) / 100.0));
    Set(node, "height", std::to_string(std::max(size.y, 1) / 100.0));
    made[static_cast<std::size_t>(i)] = node;
  }
  if (!made.empty()) {
    Agraph_t* top = agsubg(g, const_cast<char*>("start"), 1);
    Set(top, "rank", "min");
    agsubnode(top, made[static_cast<std::size_t>(std::clamp(graph.start, 0,
                                                           static_cast<int>(made.size()) - 1))],
              1);
  }
  for (auto [s, t] : graph.edges)
    if (s != t)
      agedge(g, made[static_cast<std::size_t>(s)], made[static_cast<std::size_t>(t)], nullptr, 1);
}

// Rows keep dot's ranks; within a row the order and rough spacing of dot's x
// positions, moved onto the grid and never closer than one box apart.
void PlaceOnGrid(const LayoutGraph& graph, const std::vector<double>& xs, LayoutResult& result,
                 const LayoutOptions& options) {
  const int g = std::max(options.gridSize, 1);
  int maxWidth = 0;
  int maxHeight = 0;
  for (Point s : graph.sizes) {
    maxWidth = std::max(maxWidth, s.x);
    maxHeight = std::max(maxHeight, s.y);
  }
  const int columnPitch = RoundUp(BoxWidth({maxWidth, 0}), g);
  const int rowPitch = RoundUp(maxHeight + 66, g);
  const int margin = RoundUp(maxHeight / 2 + 50, g);
  std::map<int, std::vector<std::size_t>> rows;
  for (std::size_t i = 0; i < xs.size(); ++i) rows[result.rows[i]].push_back(i);
  const double minX = xs.empty() ? 0 : *std::min_element(xs.begin(), xs.end());
  result.centres.assign(xs.size(), {});
  for (auto& [row, members] : rows) {
    std::ranges::sort(members, [&](std::size_t a, std::size_t b) { return xs[a] < xs[b]; });
    int previous = margin - columnPitch;
    for (std::size_t i : members) {
      const int x = RoundNearest(margin + static_cast<int>((xs[i] - minX) * kUnitsPerPoint), g);
      previous = std::max(x, previous + columnPitch);
      result.centres[i] = {previous, -(margin + row * rowPitch)};
    }
  }
}

LayoutResult RunDot(const LayoutGraph& graph, const LayoutOptions& options) {
  LayoutResult result;
  std::lock_guard lock(GraphvizMutex());
  DotGraph dot;
  std::vector<Agnode_t*> made;
  BuildDot(graph, dot.Graph(), made);
  if (!dot.Layout()) {
    result.error = "The layout program could not arrange this level.";
    return result;
  }
  std::vector<double> xs(made.size());
  result.rows.assign(made.size(), 0);
  int minRank = 0;
  for (std::size_t i = 0; i < made.size(); ++i) {
    // Box centre, less half the text column: where the node itself is centred.
    xs[i] = ND_coord(made[i]).x - (kTextColumnRight + 5) / 2.0 / kUnitsPerPoint;
    result.rows[i] = ND_rank(made[i]);
    minRank = i == 0 ? result.rows[i] : std::min(minRank, result.rows[i]);
  }
  for (int& r : result.rows) r -= minRank;
  PlaceOnGrid(graph, xs, result, options);
  result.ok = true;
  return result;
}

bool HasIncomingWithin(const CNode& node, const std::unordered_map<const CNode*, int>& index) {
  return std::ranges::any_of(node.IncomingArrows(),
                             [&](const CArrow* a) { return index.contains(a->Source()); });
}

}  // namespace

LayoutGraph LevelLayoutGraph(const CWorkflowDoc& doc, std::vector<CNode*>& nodes) {
  nodes = doc.LevelNodes();
  LayoutGraph graph;
  std::unordered_map<const CNode*, int> index;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    index[nodes[i]] = static_cast<int>(i);
    graph.sizes.push_back({nodes[i]->GetRect().Width(), nodes[i]->GetRect().Height()});
  }
  for (std::size_t i = 0; i < nodes.size(); ++i)
    for (const CArrow* a : nodes[i]->OutgoingArrows())
      if (auto t = index.find(a->Target()); t != index.end())
        graph.edges.emplace_back(static_cast<int>(i), t->second);
  auto find = [&](auto pred) {
    auto it = std::ranges::find_if(nodes, pred);
    return it == nodes.end() ? -1 : static_cast<int>(it - nodes.begin());
  };
  int start = doc.StartNode() && index.contains(doc.StartNode()) ? index[doc.StartNode()] : -1;
  if (start < 0) start = find([](const CNode* n) { return n->IsClusterStartNode(); });
  if (start < 0) start = find([&](const CNode* n) { return !HasIncomingWithin(*n, index); });
  graph.start = std::max(start, 0);
  return graph;
}

LayoutResult ComputeLayeredLayout(const LayoutGraph& graph, const LayoutOptions& options) {
  if (graph.sizes.empty()) return {true, {}, {}, {}};
  return RunDot(graph, options);
}

bool ApplyLayout(CWorkflowDoc& doc, const std::vector<CNode*>& nodes, const LayoutResult& result) {
  if (!result.ok || result.centres.size() != nodes.size()) return false;
  bool moved = false;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const Rect place = RectCentredAt(nodes[i]->GetRect(), result.centres[i]);
    moved = moved || place != nodes[i]->GetRect();
    doc.SetNodeRect(*nodes[i], place);
  }
  doc.UpdateAllArrows();
  return moved;
}

bool ArrangeAsLayers(CWorkflowDoc& doc, const LayoutOptions& options, std::string* error) {
  std::vector<CNode*> nodes;
  const LayoutResult result = ComputeLayeredLayout(LevelLayoutGraph(doc, nodes), options);
  if (!result.ok && error) *error = result.error;
  return ApplyLayout(doc, nodes, result);
}

// ---- The layout on a thread of its own ----

struct LayeredLayoutTask::State {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  LayoutResult result;
};

LayeredLayoutTask::LayeredLayoutTask(LayoutGraph graph, LayoutOptions options)
    : state_(std::make_shared<State>()) {
  std::thread([state = state_, graph = std::move(graph), options] {
    LayoutResult result = ComputeLayeredLayout(graph, options);
    std::lock_guard lock(state->mutex);
    state->result = std::move(result);
    state->finished = true;
    state->done.notify_all();
  }).detach();
}

LayeredLayoutTask::~LayeredLayoutTask() = default;

bool LayeredLayoutTask::WaitFor(std::chrono::milliseconds wait) {
  std::unique_lock lock(state_->mutex);
  return state_->done.wait_for(lock, wait, [this] { return state_->finished; });
}

LayoutResult LayeredLayoutTask::Take() {
  std::lock_guard lock(state_->mutex);
  return std::move(state_->result);
}

// ---- Crossings ----

namespace {

long long Cross(Point o, Point a, Point b) {
  return static_cast<long long>(a.x - o.x) * (b.y - o.y) -
         static_cast<long long>(a.y - o.y) * (b.x - o.x);
}

bool SegmentsCross(Point a, Point b, Point c, Point d) {
  const long long d1 = Cross(c, d, a);
  const long long d2 = Cross(c, d, b);
  const long long d3 = Cross(a, b, c);
  const long long d4 = Cross(a, b, d);
  return ((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0));
}

}  // namespace

int CountArrowCrossings(const CWorkflowDoc& doc) {
  std::vector<const CArrow*> arrows;
  for (const CNode* node : doc.LevelNodes())
    for (const CArrow* a : node->OutgoingArrows())
      if (a->Target()->BelongsToCluster() == doc.Level()) arrows.push_back(a);
  int crossings = 0;
  for (std::size_t i = 0; i < arrows.size(); ++i)
    for (std::size_t j = i + 1; j < arrows.size(); ++j) {
      const CArrow* a = arrows[i];
      const CArrow* b = arrows[j];
      if (a->Source() == b->Source() || a->Source() == b->Target() ||
          a->Target() == b->Source() || a->Target() == b->Target())
        continue;
      if (SegmentsCross(a->LineStart(), a->LineEnd(), b->LineStart(), b->LineEnd())) ++crossings;
    }
  return crossings;
}

}  // namespace velk
