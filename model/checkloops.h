#pragma once
// Loops of unconditional (And) arrows: a workflow instance caught in one never
// ends. Found by numbering the nodes of a depth-first walk that follows routing
// into and out of clusters the way the engine does.

#include <vector>

namespace velk {

class CArrow;
class CWorkflowDoc;

// The And arrows that close a loop: the target was entered before the source and
// left after it. Empty when there is none; an arrow from a node to itself does
// not count. Leaves every node's preorder and postorder number set and its visit
// mark cleared. Linear in nodes plus arrows.
std::vector<const CArrow*> FindAndLoops(const CWorkflowDoc& doc);

}  // namespace velk
