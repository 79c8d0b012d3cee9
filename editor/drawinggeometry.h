#pragma once
// What the workflow drawing computes before it paints: the drawing area and its
// scroll steps, the grid lines, where the texts beside a node and an arrow's
// description go, and the area a node covers on screen. All in logical units
// (0.01 inch, y axis up, the drawing's top-left corner at (0, 0)).

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

// Which texts the view draws beside nodes and arrows.
struct ShowFlags {
  bool taskNames = true;
  bool taskMember = false;
  bool taskForms = false;
  bool taskResources = false;
  bool arrowDescription = true;
  bool operator==(const ShowFlags&) const = default;
};

// How far a node's texts reach beyond its rectangle: `upper` is subtracted from
// the top, `lower` added to the bottom and `width` added to the right edge.
struct TextOffsets {
  int upper = 0;
  int lower = 0;
  int width = 150;
  bool operator==(const TextOffsets&) const = default;
};
TextOffsets ComputeTextOffsets(const ShowFlags& flags);
// The node rectangle widened by the text offsets.
Rect NodeTextArea(const Rect& node, const TextOffsets& offsets);

// Positions of the grid lines along one axis: gridSize, 2 x gridSize, ... while
// below `extent`, so that no line falls on the drawing's edge (the frame marks
// it). None for a grid size below 1.
std::vector<int> GridLinePositions(int gridSize, int extent);

// The text column beside a node, measured from its right edge.
inline constexpr int kTextColumnLeft = 5;
inline constexpr int kTextColumnRight = 145;

struct NodeTextLayout {
  // "N: " and the name, word-wrapped inside nameBox; empty when names are off.
  std::string nameText;
  Rect nameBox;
  // Member, form and resource lines, one per line, drawn unwrapped inside
  // blockBox so that they stand above the name line; empty when all are off.
  std::string blockText;
  int blockLines = 0;
  Rect blockBox;
};
// `lineHeight`: the text font's line height in logical units.
NodeTextLayout LayoutNodeTexts(const Rect& node, const NodeAttributes& attributes,
                               const ShowFlags& flags, int lineHeight);

// Width of a text in logical units, as the drawing's font measures it.
using TextMeasure = std::function<double(std::string_view)>;
// Breaks the text at spaces into lines no wider than `width`; a word wider than
// that keeps a line of its own (the drawing clips it). Line breaks in the text
// are kept.
std::vector<std::string> WrapWords(std::string_view text, double width, const TextMeasure& measure);
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

// The bounding box of an arrow's line and head.
Rect ArrowBounds(const CArrow& arrow);

}  // namespace velk
