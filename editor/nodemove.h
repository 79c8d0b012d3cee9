#pragma once
// Moving nodes on the drawing: grid snapping, pushing overlapped neighbours aside,
// and keeping the nodes' arrows in place. Dragging, alignment and the grid
// commands all move nodes through these functions.

#include <unordered_set>
#include <vector>

#include "model/geometry.h"

namespace velk {

class CWorkflowDoc;
class CNode;

struct GridSettings {
  int size = 50;          // "GridSize"
  bool magnetic = false;  // "GridMagnetic": moved nodes snap their centre to the grid
};

// Direction in which a moved node pushes a node it would overlap. FromMove picks
// it from the move itself (left, else up... see MoveNode).
enum class PushDirection : int { None = 0, Left = 1, Up = 2, Right = 3, Down = 4, FromMove = 5 };

// (dx, dy) changed so that the centre of `rect` moved by it lands on the nearest
// grid point; ties go right and down.
Point SnapDelta(const Rect& rect, int dx, int dy, int gridSize);

// Nodes moving together: an arrow between two of them keeps its shape and is only
// translated, which is what makes dragging large selections cheap.
using NodeGroup = std::unordered_set<const CNode*>;

// Moves `node` by (dx, dy), snapped when the grid is magnetic, after pushing aside
// the first other node of its level that the moved rectangle would overlap (not
// with PushDirection::None). Returns the distance actually moved.
Point MoveNode(CWorkflowDoc& doc, CNode& node, int dx, int dy, PushDirection push,
               const GridSettings& grid, const NodeGroup& group = {});

// Moves every node of `nodes` by (dx, dy) without pushing, each snapped on its own
// when the grid is magnetic. Arrows between two moved nodes that ended up moved by
// different distances are recomputed, so no arrow is left pointing at an old place.
// Returns whether any node moved.
bool MoveNodes(CWorkflowDoc& doc, const std::vector<CNode*>& nodes, int dx, int dy,
               const GridSettings& grid);

enum class KeyDirection { Left, Right, Up, Down };

// One press of an arrow key: `nodes` move one grid step, snapped when the grid is
// magnetic; `fine` (SHIFT) moves them one screen pixel (`unitsPerPixel` logical
// units, at least one) and never snaps, which would undo so small a step.
// Returns whether any node moved.
bool NudgeNodes(CWorkflowDoc& doc, const std::vector<CNode*>& nodes, KeyDirection direction,
                bool fine, const GridSettings& grid, double unitsPerPixel);

}  // namespace velk
