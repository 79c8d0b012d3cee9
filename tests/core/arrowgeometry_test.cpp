// Where arrows are drawn between two node rectangles.

#include <gtest/gtest.h>

#include <cstdlib>

#include "model/arrowgeometry.h"

namespace velk {
namespace {

TEST(ArrowGeometryTest, LineRunsBetweenTheFacingBorders) {
  const Rect source = NodeRectAt(100, -100);  // centre (117, -117)
  struct Case {
    const char* what;
    Rect target;
    ArrowLine line;
  } cases[] = {
      {"below", NodeRectAt(100, -300), {{117, -134}, {117, -300}}},
      {"above", NodeRectAt(100, 100), {{117, -100}, {117, 66}}},
      {"left", NodeRectAt(-100, -100), {{100, -117}, {-66, -117}}},
      {"right", NodeRectAt(300, -100), {{134, -117}, {300, -117}}},
      {"diagonal", NodeRectAt(300, -300), {{134, -134}, {300, -300}}},
      {"steep", NodeRectAt(150, -400), {{120, -134}, {164, -400}}},
      {"same place", NodeRectAt(100, -100), {{117, -100}, {117, -134}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ComputeArrowLine(source, c.target), c.line) << c.what;
}

TEST(ArrowGeometryTest, HeadSitsOnTheEndAndGrowsWithTheSize) {
  const ArrowLine right{{0, 0}, {100, 0}};
  auto head = ComputeArrowHead(right, 1);
  EXPECT_EQ(head[0], (Point{100, 0}));
  EXPECT_EQ(head[1], (Point{85, 6}));
  EXPECT_EQ(head[2], (Point{85, -6}));
  EXPECT_EQ(head[3], (Point{85, 0}));

  const ArrowLine down{{0, 0}, {0, -100}};
  head = ComputeArrowHead(down, 2);
  EXPECT_EQ(head[3], (Point{0, -82})) << "a vertical head is 0.9 of the length";
  EXPECT_EQ(head[1].y, -82);
  EXPECT_EQ(std::abs(head[1].x - head[2].x), 16);

  int previous = 0;
  for (int size = 0; size < 3; ++size) {
    const ArrowHeadSize s = ArrowHeadSizeFor(size);
    EXPECT_GT(s.length, previous);
    previous = s.length;
  }
  EXPECT_EQ(ArrowHeadSizeFor(-3).length, ArrowHeadSizeFor(0).length);
  EXPECT_EQ(ArrowHeadSizeFor(99).length, ArrowHeadSizeFor(2).length);

  const ArrowLine none{{5, 5}, {5, 5}};
  for (const Point& p : ComputeArrowHead(none, 1)) EXPECT_EQ(p, (Point{5, 5}));
}

TEST(GeometryTest, RectanglesTouchingAlongAnEdgeDoNotIntersect) {
  const Rect a = NodeRectAt(0, 0);
  EXPECT_TRUE(a.Intersects(NodeRectAt(33, 0)));
  EXPECT_FALSE(a.Intersects(NodeRectAt(34, 0)));
  EXPECT_FALSE(a.Intersects(NodeRectAt(0, -34)));
  EXPECT_TRUE(a.Contains({34, -34}));
  EXPECT_FALSE(a.Contains({35, 0}));
  EXPECT_EQ(a.United(NodeRectAt(100, -100)), (Rect{0, 0, 134, -134}));
  EXPECT_EQ(a.Height(), 34);
}

}  // namespace
}  // namespace velk
