#pragma once
// The order in which the keyboard walks the tasks of a level: as a reader takes
// in the drawing, by position.

#include <vector>

namespace velk {

class CNode;

// Top to bottom by each node's upper edge, then left to right; nodes at the
// same place keep their order.
std::vector<CNode*> InDrawingOrder(std::vector<CNode*> nodes);

// The node after (`forward`) or before `current` in drawing order, round the
// level; the first (or last) when `current` is none of them; null for no nodes.
CNode* NextInDrawingOrder(const std::vector<CNode*>& nodes, const CNode* current, bool forward);

}  // namespace velk
