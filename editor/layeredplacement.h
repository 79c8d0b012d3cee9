#pragma once
// Rows and rough x positions of a level without Graphviz, for levels too large
// or too dense for dot to place in moments: rows by the longest path once loops
// are cut, each row ordered by a few barycentre sweeps, every node near its
// parents. Time grows with nodes plus arrows, never with how far arrows jump.

#include <atomic>
#include <cstddef>
#include <vector>

namespace velk {

struct LayoutGraph;

struct RowPlacement {
  bool ok = false;         // false when stopped before the end
  std::vector<int> rows;   // per node, 0 for the first row
  std::vector<double> xs;  // per node: centre x in logical units, strictly rising along a row
};

// Node indices from the start breadth-first, then from every node not met yet.
std::vector<int> WalkOrder(const LayoutGraph& graph);

// The row of every node: the start and the nodes no arrow reaches head the
// first row; an arrow goes down by at least one row unless it closes a loop
// (cut as a walk from the start meets it).
std::vector<int> LongestPathRows(const LayoutGraph& graph);

// What makes dot slow on a level: its nodes, the nodes dot adds for every row
// an arrow passes on its way, and the widest row with those.
struct LevelShape {
  std::size_t nodes = 0;
  std::size_t passedRows = 0;
  std::size_t widestRow = 0;
};
LevelShape ShapeOf(const LayoutGraph& graph, const std::vector<int>& rows);

// Orders the rows and spaces each by `pitch`. Stops early (ok false) once
// `stop` is set.
RowPlacement PlaceInRows(const LayoutGraph& graph, std::vector<int> rows, int pitch,
                         const std::atomic<bool>* stop = nullptr);

}  // namespace velk
