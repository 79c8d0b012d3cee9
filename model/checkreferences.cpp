#include "model/checkreferences.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <unordered_map>
#include <utility>

#include "model/workflowdoc.h"

namespace velk {

namespace {

// The strongly connected parts of the arrow graph (Tarjan's algorithm without
// recursion). Parts are numbered as they complete, so an arrow between two
// parts always leads from a higher number to a lower one.
class Parts {
 public:
  explicit Parts(const std::vector<std::vector<int>>& next)
      : next_(next), part_(next.size(), -1), order_(next.size(), -1), low_(next.size(), 0) {
    for (std::size_t v = 0; v < next.size(); ++v)
      if (order_[v] < 0) Walk(static_cast<int>(v));
  }
  int Of(int v) const { return part_[static_cast<std::size_t>(v)]; }
  int Count() const { return count_; }
  // Whether the part of `v` holds a loop: more than one node, or an arrow onto itself.
  bool Loops(int v) const {
    const std::size_t i = static_cast<std::size_t>(v);
    return size_[static_cast<std::size_t>(part_[i])] > 1 ||
           std::ranges::find(next_[i], v) != next_[i].end();
  }

 private:
  void Walk(int root) {
    std::vector<std::pair<int, std::size_t>> path{{root, 0}};
    Enter(root);
    while (!path.empty()) {
      auto& [v, i] = path.back();
      const std::vector<int>& out = next_[static_cast<std::size_t>(v)];
      if (i < out.size()) {
        const int t = out[i++];
        if (order_[static_cast<std::size_t>(t)] < 0) {
          Enter(t);
          path.emplace_back(t, 0);
        } else if (part_[static_cast<std::size_t>(t)] < 0) {
          Lower(v, order_[static_cast<std::size_t>(t)]);
        }
        continue;
      }
      const int done = v;
      path.pop_back();
      if (!path.empty()) Lower(path.back().first, low_[static_cast<std::size_t>(done)]);
      if (low_[static_cast<std::size_t>(done)] == order_[static_cast<std::size_t>(done)])
        Close(done);
    }
  }
  void Enter(int v) {
    order_[static_cast<std::size_t>(v)] = low_[static_cast<std::size_t>(v)] = counter_++;
    stack_.push_back(v);
  }
  void Lower(int v, int to) {
    int& low = low_[static_cast<std::size_t>(v)];
    low = std::min(low, to);
  }
  void Close(int head) {
    int size = 0;
    for (int v = -1; v != head; ++size) {
      v = stack_.back();
      stack_.pop_back();
      part_[static_cast<std::size_t>(v)] = count_;
    }
    size_.push_back(size);
    ++count_;
  }

  const std::vector<std::vector<int>>& next_;
  std::vector<int> part_, order_, low_, stack_, size_;
  int counter_ = 0;
  int count_ = 0;
};

struct Reference {
  int from;  // the referenced node's part
  int to;    // the referencing node's part
  std::size_t node;
};

// Answers the references of up to 64 referenced parts in one pass over the
// parts between them: each referenced part gets a bit, and bits flow along the
// arrows from higher parts to lower ones.
void Answer(std::span<const Reference> batch, const std::vector<std::vector<int>>& partNext,
            std::vector<std::uint64_t>& reach, std::vector<char>& reached) {
  int high = batch.front().from, low = high;
  for (const Reference& r : batch) low = std::min(low, r.to);
  for (int p = low; p <= high; ++p) reach[static_cast<std::size_t>(p)] = 0;
  std::vector<std::uint64_t> bit(batch.size());
  for (std::size_t j = 0, b = 0; j < batch.size(); ++j) {
    if (j > 0 && batch[j].from != batch[j - 1].from) ++b;
    bit[j] = std::uint64_t{1} << b;
    reach[static_cast<std::size_t>(batch[j].from)] |= bit[j];
  }
  for (int p = high; p > low; --p)
    if (const std::uint64_t bits = reach[static_cast<std::size_t>(p)])
      for (int q : partNext[static_cast<std::size_t>(p)])
        if (q >= low) reach[static_cast<std::size_t>(q)] |= bits;
  for (std::size_t j = 0; j < batch.size(); ++j)
    if (reach[static_cast<std::size_t>(batch[j].to)] & bit[j]) reached[batch[j].node] = 1;
}

}  // namespace

std::vector<const CNode*> UnreachableReferences(const CWorkflowDoc& doc) {
  const auto all = doc.AllNodes();
  if (std::ranges::none_of(
          all, [](const CNode* n) { return n->Kind() == NodeKind::Extern && n->ReferencedNode(); }))
    return {};
  const std::vector<const CNode*> nodes(all.begin(), all.end());
  std::unordered_map<const CNode*, int> index;
  index.reserve(nodes.size());
  for (std::size_t i = 0; i < nodes.size(); ++i) index.emplace(nodes[i], static_cast<int>(i));
  std::vector<std::vector<int>> next(nodes.size());
  for (std::size_t i = 0; i < nodes.size(); ++i)
    for (const CArrow* a : nodes[i]->OutgoingArrows())
      if (auto t = index.find(a->Target()); t != index.end()) next[i].push_back(t->second);
  const Parts parts(next);
  std::vector<char> reached(nodes.size(), 1);
  std::vector<Reference> open;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    const CNode* referenced = nodes[i]->ReferencedNode();
    if (nodes[i]->Kind() != NodeKind::Extern || !referenced) continue;
    auto q = index.find(referenced);
    if (q == index.end()) continue;
    const int from = parts.Of(q->second), to = parts.Of(static_cast<int>(i));
    if (from == to)  // the same part: reached unless it is the node itself without a loop
      reached[i] = q->second != static_cast<int>(i) || parts.Loops(q->second);
    else if (from < to)  // arrows only lead to lower parts
      reached[i] = 0;
    else
      open.push_back({from, to, i}), reached[i] = 0;
  }
  std::vector<std::vector<int>> partNext(static_cast<std::size_t>(parts.Count()));
  for (std::size_t v = 0; v < next.size(); ++v)
    for (int t : next[v])
      if (parts.Of(t) != parts.Of(static_cast<int>(v)))
        partNext[static_cast<std::size_t>(parts.Of(static_cast<int>(v)))].push_back(parts.Of(t));
  // Neighbouring referenced parts share their pass.
  std::ranges::sort(open, [](const Reference& a, const Reference& b) { return a.from > b.from; });
  std::vector<std::uint64_t> reach(partNext.size(), 0);
  for (std::size_t at = 0, end = 0; at < open.size(); at = end) {
    for (int parts64 = 0; end < open.size(); ++end) {
      if (end == at || open[end].from != open[end - 1].from) ++parts64;
      if (parts64 > 64) break;
    }
    Answer(std::span<const Reference>(open).subspan(at, end - at), partNext, reach, reached);
  }
  std::vector<const CNode*> failing;
  for (std::size_t i = 0; i < nodes.size(); ++i)
    if (!reached[i]) failing.push_back(nodes[i]);
  return failing;
}

}  // namespace velk
