// Layout rules of the workflow drawing: text offsets, grid lines,
// node text boxes, word wrapping and arrow descriptions.
#include <gtest/gtest.h>

#include "editor/drawinggeometry.h"
#include "model/node.h"

using namespace velk;

TEST(DrawingGeometry, TextOffsetsFollowTheShownTexts) {
  struct Case {
    ShowFlags flags;
    TextOffsets offsets;
  };
  const std::vector<Case> cases = {
      {{true, false, false, false, true}, {0, -30, 150}},   // names only: one line
      {{false, false, false, false, false}, {0, 0, 150}},   // nothing shown
      {{false, true, false, false, false}, {2, 0, 150}},    // member counts two lines
      {{true, false, true, false, false}, {2, -30, 150}},   // forms
      {{true, true, true, false, false}, {-13, -30, 150}},  // member and forms
      {{false, true, true, true, false}, {-28, 0, 150}},    // the whole block
  };
  for (const Case& c : cases) EXPECT_EQ(ComputeTextOffsets(c.flags), c.offsets);

  const Rect node = NodeRectAt(100, -200);
  EXPECT_EQ(NodeTextArea(node, {-28, -30, 150}), (Rect{100, -172, 284, -264}));
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

TEST(DrawingGeometry, NodeTextsStandBesideTheNode) {
  const Rect node = NodeRectAt(100, -200);  // right 134, bottom -234
  NodeAttributes attributes;
  attributes.name = "Check order";
  attributes.member = "Anna Berg";
  attributes.objects = {"Order", "Invoice"};
  attributes.resources = {"Printer"};
  const int h = 10;

  NodeTextLayout names = LayoutNodeTexts(node, attributes, {true, false, false, false, false}, h);
  EXPECT_EQ(names.nameText, "N: Check order");
  EXPECT_EQ(names.nameBox, (Rect{139, -224, 279, -254}));
  EXPECT_TRUE(names.blockText.empty());

  NodeTextLayout all = LayoutNodeTexts(node, attributes, {true, true, true, true, true}, h);
  EXPECT_EQ(all.blockText, "M: Anna Berg\nO: Order\nR: Printer");
  EXPECT_EQ(all.blockLines, 3);
  // Three lines above the name line: the box's last line ends where the name starts.
  EXPECT_EQ(all.blockBox, (Rect{139, -194, 279, -234}));
  EXPECT_EQ(all.blockBox.top - all.blockLines * h, all.nameBox.top);

  attributes.objects.clear();
  attributes.resources.clear();
  NodeTextLayout empty = LayoutNodeTexts(node, attributes, {false, false, true, true, false}, h);
  EXPECT_EQ(empty.blockText, "O: \nR: ");
  EXPECT_TRUE(empty.nameText.empty());

  NodeTextLayout none = LayoutNodeTexts(node, attributes, {false, false, false, false, true}, h);
  EXPECT_TRUE(none.nameText.empty());
  EXPECT_TRUE(none.blockText.empty());
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
