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
constexpr double kFontHeightUnits = 10.0;

QRect DeviceRect(const ViewMapping& m, const Rect& r) {
  const QRectF f = m.ToDevice(r);
  const QPoint tl(qRound(f.left()), qRound(f.top()));
  const QPoint br(qRound(f.right()), qRound(f.bottom()));
  return QRect(tl, QSize(br.x() - tl.x(), br.y() - tl.y()));
}

// True when `r`, widened by `margin` units for pens and rounding, reaches `clip`.
bool Touches(const Rect& r, const Rect& clip, int margin = 2) {
  return r.left - margin <= clip.right && clip.left <= r.right + margin &&
         r.bottom - margin <= clip.top && clip.bottom <= r.top + margin;
}

// Width of the drawing's pens: one logical unit, at least one pixel.
double PenWidth(const ViewMapping& m) {
  return std::max(1.0, std::floor(m.ScaleX()));
}

}  // namespace

struct CWorkflowPainter::Context {
  const ViewMapping& mapping;
  const PaintOptions& options;
  Rect clip;  // logical
  int arrowSize;
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
  PrepareFonts(mapping, painter.device() ? painter.device()->logicalDpiY() : 96.0);
  const Context c{mapping, options, mapping.ToLogical(QRectF(clip)),
                  velk::CWorkflowDoc::ArrowSize()};
  painter.save();
  painter.setClipRect(clip, Qt::IntersectClip);
  DrawBackground(painter, c);
  if (options.gridVisible) DrawGrid(painter, c);
  if (level) {
    const std::vector<CNode*> nodes = level->LevelNodes();
    for (const CNode* node : nodes) DrawNode(painter, c, *node);
    painter.setFont(textFont_);
    painter.setPen(Qt::black);
    for (const CNode* node : nodes) DrawNodeTexts(painter, c, *node);
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
  const ViewMapping& m = c.mapping;
  QPen dotted(kGridColor, PenWidth(m), Qt::DotLine, Qt::FlatCap);
  painter.setPen(dotted);
  for (int x : velk::GridLinePositions(c.options.gridSize, velk::kDrawingWidth)) {
    if (x < c.clip.left - 1 || x > c.clip.right + 1) continue;
    painter.drawLine(m.ToDevice(Point{x, 0}), m.ToDevice(Point{x, -velk::kDrawingHeight}));
  }
  for (int y : velk::GridLinePositions(c.options.gridSize, velk::kDrawingHeight)) {
    if (-y > c.clip.top + 1 || -y < c.clip.bottom - 1) continue;
    painter.drawLine(m.ToDevice(Point{0, -y}), m.ToDevice(Point{velk::kDrawingWidth, -y}));
  }
  QPen solid(kGridColor, PenWidth(m), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
  painter.setPen(solid);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(DeviceRect(m, velk::kDrawingRect));
}

const QImage& CWorkflowPainter::NodeImage(int index, bool selected, QSize size) {
  const quint64 key = (quint64(selected) << 62) | (quint64(index & 0xffff) << 40) |
                      (quint64(size.width() & 0xfffff) << 20) | quint64(size.height() & 0xfffff);
  auto it = scaled_.find(key);
  if (it == scaled_.end()) {
    QImage source = bitmaps_.Image(selected ? CNodeBitmaps::kTableB : CNodeBitmaps::kTableA, index);
    QImage image;
    if (!source.isNull())
      image = source.convertToFormat(QImage::Format_RGB32)
                  .scaled(size, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    it = scaled_.insert(key, image);
  }
  return *it;
}

void CWorkflowPainter::DrawNode(QPainter& painter, const Context& c, const CNode& node) {
  if (Touches(node.GetRect(), c.clip)) {
    const QRect target = DeviceRect(c.mapping, node.GetRect());
    const QImage& image = NodeImage(node.Picture(), node.IsSelected(), target.size());
    if (!image.isNull()) painter.drawImage(target.topLeft(), image);
  }
  for (const CArrow* arrow : node.OutgoingArrows()) {
    if (Touches(velk::ArrowBounds(*arrow), c.clip)) DrawArrow(painter, c, *arrow);
    if (c.options.flags.arrowDescription && !arrow->Condition().empty())
      DrawDescription(painter, c, *arrow);
  }
}

void CWorkflowPainter::DrawArrow(QPainter& painter, const Context& c, const CArrow& arrow) {
  const auto& head = arrow.HeadPoints();
  const ViewMapping& m = c.mapping;
  const QColor color = arrow.IsSelected() ? kSelectedColor : QColor(Qt::black);
  painter.setPen(QPen(color, PenWidth(m), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  painter.drawLine(m.ToDevice(arrow.LineStart()), m.ToDevice(arrow.LineEnd()));
  const QPointF triangle[3] = {m.ToDevice(head[0]), m.ToDevice(head[1]), m.ToDevice(head[2])};
  painter.setBrush(color);
  painter.drawPolygon(triangle, 3);
  painter.setBrush(Qt::NoBrush);
}

void CWorkflowPainter::DrawArrowLine(QPainter& painter, const ViewMapping& m, Point start,
                                     Point end, int arrowSize, bool selected) {
  const velk::ArrowLine line{start, end};
  const auto head = velk::ComputeArrowHead(line, arrowSize);
  const QColor color = selected ? kSelectedColor : QColor(Qt::black);
  painter.save();
  painter.setPen(QPen(color, PenWidth(m), Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  painter.drawLine(m.ToDevice(start), m.ToDevice(end));
  const QPointF triangle[3] = {m.ToDevice(head[0]), m.ToDevice(head[1]), m.ToDevice(head[2])};
  painter.setBrush(color);
  painter.drawPolygon(triangle, 3);
  painter.restore();
}

int CWorkflowPainter::KnownWidth(const QString& text, bool italic) {
  QHash<QString, int>& known = widths_[italic ? 1 : 0];
  auto it = known.find(text);
  if (it == known.end()) {
    if (known.size() > 20000) known.clear();
    it = known.insert(text, static_cast<int>(std::ceil(TextWidth(text, italic))));
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
  painter.setPen(QPen(frame, PenWidth(m)));
  painter.setBrush(Qt::white);
  painter.drawRect(DeviceRect(m, box));
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

std::vector<QString> CWorkflowPainter::WrapName(const QString& text, int width) {
  auto it = wrapped_.find(text);
  if (it != wrapped_.end()) return *it;
  const auto measure = [this](std::string_view s) {
    return TextWidth(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())), false);
  };
  std::vector<QString> lines;
  for (const std::string& line : velk::WrapWords(text.toStdString(), width, measure))
    lines.push_back(QString::fromStdString(line));
  if (wrapped_.size() > 20000) wrapped_.clear();
  wrapped_.insert(text, lines);
  return lines;
}

void CWorkflowPainter::DrawTextLines(QPainter& painter, const Context& c,
                                     const std::vector<QString>& lines, const Rect& box) {
  const ViewMapping& m = c.mapping;
  const double ascent = shapeOnce_ ? 0.0 : QFontMetricsF(painter.font()).ascent();
  const auto draw = [&](const QPointF& topLeft, const QString& line) {
    if (shapeOnce_)
      painter.drawStaticText(topLeft, Shaped(line, false));
    else
      painter.drawText(topLeft + QPointF(0, ascent), line);
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int lineTop = box.top - static_cast<int>(i) * lineHeight_;
    if (lineTop - lineHeight_ < box.bottom) break;  // the box shows whole lines only
    const QPointF topLeft = m.ToDevice(Point{box.left, lineTop});
    if (KnownWidth(lines[i], false) <= box.Width()) {
      draw(topLeft, lines[i]);
    } else {
      painter.save();
      painter.setClipRect(DeviceRect(m, box), Qt::IntersectClip);
      draw(topLeft, lines[i]);
      painter.restore();
    }
  }
}

void CWorkflowPainter::DrawNodeTexts(QPainter& painter, const Context& c, const CNode& node) {
  const velk::ShowFlags& flags = c.options.flags;
  if (!flags.taskNames && !flags.taskMember && !flags.taskForms && !flags.taskResources) return;
  // Every text lies in the column beside the node, from two lines below its
  // bottom edge to four lines above it.
  const Rect& r = node.GetRect();
  const Rect reach{r.right + velk::kTextColumnLeft, r.bottom + 4 * lineHeight_,
                   r.right + velk::kTextColumnRight, r.bottom - 2 * lineHeight_};
  if (!Touches(reach, c.clip)) return;
  const velk::NodeTextLayout layout =
      velk::LayoutNodeTexts(node.GetRect(), node.Attributes(), flags, lineHeight_);
  if (!layout.nameText.empty() && Touches(layout.nameBox, c.clip)) {
    const QString name = QString::fromStdString(layout.nameText);
    DrawTextLines(painter, c, WrapName(name, layout.nameBox.Width()), layout.nameBox);
  }
  if (!layout.blockText.empty() && Touches(layout.blockBox, c.clip)) {
    std::vector<QString> lines;
    for (const std::string& line : velk::SplitLines(layout.blockText))
      lines.push_back(QString::fromStdString(line));
    DrawTextLines(painter, c, lines, layout.blockBox);
  }
}

Rect CWorkflowPainter::ArrowArea(const CArrow& arrow, bool withDescription) {
  Rect area = velk::ArrowBounds(arrow);
  if (withDescription && !arrow.Condition().empty())
    area = area.United(velk::DescriptionBox(DescriptionRect(arrow)));
  return area;
}

Rect CWorkflowPainter::NodeArea(const CNode& node, const velk::TextOffsets& offsets,
                                bool withDescriptions) {
  Rect area = velk::NodeTextArea(node.GetRect(), offsets);
  for (const CArrow* arrow : node.IncomingArrows())
    area = area.United(ArrowArea(*arrow, withDescriptions));
  for (const CArrow* arrow : node.OutgoingArrows())
    area = area.United(ArrowArea(*arrow, withDescriptions));
  return area;
}

Rect CWorkflowPainter::LevelArea(const velk::CWorkflowDoc& level, const velk::TextOffsets& offsets,
                                 bool withDescriptions) {
  const std::vector<CNode*> nodes = level.LevelNodes();
  if (nodes.empty()) return {};
  Rect area = NodeArea(*nodes.front(), offsets, withDescriptions);
  for (const CNode* node : nodes) area = area.United(NodeArea(*node, offsets, withDescriptions));
  return area;
}
