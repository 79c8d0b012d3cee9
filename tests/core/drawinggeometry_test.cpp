// Layout rules of the workflow drawing: text offsets, grid lines,
// node text boxes, word wrapping and arrow descriptions.
#include <gtest/gtest.h>

#include <algorithm>

#include "editor/drawinggeometry.h"
#include "model/node.h"

using namespace velk;

TEST(DrawingGeometry, TextOffsetsHoldTheLongestTextsShown) {
  struct Case {
    ShowFlags flags;
    TextOffsets offsets;
  };
  const std::vector<Case> cases = {
      {{true, false, false, false, true}, {0, -32, 133}},   // names: three lines at most
      {{false, false, false, false, false}, {0, 0, 133}},   // nothing shown
      {{false, true, false, false, false}, {0, -12, 133}},  // one member line
      {{true, true, true, false, false}, {0, -52, 133}},    // names, member and forms
      {{true, true, true, true, false}, {0, -62, 133}},     // everything
  };
  for (const Case& c : cases) EXPECT_EQ(ComputeTextOffsets(c.flags), c.offsets);

  const Rect node = NodeRectAt(100, -200);
  EXPECT_EQ(NodeTextArea(node, {0, -52, 133}), (Rect{100, -200, 267, -286}));
}

TEST(DrawingGeometry, GridLinesStopBeforeTheEdge) {
  struct Case {
    int grid, extent;
    std::vector<int> lines;
  };
  const std::vector<Case> cases = {
      {500, 2050, {500, 1000, 1500, 2000}},
      {500, 2000, {500, 1000, 1500}},  // a line on the edge is left to the frame
      {700, 2900, {700, 1400, 2100, 2800}},
      {3000, 2900, {}},
      {0, 2900, {}},
      {-5, 2900, {}},
  };
  for (const Case& c : cases) EXPECT_EQ(GridLinePositions(c.grid, c.extent), c.lines) << c.grid;
  for (int grid : {1, 7, 25, 50, 100}) {
    const std::vector<int> lines = GridLinePositions(grid, kDrawingWidth);
    ASSERT_FALSE(lines.empty());
    EXPECT_LT(lines.back(), kDrawingWidth);
    EXPECT_GE(lines.back() + grid, kDrawingWidth);
  }
}

// Five units per character, so that a line of kTextWidth holds 28.
double FiveUnitsPerCharacter(std::string_view s) {
  return 5.0 * static_cast<double>(std::count_if(s.begin(), s.end(), [](char c) {
           return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
         }));
}

TEST(DrawingGeometry, NodeTextsStackUnderTheNodeOneLineEach) {
  const Rect node = NodeRectAt(100, -200);  // centre x 117, bottom -234
  NodeAttributes a;
  a.name = "Check order";
  a.member = "Anna Berg";
  a.objects = {"Order", "Invoice"};
  a.resources = {"Printer"};
  const ShowFlags all{true, true, true, true, true};
  const NodeTextLayout layout = LayoutNodeTexts(node, a, all, 10, FiveUnitsPerCharacter);
  EXPECT_EQ(layout.lines,
            (std::vector<std::string>{"N: Check order", "M: Anna Berg", "O: Order", "R: Printer"}));
  EXPECT_EQ(layout.box, (Rect{127, -236, 267, -276})) << "under the node, right of its middle";
  EXPECT_GE(NodeTextArea(node, ComputeTextOffsets(all)).right, layout.box.right);

  struct Case {
    const char* what;
    std::string name, member;
    ShowFlags flags;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
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
  for (const Case& c : cases) {
    a.name = c.name;
    a.member = c.member;
    const NodeTextLayout l = LayoutNodeTexts(node, a, c.flags, 10, FiveUnitsPerCharacter);
    EXPECT_EQ(l.lines, c.lines) << c.what;
    for (const std::string& line : l.lines)
      EXPECT_LE(FiveUnitsPerCharacter(line), kTextWidth) << c.what;
  }
}

TEST(DrawingGeometry, FitToWidthCutsWholeCharactersBeforeAnEllipsis) {
  struct Case {
    std::string text;
    double width;
    std::string fitted;
  };
  const std::vector<Case> cases = {
      {"abc", 15, "abc"},
      {"abcdef", 20, "abc\u2026"},
      {"abcdef", 0, "\u2026"},
      {"\u00e4\u00f6\u00fc\u00df", 15, "\u00e4\u00f6\u2026"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FitToWidth(c.text, c.width, FiveUnitsPerCharacter), c.fitted) << c.text;
}

TEST(DrawingGeometry, WordWrapBreaksAtSpacesOnly) {
  const TextMeasure oneUnitPerChar = [](std::string_view s) {
    return static_cast<double>(s.size());
  };
  struct Case {
    std::string text;
    double width;
    std::vector<std::string> lines;
  };
  const std::vector<Case> cases = {
      {"N: Check order", 20, {"N: Check order"}},
      {"N: Check the incoming order", 12, {"N: Check the", "incoming", "order"}},
      {"N: Supercalifragilistic", 8, {"N:", "Supercalifragilistic"}},
      {"N:   spaced    words", 9, {"N: spaced", "words"}},
      {"two\nlines", 20, {"two", "lines"}},
      {"", 10, {}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(WrapWords(c.text, c.width, oneUnitPerChar), c.lines) << c.text;
  EXPECT_EQ(SplitLines("M: a\nO: \n"), (std::vector<std::string>{"M: a", "O: "}));
}

TEST(DrawingGeometry, DescriptionHangsBelowTheMovedMiddleOfTheLine) {
  struct Case {
    ArrowLine line;
    Point anchor;
  };
  const std::vector<Case> cases = {
      {{{0, 0}, {100, -50}}, {55, -20}},
      {{{0, 0}, {5, -5}}, {8, 2}},  // halves of odd sums rounded away from zero
      {{{0, 0}, {-5, -5}}, {2, 2}},
  };
  for (const Case& c : cases) EXPECT_EQ(DescriptionAnchor(c.line), c.anchor);

  const Rect text = DescriptionTextRect({55, -20}, 40, 10);
  EXPECT_EQ(text, (Rect{35, -20, 75, -30}));
  EXPECT_EQ(DescriptionBox(text), (Rect{34, -20, 76, -32}));
}

TEST(DrawingGeometry, PrintPagesCoverTheUsedPartFromTheTopLeft) {
  // A4-like pages of 750 x 1050 units.
  struct Case {
    Rect used;
    std::size_t pages;
    Rect last;
  };
  const std::vector<Case> cases = {
      {{0, 0, 0, 0}, 1, {0, 0, 750, -1050}},  // empty level: one page
      {{100, -100, 700, -900}, 1, {0, 0, 750, -1050}},
      {{100, -100, 800, -900}, 2, {750, 0, 1500, -1050}},    // a second column
      {{100, -100, 700, -1100}, 2, {0, -1050, 750, -2100}},  // a second row
      {{0, 0, 5000, -5000}, 9, {1500, -2100, 2050, -2900}},  // the whole drawing, cut at its edge
  };
  for (const Case& c : cases) {
    const std::vector<Rect> pages = PrintPages(c.used, 750, 1050);
    ASSERT_EQ(pages.size(), c.pages);
    EXPECT_EQ(pages.front(), (Rect{0, 0, 750, -1050}));
    EXPECT_EQ(pages.back(), c.last);
  }
  EXPECT_EQ(PrintPages({0, 0, 100, -100}, 0, 100), std::vector<Rect>{kDrawingRect});
}
