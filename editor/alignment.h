#pragma once
// The alignment commands and "Align selected nodes to grid": they move nodes of
// one level through the move primitive (editor/nodemove.h), so aligned nodes
// push aside whatever they would overlap and snap when the grid is magnetic.

#include "editor/nodemove.h"

namespace velk {

class CWorkflowDoc;

enum class AlignKind { Left, Right, Top, Bottom, CenterHorizontally, CenterVertically };

// Aligns the selected nodes of `doc` on the reference the kind names: the
// outermost edge of the selection, or the centre of its bounding rectangle.
// Returns whether any node of the workflow moved.
bool AlignSelectedNodes(CWorkflowDoc& doc, AlignKind kind, const GridSettings& grid);

// Snaps the selected nodes, or every node of the level when none is selected,
// in place. Changes nothing unless the grid is magnetic.
bool AlignNodesToGrid(CWorkflowDoc& doc, const GridSettings& grid);

}  // namespace velk
