#pragma once
// What the workflow drawing computes before it paints: the drawing area and its
// scroll steps, the grid lines, where the texts under a node and an arrow's
// description go, and the area a node covers on screen. All in logical units
// (0.01 inch, y axis up, the drawing's top-left corner at (0, 0)).

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/arrowgeometry.h"
#include "model/geometry.h"

namespace velk {

class CArrow;
class CNode;
struct NodeAttributes;

inline constexpr int kDrawingWidth = 2050;
inline constexpr int kDrawingHeight = 2900;
// x from 0 to the width, y from 0 down to minus the height.
inline constexpr Rect kDrawingRect{0, 0, kDrawingWidth, -kDrawingHeight};

struct ScrollSizes {
  int totalX, totalY;  // the drawing size
  int pageX, pageY;    // half of it
  int lineX, lineY;    // a fiftieth of it
  bool operator==(const ScrollSizes&) const = default;
};
ScrollSizes ComputeScrollSizes(int width = kDrawingWidth, int height = kDrawingHeight);

// Which texts the view draws with nodes and arrows.
struct ShowFlags {
  bool taskNames = true;
  bool taskMember = false;
  bool taskForms = false;
  bool taskResources = false;
  bool arrowDescription = true;
  bool operator==(const ShowFlags&) const = default;
};

// Height of one line of the node texts and descriptions, in logical units.
inline constexpr int kTextLineHeight = 10;

// The texts of a node stand under it, one line below the other: they start a
// little right of its centre, so that an arrow leaving straight down or up (and
// its head) passes them, and no line is wider than kTextWidth.
inline constexpr int kTextGap = 2;      // between the picture and the first line
inline constexpr int kTextIndent = 10;  // from the node's centre
inline constexpr int kTextWidth = 140;
inline constexpr int kNameLines = 3;  // a longer name ends in an ellipsis on the third
// How far the texts reach beyond the right edge of a node of the usual size;
// layouts keep that room beside it.
inline constexpr int kTextColumnRight = kTextIndent + kTextWidth - kNodeSize / 2;

// How far a node's texts reach beyond its rectangle: `upper` is subtracted from
// the top, `lower` added to the bottom and `width` added to the right edge.
struct TextOffsets {
  int upper = 0;
  int lower = 0;
  int width = kTextColumnRight;
  bool operator==(const TextOffsets&) const = default;
};
// The most the shown texts can take: a name of kNameLines and one line for
// each of member, form and resource.
TextOffsets ComputeTextOffsets(const ShowFlags& flags);
// The node rectangle widened by the text offsets.
Rect NodeTextArea(const Rect& node, const TextOffsets& offsets);

// Positions of the grid lines along one axis: gridSize, 2 x gridSize, ... while
// below `extent`, so that no line falls on the drawing's edge (the frame marks
// it). None for a grid size below 1.
std::vector<int> GridLinePositions(int gridSize, int extent);

// Width of a text in logical units, as the drawing's font measures it.
using TextMeasure = std::function<double(std::string_view)>;
// Breaks the text at spaces into lines no wider than `width`; a word wider than
// that keeps a line of its own. Line breaks in the text are kept.
std::vector<std::string> WrapWords(std::string_view text, double width, const TextMeasure& measure);
// The text when it fits `width`, else its longest beginning (whole characters)
// that fits with an ellipsis after it.
std::string FitToWidth(std::string_view text, double width, const TextMeasure& measure);

// The lines under a node, top to bottom: "N: " and the name word-wrapped into
// kNameLines at most, then "M: " and the member, "O: " and the first form, "R: "
// and the first resource, each on one line, as the flags ask. `box` holds them
// all: kTextWidth wide, one line height per line; empty without lines.
struct NodeTextLayout {
  std::vector<std::string> lines;
  Rect box;
};
NodeTextLayout LayoutNodeTexts(const Rect& node, const NodeAttributes& attributes,
                               const ShowFlags& flags, int lineHeight, const TextMeasure& measure);
// The top-left corner of a node's first text line.
Point NodeTextCorner(const Rect& node);
// The lines of a text; a final line break adds no empty line.
std::vector<std::string> SplitLines(std::string_view text);

// The point the description's box hangs from: the middle of the arrow line
// moved 5 units right and 5 up.
Point DescriptionAnchor(const ArrowLine& line);
// Where the description's text goes: centred under the anchor.
Rect DescriptionTextRect(Point anchor, int textWidth, int textHeight);
// The box drawn around it: one unit wider on each side, two units taller below.
Rect DescriptionBox(const Rect& textRect);

// Printing: the drawing cut into pages of `pageWidth` x `pageHeight` units from
// its top-left corner, row by row, as far as needed to hold `used` (the part of
// the drawing that shows something) and never beyond the drawing. At least one
// page, also for an empty `used` area or pages of no size.
std::vector<Rect> PrintPages(const Rect& used, int pageWidth, int pageHeight);

// The head of an arrow drawn with the "ArrowSize" index `arrowSize`: tip, the two
// side points and the base on the line.
std::array<Point, 4> ArrowHead(const CArrow& arrow, int arrowSize);
// The bounding box of a line and its head.
Rect ArrowBounds(const ArrowLine& line, int arrowSize);
Rect ArrowBounds(const CArrow& arrow, int arrowSize);

}  // namespace velk
