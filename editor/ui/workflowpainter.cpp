#include "editor/ui/workflowpainter.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPolygonF>
#include <QScreen>
#include <cmath>

#include "app/ui/nodebitmaps.h"
#include "model/arrowgeometry.h"
#include "model/workflowdoc.h"

using velk::CArrow;
using velk::CNode;
using velk::Point;
using velk::Rect;

namespace {

const QColor kGridColor(90, 90, 90);
const QColor kSelectedColor(0, 0, 255);
const QColor kDescriptionColor(0, 0, 255);
// The fonts' specified height: one line of text, in logical units.
constexpr double kFontHeightUnits = velk::kTextLineHeight;

QRect DeviceRect(const ViewMapping& m, const Rect& r) {
  return DevicePixels(m.ToDevice(r), 1.0);
}

// True when `r`, widened by `margin` units for pens and rounding, reaches `clip`.
bool Touches(const Rect& r, const Rect& clip, int margin = 2) {
  return r.left - margin <= clip.right && clip.left <= r.right + margin &&
         r.bottom - margin <= clip.top && clip.bottom <= r.top + margin;
}

}  // namespace

struct CWorkflowPainter::Context {
  const ViewMapping& mapping;
  const PaintOptions& options;
  Rect clip;     // logical
  double ratio;  // device pixels per painter pixel

  // Width of the drawing's pens: one logical unit, at least one device pixel,
  // always whole device pixels.
  double PenWidth() const { return std::max(1.0, std::round(mapping.ScaleX() * ratio)) / ratio; }
  // Where a point of the drawing goes so that a pen of PenWidth() covers whole
  // device pixels: lines along the axes stay sharp under antialiasing.
  QPointF Sharp(Point p) const { return CrispPoint(mapping.ToDevice(p), PenWidth(), ratio); }
  QRectF Sharp(const Rect& r) const {
    return QRectF(Sharp(Point{r.left, r.top}), Sharp(Point{r.right, r.bottom}));
  }
};

namespace {
// Pixels per unit of the layout fonts.
constexpr double kMeasureScale = 10.0;
}  // namespace

CWorkflowPainter::CWorkflowPainter(const CNodeBitmaps& bitmaps)
    : bitmaps_(bitmaps), measureFont_(TextFont(kMeasureScale, 100.0)) {
  measureItalic_ = measureFont_;
  measureItalic_.setItalic(true);
  lineHeight_ = std::max(
      1, static_cast<int>(std::lround(QFontMetricsF(measureFont_).height() / kMeasureScale)));
}

QFont CWorkflowPainter::TextFont(double pixelsPerUnit, double dpi) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(QFont::Normal);
  // Size the font by its line height, whatever the family's proportions; point
  // sizes keep the fraction that whole pixel sizes would lose.
  font.setPixelSize(100);
  const double ratio = QFontMetricsF(font).height() / 100.0;
  font.setPointSizeF(kFontHeightUnits * pixelsPerUnit / ratio * 72.0 / dpi);
  return font;
}

void CWorkflowPainter::PrepareFonts(const ViewMapping& mapping, double dpi) {
  if (mapping.ScaleY() == fontScale_ && dpi == fontDpi_) return;
  fontScale_ = mapping.ScaleY();
  fontDpi_ = dpi;
  textFont_ = TextFont(fontScale_, dpi);
  descriptionFont_ = textFont_;
  descriptionFont_.setItalic(true);
  shaped_[0].clear();
  shaped_[1].clear();
  widths_[0].clear();
  widths_[1].clear();
  // Shaped texts are laid out at the screen's resolution; printers and PDF
  // writers of another one get their texts laid out as they are drawn.
  const QScreen* screen = QGuiApplication::primaryScreen();
  shapeOnce_ = screen && std::lround(screen->logicalDotsPerInchY()) == std::lround(dpi);
}

double CWorkflowPainter::TextWidth(const QString& text, bool italic) const {
  return QFontMetricsF(italic ? measureItalic_ : measureFont_).horizontalAdvance(text) /
         kMeasureScale;
}

void CWorkflowPainter::Paint(QPainter& painter, const velk::CWorkflowDoc* level,
                             const ViewMapping& mapping, const PaintOptions& options,
                             const QRect& clip) {
  const QPaintDevice* device = painter.device();
  PrepareFonts(mapping, device ? device->logicalDpiY() : 96.0);
  const Context c{mapping, options, mapping.ToLogical(QRectF(clip)),
                  device ? device->devicePixelRatioF() : 1.0};
  painter.save();
  painter.setClipRect(clip, Qt::IntersectClip);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  DrawBackground(painter, c);
  if (options.gridVisible) DrawGrid(painter, c);
  if (level) {
    const std::vector<CNode*> nodes = level->LevelNodes();
    for (const CNode* node : nodes) DrawNode(painter, c, *node);
    painter.setFont(textFont_);
    painter.setPen(Qt::black);
    for (const CNode* node : nodes) DrawNodeTexts(painter, c, *node);
    // Last, so that no picture, line or node text covers a part of a condition.
    if (options.flags.arrowDescription)
      for (const CNode* node : nodes)
        for (const CArrow* arrow : node->OutgoingArrows())
          if (!arrow->Condition().empty()) DrawDescription(painter, c, *arrow);
  }
  painter.restore();
}

void CWorkflowPainter::DrawBackground(QPainter& painter, const Context& c) const {
  const QRect area = DeviceRect(c.mapping, velk::kDrawingRect);
  const QRect clip = c.mapping.ToDeviceCovering(c.clip);
  const QColor outside =
      c.options.outside.isValid() ? c.options.outside : QPalette().color(QPalette::Window);
  painter.fillRect(clip, outside);
  painter.fillRect(area.intersected(clip), Qt::white);
}

void CWorkflowPainter::DrawGrid(QPainter& painter, const Context& c) const {
  QPen dotted(kGridColor, c.PenWidth(), Qt::DotLine, Qt::FlatCap);
  painter.setPen(dotted);
  for (int x : velk::GridLinePositions(c.options.gridSize, velk::kDrawingWidth)) {
    if (x < c.clip.left - 1 || x > c.clip.right + 1) continue;
    painter.drawLine(c.Sharp(Point{x, 0}), c.Sharp(Point{x, -velk::kDrawingHeight}));
  }
  for (int y : velk::GridLinePositions(c.options.gridSize, velk::kDrawingHeight)) {
    if (-y > c.clip.top + 1 || -y < c.clip.bottom - 1) continue;
    painter.drawLine(c.Sharp(Point{0, -y}), c.Sharp(Point{velk::kDrawingWidth, -y}));
  }
  QPen solid(kGridColor, c.PenWidth(), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  painter.setPen(solid);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(c.Sharp(velk::kDrawingRect));
}

const QImage& CWorkflowPainter::NodeImage(int index, bool selected, QSize size, double ratio) {
  const quint64 key = (quint64(selected) << 63) | (quint64(index & 0x7f) << 56) |
                      (quint64(qRound(ratio * 100) & 0xffff) << 40) |
                      (quint64(size.width() & 0xfffff) << 20) | quint64(size.height() & 0xfffff);
  auto it = scaled_.find(key);
  if (it == scaled_.end()) {
    QImage source = bitmaps_.Image(selected ? CNodeBitmaps::kTableB : CNodeBitmaps::kTableA, index);
    QImage image;
    if (!source.isNull()) {
      // Every picture pixel becomes a block of whole device pixels: sharp, in
      // the picture's own colours.
      image = source.convertToFormat(QImage::Format_RGB32)
                  .scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
      image.setDevicePixelRatio(ratio);
    }
    it = scaled_.insert(key, image);
  }
  return *it;
}

void CWorkflowPainter::DrawNode(QPainter& painter, const Context& c, const CNode& node) {
  if (Touches(node.GetRect(), c.clip)) {
    const QRect target = DevicePixels(c.mapping.ToDevice(node.GetRect()), c.ratio);
    const QImage& image = NodeImage(node.Picture(), node.IsSelected(), target.size(), c.ratio);
    if (!image.isNull()) painter.drawImage(QPointF(target.topLeft()) / c.ratio, image);
  }
  for (const CArrow* arrow : node.OutgoingArrows())
    if (Touches(velk::ArrowBounds(*arrow, c.options.arrowSize), c.clip))
      DrawArrowShape(painter, c, arrow->LineStart(), arrow->LineEnd(),
                     velk::ArrowHead(*arrow, c.options.arrowSize), arrow->IsSelected());
}

void CWorkflowPainter::DrawArrowShape(QPainter& painter, const Context& c, Point start, Point end,
                                      const std::array<Point, 4>& head, bool selected) const {
  const QColor color = selected ? kSelectedColor : QColor(Qt::black);
  painter.setPen(QPen(color, c.PenWidth(), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  painter.drawLine(c.Sharp(start), c.Sharp(end));
  const QPointF triangle[3] = {c.Sharp(head[0]), c.Sharp(head[1]), c.Sharp(head[2])};
  painter.setBrush(color);
  painter.drawPolygon(triangle, 3);
  painter.setBrush(Qt::NoBrush);
}

void CWorkflowPainter::DrawArrowLine(QPainter& painter, const ViewMapping& m, Point start,
                                     Point end, int arrowSize, bool selected) {
  const PaintOptions options;
  const Context c{m, options, {}, painter.device() ? painter.device()->devicePixelRatioF() : 1.0};
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  DrawArrowShape(painter, c, start, end, velk::ComputeArrowHead({start, end}, arrowSize), selected);
  painter.restore();
}

int CWorkflowPainter::KnownWidth(const QString& text, bool italic) {
  QHash<QString, int>& known = widths_[italic ? 1 : 0];
  auto it = known.find(text);
  if (it == known.end()) {
    if (known.size() > 20000) known.clear();
    double width = TextWidth(text, italic);
    // Hinting at the drawing's size may widen a text: a box holds it as drawn.
    if (fontScale_ > 0)
      width = std::max(
          width, QFontMetricsF(italic ? descriptionFont_ : textFont_).horizontalAdvance(text) /
                     fontScale_);
    it = known.insert(text, static_cast<int>(std::ceil(width)));
  }
  return *it;
}

const QStaticText& CWorkflowPainter::Shaped(const QString& text, bool italic) {
  QHash<QString, QStaticText>& shaped = shaped_[italic ? 1 : 0];
  auto it = shaped.find(text);
  if (it == shaped.end()) {
    if (shaped.size() > 20000) shaped.clear();
    QStaticText prepared(text);
    prepared.setTextFormat(Qt::PlainText);
    prepared.setPerformanceHint(QStaticText::AggressiveCaching);
    prepared.prepare(QTransform(), italic ? descriptionFont_ : textFont_);
    it = shaped.insert(text, prepared);
  }
  return *it;
}

Rect CWorkflowPainter::DescriptionRect(const CArrow& arrow) {
  const int width = KnownWidth(QString::fromStdString(arrow.Condition()), true);
  const Point anchor = velk::DescriptionAnchor({arrow.LineStart(), arrow.LineEnd()});
  return velk::DescriptionTextRect(anchor, width, lineHeight_);
}

void CWorkflowPainter::DrawDescription(QPainter& painter, const Context& c, const CArrow& arrow) {
  // The box hangs from the anchor: skip measuring when its rows are out of the clip.
  const Point anchor = velk::DescriptionAnchor({arrow.LineStart(), arrow.LineEnd()});
  if (anchor.y < c.clip.bottom - 2 || anchor.y - lineHeight_ - 4 > c.clip.top) return;
  const Rect textRect = DescriptionRect(arrow);
  const Rect box = velk::DescriptionBox(textRect);
  if (!Touches(box, c.clip)) return;
  const ViewMapping& m = c.mapping;
  // The box is framed in the arrow's colour, so a label shows which arrow it names.
  const QColor frame = arrow.IsSelected() ? kSelectedColor : QColor(Qt::black);
  painter.setPen(QPen(frame, c.PenWidth(), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  painter.setBrush(Qt::white);
  painter.drawRect(c.Sharp(box));
  painter.setBrush(Qt::NoBrush);
  painter.setFont(descriptionFont_);
  painter.setPen(kDescriptionColor);
  const QString condition = QString::fromStdString(arrow.Condition());
  const QRect pixels = DeviceRect(m, textRect);
  if (!shapeOnce_) {
    painter.drawText(pixels, Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip, condition);
    return;
  }
  const QStaticText& text = Shaped(condition, true);
  painter.drawStaticText(
      QPointF(pixels.left() + (pixels.width() - text.size().width()) / 2.0, pixels.top()), text);
}

const std::vector<QString>& CWorkflowPainter::TextLines(const CNode& node,
                                                        const velk::ShowFlags& flags) {
  const velk::NodeAttributes& a = node.Attributes();
  const auto first = [](const std::vector<std::string>& list) {
    return list.empty() ? std::string() : list.front();
  };
  // Everything the lines are made of, in fields that cannot run into each other.
  const QString key = QString::fromStdString(
      std::string{char('0' + flags.taskNames), char('0' + flags.taskMember),
                  char('0' + flags.taskForms), char('0' + flags.taskResources)} +
      '\x1f' + a.name + '\x1f' + a.member + '\x1f' + first(a.objects) + '\x1f' +
      first(a.resources));
  auto it = lines_.find(key);
  if (it == lines_.end()) {
    if (lines_.size() > 20000) lines_.clear();
    const auto measure = [this](std::string_view s) {
      return TextWidth(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())), false);
    };
    std::vector<QString> lines;
    for (const std::string& line :
         velk::LayoutNodeTexts(node.GetRect(), a, flags, lineHeight_, measure).lines)
      lines.push_back(QString::fromStdString(line));
    it = lines_.insert(key, lines);
  }
  return *it;
}

void CWorkflowPainter::DrawNodeTexts(QPainter& painter, const Context& c, const CNode& node) {
  const velk::ShowFlags& flags = c.options.flags;
  if (!flags.taskNames && !flags.taskMember && !flags.taskForms && !flags.taskResources) return;
  if (!Touches(velk::NodeTextArea(node.GetRect(), velk::ComputeTextOffsets(flags)), c.clip)) return;
  const std::vector<QString>& lines = TextLines(node, flags);
  const Point corner = velk::NodeTextCorner(node.GetRect());
  const double ascent = shapeOnce_ ? 0.0 : QFontMetricsF(painter.font()).ascent();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const QPointF topLeft =
        c.mapping.ToDevice(Point{corner.x, corner.y - static_cast<int>(i) * lineHeight_});
    if (shapeOnce_)
      painter.drawStaticText(topLeft, Shaped(lines[i], false));
    else
      painter.drawText(topLeft + QPointF(0, ascent), lines[i]);
  }
}

Rect CWorkflowPainter::TextBox(const CNode& node, const velk::ShowFlags& flags) {
  const std::vector<QString>& lines = TextLines(node, flags);
  if (lines.empty()) return {};
  const Point corner = velk::NodeTextCorner(node.GetRect());
  return {corner.x, corner.y, corner.x + velk::kTextWidth,
          corner.y - static_cast<int>(lines.size()) * lineHeight_};
}

Rect CWorkflowPainter::ArrowArea(const CArrow& arrow, bool withDescription, int arrowSize) {
  Rect area = velk::ArrowBounds(arrow, arrowSize);
  if (withDescription && !arrow.Condition().empty())
    area = area.United(velk::DescriptionBox(DescriptionRect(arrow)));
  return area;
}

Rect CWorkflowPainter::NodeArea(const CNode& node, const velk::TextOffsets& offsets,
                                bool withDescriptions, int arrowSize) {
  Rect area = velk::NodeTextArea(node.GetRect(), offsets);
  for (const CArrow* arrow : node.IncomingArrows())
    area = area.United(ArrowArea(*arrow, withDescriptions, arrowSize));
  for (const CArrow* arrow : node.OutgoingArrows())
    area = area.United(ArrowArea(*arrow, withDescriptions, arrowSize));
  return area;
}

Rect CWorkflowPainter::LevelArea(const velk::CWorkflowDoc& level, const velk::TextOffsets& offsets,
                                 bool withDescriptions, int arrowSize) {
  const std::vector<CNode*> nodes = level.LevelNodes();
  if (nodes.empty()) return {};
  Rect area = NodeArea(*nodes.front(), offsets, withDescriptions, arrowSize);
  for (const CNode* node : nodes)
    area = area.United(NodeArea(*node, offsets, withDescriptions, arrowSize));
  return area;
}
