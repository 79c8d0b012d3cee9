#include "editor/ui/comparisonpicture.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>
#include <map>

#include "editor/ui/workflowpainter.h"
#include "model/arrow.h"
#include "model/node.h"
#include "model/workflowdiff.h"
#include "model/workflowdoc.h"

using velk::ChangeKind;
using velk::CWorkflowDoc;
using velk::Rect;

namespace {

constexpr int kGap = 60;          // logical units between the two sides
constexpr int kCaptionHeight = 28;  // device pixels above the drawings

}  // namespace

QColor ChangeColour(ChangeKind kind) {
  switch (kind) {
    case ChangeKind::Added:
      return QColor(0x2e, 0x9d, 0x3a);
    case ChangeKind::Removed:
      return QColor(0xd0, 0x30, 0x30);
    case ChangeKind::Moved:
      return QColor(0x30, 0x70, 0xd0);
    case ChangeKind::Changed:
      break;
  }
  return QColor(0xe8, 0x9a, 0x00);
}

namespace {

class Side {
 public:
  Side(const CWorkflowDoc& level, CWorkflowPainter& painter, const ExportOptions& options)
      : level_(level), painter_(painter) {
    Rect used = painter.LevelArea(level, velk::ComputeTextOffsets(options.flags),
                                  options.flags.arrowDescription, options.arrowSize);
    if (used.Width() <= 0 || used.Height() <= 0) used = {0, 0, 100, -100};
    const int m = options.margin;
    area_ = {used.left - m, used.top + m, used.right + m, used.bottom - m};
  }
  QSize Pixels(double dpi) const {
    return {static_cast<int>(std::ceil(area_.Width() * dpi / 100.0)),
            static_cast<int>(std::ceil(area_.Height() * dpi / 100.0))};
  }
  void Paint(QPainter& p, const PaintOptions& paint, QPoint at, double dpi,
             const ComparisonMarks& marks, const QString& caption) const {
    ViewMapping mapping = ViewMapping::ForDpi(dpi, dpi);
    mapping.SetOrigin(QPointF(at.x() - area_.left * mapping.ScaleX(),
                              at.y() + area_.top * mapping.ScaleY()));
    painter_.Paint(p, &level_, mapping, paint, QRect(at, Pixels(dpi)));
    PaintComparisonMarks(p, level_, mapping, marks);
    p.setPen(Qt::black);
    p.drawText(QRect(at.x(), at.y() - kCaptionHeight, Pixels(dpi).width(), kCaptionHeight),
               Qt::AlignLeft | Qt::AlignVCenter, caption);
  }

 private:
  const CWorkflowDoc& level_;
  CWorkflowPainter& painter_;
  Rect area_;
};

QString Caption(const CWorkflowDoc& doc) {
  const velk::WorkflowHeader& h = doc.Header();
  return QStringLiteral("%1, version %2").arg(QString::fromStdString(h.name)).arg(h.version);
}

}  // namespace

ComparisonMarks::ComparisonMarks(const velk::WorkflowDiff& diff, bool newerSide) {
  for (const velk::WorkflowChange& c : diff.changes) {
    const void* element = c.element == velk::ChangeElement::Task
                              ? static_cast<const void*>(newerSide ? c.newerNode : c.olderNode)
                              : static_cast<const void*>(newerSide ? c.newerArrow : c.olderArrow);
    if (element) colours_.emplace(element, ChangeColour(c.kind));
  }
}

QColor ComparisonMarks::Of(const void* element) const {
  auto found = colours_.find(element);
  return found == colours_.end() ? QColor() : found->second;
}

void PaintComparisonMarks(QPainter& p, const CWorkflowDoc& level, const ViewMapping& mapping,
                          const ComparisonMarks& marks) {
  p.save();
  p.setBrush(Qt::NoBrush);
  for (const velk::CNode* node : level.LevelNodes()) {
    if (QColor c = marks.Of(node); c.isValid()) {
      p.setPen(QPen(c, 3));
      const QRectF around = mapping.ToDevice(node->GetRect()).normalized();
      p.drawRoundedRect(around.adjusted(-5, -5, 5, 5), 4, 4);
    }
    for (const velk::CArrow* arrow : node->OutgoingArrows())
      if (QColor c = marks.Of(arrow); c.isValid()) {
        c.setAlpha(150);  // the arrow's description stays readable under the mark
        p.setPen(QPen(c, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(mapping.ToDevice(arrow->LineStart()), mapping.ToDevice(arrow->LineEnd()));
      }
  }
  p.restore();
}

QString ExportComparison(const CWorkflowDoc& olderLevel, const CWorkflowDoc& newerLevel,
                         const velk::WorkflowDiff& diff, ExportFormat format, const QString& path,
                         const CNodeBitmaps& bitmaps, const ExportOptions& options) {
  CWorkflowPainter painter(bitmaps);
  PaintOptions paint;
  paint.flags = options.flags;
  paint.outside = Qt::white;
  paint.arrowSize = options.arrowSize;
  const Side older(olderLevel, painter, options), newer(newerLevel, painter, options);
  const double dpi = options.dpi;
  const int gap = static_cast<int>(std::lround(kGap * dpi / 100.0));
  const QSize a = older.Pixels(dpi), b = newer.Pixels(dpi);
  const QSize size(a.width() + gap + b.width(), std::max(a.height(), b.height()) + kCaptionHeight);
  const auto draw = [&](QPainter& p) {
    p.fillRect(QRect(QPoint(0, 0), size), Qt::white);
    older.Paint(p, paint, {0, kCaptionHeight}, dpi, ComparisonMarks(diff, false),
                Caption(olderLevel));
    newer.Paint(p, paint, {a.width() + gap, kCaptionHeight}, dpi, ComparisonMarks(diff, true),
                Caption(newerLevel));
  };
  const QString failed = QStringLiteral("The comparison could not be written to %1.").arg(path);
  switch (format) {
    case ExportFormat::Png: {
      QImage image(size, QImage::Format_ARGB32);
      image.setDotsPerMeterX(static_cast<int>(std::lround(dpi / 0.0254)));
      image.setDotsPerMeterY(static_cast<int>(std::lround(dpi / 0.0254)));
      QPainter p(&image);
      draw(p);
      p.end();
      return image.save(path, "PNG") ? QString() : failed;
    }
    case ExportFormat::Svg: {
      QSvgGenerator svg;
      svg.setFileName(path);
      svg.setSize(size);
      svg.setViewBox(QRect(QPoint(0, 0), size));
      svg.setResolution(static_cast<int>(std::lround(dpi)));
      QPainter p;
      if (!p.begin(&svg)) return failed;
      draw(p);
      return p.end() ? QString() : failed;
    }
    case ExportFormat::Pdf:
      break;
  }
  QPdfWriter pdf(path);
  pdf.setResolution(static_cast<int>(std::lround(dpi)));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  pdf.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / dpi, size.height() * 72.0 / dpi),
                            QPageSize::Point, QString(), QPageSize::ExactMatch));
  QPainter p;
  if (!p.begin(&pdf)) return failed;
  draw(p);
  return p.end() ? QString() : failed;
}
