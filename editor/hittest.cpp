#include "editor/hittest.h"

#include <cmath>

#include "model/arrow.h"
#include "model/node.h"
#include "model/workflowdoc.h"

namespace velk {

namespace {
constexpr int kThinBox = 20;     // a box narrower than this is widened ...
constexpr int kBoxWidening = 9;  // ... by this on each side
constexpr double kMaxDistance = 16.0;
}  // namespace

bool IsPointOnArrow(Point start, Point end, Point p) {
  Rect box = RectFromCorners(start, end);
  if (box.Width() < kThinBox) {
    box.left -= kBoxWidening;
    box.right += kBoxWidening;
  }
  if (box.Height() < kThinBox) {
    box.top += kBoxWidening;
    box.bottom -= kBoxWidening;
  }
  if (!box.Contains(p)) return false;
  const double lx = end.x - start.x;
  const double ly = end.y - start.y;
  const double length = std::hypot(lx, ly);
  const double px = p.x - start.x;
  const double py = p.y - start.y;
  const double distance = length == 0 ? std::hypot(px, py) : std::abs(lx * py - ly * px) / length;
  return distance < kMaxDistance;
}

CNode* NodeAt(const std::vector<CNode*>& levelNodes, Point p) {
  for (CNode* node : levelNodes)
    if (node->GetRect().Contains(p)) return node;
  return nullptr;
}

CArrow* ArrowAt(const std::vector<CNode*>& levelNodes, Point p) {
  for (CNode* node : levelNodes)
    for (CArrow* arrow : node->OutgoingArrows())
      if (IsPointOnArrow(arrow->LineStart(), arrow->LineEnd(), p)) return arrow;
  return nullptr;
}

Rect RectFromCorners(Point a, Point b) {
  return {std::min(a.x, b.x), std::max(a.y, b.y), std::max(a.x, b.x), std::min(a.y, b.y)};
}

std::vector<CNode*> NodesIntersecting(const std::vector<CNode*>& levelNodes, const Rect& band) {
  std::vector<CNode*> hit;
  for (CNode* node : levelNodes)
    if (node->GetRect().Intersects(band)) hit.push_back(node);
  return hit;
}

Rect InsertRect(Point p) {
  const int left = p.x - 16;
  return {left, p.y + 16, left + kNodeSize, p.y - 18};
}

bool SelectionOverlapsAnotherNode(const CWorkflowDoc& doc) {
  const std::vector<CNode*>& selected = doc.Session().SelectedNodes();
  if (selected.empty()) return false;
  for (const CNode* other : doc.LevelNodes())
    for (const CNode* node : selected)
      if (node != other && node->GetRect().Intersects(other->GetRect())) return true;
  return false;
}

}  // namespace velk
