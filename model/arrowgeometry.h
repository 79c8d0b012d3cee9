#pragma once
// Where an arrow is drawn: the segment between the borders of its two nodes and
// the points of its head.

#include <array>

#include "model/geometry.h"

namespace velk {

struct ArrowHeadSize {
  int length;
  int halfWidth;
};

// The "ArrowSize" setting: 0 small, 1 middle, 2 large; other values are clamped.
// Drawings made without the modeler's settings use the default.
inline constexpr int kDefaultArrowSize = 1;
ArrowHeadSize ArrowHeadSizeFor(int arrowSizeIndex);

struct ArrowLine {
  Point start;
  Point end;
  bool operator==(const ArrowLine&) const = default;
};

// Nodes on one vertical or horizontal line are joined edge to edge; otherwise the
// line through both centres is cut where it leaves the source and enters the target.
ArrowLine ComputeArrowLine(const Rect& source, const Rect& target);

// Tip (= end), the two side points and the base on the line. A vertical line puts
// the base at 0.9 of the head length. A line of no length gives four tips.
std::array<Point, 4> ComputeArrowHead(const ArrowLine& line, int arrowSizeIndex);

}  // namespace velk
