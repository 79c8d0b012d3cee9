#pragma once
// One level of a workflow laid out for a web page as the modeler's view draws
// it: node pictures, arrows with their heads, the texts under the nodes and the
// arrow descriptions, cropped to what the level shows plus a margin. Positions
// are in page units (one logical unit each) with the y axis pointing down, as
// SVG has it.

#include <string>
#include <vector>

#include "editor/drawinggeometry.h"

namespace velk {

class CArrow;
class CNode;

// The drawing font as the modeler measures it.
struct DrawingFont {
  TextMeasure width;        // upright, in logical units
  TextMeasure italicWidth;  // the descriptions
  double size = 8.6;        // font size in logical units
  double ascent = 7.6;      // from a line's top to its baseline
  int lineHeight = kTextLineHeight;
};

struct PagePoint {
  int x = 0;
  int y = 0;
};

struct DrawnText {
  PagePoint baseline;  // start of the baseline (the middle for a description)
  std::string text;
};

struct DrawnNode {
  const CNode* node = nullptr;
  PagePoint topLeft;
  std::vector<DrawnText> lines;
};

struct DrawnArrow {
  const CArrow* arrow = nullptr;
  PagePoint start, end;
  PagePoint head[3];  // tip and the two side points
  // The description: a framed box with the condition, when it has one.
  bool described = false;
  PagePoint boxTopLeft;
  int boxWidth = 0, boxHeight = 0;
  DrawnText description;
};

struct LevelDrawing {
  int left = 0, top = 0, width = 0, height = 0;  // the view box
  std::vector<DrawnNode> nodes;
  std::vector<DrawnArrow> arrows;  // in drawing order: each node's outgoing arrows
};

inline constexpr int kDrawingMargin = 20;

// The level of `nodes` (in list order) with the names and arrow descriptions
// shown and the default arrow heads, as the view shows them by default. An
// empty level is a small empty box.
LevelDrawing DrawLevel(const std::vector<CNode*>& nodes, const DrawingFont& font);

}  // namespace velk
