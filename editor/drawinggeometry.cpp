#include "editor/drawinggeometry.h"

#include <algorithm>
#include <cmath>

#include "editor/hittest.h"
#include "model/arrow.h"
#include "model/node.h"

namespace velk {

ScrollSizes ComputeScrollSizes(int width, int height) {
  return {width, height, width / 2, height / 2, width / 50, height / 50};
}

TextOffsets ComputeTextOffsets(const ShowFlags& flags) {
  const int lines = (flags.taskNames ? kNameLines : 0) + (flags.taskMember ? 1 : 0) +
                    (flags.taskForms ? 1 : 0) + (flags.taskResources ? 1 : 0);
  TextOffsets offsets;
  offsets.lower = lines > 0 ? -(kTextGap + lines * kTextLineHeight) : 0;
  return offsets;
}

Rect NodeTextArea(const Rect& node, const TextOffsets& offsets) {
  return {node.left, node.top - offsets.upper, node.right + offsets.width,
          node.bottom + offsets.lower};
}

std::vector<int> GridLinePositions(int gridSize, int extent) {
  std::vector<int> positions;
  if (gridSize < 1) return positions;
  for (int pos = gridSize; pos < extent; pos += gridSize) positions.push_back(pos);
  return positions;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

namespace {

void WrapParagraph(std::string_view text, double width, const TextMeasure& measure,
                   std::vector<std::string>& lines) {
  std::string line;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = text.find_first_not_of(' ', pos);
    if (start == std::string_view::npos) break;
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = text.substr(start, end - start);
    std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
    if (line.empty() || measure(candidate) <= width) {
      line = std::move(candidate);
    } else {
      lines.push_back(std::move(line));
      line = std::string(word);
    }
    pos = end;
  }
  lines.push_back(std::move(line));
}

}  // namespace

std::vector<std::string> WrapWords(std::string_view text, double width,
                                   const TextMeasure& measure) {
  std::vector<std::string> lines;
  for (const std::string& paragraph : SplitLines(text))
    WrapParagraph(paragraph, width, measure, lines);
  return lines;
}

namespace {

constexpr char kEllipsis[] = "\u2026";

}  // namespace

std::string FitToWidth(std::string_view text, double width, const TextMeasure& measure) {
  if (measure(text) <= width) return std::string(text);
  std::vector<std::size_t> cuts;  // where a UTF-8 character starts
  for (std::size_t i = 0; i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) cuts.push_back(i);
  // Halving: measuring every beginning in turn would take long on long texts.
  std::size_t fits = 0, tooLong = cuts.size();
  while (tooLong - fits > 1) {
    const std::size_t middle = (fits + tooLong) / 2;
    if (measure(std::string(text.substr(0, cuts[middle])) + kEllipsis) <= width)
      fits = middle;
    else
      tooLong = middle;
  }
  return std::string(text.substr(0, cuts.empty() ? 0 : cuts[fits])) + kEllipsis;
}

NodeTextLayout LayoutNodeTexts(const Rect& node, const NodeAttributes& attributes,
                               const ShowFlags& flags, int lineHeight, const TextMeasure& measure) {
  NodeTextLayout layout;
  std::vector<std::string>& lines = layout.lines;
  if (flags.taskNames) {
    lines = WrapWords("N: " + attributes.name, kTextWidth, measure);
    if (lines.size() > static_cast<std::size_t>(kNameLines)) {
      lines.resize(kNameLines);
      lines.back() = FitToWidth(lines.back() + " " + kEllipsis, kTextWidth, measure);
    }
    for (std::string& line : lines) line = FitToWidth(line, kTextWidth, measure);
  }
  const auto first = [](const std::vector<std::string>& list) {
    return list.empty() ? std::string() : list.front();
  };
  if (flags.taskMember) lines.push_back(FitToWidth("M: " + attributes.member, kTextWidth, measure));
  if (flags.taskForms)
    lines.push_back(FitToWidth("O: " + first(attributes.objects), kTextWidth, measure));
  if (flags.taskResources)
    lines.push_back(FitToWidth("R: " + first(attributes.resources), kTextWidth, measure));
  if (lines.empty()) return layout;
  const Point corner = NodeTextCorner(node);
  layout.box = {corner.x, corner.y, corner.x + kTextWidth,
                corner.y - static_cast<int>(lines.size()) * lineHeight};
  return layout;
}

Point NodeTextCorner(const Rect& node) {
  return {node.Center().x + kTextIndent, node.bottom - kTextGap};
}

Point DescriptionAnchor(const ArrowLine& line) {
  const auto half = [](int a, int b) { return static_cast<int>(std::lround((a + b) / 2.0)); };
  return {half(line.start.x, line.end.x) + 5, half(line.start.y, line.end.y) + 5};
}

Rect DescriptionTextRect(Point anchor, int textWidth, int textHeight) {
  const int left = anchor.x - textWidth / 2;
  return {left, anchor.y, left + textWidth, anchor.y - textHeight};
}

Rect DescriptionBox(const Rect& textRect) {
  return {textRect.left - 1, textRect.top, textRect.right + 1, textRect.bottom - 2};
}

std::vector<Rect> PrintPages(const Rect& used, int pageWidth, int pageHeight) {
  if (pageWidth < 1 || pageHeight < 1) return {kDrawingRect};
  const int right = std::clamp(used.right, 1, kDrawingWidth);
  const int depth = std::clamp(-used.bottom, 1, kDrawingHeight);
  const int columns = (right + pageWidth - 1) / pageWidth;
  const int rows = (depth + pageHeight - 1) / pageHeight;
  std::vector<Rect> pages;
  for (int row = 0; row < rows; ++row) {
    for (int column = 0; column < columns; ++column) {
      const int left = column * pageWidth;
      const int top = -row * pageHeight;
      pages.push_back({left, top, std::min(left + pageWidth, kDrawingWidth),
                       std::max(top - pageHeight, -kDrawingHeight)});
    }
  }
  return pages;
}

std::array<Point, 4> ArrowHead(const CArrow& arrow, int arrowSize) {
  return ComputeArrowHead({arrow.LineStart(), arrow.LineEnd()}, arrowSize);
}

Rect ArrowBounds(const ArrowLine& line, int arrowSize) {
  Rect r = RectFromCorners(line.start, line.end);
  for (const Point& p : ComputeArrowHead(line, arrowSize)) r = r.United({p.x, p.y, p.x, p.y});
  return r;
}

Rect ArrowBounds(const CArrow& arrow, int arrowSize) {
  return ArrowBounds({arrow.LineStart(), arrow.LineEnd()}, arrowSize);
}

}  // namespace velk
