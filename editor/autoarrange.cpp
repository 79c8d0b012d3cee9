#include "editor/autoarrange.h"

#include <algorithm>
#include <cstddef>
#include <deque>
#include <unordered_map>

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
  explicit Arranger(const std::vector<CNode*>& nodes) : nodes_(nodes), work_(nodes.size()) {
    for (std::size_t i = 0; i < nodes.size(); ++i) index_[nodes[i]] = i;
  }

  void Run() {
    std::size_t root = FirstRoot();
    for (bool first = true; root < nodes_.size(); first = false) {
      if (!first) counters_.StartComponent();
      Walk(root);
      root = NextRoot();
    }
  }
  const Work& Of(std::size_t i) const { return work_[i]; }

 private:
  bool HasIncoming(std::size_t i) const {
    for (const CArrow* a : nodes_[i]->IncomingArrows())
      if (index_.contains(a->Source())) return true;
    return false;
  }
  std::size_t FirstRoot() const {
    for (std::size_t i = 0; i < nodes_.size(); ++i)
      if (nodes_[i]->IsClusterStartNode()) return i;
    for (std::size_t i = 0; i < nodes_.size(); ++i)
      if (!HasIncoming(i)) return i;
    return 0;
  }
  std::size_t NextRoot() const {
    for (std::size_t i = 0; i < nodes_.size(); ++i)
      if (!work_[i].placed && !HasIncoming(i)) return i;
    for (std::size_t i = 0; i < nodes_.size(); ++i)
      if (!work_[i].placed) return i;
    return nodes_.size();
  }
  // Breadth-first: a node queued again before it is placed gets the layer of
  // its latest predecessor; a node is expanded once, when it is placed, which
  // keeps the queue linear in the arrows (expanding every queued copy again
  // makes it grow exponentially along chains of diamonds).
  void Walk(std::size_t root) {
    std::deque<std::size_t> queue{root};
    work_[root].layer = 1;
    while (!queue.empty()) {
      const std::size_t x = queue.front();
      queue.pop_front();
      Work& w = work_[x];
      if (w.placed) continue;
      for (const CArrow* a : nodes_[x]->OutgoingArrows()) {
        auto t = index_.find(a->Target());
        // A loop on the node itself says nothing about where it goes.
        if (t == index_.end() || t->second == x || work_[t->second].placed) continue;
        work_[t->second].layer = w.layer + 1;
        queue.push_back(t->second);
      }
      w.placed = true;
      w.row = counters_.Next(static_cast<std::size_t>(w.layer));
    }
  }

  const std::vector<CNode*>& nodes_;
  std::vector<Work> work_;
  std::unordered_map<const CNode*, std::size_t> index_;
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
