#include "editor/ui/overviewwidget.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "app/settings.h"
#include "editor/ui/editor.h"
#include "editor/ui/workflowpainter.h"
#include "editor/ui/workflowview.h"
#include "model/workflowdoc.h"

using velk::Rect;

namespace {
constexpr int kMarginPixels = 6;
}

ViewMapping OverviewMapping(const Rect& content, QSize size) {
  const double width = std::max(1, content.Width());
  const double height = std::max(1, content.Height());
  const double roomX = std::max(1, size.width() - 2 * kMarginPixels);
  const double roomY = std::max(1, size.height() - 2 * kMarginPixels);
  const double s = std::min(roomX / width, roomY / height);
  // Centred: the origin is where the logical (0, 0) lands.
  const double left = (size.width() - width * s) / 2 - content.left * s;
  const double top = (size.height() - height * s) / 2 + content.top * s;
  return ViewMapping(s, s, QPointF(left, top));
}

void PaintOverview(QPainter& device, CWorkflowPainter& painter, const velk::CWorkflowDoc* level,
                   const ViewMapping& mapping, QSize size, const Rect& shown) {
  PaintOptions options;
  // Texts cannot be read at this size; the shapes tell where things are.
  options.flags = {false, false, false, false, false};
  // One white sheet: the edge of the drawing area means nothing at this size.
  options.outside = Qt::white;
  painter.Paint(device, level, mapping, options, QRect(QPoint(), size));
  device.save();
  device.setPen(QPen(QColor(0, 90, 200), 2));
  device.setBrush(QColor(0, 90, 200, 40));
  device.drawRect(mapping.ToDevice(shown));
  device.restore();
}

COverviewWidget::COverviewWidget(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Overview"));
  setMinimumSize(120, 90);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

COverviewWidget::~COverviewWidget() = default;

void COverviewWidget::SetView(CWorkflowView* view) {
  if (view == view_) return;
  if (view_) view_->viewport()->removeEventFilter(this);
  view_ = view;
  grip_.reset();
  if (view_) {
    // A painter of its own: its fonts are sized for this scale, not the view's.
    painter_ = std::make_unique<CWorkflowPainter>(view_->Editor().NodeBitmaps());
    view_->viewport()->installEventFilter(this);
  }
  update();
}

bool COverviewWidget::eventFilter(QObject* watched, QEvent* event) {
  // Whatever repaints the view (an edit, a scroll, the zoom) changes the overview.
  if (view_ && watched == view_->viewport() &&
      (event->type() == QEvent::Paint || event->type() == QEvent::Resize))
    update();
  return QWidget::eventFilter(watched, event);
}

ViewMapping COverviewWidget::Mapping() const {
  if (!view_) return {};
  // While the rectangle is dragged the scale stays, so that it stays under the mouse.
  if (grip_) return grip_->mapping;
  const Rect shown = view_->ExposedRect();
  Rect content = shown;
  if (const velk::CWorkflowDoc* doc = view_->Document(); doc && !doc->LevelNodes().empty())
    content = content.United(painter_->LevelArea(*doc, view_->TextOffsets(), false,
                                                 view_->Editor().Settings().arrowSize));
  return OverviewMapping(content, size());
}

QRect COverviewWidget::ShownRect() const {
  return view_ ? Mapping().ToDevice(view_->ExposedRect()).toRect() : QRect();
}

void COverviewWidget::paintEvent(QPaintEvent*) {
  QPainter device(this);
  if (!view_) {
    device.fillRect(rect(), palette().color(QPalette::Window));
    return;
  }
  PaintOverview(device, *painter_, view_->Document(), Mapping(), size(), view_->ExposedRect());
}

void COverviewWidget::ScrollViewTo(QPointF topLeft) {
  if (view_ && grip_) view_->ScrollTo(grip_->mapping.ToLogical(topLeft));
}

void COverviewWidget::mousePressEvent(QMouseEvent* event) {
  if (!view_ || event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const ViewMapping mapping = Mapping();
  const QRectF shown = mapping.ToDevice(view_->ExposedRect());
  const QPointF at = event->position();
  // A click beside the rectangle brings its middle there, and the drag goes on from it.
  grip_ = Grip{mapping, shown.contains(at) ? at - shown.topLeft()
                                           : QPointF(shown.width() / 2, shown.height() / 2)};
  ScrollViewTo(at - grip_->offset);
}

void COverviewWidget::mouseMoveEvent(QMouseEvent* event) {
  if (grip_) ScrollViewTo(event->position() - grip_->offset);
}

void COverviewWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!grip_ || event->button() != Qt::LeftButton) return;
  grip_.reset();
  update();
}
