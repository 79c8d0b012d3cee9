#include "editor/nodemove.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "model/arrow.h"
#include "model/node.h"
#include "model/workflowdoc.h"

namespace velk {

namespace {

// Remainder in [0, m), so that nodes left of or above the origin snap like all others.
int FloorMod(int a, int m) {
  const int r = a % m;
  return r < 0 ? r + m : r;
}

PushDirection ResolvePush(PushDirection push, int dx, int dy) {
  if (push != PushDirection::FromMove) return push;
  if (dx < 0) return PushDirection::Left;
  if (dy < 0) return PushDirection::Up;
  if (dx == 0) return PushDirection::Down;
  return PushDirection::Right;
}

// The first other node of the level that `rect` overlaps.
CNode* FirstOverlapped(const CWorkflowDoc& doc, const CNode& node, const Rect& rect) {
  for (CNode* other : doc.AllNodes())
    if (other != &node && other->BelongsToCluster() == node.BelongsToCluster() &&
        other->GetRect().Intersects(rect))
      return other;
  return nullptr;
}

// Pushes form chains (a pushed node pushes the next); the depth bound keeps two
// nodes from pushing each other forever.
Point MoveNodeChained(CWorkflowDoc& doc, CNode& node, int dx, int dy, PushDirection push,
                      const GridSettings& grid, const NodeGroup& group, int depth);

void Push(CWorkflowDoc& doc, CNode& pushed, PushDirection push, const GridSettings& grid,
          int depth) {
  const int width = pushed.GetRect().Width();
  const int step = width <= grid.size ? grid.size : width;
  int dx = 0;
  int dy = 0;
  switch (push) {
    case PushDirection::Left:
      dx = -step;
      break;
    case PushDirection::Up:
      dy = step;
      break;
    case PushDirection::Right:
      dx = step;
      break;
    case PushDirection::Down:
      dy = -step;
      break;
    default:
      return;
  }
  MoveNodeChained(doc, pushed, dx, dy, push, grid, {}, depth + 1);
}

void UpdateArrowsOfMoved(CWorkflowDoc& doc, CNode& node, int dx, int dy, bool pushing,
                         const NodeGroup& group) {
  for (CArrow* arrow : node.IncomingArrows())
    if (pushing || !group.contains(arrow->Source())) doc.UpdateArrowGeometry(*arrow);
  for (CArrow* arrow : node.OutgoingArrows()) {
    if (group.contains(arrow->Target()))
      doc.TranslateArrow(*arrow, dx, dy);
    else
      doc.UpdateArrowGeometry(*arrow);
  }
}

Point MoveNodeChained(CWorkflowDoc& doc, CNode& node, int dx, int dy, PushDirection push,
                      const GridSettings& grid, const NodeGroup& group, int depth) {
  push = ResolvePush(push, dx, dy);
  const bool pushing = push != PushDirection::None;
  const int maxDepth = static_cast<int>(doc.NodeCount());
  if ((dx != 0 || dy != 0) && pushing && depth <= maxDepth)
    if (CNode* other = FirstOverlapped(doc, node, node.GetRect().Offset(dx, dy)))
      Push(doc, *other, push, grid, depth);
  if (grid.magnetic && grid.size > 0) {
    const Point snapped = SnapDelta(node.GetRect(), dx, dy, grid.size);
    dx = snapped.x;
    dy = snapped.y;
  }
  doc.SetNodeRect(node, node.GetRect().Offset(dx, dy));
  UpdateArrowsOfMoved(doc, node, dx, dy, pushing, group);
  return {dx, dy};
}

}  // namespace

Point SnapDelta(const Rect& rect, int dx, int dy, int gridSize) {
  if (gridSize <= 0) return {dx, dy};
  const int cx = (rect.left + rect.right) / 2 + dx;
  const int r = FloorMod(cx, gridSize);
  dx = r < gridSize / 2 ? dx - r : dx + (gridSize - r);
  // Depth below the top edge, which grows downwards like x grows to the right.
  const int cy = -((rect.top + rect.bottom) / 2) - dy;
  const int s = FloorMod(cy, gridSize);
  dy = s < gridSize / 2 ? dy + s : dy + s - gridSize;
  return {dx, dy};
}

Point MoveNode(CWorkflowDoc& doc, CNode& node, int dx, int dy, PushDirection push,
               const GridSettings& grid, const NodeGroup& group) {
  return MoveNodeChained(doc, node, dx, dy, push, grid, group, 0);
}

bool MoveNodes(CWorkflowDoc& doc, const std::vector<CNode*>& nodes, int dx, int dy,
               const GridSettings& grid) {
  const NodeGroup group(nodes.begin(), nodes.end());
  std::unordered_map<const CNode*, Point> moved;
  bool any = false;
  for (CNode* node : nodes) {
    const Point d = MoveNode(doc, *node, dx, dy, PushDirection::None, grid, group);
    moved[node] = d;
    any = any || d != Point{};
  }
  for (CNode* node : nodes)
    for (CArrow* arrow : node->OutgoingArrows()) {
      auto target = moved.find(arrow->Target());
      if (target != moved.end() && target->second != moved[node]) doc.UpdateArrowGeometry(*arrow);
    }
  return any;
}

bool NudgeNodes(CWorkflowDoc& doc, const std::vector<CNode*>& nodes, KeyDirection direction,
                bool fine, const GridSettings& grid, double unitsPerPixel) {
  const int step = fine ? static_cast<int>(std::max(1L, std::lround(unitsPerPixel)))
                        : std::max(1, grid.size);
  const Point d = direction == KeyDirection::Left    ? Point{-step, 0}
                  : direction == KeyDirection::Right ? Point{step, 0}
                  : direction == KeyDirection::Up    ? Point{0, step}
                                                     : Point{0, -step};
  GridSettings moveGrid = grid;
  moveGrid.magnetic = grid.magnetic && !fine;
  return MoveNodes(doc, nodes, d.x, d.y, moveGrid);
}

}  // namespace velk
