#pragma once
// Plain geometry of the drawing, in logical units of 0.01 inch with the y axis
// pointing up: a rectangle's top is above (greater than) its bottom.

#include <algorithm>

namespace velk {

struct Point {
  int x = 0;
  int y = 0;
  bool operator==(const Point&) const = default;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool operator==(const Rect&) const = default;

  int Width() const { return right - left; }
  int Height() const { return top - bottom; }
  Point Center() const { return {(left + right) / 2, (top + bottom) / 2}; }

  // Edges count as inside, so a click on a node's border hits it.
  bool Contains(Point p) const {
    return p.x >= left && p.x <= right && p.y <= top && p.y >= bottom;
  }
  // Rectangles that only touch along an edge do not intersect.
  bool Intersects(const Rect& o) const {
    return left < o.right && o.left < right && bottom < o.top && o.bottom < top;
  }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  Rect United(const Rect& o) const {
    return {std::min(left, o.left), std::max(top, o.top), std::max(right, o.right),
            std::min(bottom, o.bottom)};
  }
};

// Side length of every node.
inline constexpr int kNodeSize = 34;

// The node rectangle whose top-left corner is (left, top).
inline Rect NodeRectAt(int left, int top) {
  return {left, top, left + kNodeSize, top - kNodeSize};
}

}  // namespace velk
