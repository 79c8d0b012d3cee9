#include "publish/leveldrawing.h"

#include <cmath>

#include "model/arrow.h"
#include "model/node.h"

namespace velk {

namespace {

PagePoint Page(Point p) { return {p.x, -p.y}; }

// Grows `area` (logical) to hold `r`; an empty area takes `r` as it is.
void Include(Rect& area, bool& empty, const Rect& r) {
  area = empty ? r : area.United(r);
  empty = false;
}

DrawnNode DrawNode(const CNode& node, const DrawingFont& font, Rect& area, bool& empty) {
  DrawnNode drawn{&node, Page({node.GetRect().left, node.GetRect().top}), {}};
  Include(area, empty, node.GetRect());
  const NodeTextLayout layout =
      LayoutNodeTexts(node.GetRect(), node.Attributes(), ShowFlags{}, font.lineHeight, font.width);
  if (layout.lines.empty()) return drawn;
  Include(area, empty, layout.box);
  const Point corner = NodeTextCorner(node.GetRect());
  const int ascent = static_cast<int>(std::lround(font.ascent));
  for (std::size_t i = 0; i < layout.lines.size(); ++i)
    drawn.lines.push_back(
        {{corner.x, -corner.y + static_cast<int>(i) * font.lineHeight + ascent}, layout.lines[i]});
  return drawn;
}

DrawnArrow DrawArrow(const CArrow& arrow, const DrawingFont& font, Rect& area, bool& empty) {
  const auto head = ArrowHead(arrow, kDefaultArrowSize);
  DrawnArrow drawn;
  drawn.arrow = &arrow;
  drawn.start = Page(arrow.LineStart());
  drawn.end = Page(arrow.LineEnd());
  for (int i = 0; i < 3; ++i) drawn.head[i] = Page(head[i]);
  Include(area, empty, ArrowBounds(arrow, kDefaultArrowSize));
  if (arrow.Condition().empty()) return drawn;
  const Point anchor = DescriptionAnchor({arrow.LineStart(), arrow.LineEnd()});
  const int textWidth = static_cast<int>(std::ceil(font.italicWidth(arrow.Condition())));
  const Rect text = DescriptionTextRect(anchor, textWidth, font.lineHeight);
  const Rect box = DescriptionBox(text);
  Include(area, empty, box);
  drawn.described = true;
  drawn.boxTopLeft = Page({box.left, box.top});
  drawn.boxWidth = box.Width();
  drawn.boxHeight = box.Height();
  drawn.description = {
      {(text.left + text.right) / 2, -text.top + static_cast<int>(std::lround(font.ascent))},
      arrow.Condition()};
  return drawn;
}

}  // namespace

LevelDrawing DrawLevel(const std::vector<CNode*>& nodes, const DrawingFont& font) {
  LevelDrawing drawing;
  Rect area;
  bool empty = true;
  for (const CNode* node : nodes) {
    drawing.nodes.push_back(DrawNode(*node, font, area, empty));
    for (const CArrow* arrow : node->OutgoingArrows())
      drawing.arrows.push_back(DrawArrow(*arrow, font, area, empty));
  }
  if (empty) area = {0, 0, 0, 0};
  drawing.left = area.left - kDrawingMargin;
  drawing.top = -area.top - kDrawingMargin;
  drawing.width = area.Width() + 2 * kDrawingMargin;
  drawing.height = area.Height() + 2 * kDrawingMargin;
  return drawing;
}

}  // namespace velk
