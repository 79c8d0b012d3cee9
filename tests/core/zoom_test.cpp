// Zoom levels of the workflow view.

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

#include "editor/zoom.h"

namespace velk {
namespace {

TEST(Zoom, StepsStayWithinQuarterAndFourfold) {
  // From, zoomed in, zoomed out.
  const std::tuple<double, double, double> cases[] = {{1.0, 1.25, 0.75}, {0.25, 0.33, 0.25},
                                                      {4.0, 4.0, 3.0},   {0.9, 1.0, 0.75},
                                                      {10.0, 4.0, 3.0},  {0.0, 1.25, 0.75}};
  for (const auto& [from, in, out] : cases) {
    SCOPED_TRACE(from);
    EXPECT_DOUBLE_EQ(ZoomIn(from), in);
    EXPECT_DOUBLE_EQ(ZoomOut(from), out);
  }
  EXPECT_DOUBLE_EQ(ClampZoom(std::numeric_limits<double>::quiet_NaN()), 1.0);
  EXPECT_DOUBLE_EQ(ClampZoom(-2), 1.0);
  EXPECT_EQ(ZoomPercent(0.67), 67);
}

TEST(Zoom, FitShowsTheWholeContentWithinTheLimits) {
  // 1000 x 500 units (plus margins) in a 520 x 520 viewport: width decides.
  EXPECT_NEAR(FitZoom({0, 0, 1000, -500}, 520, 520), 0.5, 1e-9);
  EXPECT_DOUBLE_EQ(FitZoom({0, 0, 10, -10}, 5000, 5000), kMaxZoom);
  EXPECT_DOUBLE_EQ(FitZoom({0, 0, 100000, -100}, 100, 100), kMinZoom);
  EXPECT_DOUBLE_EQ(FitZoom({}, 500, 500), 1.0);
  EXPECT_DOUBLE_EQ(FitZoom({0, 0, 100, -100}, 0, 500), 1.0);
}

}  // namespace
}  // namespace velk
