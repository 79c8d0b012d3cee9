#pragma once
// Where pasted copies land: never on the nodes they were copied from, or on any
// other node, so that what was pasted can be seen and dragged away at once.

#include <optional>
#include <vector>

#include "editor/nodemove.h"
#include "model/geometry.h"

namespace velk {

// The distance to move copies from the places they were copied at (`copies`, not
// empty) into a level whose nodes cover `level`. With `at` (the point a context
// menu was opened at) their top-left corner goes there, snapped when the grid is
// magnetic. Otherwise they stay where they were copied from if they cover no
// node there (a cut, another window), else go one grid step right and down, and
// further steps along that diagonal until they cover none; where the drawing
// ends first, one step it is.
Point PasteOffset(const std::vector<Rect>& copies, const std::vector<Rect>& level,
                  std::optional<Point> at, const GridSettings& grid);

}  // namespace velk
