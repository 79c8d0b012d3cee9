#pragma once
// "Autoarrange Nodes": the nodes of one level in layers from a root, one row
// per layer, each connected part below the ones before it.

#include <vector>

#include "model/geometry.h"

namespace velk {

class CWorkflowDoc;
class CNode;

struct ArrangeSpacing {
  int gridSize = 50;  // "GridSize"
  int factor = 4;     // "AutoArrangeFactor"
};

// Where each node of `nodes` goes: a rectangle of its own size whose centre is
// (row x factor x grid, -(layer x factor x grid)). Layer 1 holds the root: the
// first cluster start node, else the first node without incoming arrows, else
// the first node. Every node reached from it lies one layer below its deepest
// predecessor, so a node reached again by a longer path goes deeper; arrows
// that lead back to a node on the way from the root (loops, found depth-first
// in arrow order) do not count. Within a layer, nodes take rows in the order
// their last predecessor was placed. The next part starts from the first node
// not placed yet without incoming arrows, else the first not placed. Only
// arrows between nodes of `nodes` count; linear in nodes and arrows.
std::vector<Rect> AutoArrangePlaces(const std::vector<CNode*>& nodes,
                                    const ArrangeSpacing& spacing);

// Arranges the level `doc` shows and recomputes every arrow; false when no node
// moved (an empty level, or one already arranged).
bool AutoArrange(CWorkflowDoc& doc, const ArrangeSpacing& spacing);

// Rectangle of `size` (width and height of `like`) centred on `centre`.
Rect RectCentredAt(const Rect& like, Point centre);

}  // namespace velk
