#include "editor/layeredlayout.h"

#include <dlfcn.h>
#include <graphviz/gvc.h>
#include <graphviz/gvplugin.h>

#include <algorithm>
#include <condition_variable>
#include <limits>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <unordered_map>

#include "editor/autoarrange.h"
#include "editor/drawinggeometry.h"
#include "editor/layeredplacement.h"
#include "model/workflowdoc.h"

namespace velk {

namespace {

// Levels up to this size get dot's full effort against crossings.
constexpr std::size_t kUnboundedNodes = 300;

// Beyond these dot takes seconds even with its limits, and soon minutes
// (measured on shapes of 30 to 4,000 tasks, see bench/README.md): its nodes,
// the nodes it adds for every row an arrow passes, and the widest row with
// those, which its crossing reduction sweeps again and again.
constexpr std::size_t kDotNodes = 3000;
constexpr std::size_t kDotPassedRows = 2500;
constexpr std::size_t kDotWidestRow = 60;
// Should dot still take longer on a level that passed these, the level gets
// our rows instead; dot finishes unseen on its thread and no other layout
// waits for it.
constexpr std::chrono::milliseconds kDotPatience{3000};

// Logical units are 0.01 inch, Graphviz works in inches and points.
constexpr double kUnitsPerPoint = 100.0 / 72.0;

// A label's characters at the drawing's line height of 10 units: its widest
// common glyphs are about this wide, so the estimate errs on the roomy side.
constexpr int kLabelCharWidth = 6;
// Labels longer than this are clipped by the drawing rather than given room.
constexpr int kWidestLabel = 400;
// Free space around a label, and a label's height with its box.
constexpr int kLabelMargin = 10;
constexpr int kLabelHeight = 12;

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

// The text column beside every node belongs to its box, so neighbours in a
// row leave room for it.
int BoxWidth(Point size) {
  return size.x + kTextColumnRight + 5;
}

// How far apart rows and columns are on the grid.
struct Pitches {
  int box = 0;  // what a node with its texts needs
  int column = 0;
  int row = 0;
  int margin = 0;
};

// Room for every text a node can show and, when the level has condition
// labels, for a label in the middle of each gap: a label hangs from the middle
// of its arrow, so the gap holds the texts below the upper node, the label and
// the texts above the lower node, and two arrows leaving one node side by side
// (their middles half a column apart) keep their labels apart.
Pitches PitchesOf(const LayoutGraph& graph, int grid) {
  int maxWidth = 0;
  int maxHeight = 0;
  for (Point s : graph.sizes) {
    maxWidth = std::max(maxWidth, s.x);
    maxHeight = std::max(maxHeight, s.y);
  }
  int label = 0;
  for (int w : graph.labelWidths) label = std::max(label, std::min(w, kWidestLabel));
  const TextOffsets texts = ComputeTextOffsets({true, true, true, true, true});
  const int above = std::max(0, -texts.upper);
  const int below = std::max(0, -texts.lower);
  int gap = 66;
  if (label > 0) gap = std::max(gap, 2 * std::max(below, above + kLabelHeight) + 2 * kLabelMargin);
  Pitches p;
  p.box = RoundUp(BoxWidth({maxWidth, 0}), grid);
  p.column = std::max(p.box, RoundUp(label > 0 ? 2 * (label + kLabelMargin) : 0, grid));
  p.row = RoundUp(maxHeight + gap, grid);
  p.margin = RoundUp(maxHeight / 2 + 50, grid);
  return p;
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
    agattr(g, AGRAPH, const_cast<char*>("searchsize"), const_cast<char*>("10"));
  }
  agattr(g, AGNODE, const_cast<char*>("shape"), const_cast<char*>("box"));
  agattr(g, AGNODE, const_cast<char*>("fixedsize"), const_cast<char*>("true"));
  agattr(g, AGNODE, const_cast<char*>("label"), const_cast<char*>(""));
  agattr(g, AGNODE, const_cast<char*>("width"), const_cast<char*>("1"));
  agattr(g, AGNODE, const_cast<char*>("height"), const_cast<char*>("0.34"));
  made.assign(graph.sizes.size(), nullptr);
  // Made in walk order from the start: dot breaks cycles depth-first in the
  // order nodes were made, so the arrows leaving the start point down and the
  // arrows closing a loop back to it point up.
  for (int i : WalkOrder(graph)) {
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

// Rows keep the placement's rows; within a row its order and rough spacing,
// moved onto the grid and never closer than one column apart.
LayoutResult PlaceOnGrid(const LayoutGraph& graph, const RowPlacement& placed,
                         const LayoutOptions& options) {
  const int g = std::max(options.gridSize, 1);
  const Pitches pitch = PitchesOf(graph, g);
  const std::vector<double>& xs = placed.xs;
  LayoutResult result;
  result.rows = placed.rows;
  std::map<int, std::vector<std::size_t>> rows;
  for (std::size_t i = 0; i < xs.size(); ++i) rows[result.rows[i]].push_back(i);
  const double minX = xs.empty() ? 0 : *std::min_element(xs.begin(), xs.end());
  result.centres.assign(xs.size(), {});
  for (auto& [row, members] : rows) {
    std::ranges::sort(members, [&](std::size_t a, std::size_t b) { return xs[a] < xs[b]; });
    int previous = pitch.margin - pitch.column;
    for (std::size_t i : members) {
      const int x = RoundNearest(pitch.margin + static_cast<int>(xs[i] - minX), g);
      previous = std::max(x, previous + pitch.column);
      result.centres[i] = {previous, -(pitch.margin + row * pitch.row)};
    }
  }
  result.ok = true;
  return result;
}

// The label width of an edge; a graph made without labels has none.
int LabelWidth(const LayoutGraph& graph, std::size_t edge) {
  return edge < graph.labelWidths.size() ? std::min(graph.labelWidths[edge], kWidestLabel) : 0;
}

// Where the drawing hangs the label of the arrow from `s` to `t` (the middle
// of the line between two boxes of one size is the middle of their centres).
Rect LabelBox(const LayoutGraph& graph, const LayoutResult& placed, std::size_t edge) {
  const auto [s, t] = graph.edges[edge];
  const Point a = placed.centres[static_cast<std::size_t>(s)];
  const Point b = placed.centres[static_cast<std::size_t>(t)];
  return DescriptionBox(
      DescriptionTextRect(DescriptionAnchor({a, b}), LabelWidth(graph, edge), kLabelHeight - 2));
}

// An arrow that passes rows on its way hangs its label in one of them. Where it
// would cover a node there, the level opens up beside that node: every node on
// the label's side of it moves further out, in all rows alike, so that each row
// keeps its order, until the label clears the node's texts.
void ClearPassingLabels(const LayoutGraph& graph, int grid, int margin, LayoutResult& placed) {
  // Each such label is held against every node: on huge levels, labels of
  // long arrows stay where they fall.
  constexpr std::size_t kMostChecks = 4'000'000;
  std::size_t passing = 0;
  for (std::size_t e = 0; e < graph.edges.size(); ++e)
    if (LabelWidth(graph, e) > 0) ++passing;
  if (passing * placed.centres.size() > kMostChecks) return;
  const TextOffsets texts = ComputeTextOffsets({true, true, true, true, true});
  for (std::size_t e = 0; e < graph.edges.size(); ++e) {
    const auto [s, t] = graph.edges[e];
    const int from = placed.rows[static_cast<std::size_t>(s)];
    const int to = placed.rows[static_cast<std::size_t>(t)];
    if (LabelWidth(graph, e) == 0 || std::abs(from - to) < 2) continue;
    for (std::size_t n = 0; n < placed.centres.size(); ++n) {
      const int row = placed.rows[n];
      if (row <= std::min(from, to) || row >= std::max(from, to)) continue;
      const Rect label = LabelBox(graph, placed, e);
      const Point c = placed.centres[n];
      const Rect area =
          NodeTextArea(RectCentredAt({0, 0, graph.sizes[n].x, -graph.sizes[n].y}, c), texts);
      if (!area.Intersects(label)) continue;
      const bool right = label.Center().x >= c.x;
      // The label moves by half of what its arrow's moving ends move.
      const int ends = (right ? placed.centres[static_cast<std::size_t>(s)].x > c.x
                              : placed.centres[static_cast<std::size_t>(s)].x < c.x) +
                       (right ? placed.centres[static_cast<std::size_t>(t)].x > c.x
                              : placed.centres[static_cast<std::size_t>(t)].x < c.x);
      if (ends == 0) continue;
      const int gap = right ? area.right - label.left : label.right - area.left;
      const int dx = RoundUp(2 * (gap + kLabelMargin) / ends, grid);
      for (Point& p : placed.centres)
        if (right ? p.x > c.x : p.x < c.x) p.x += right ? dx : -dx;
    }
  }
  int left = std::numeric_limits<int>::max();
  for (const Point& c : placed.centres) left = std::min(left, c.x);
  if (left < margin)
    for (Point& c : placed.centres) c.x += RoundUp(margin - left, grid);
}

// Dot spaces the boxes for their texts; wider columns for labels stretch its
// rows evenly (`stretch`), which keeps its crossings as they are.
std::optional<RowPlacement> RunDot(const LayoutGraph& graph, double stretch) {
  DotGraph dot;
  std::vector<Agnode_t*> made;
  BuildDot(graph, dot.Graph(), made);
  if (!dot.Layout()) return std::nullopt;
  RowPlacement placed;
  placed.xs.resize(made.size());
  placed.rows.assign(made.size(), 0);
  int minRank = 0;
  for (std::size_t i = 0; i < made.size(); ++i) {
    // Box centre, less half the text column: where the node itself is centred.
    placed.xs[i] = (ND_coord(made[i]).x * kUnitsPerPoint - (kTextColumnRight + 5) / 2.0) * stretch;
    placed.rows[i] = ND_rank(made[i]);
    minRank = i == 0 ? placed.rows[i] : std::min(minRank, placed.rows[i]);
  }
  for (int& r : placed.rows) r -= minRank;
  placed.ok = true;
  return placed;
}

bool SuitsDot(const LevelShape& shape) {
  return shape.nodes <= kDotNodes && shape.passedRows <= kDotPassedRows &&
         shape.widestRow <= kDotWidestRow;
}

// Dot's placement of `graph` if it comes within kDotPatience and no earlier
// dot is still at work.
std::optional<RowPlacement> DotInTime(const LayoutGraph& graph, double stretch) {
  // Graphviz keeps global state: one dot at a time in the whole program.
  static std::atomic<bool> running = false;
  if (running.exchange(true)) return std::nullopt;
  struct Shared {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    std::optional<RowPlacement> placed;
  };
  auto shared = std::make_shared<Shared>();
  std::thread([shared, graph, stretch] {
    std::optional<RowPlacement> placed = RunDot(graph, stretch);
    running = false;
    std::lock_guard lock(shared->mutex);
    shared->placed = std::move(placed);
    shared->finished = true;
    shared->done.notify_all();
  }).detach();
  std::unique_lock lock(shared->mutex);
  if (!shared->done.wait_for(lock, kDotPatience, [&] { return shared->finished; }))
    return std::nullopt;
  return std::move(shared->placed);
}

bool HasIncomingWithin(const CNode& node, const std::unordered_map<const CNode*, int>& index) {
  return std::ranges::any_of(node.IncomingArrows(),
                             [&](const CArrow* a) { return index.contains(a->Source()); });
}

}  // namespace

int EstimatedLabelWidth(const std::string& condition) {
  // Characters, not bytes: a UTF-8 character's later bytes start with bits 10.
  const auto characters = std::ranges::count_if(
      condition, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
  return static_cast<int>(characters) * kLabelCharWidth;
}

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
      if (auto t = index.find(a->Target()); t != index.end()) {
        graph.edges.emplace_back(static_cast<int>(i), t->second);
        graph.labelWidths.push_back(EstimatedLabelWidth(a->Condition()));
      }
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

LayoutResult ComputeLayeredLayout(const LayoutGraph& graph, const LayoutOptions& options,
                                  const std::atomic<bool>* stop) {
  if (graph.sizes.empty()) return {true, LayoutEngine::Rows, {}, {}, {}};
  std::vector<int> rows = LongestPathRows(graph);
  const int grid = std::max(options.gridSize, 1);
  const Pitches pitch = PitchesOf(graph, grid);
  std::optional<RowPlacement> placed;
  if (options.dot && SuitsDot(ShapeOf(graph, rows)))
    placed = DotInTime(graph, static_cast<double>(pitch.column) / pitch.box);
  const LayoutEngine engine = placed ? LayoutEngine::Dot : LayoutEngine::Rows;
  if (!placed) placed = PlaceInRows(graph, std::move(rows), pitch.column, stop);
  if (!placed->ok) return {};
  LayoutResult result = PlaceOnGrid(graph, *placed, options);
  result.engine = engine;
  ClearPassingLabels(graph, grid, pitch.margin, result);
  return result;
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
  std::atomic<bool> stop = false;
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  LayoutResult result;
};

LayeredLayoutTask::LayeredLayoutTask(LayoutGraph graph, LayoutOptions options)
    : state_(std::make_shared<State>()) {
  std::thread([state = state_, graph = std::move(graph), options] {
    LayoutResult result = ComputeLayeredLayout(graph, options, &state->stop);
    std::lock_guard lock(state->mutex);
    state->result = std::move(result);
    state->finished = true;
    state->done.notify_all();
  }).detach();
}

LayeredLayoutTask::~LayeredLayoutTask() {
  state_->stop = true;
}

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
