#include "editor/drawinggeometry.h"

#include <algorithm>
#include <cmath>

#include "model/arrow.h"
#include "model/node.h"

namespace velk {

ScrollSizes ComputeScrollSizes(int width, int height) {
  return {width, height, width / 2, height / 2, width / 50, height / 50};
}

TextOffsets ComputeTextOffsets(const ShowFlags& flags) {
  // The member line counts twice: it is what pushes the block highest.
  const int lines =
      (flags.taskForms ? 1 : 0) + (flags.taskMember ? 2 : 1) + (flags.taskResources ? 1 : 0);
  TextOffsets offsets;
  offsets.upper = lines > 1 ? 32 - 15 * lines : 0;
  offsets.width = 150;
  offsets.lower = flags.taskNames ? -30 : 0;
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

NodeTextLayout LayoutNodeTexts(const Rect& node, const NodeAttributes& attributes,
                               const ShowFlags& flags, int lineHeight) {
  NodeTextLayout layout;
  const int left = node.right + kTextColumnLeft;
  const int right = node.right + kTextColumnRight;
  if (flags.taskNames) {
    layout.nameText = "N: " + attributes.name;
    layout.nameBox = {left, node.bottom + lineHeight, right, node.bottom - 2 * lineHeight};
  }
  std::string block;
  int lines = 0;
  if (flags.taskMember) {
    block += "M: " + attributes.member + "\n";
    ++lines;
  }
  if (flags.taskForms) {
    block +=
        "O: " + (attributes.objects.empty() ? std::string() : attributes.objects.front()) + "\n";
    ++lines;
  }
  if (flags.taskResources) {
    block += "R: " + (attributes.resources.empty() ? std::string() : attributes.resources.front());
    ++lines;
  }
  if (!block.empty()) {
    layout.blockText = std::move(block);
    layout.blockLines = lines;
    layout.blockBox = {left, node.bottom + (lines + 1) * lineHeight, right, node.bottom};
  }
  return layout;
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

Rect ArrowBounds(const CArrow& arrow) {
  const Point s = arrow.LineStart();
  const Point e = arrow.LineEnd();
  Rect r{std::min(s.x, e.x), std::max(s.y, e.y), std::max(s.x, e.x), std::min(s.y, e.y)};
  for (const Point& p : arrow.HeadPoints()) r = r.United({p.x, p.y, p.x, p.y});
  return r;
}

}  // namespace velk
