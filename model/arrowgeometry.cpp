#include "model/arrowgeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace velk {

namespace {
constexpr std::array<ArrowHeadSize, 3> kHeadSizes = {{{10, 4}, {15, 6}, {20, 8}}};

int Round(double v) {
  return static_cast<int>(std::lround(v));
}

// Factor by which the vector (dx, dy) from the centre reaches the rectangle's border.
double BorderFactor(const Rect& r, double dx, double dy) {
  const double halfWidth = r.Width() / 2.0;
  const double halfHeight = r.Height() / 2.0;
  double f = 1e300;
  if (dx != 0) f = std::min(f, halfWidth / std::abs(dx));
  if (dy != 0) f = std::min(f, halfHeight / std::abs(dy));
  return f;
}
}  // namespace

ArrowHeadSize ArrowHeadSizeFor(int arrowSizeIndex) {
  return kHeadSizes[std::clamp(arrowSizeIndex, 0, static_cast<int>(kHeadSizes.size()) - 1)];
}

ArrowLine ComputeArrowLine(const Rect& source, const Rect& target) {
  const Point cs = source.Center();
  const Point ct = target.Center();
  if (cs.x == ct.x) {
    if (ct.y < cs.y) return {{cs.x, source.bottom}, {cs.x, target.top}};
    return {{cs.x, source.top}, {cs.x, target.bottom}};
  }
  if (cs.y == ct.y) {
    if (ct.x < cs.x) return {{source.left, cs.y}, {target.right, cs.y}};
    return {{source.right, cs.y}, {target.left, cs.y}};
  }
  const double dx = ct.x - cs.x;
  const double dy = ct.y - cs.y;
  const double fs = BorderFactor(source, dx, dy);
  const double ft = BorderFactor(target, dx, dy);
  return {{cs.x + Round(fs * dx), cs.y + Round(fs * dy)},
          {ct.x - Round(ft * dx), ct.y - Round(ft * dy)}};
}

std::array<Point, 4> ComputeArrowHead(const ArrowLine& line, int arrowSizeIndex) {
  const Point tip = line.end;
  const double dx = line.end.x - line.start.x;
  const double dy = line.end.y - line.start.y;
  const double length = std::hypot(dx, dy);
  if (length == 0) return {tip, tip, tip, tip};
  const ArrowHeadSize size = ArrowHeadSizeFor(arrowSizeIndex);
  const double back = dx == 0 ? 0.9 * size.length : size.length;
  const double ux = dx / length;
  const double uy = dy / length;
  const double baseX = tip.x - back * ux;
  const double baseY = tip.y - back * uy;
  // The normal (-uy, ux) scaled by the half-width gives the two side points.
  const double nx = -uy * size.halfWidth;
  const double ny = ux * size.halfWidth;
  return {tip, Point{Round(baseX + nx), Round(baseY + ny)},
          Point{Round(baseX - nx), Round(baseY - ny)}, Point{Round(baseX), Round(baseY)}};
}

}  // namespace velk
