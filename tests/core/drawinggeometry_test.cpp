// Layout rules of the workflow drawing: arrows between nodes, text offsets, grid
// lines, node text boxes, word wrapping, arrow descriptions, print pages and zoom.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <limits>
#include <tuple>

#include "editor/drawinggeometry.h"
#include "editor/zoom.h"
#include "model/arrowgeometry.h"
#include "model/node.h"

using namespace velk;
using Strings = std::vector<std::string>;

// Five units per character, so that a line of kTextWidth holds 28.
double FiveUnitsPerCharacter(std::string_view s) {
  return 5.0 * static_cast<double>(std::count_if(s.begin(), s.end(), [](char c) {
           return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
         }));
}

TEST(DrawingGeometry, TextOffsetsHoldTheLongestTextsShownAndTextsStackUnderTheNode) {
  const std::pair<ShowFlags, TextOffsets> cases[] = {
      {{true, false, false, false, true}, {0, -32, 133}},   // names: three lines at most
      {{false, false, false, false, false}, {0, 0, 133}},   // nothing shown
      {{false, true, false, false, false}, {0, -12, 133}},  // one member line
      {{true, true, true, false, false}, {0, -52, 133}},    // names, member and forms
      {{true, true, true, true, false}, {0, -62, 133}},     // everything
  };
  for (const auto& [flags, offsets] : cases) EXPECT_EQ(ComputeTextOffsets(flags), offsets);

  const Rect node = NodeRectAt(100, -200);  // centre x 117, bottom -234
  EXPECT_EQ(NodeTextArea(node, {0, -52, 133}), (Rect{100, -200, 267, -286}));
  // Node texts stack under the node, one line each.
  NodeAttributes a;
  a.name = "Check order";
  a.member = "Anna Berg";
  a.objects = {"Order", "Invoice"};
  a.resources = {"Printer"};
  const ShowFlags all{true, true, true, true, true};
  const NodeTextLayout layout = LayoutNodeTexts(node, a, all, 10, FiveUnitsPerCharacter);
  EXPECT_EQ(layout.lines, (Strings{"N: Check order", "M: Anna Berg", "O: Order", "R: Printer"}));
  EXPECT_EQ(layout.box, (Rect{127, -236, 267, -276})) << "under the node, right of its middle";
  EXPECT_GE(NodeTextArea(node, ComputeTextOffsets(all)).right, layout.box.right);

  // What, name, member, what is shown, and the lines.
  const std::tuple<const char*, std::string, std::string, ShowFlags, Strings> variants[] = {
      {"nothing beside descriptions", "A", "B", {false, false, false, false, true}, {}},
      {"no form and no resource: the prefixes alone",
       "A",
       "B",
       {false, false, true, true},
       {"O: ", "R: "}},
      {"a long name wraps and ends on the third line",
       "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll mmmm nnnn oooo pppp",
       "B",
       {true, false, false, false},
       {"N: aaaa bbbb cccc dddd eeee", "ffff gggg hhhh iiii jjjj",
        "kkkk llll mmmm nnnn oooo \u2026"}},
      {"a member too wide for the column is cut, not wrapped",
       "A",
       "Karin Lange/Management/Marvelund/Sales",
       {false, true, false, false},
       {"M: Karin Lange/Management/M\u2026"}},
  };
  a.objects.clear();
  a.resources.clear();
  for (const auto& [what, name, member, flags, lines] : variants) {
    a.name = name;
    a.member = member;
    const NodeTextLayout l = LayoutNodeTexts(node, a, flags, 10, FiveUnitsPerCharacter);
    EXPECT_EQ(l.lines, lines) << what;
    for (const std::string& line : l.lines)
      EXPECT_LE(FiveUnitsPerCharacter(line), kTextWidth) << what;
  }
}

TEST(DrawingGeometry, GridLinesStopBeforeTheEdge) {
  const std::tuple<int, int, std::vector<int>> cases[] = {
      {500, 2050, {500, 1000, 1500, 2000}},
      {500, 2000, {500, 1000, 1500}},  // a line on the edge is left to the frame
      {700, 2900, {700, 1400, 2100, 2800}},
      {3000, 2900, {}},
      {0, 2900, {}},
      {-5, 2900, {}},
  };
  for (const auto& [grid, extent, lines] : cases)
    EXPECT_EQ(GridLinePositions(grid, extent), lines) << grid;
}

TEST(DrawingGeometry, FitToWidthCutsWholeCharactersBeforeAnEllipsisAndWrapBreaksAtSpaces) {
  const std::tuple<std::string, double, std::string> cases[] = {
      {"abc", 15, "abc"},
      {"abcdef", 20, "abc\u2026"},
      {"abcdef", 0, "\u2026"},
      {"\u00e4\u00f6\u00fc\u00df", 15, "\u00e4\u00f6\u2026"},
  };
  for (const auto& [text, width, fitted] : cases)
    EXPECT_EQ(FitToWidth(text, width, FiveUnitsPerCharacter), fitted) << text;

  // Word wrapping breaks at spaces only.
  const TextMeasure oneUnitPerChar = [](std::string_view s) {
    return static_cast<double>(s.size());
  };
  const std::tuple<std::string, double, Strings> wraps[] = {
      {"N: Check order", 20, {"N: Check order"}},
      {"N: Check the incoming order", 12, {"N: Check the", "incoming", "order"}},
      {"N: Supercalifragilistic", 8, {"N:", "Supercalifragilistic"}},
      {"N:   spaced    words", 9, {"N: spaced", "words"}},
      {"two\nlines", 20, {"two", "lines"}},
      {"", 10, {}},
  };
  for (const auto& [text, width, lines] : wraps)
    EXPECT_EQ(WrapWords(text, width, oneUnitPerChar), lines) << text;
  EXPECT_EQ(SplitLines("M: a\nO: \n"), (Strings{"M: a", "O: "}));
}

TEST(DrawingGeometry, DescriptionHangsBelowTheMovedMiddleOfTheLine) {
  const std::pair<ArrowLine, Point> cases[] = {
      {{{0, 0}, {100, -50}}, {55, -20}},
      {{{0, 0}, {5, -5}}, {8, 2}},  // halves of odd sums rounded away from zero
      {{{0, 0}, {-5, -5}}, {2, 2}},
  };
  for (const auto& [line, anchor] : cases) EXPECT_EQ(DescriptionAnchor(line), anchor);

  const Rect text = DescriptionTextRect({55, -20}, 40, 10);
  EXPECT_EQ(text, (Rect{35, -20, 75, -30}));
  EXPECT_EQ(DescriptionBox(text), (Rect{34, -20, 76, -32}));
}

TEST(DrawingGeometry, PrintPagesCoverTheUsedPartFromTheTopLeft) {
  // A4-like pages of 750 x 1050 units.
  // The used part, the number of pages and the last page.
  const std::tuple<Rect, std::size_t, Rect> cases[] = {
      {{0, 0, 0, 0}, 1, {0, 0, 750, -1050}},  // empty level: one page
      {{100, -100, 700, -900}, 1, {0, 0, 750, -1050}},
      {{100, -100, 800, -900}, 2, {750, 0, 1500, -1050}},    // a second column
      {{100, -100, 700, -1100}, 2, {0, -1050, 750, -2100}},  // a second row
      {{0, 0, 5000, -5000}, 9, {1500, -2100, 2050, -2900}},  // the whole drawing, cut at its edge
  };
  for (const auto& [used, count, last] : cases) {
    const std::vector<Rect> pages = PrintPages(used, 750, 1050);
    ASSERT_EQ(pages.size(), count);
    EXPECT_EQ(pages.front(), (Rect{0, 0, 750, -1050}));
    EXPECT_EQ(pages.back(), last);
  }
  EXPECT_EQ(PrintPages({0, 0, 100, -100}, 0, 100), std::vector<Rect>{kDrawingRect});
}

// Where arrows are drawn between two node rectangles.
TEST(ArrowGeometryTest, LineRunsBetweenFacingBordersItsHeadSitsOnTheEndRectsTouchApart) {
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
  // The head sits on the end and grows with the size.
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
  // Rectangles touching along an edge do not intersect.
  const Rect a = NodeRectAt(0, 0);
  EXPECT_TRUE(a.Intersects(NodeRectAt(33, 0)));
  EXPECT_FALSE(a.Intersects(NodeRectAt(34, 0)));
  EXPECT_FALSE(a.Intersects(NodeRectAt(0, -34)));
  EXPECT_TRUE(a.Contains({34, -34}));
  EXPECT_FALSE(a.Contains({35, 0}));
  EXPECT_EQ(a.United(NodeRectAt(100, -100)), (Rect{0, 0, 134, -134}));
  EXPECT_EQ(a.Height(), 34);
}

// Zoom levels of the workflow view.
TEST(Zoom, StepsStayWithinQuarterAndFourfoldAndFitShowsTheWholeContent) {
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
  // 1000 x 500 units (plus margins) in a 520 x 520 viewport: width decides.
  EXPECT_NEAR(FitZoom({0, 0, 1000, -500}, 520, 520), 0.5, 1e-9);
  EXPECT_DOUBLE_EQ(FitZoom({0, 0, 10, -10}, 5000, 5000), kMaxZoom);
  EXPECT_DOUBLE_EQ(FitZoom({0, 0, 100000, -100}, 100, 100), kMinZoom);
  EXPECT_DOUBLE_EQ(FitZoom({}, 500, 500), 1.0);
  EXPECT_DOUBLE_EQ(FitZoom({0, 0, 100, -100}, 0, 500), 1.0);
}
