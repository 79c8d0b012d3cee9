#include "editor/pasteplace.h"

#include <algorithm>

#include "editor/drawinggeometry.h"

namespace velk {

Point PasteOffset(const std::vector<Rect>& copies, const std::vector<Rect>& level,
                  std::optional<Point> at, const GridSettings& grid) {
  Rect bounds = copies.front();
  for (const Rect& r : copies) bounds = bounds.United(r);
  if (at) {
    const Point d{at->x - bounds.left, at->y - bounds.top};
    return grid.magnetic ? SnapDelta(copies.front(), d.x, d.y, grid.size) : d;
  }
  const int step = std::max(1, grid.size);
  auto covers = [&](Point d) {
    return std::ranges::any_of(copies, [&](const Rect& copy) {
      const Rect moved = copy.Offset(d.x, d.y);
      return std::ranges::any_of(level, [&](const Rect& r) { return r.Intersects(moved); });
    });
  };
  for (Point d{0, 0};; d = {d.x + step, d.y - step}) {
    if (!covers(d)) return d;
    const Rect next = bounds.Offset(d.x + step, d.y - step);
    if (next.right > kDrawingWidth || next.bottom < -kDrawingHeight) return {step, -step};
  }
}

}  // namespace velk
