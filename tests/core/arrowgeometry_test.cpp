// Where arrows are drawn between two node rectangles.

#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "model/arrowgeometry.h"

namespace velk {
namespace {

TEST(ArrowGeometryTest, LineRunsBetweenTheFacingBorders) {
  const Rect source = NodeRectAt(100, -100);  // centre (117, -117)
  const std::tuple<const char*, Rect, ArrowLine> cases[] = {
      {"below", NodeRectAt(100, -300), {{117, -134}, {117, -300}}},
      {"above", NodeRectAt(100, 100), {{117, -100}, {117, 66}}},
      {"left", NodeRectAt(-100, -100), {{100, -117}, {-66, -117}}},
      {"right", NodeRectAt(300, -100), {{134, -117}, {300, -117}}},
      {"diagonal", NodeRectAt(300, -300), {{134, -134}, {300, -300}}},
      {"steep", NodeRectAt(150, -400), {{120, -134}, {164, -400}}},
      {"same place", NodeRectAt(100, -100), {{117, -100}, {117, -134}}},
  };
  for (const auto& [what, target, line] : cases)
    EXPECT_EQ(ComputeArrowLine(source, target), line) << what;
}

TEST(ArrowGeometryTest, HeadSitsOnTheEndAndGrowsWithTheSize) {
  using Head = std::array<Point, 4>;
  EXPECT_EQ(ComputeArrowHead({{0, 0}, {100, 0}}, 1),
            (Head{{{100, 0}, {85, 6}, {85, -6}, {85, 0}}}));
  // A vertical head is 0.9 of the length.
  EXPECT_EQ(ComputeArrowHead({{0, 0}, {0, -100}}, 2),
            (Head{{{0, -100}, {8, -82}, {-8, -82}, {0, -82}}}));
  EXPECT_EQ(ComputeArrowHead({{5, 5}, {5, 5}}, 1), (Head{{{5, 5}, {5, 5}, {5, 5}, {5, 5}}}));
  EXPECT_LT(ArrowHeadSizeFor(0).length, ArrowHeadSizeFor(1).length);
  EXPECT_LT(ArrowHeadSizeFor(1).length, ArrowHeadSizeFor(2).length);
  EXPECT_EQ(ArrowHeadSizeFor(-3).length, ArrowHeadSizeFor(0).length);
  EXPECT_EQ(ArrowHeadSizeFor(99).length, ArrowHeadSizeFor(2).length);
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
