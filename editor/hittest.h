#pragma once
// What lies under a point of the drawing, in logical units.

#include <vector>

#include "model/geometry.h"

namespace velk {

class CArrow;
class CNode;
class CWorkflowDoc;

// Arrows are thin: a point counts as on the line from `start` to `end` when it lies
// within the line's bounding box (widened to at least 18 units across for nearly
// straight lines) and less than 16 units from the line.
bool IsPointOnArrow(Point start, Point end, Point p);

// The first node of the level, in level order, whose rectangle holds `p`.
CNode* NodeAt(const std::vector<CNode*>& levelNodes, Point p);
// The first arrow leaving a level node, in level order, that `p` lies on.
CArrow* ArrowAt(const std::vector<CNode*>& levelNodes, Point p);

// The rectangle spanned by two corner points, in either order.
Rect RectFromCorners(Point a, Point b);
// The level nodes whose rectangles intersect `band`.
std::vector<CNode*> NodesIntersecting(const std::vector<CNode*>& levelNodes, const Rect& band);

// Where an insert tool puts a new node for a click at `p`: the 34-unit square
// reaching 16 units left and above the point and 18 units right and below.
Rect InsertRect(Point p);

// Whether a selected node overlaps another node of the level (the pointer then
// shows that the selection may not be dropped there).
bool SelectionOverlapsAnotherNode(const CWorkflowDoc& doc);

}  // namespace velk
