#include "editor/layeredplacement.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>
#include <utility>

#include "editor/layeredlayout.h"

namespace velk {

namespace {

// Neighbour lists of all nodes in one array: node v's are to[first[v]] up to
// to[first[v + 1]].
struct Adjacency {
  std::vector<int> first;
  std::vector<int> to;

  Adjacency(std::size_t n, const std::vector<std::pair<int, int>>& pairs) : first(n + 1, 0) {
    for (auto [s, t] : pairs) ++first[static_cast<std::size_t>(s) + 1];
    std::partial_sum(first.begin(), first.end(), first.begin());
    to.resize(pairs.size());
    std::vector<int> fill(first.begin(), first.end() - 1);
    for (auto [s, t] : pairs) to[static_cast<std::size_t>(fill[static_cast<std::size_t>(s)]++)] = t;
  }
  template <class F>
  void Each(int v, F f) const {
    for (int i = first[static_cast<std::size_t>(v)]; i < first[static_cast<std::size_t>(v) + 1];
         ++i)
      f(to[static_cast<std::size_t>(i)]);
  }
};

std::size_t Index(int v) {
  return static_cast<std::size_t>(v);
}

int StartOf(const LayoutGraph& graph) {
  const int n = static_cast<int>(graph.sizes.size());
  return n > 0 ? std::clamp(graph.start, 0, n - 1) : 0;
}

// The arrows that matter for rows: no loops onto a node itself, none into the
// start (it heads the first row whatever points back at it), none out of range.
std::vector<std::pair<int, int>> RowArrows(const LayoutGraph& graph) {
  const int n = static_cast<int>(graph.sizes.size());
  const int start = StartOf(graph);
  std::vector<std::pair<int, int>> arrows;
  arrows.reserve(graph.edges.size());
  for (auto [s, t] : graph.edges)
    if (s != t && t != start && s >= 0 && t >= 0 && s < n && t < n) arrows.emplace_back(s, t);
  return arrows;
}

// The arrows left once a depth-first walk from the start, then from every node
// not met yet, drops those that lead back onto the walk's own path.
std::vector<std::pair<int, int>> ForwardArrows(const LayoutGraph& graph) {
  const std::vector<std::pair<int, int>> arrows = RowArrows(graph);
  const std::size_t n = graph.sizes.size();
  const Adjacency next(n, arrows);
  enum : char { kNew, kOnPath, kDone };
  std::vector<char> state(n, kNew);
  std::vector<std::pair<int, int>> forward;
  forward.reserve(arrows.size());
  std::vector<std::pair<int, int>> path;  // node, next neighbour index
  auto walkFrom = [&](int root) {
    if (state[Index(root)] != kNew) return;
    state[Index(root)] = kOnPath;
    path.emplace_back(root, next.first[Index(root)]);
    while (!path.empty()) {
      auto& [v, i] = path.back();
      if (i == next.first[Index(v) + 1]) {
        state[Index(v)] = kDone;
        path.pop_back();
        continue;
      }
      const int t = next.to[Index(i++)];
      if (state[Index(t)] == kOnPath) continue;  // closes a loop
      forward.emplace_back(v, t);
      if (state[Index(t)] == kNew) {
        state[Index(t)] = kOnPath;
        path.emplace_back(t, next.first[Index(t)]);
      }
    }
  };
  if (n > 0) walkFrom(StartOf(graph));
  for (std::size_t v = 0; v < n; ++v) walkFrom(static_cast<int>(v));
  return forward;
}

// Centred index of each node in its row, so that rows of different widths compare.
std::vector<double> CentredPositions(const std::vector<std::vector<int>>& members, std::size_t n) {
  std::vector<double> pos(n, 0.0);
  for (const std::vector<int>& row : members)
    for (std::size_t i = 0; i < row.size(); ++i)
      pos[Index(row[i])] = static_cast<double>(i) - (static_cast<double>(row.size()) - 1) / 2;
  return pos;
}

// Sorts one row by the mean position of its neighbours on one side (above when
// `above`); a node without such neighbours keeps its place.
void SortRow(std::vector<int>& row, bool above, const std::vector<int>& rows, const Adjacency& near,
             std::vector<double>& pos) {
  std::vector<std::pair<double, int>> keyed;
  keyed.reserve(row.size());
  for (int v : row) {
    double sum = 0;
    int count = 0;
    near.Each(v, [&](int u) {
      if ((rows[Index(u)] < rows[Index(v)]) == above) {
        sum += pos[Index(u)];
        ++count;
      }
    });
    keyed.emplace_back(count ? sum / count : pos[Index(v)], v);
  }
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t i = 0; i < row.size(); ++i) {
    row[i] = keyed[i].second;
    pos[Index(row[i])] = static_cast<double>(i) - (static_cast<double>(row.size()) - 1) / 2;
  }
}

// Each node as near the mean x of its neighbours above as its row allows: one
// pass pushing right, one pushing left, their mean, then the spacing again.
void SpaceRow(const std::vector<int>& row, const std::vector<int>& rows, const Adjacency& near,
              double pitch, std::vector<double>& xs) {
  const std::size_t k = row.size();
  std::vector<double> wanted(k), right(k), left(k);
  for (std::size_t i = 0; i < k; ++i) {
    const int v = row[i];
    double sum = 0;
    int count = 0;
    near.Each(v, [&](int u) {
      if (rows[Index(u)] < rows[Index(v)]) {
        sum += xs[Index(u)];
        ++count;
      }
    });
    wanted[i] =
        count ? sum / count : (static_cast<double>(i) - (static_cast<double>(k) - 1) / 2) * pitch;
  }
  for (std::size_t i = 0; i < k; ++i)
    right[i] = i ? std::max(wanted[i], right[i - 1] + pitch) : wanted[i];
  for (std::size_t i = k; i-- > 0;)
    left[i] = i + 1 < k ? std::min(wanted[i], left[i + 1] - pitch) : wanted[i];
  for (std::size_t i = 0; i < k; ++i) {
    double x = (right[i] + left[i]) / 2;
    if (i) x = std::max(x, xs[Index(row[i - 1])] + pitch);
    xs[Index(row[i])] = x;
  }
}

constexpr int kSweeps = 4;

}  // namespace

std::vector<int> WalkOrder(const LayoutGraph& graph) {
  const std::size_t n = graph.sizes.size();
  std::vector<std::pair<int, int>> arrows;
  for (auto [s, t] : graph.edges)
    if (s >= 0 && t >= 0 && Index(s) < n && Index(t) < n) arrows.emplace_back(s, t);
  const Adjacency next(n, arrows);
  std::vector<char> seen(n, 0);
  std::vector<int> order;
  order.reserve(n);
  auto walkFrom = [&](int root) {
    if (seen[Index(root)]) return;
    seen[Index(root)] = 1;
    std::size_t head = order.size();
    order.push_back(root);
    for (; head < order.size(); ++head)
      next.Each(order[head], [&](int t) {
        if (!seen[Index(t)]) {
          seen[Index(t)] = 1;
          order.push_back(t);
        }
      });
  };
  if (n > 0) walkFrom(StartOf(graph));
  for (std::size_t v = 0; v < n; ++v) walkFrom(static_cast<int>(v));
  return order;
}

std::vector<int> LongestPathRows(const LayoutGraph& graph) {
  const std::size_t n = graph.sizes.size();
  const std::vector<std::pair<int, int>> forward = ForwardArrows(graph);
  const Adjacency next(n, forward);
  std::vector<int> waiting(n, 0);
  for (auto [s, t] : forward) ++waiting[Index(t)];
  std::vector<int> rows(n, 0);
  std::vector<int> ready;
  for (std::size_t v = 0; v < n; ++v)
    if (waiting[v] == 0) ready.push_back(static_cast<int>(v));
  while (!ready.empty()) {
    const int v = ready.back();
    ready.pop_back();
    next.Each(v, [&](int t) {
      rows[Index(t)] = std::max(rows[Index(t)], rows[Index(v)] + 1);
      if (--waiting[Index(t)] == 0) ready.push_back(t);
    });
  }
  return rows;
}

LevelShape ShapeOf(const LayoutGraph& graph, const std::vector<int>& rows) {
  LevelShape shape;
  shape.nodes = graph.sizes.size();
  int rowCount = 0;
  for (int r : rows) rowCount = std::max(rowCount, r + 1);
  // Nodes per row, and the rows each arrow passes as differences along the rows.
  std::vector<long long> width(Index(rowCount) + 1, 0), passing(Index(rowCount) + 1, 0);
  for (int r : rows) ++width[Index(r)];
  for (auto [s, t] : graph.edges) {
    if (s < 0 || t < 0 || Index(s) >= rows.size() || Index(t) >= rows.size()) continue;
    const int low = std::min(rows[Index(s)], rows[Index(t)]);
    const int high = std::max(rows[Index(s)], rows[Index(t)]);
    if (high - low < 2) continue;
    shape.passedRows += static_cast<std::size_t>(high - low - 1);
    ++passing[Index(low + 1)];
    --passing[Index(high)];
  }
  long long passed = 0;
  for (std::size_t r = 0; r < Index(rowCount); ++r) {
    passed += passing[r];
    shape.widestRow = std::max(shape.widestRow, static_cast<std::size_t>(width[r] + passed));
  }
  return shape;
}

RowPlacement PlaceInRows(const LayoutGraph& graph, std::vector<int> rows, int pitch,
                         const std::atomic<bool>* stop) {
  RowPlacement placed;
  const std::size_t n = graph.sizes.size();
  int rowCount = 0;
  for (int r : rows) rowCount = std::max(rowCount, r + 1);
  std::vector<std::vector<int>> members(Index(rowCount));
  for (int v : WalkOrder(graph)) members[Index(rows[Index(v)])].push_back(v);
  std::vector<std::pair<int, int>> both;
  for (auto [s, t] : graph.edges) {
    if (s < 0 || t < 0 || Index(s) >= n || Index(t) >= n || rows[Index(s)] == rows[Index(t)])
      continue;
    both.emplace_back(s, t);
    both.emplace_back(t, s);
  }
  const Adjacency near(n, both);
  std::vector<double> pos = CentredPositions(members, n);
  const auto stopped = [stop] { return stop && stop->load(std::memory_order_relaxed); };
  for (int sweep = 0; sweep < kSweeps; ++sweep) {
    if (stopped()) return placed;
    for (std::size_t r = 1; r < members.size(); ++r) SortRow(members[r], true, rows, near, pos);
    for (std::size_t r = members.size(); r-- > 1;) SortRow(members[r - 1], false, rows, near, pos);
  }
  placed.xs.assign(n, 0.0);
  for (const std::vector<int>& row : members) SpaceRow(row, rows, near, pitch, placed.xs);
  placed.rows = std::move(rows);
  placed.ok = !stopped();
  return placed;
}

}  // namespace velk
