#include "editor/autoarrange.h"

#include <algorithm>
#include <cstddef>
#include <span>
#include <unordered_map>
#include <utility>

#include "model/workflowdoc.h"

namespace velk {

namespace {

// Rows already given out per layer. The table grows with the deepest layer; a
// new component starts one row below everything so far, also in layers not
// reached yet (they start at the number of components begun).
class LayerCounters {
 public:
  int Next(std::size_t layer) {
    if (layer >= counts_.size()) counts_.resize(layer + 1, componentsBegun_);
    return ++counts_[layer];
  }
  void StartComponent() {
    for (int& c : counts_) ++c;
    ++componentsBegun_;
  }

 private:
  std::vector<int> counts_;
  int componentsBegun_ = 0;
};

struct Work {
  int layer = 0;
  int row = 0;
  bool placed = false;
};

class Arranger {
 public:
  explicit Arranger(const std::vector<CNode*>& nodes)
      : work_(nodes.size()),
        first_(nodes.size() + 1, 0),
        hasIncoming_(nodes.size(), 0),
        finish_(nodes.size(), kUnseen),
        waiting_(nodes.size(), 0) {
    std::unordered_map<const CNode*, std::size_t> index;
    index.reserve(nodes.size());
    for (std::size_t i = 0; i < nodes.size(); ++i) index[nodes[i]] = i;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      for (const CArrow* a : nodes[i]->OutgoingArrows()) {
        auto t = index.find(a->Target());
        if (t == index.end()) continue;
        hasIncoming_[t->second] = 1;
        // A loop on the node itself says nothing about where it goes.
        if (t->second != i) targets_.push_back(t->second);
      }
      first_[i + 1] = targets_.size();
    }
    root_ = FirstRoot(nodes);
  }

  void Run() {
    for (bool first = true; root_ < work_.size(); first = false) {
      if (!first) counters_.StartComponent();
      Place(root_);
      root_ = NextRoot();
    }
  }
  const Work& Of(std::size_t i) const { return work_[i]; }

 private:
  static constexpr int kUnseen = -1;
  static constexpr int kOpen = -2;

  std::size_t FirstRoot(const std::vector<CNode*>& nodes) const {
    for (std::size_t i = 0; i < nodes.size(); ++i)
      if (nodes[i]->IsClusterStartNode()) return i;
    for (std::size_t i = 0; i < nodes.size(); ++i)
      if (!hasIncoming_[i]) return i;
    return 0;
  }
  // The first unplaced node without incoming arrows, else the first unplaced
  // one. Placed nodes stay placed, so both searches resume where they stopped.
  std::size_t NextRoot() {
    while (sourceCursor_ < work_.size() &&
           (work_[sourceCursor_].placed || hasIncoming_[sourceCursor_]))
      ++sourceCursor_;
    if (sourceCursor_ < work_.size()) return sourceCursor_;
    while (anyCursor_ < work_.size() && work_[anyCursor_].placed) ++anyCursor_;
    return anyCursor_;
  }
  // The targets of node x's arrows within the level, in arrow order.
  std::span<const std::size_t> Next(std::size_t x) const {
    return std::span(targets_).subspan(first_[x], first_[x + 1] - first_[x]);
  }
  // An arrow between two nodes of one component that closes a loop leads to a
  // node finished later in the depth-first walk (one still on its way).
  bool Ahead(std::size_t from, std::size_t to) const { return finish_[to] < finish_[from]; }

  // Depth-first from `root` over the unplaced nodes, in arrow order: numbers
  // each node as it is finished and gives back the nodes reached.
  std::vector<std::size_t> Reach(std::size_t root) {
    std::vector<std::size_t> reached;
    // Each node on the way with the place of its next arrow in targets_.
    std::vector<std::pair<std::size_t, std::size_t>> stack{{root, first_[root]}};
    finish_[root] = kOpen;
    while (!stack.empty()) {
      const std::size_t x = stack.back().first;
      std::size_t& edge = stack.back().second;
      if (edge < first_[x + 1]) {
        const std::size_t t = targets_[edge++];
        if (!work_[t].placed && finish_[t] == kUnseen) {
          finish_[t] = kOpen;
          stack.emplace_back(t, first_[t]);
        }
        continue;
      }
      finish_[x] = clock_++;
      reached.push_back(x);
      stack.pop_back();
    }
    return reached;
  }

  // Every node one layer below its deepest predecessor, the arrows that close
  // a loop left out: over a topological order, rows given out in the order the
  // nodes become ready.
  void Place(std::size_t root) {
    const std::vector<std::size_t> reached = Reach(root);
    for (std::size_t x : reached)
      for (std::size_t t : Next(x))
        if (!work_[t].placed && Ahead(x, t)) ++waiting_[t];
    std::vector<std::size_t> ready{root};  // in the order the nodes became ready
    ready.reserve(reached.size());
    work_[root].layer = 1;
    for (std::size_t taken = 0; taken < ready.size(); ++taken) {
      const std::size_t x = ready[taken];
      Work& w = work_[x];
      w.placed = true;
      w.row = counters_.Next(static_cast<std::size_t>(w.layer));
      for (std::size_t t : Next(x)) {
        if (work_[t].placed || !Ahead(x, t)) continue;
        work_[t].layer = std::max(work_[t].layer, w.layer + 1);
        if (--waiting_[t] == 0) ready.push_back(t);
      }
    }
  }

  std::vector<Work> work_;
  // The targets of every node's arrows, node after node; first_[i] is where
  // node i's begin.
  std::vector<std::size_t> targets_;
  std::vector<std::size_t> first_;
  std::vector<char> hasIncoming_;
  std::vector<int> finish_;   // depth-first finishing number, or kUnseen / kOpen
  std::vector<int> waiting_;  // predecessors not placed yet
  int clock_ = 0;
  std::size_t root_ = 0;
  std::size_t sourceCursor_ = 0;
  std::size_t anyCursor_ = 0;
  LayerCounters counters_;
};

}  // namespace

Rect RectCentredAt(const Rect& like, Point centre) {
  const int w = like.Width();
  const int h = like.Height();
  const int left = centre.x - w / 2;
  const int top = centre.y + h / 2;
  return {left, top, left + w, top - h};
}

std::vector<Rect> AutoArrangePlaces(const std::vector<CNode*>& nodes,
                                    const ArrangeSpacing& spacing) {
  Arranger arranger(nodes);
  arranger.Run();
  const long step = static_cast<long>(std::max(spacing.factor, 1)) * std::max(spacing.gridSize, 1);
  std::vector<Rect> places;
  places.reserve(nodes.size());
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const Work& w = arranger.Of(i);
    const Point centre{static_cast<int>(w.row * step), static_cast<int>(-(w.layer * step))};
    places.push_back(RectCentredAt(nodes[i]->GetRect(), centre));
  }
  return places;
}

bool AutoArrange(CWorkflowDoc& doc, const ArrangeSpacing& spacing) {
  const std::vector<CNode*> nodes = doc.LevelNodes();
  if (nodes.empty()) return false;
  const std::vector<Rect> places = AutoArrangePlaces(nodes, spacing);
  bool moved = false;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    moved = moved || nodes[i]->GetRect() != places[i];
    doc.SetNodeRect(*nodes[i], places[i]);
  }
  doc.UpdateAllArrows();
  return moved;
}

}  // namespace velk
