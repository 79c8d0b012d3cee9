#include "editor/drawingorder.h"

#include <algorithm>

#include "model/node.h"

namespace velk {

std::vector<CNode*> InDrawingOrder(std::vector<CNode*> nodes) {
  // The y axis points up: the upper node has the larger top.
  std::ranges::stable_sort(nodes, [](const CNode* a, const CNode* b) {
    const Rect& ra = a->GetRect();
    const Rect& rb = b->GetRect();
    if (ra.top != rb.top) return ra.top > rb.top;
    return ra.left < rb.left;
  });
  return nodes;
}

CNode* NextInDrawingOrder(const std::vector<CNode*>& nodes, const CNode* current, bool forward) {
  if (nodes.empty()) return nullptr;
  const std::vector<CNode*> order = InDrawingOrder(nodes);
  const auto at = std::ranges::find(order, current);
  if (at == order.end()) return forward ? order.front() : order.back();
  const auto count = static_cast<std::ptrdiff_t>(order.size());
  const std::ptrdiff_t index = (at - order.begin() + (forward ? 1 : count - 1)) % count;
  return order[static_cast<std::size_t>(index)];
}

}  // namespace velk
