#include "editor/alignment.h"

#include <vector>

#include "model/workflowdoc.h"

namespace velk {

namespace {

// The node whose edge is the reference; the first in selection order on ties.
Rect EdgeReference(const std::vector<CNode*>& nodes, AlignKind kind) {
  Rect ref = nodes.front()->GetRect();
  for (const CNode* node : nodes) {
    const Rect& r = node->GetRect();
    const bool better = (kind == AlignKind::Left && r.left < ref.left) ||
                        (kind == AlignKind::Right && r.right > ref.right) ||
                        (kind == AlignKind::Top && r.top > ref.top) ||
                        (kind == AlignKind::Bottom && r.bottom < ref.bottom);
    if (better) ref = r;
  }
  return ref;
}

Rect Reference(const std::vector<CNode*>& nodes, AlignKind kind) {
  if (kind != AlignKind::CenterHorizontally && kind != AlignKind::CenterVertically)
    return EdgeReference(nodes, kind);
  Rect united = nodes.front()->GetRect();
  for (const CNode* node : nodes) united = united.United(node->GetRect());
  return united;
}

struct AlignMove {
  int dx = 0;
  int dy = 0;
  PushDirection push = PushDirection::None;
};

// Measured when the node's turn comes: an earlier node may have pushed it.
AlignMove MoveFor(const Rect& ref, const Rect& r, AlignKind kind) {
  switch (kind) {
    case AlignKind::Left:
      return {ref.left - r.left, 0, PushDirection::Up};
    case AlignKind::Right:
      return {ref.right - r.right, 0, PushDirection::Down};
    case AlignKind::Top:
      return {0, ref.top - r.top, PushDirection::Right};
    case AlignKind::Bottom:
      return {0, ref.bottom - r.bottom, PushDirection::Left};
    case AlignKind::CenterHorizontally:
      return {0, ref.Center().y - r.Center().y, PushDirection::Left};
    case AlignKind::CenterVertically:
      return {ref.Center().x - r.Center().x, 0, PushDirection::Right};
  }
  return {};
}

std::vector<Rect> RectsOf(const CWorkflowDoc& doc) {
  std::vector<Rect> rects;
  for (const CNode* node : doc.AllNodes()) rects.push_back(node->GetRect());
  return rects;
}

}  // namespace

bool AlignSelectedNodes(CWorkflowDoc& doc, AlignKind kind, const GridSettings& grid) {
  const std::vector<CNode*> nodes = doc.Session().SelectedNodes();
  if (nodes.empty()) return false;
  const std::vector<Rect> before = RectsOf(doc);
  const Rect ref = Reference(nodes, kind);
  // No moving group: every arrow of a moved node is recomputed, since the
  // selected nodes move by different distances.
  for (CNode* node : nodes) {
    const AlignMove m = MoveFor(ref, node->GetRect(), kind);
    MoveNode(doc, *node, m.dx, m.dy, m.push, grid);
  }
  return RectsOf(doc) != before;
}

bool AlignNodesToGrid(CWorkflowDoc& doc, const GridSettings& grid) {
  std::vector<CNode*> nodes = doc.Session().SelectedNodes();
  if (nodes.empty()) nodes = doc.LevelNodes();
  bool moved = false;
  for (CNode* node : nodes) {
    doc.SaveNodeRect(*node);
    moved = MoveNode(doc, *node, 0, 0, PushDirection::None, grid) != Point{} || moved;
  }
  return moved;
}

}  // namespace velk
