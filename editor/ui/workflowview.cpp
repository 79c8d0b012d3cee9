#include "editor/ui/workflowview.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <optional>
#include <string>

#include "common/services.h"
#include "app/settings.h"
#include "app/ui/nodebitmaps.h"
#include "editor/ui/droptarget.h"
#include "editor/ui/editcommands.h"
#include "editor/ui/editor.h"
#include "editor/ui/edittool.h"
#include "editor/ui/undocommands.h"
#include "editor/ui/viewtool.h"
#include "editor/ui/workflowexport.h"
#include "editor/ui/workflowpainter.h"
#include "editor/ui/workflowprint.h"
#include "editor/nodemove.h"
#include "editor/zoom.h"
#include "model/workflowdoc.h"

using velk::Point;
using velk::Rect;

// ---- Construction ----

CWorkflowView::CWorkflowView(CEditor& editor, std::shared_ptr<CWorkflowDoc> doc, QWidget* parent)
    : QAbstractScrollArea(parent),
      editor_(editor),
      doc_(std::move(doc)),
      painter_(std::make_unique<CWorkflowPainter>(editor.NodeBitmaps())),
      editCommands_(std::make_unique<CEditCommands>(*this)),
      offsets_(velk::ComputeTextOffsets(flags_)) {
  setObjectName(QStringLiteral("WorkflowView"));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  viewport()->setMouseTracking(true);
  // Every pixel is painted by the view itself.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { OnScrollAction(Qt::Horizontal, action); });
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { OnScrollAction(Qt::Vertical, action); });
  UpdateScrollBars();
  setAcceptDrops(true);
  editor_.AddView(this);
}

CWorkflowView::~CWorkflowView() {
  editor_.RemoveView(this);
}

// ---- Coordinates ----

// The zoom lives only here: every mapping, hit test and scroll size derives from it.
double CWorkflowView::PixelsPerUnitX() const {
  return zoom_ * logicalDpiX() / 100.0;
}
double CWorkflowView::PixelsPerUnitY() const {
  return zoom_ * logicalDpiY() / 100.0;
}

void CWorkflowView::SetZoom(double zoom) {
  zoom = velk::ClampZoom(zoom);
  if (zoom == zoom_) return;
  const QPoint middle = viewport()->rect().center();
  const Point center = ToLogical(middle);
  zoom_ = zoom;
  UpdateScrollBars();
  horizontalScrollBar()->setValue(qRound(center.x * PixelsPerUnitX()) - middle.x());
  verticalScrollBar()->setValue(qRound(-center.y * PixelsPerUnitY()) - middle.y());
  InvalidateAll();
  // The zoom pane of the status bar shows the new zoom; the message pane keeps its text.
  emit zoomChanged(zoom_);
}

void CWorkflowView::ZoomToFit() {
  if (!doc_ || doc_->LevelNodes().empty()) return SetZoom(1.0);
  // Everything the level shows: the nodes with their texts, arrows and labels.
  ZoomToArea(
      painter_->LevelArea(*doc_, offsets_, flags_.arrowDescription, editor_.Settings().arrowSize));
}

void CWorkflowView::ZoomToSelection() {
  if (!doc_ || doc_->Session().SelectedNodes().empty()) return;
  // The tasks with their texts; their arrows may run anywhere and stay out.
  Rect bounds = velk::NodeTextArea(doc_->Session().SelectedNodes().front()->GetRect(), offsets_);
  for (const velk::CNode* node : doc_->Session().SelectedNodes())
    bounds = bounds.United(velk::NodeTextArea(node->GetRect(), offsets_));
  ZoomToArea(bounds);
}

void CWorkflowView::ScrollIntoView(const Rect& r) {
  const Rect shown = ExposedRect();
  if (r.left >= shown.left && r.right <= shown.right && r.top <= shown.top &&
      r.bottom >= shown.bottom)
    return;
  const double width = viewport()->width() / PixelsPerUnitX();
  const double height = viewport()->height() / PixelsPerUnitY();
  const Point middle = r.Center();
  ScrollTo({middle.x - qRound(width / 2), middle.y + qRound(height / 2)});
}

void CWorkflowView::ZoomToArea(const Rect& bounds) {
  const double unitsX = viewport()->width() / (logicalDpiX() / 100.0);
  const double unitsY = viewport()->height() / (logicalDpiY() / 100.0);
  SetZoom(velk::FitZoom(bounds, unitsX, unitsY));
  ScrollTo({bounds.left - velk::kFitMargin, bounds.top + velk::kFitMargin});
}

void CWorkflowView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) return QAbstractScrollArea::wheelEvent(event);
  const int delta = event->angleDelta().y();
  if (delta != 0) SetZoom(delta > 0 ? velk::ZoomIn(zoom_) : velk::ZoomOut(zoom_));
  event->accept();
}

ViewMapping CWorkflowView::Mapping() const {
  return ViewMapping(PixelsPerUnitX(), PixelsPerUnitY(),
                     QPointF(-horizontalScrollBar()->value(), -verticalScrollBar()->value()));
}

Point CWorkflowView::ToLogical(QPoint viewportPos) const {
  return Mapping().ToLogical(QPointF(viewportPos));
}

QPoint CWorkflowView::ToViewport(Point p) const {
  return Mapping().ToDevice(p).toPoint();
}

QRect CWorkflowView::ToViewport(const Rect& r) const {
  return Mapping().ToDeviceCovering(r);
}

Rect CWorkflowView::ExposedRect() const {
  const Rect visible = Mapping().ToLogical(QRectF(viewport()->rect()));
  const Rect& d = velk::kDrawingRect;
  return {std::max(visible.left, d.left), std::min(visible.top, d.top),
          std::min(visible.right, d.right), std::max(visible.bottom, d.bottom)};
}

void CWorkflowView::ScrollTo(Point topLeft) {
  horizontalScrollBar()->setValue(qRound(topLeft.x * PixelsPerUnitX()));
  verticalScrollBar()->setValue(qRound(-topLeft.y * PixelsPerUnitY()));
}

void CWorkflowView::UpdateScrollBars() {
  const velk::ScrollSizes sizes = velk::ComputeScrollSizes();
  const int totalX = qRound(sizes.totalX * PixelsPerUnitX());
  const int totalY = qRound(sizes.totalY * PixelsPerUnitY());
  const QSize view = viewport()->size();
  // The bar's page step sizes its slider to the visible part; page clicks move
  // by the page size instead (OnScrollAction).
  horizontalScrollBar()->setRange(0, std::max(0, totalX - view.width()));
  horizontalScrollBar()->setPageStep(view.width());
  horizontalScrollBar()->setSingleStep(std::max(1, qRound(sizes.lineX * PixelsPerUnitX())));
  verticalScrollBar()->setRange(0, std::max(0, totalY - view.height()));
  verticalScrollBar()->setPageStep(view.height());
  verticalScrollBar()->setSingleStep(std::max(1, qRound(sizes.lineY * PixelsPerUnitY())));
}

void CWorkflowView::OnScrollAction(Qt::Orientation orientation, int action) {
  if (action != QAbstractSlider::SliderPageStepAdd && action != QAbstractSlider::SliderPageStepSub)
    return;
  const velk::ScrollSizes sizes = velk::ComputeScrollSizes();
  QScrollBar* bar = orientation == Qt::Horizontal ? horizontalScrollBar() : verticalScrollBar();
  const int page = orientation == Qt::Horizontal ? qRound(sizes.pageX * PixelsPerUnitX())
                                                 : qRound(sizes.pageY * PixelsPerUnitY());
  const int sign = action == QAbstractSlider::SliderPageStepAdd ? 1 : -1;
  bar->setSliderPosition(std::clamp(bar->value() + sign * page, bar->minimum(), bar->maximum()));
}

// ---- Repainting ----

void CWorkflowView::InvalidateLogical(const Rect& r) {
  viewport()->update(ToViewport(r).adjusted(-2, -2, 2, 2));
}

void CWorkflowView::InvalidateAll() {
  viewport()->update();
}

Rect CWorkflowView::NodeArea(const velk::CNode& node) const {
  return painter_->NodeArea(node, offsets_, flags_.arrowDescription, editor_.Settings().arrowSize);
}

void CWorkflowView::paintEvent(QPaintEvent* event) {
  // Qt's backing store is the off-screen bitmap: everything below is drawn there
  // and reaches the screen in one copy, and only the exposed area is redrawn.
  QPainter painter(viewport());
  PaintOptions options;
  options.flags = flags_;
  options.gridVisible = editor_.Settings().gridVisible;
  options.gridSize = editor_.Settings().gridSize;
  options.arrowSize = editor_.Settings().arrowSize;
  // One pass over the region's bounding box; the painter is clipped to the region.
  painter_->Paint(painter, doc_.get(), Mapping(), options, event->region().boundingRect());
  if (CViewTool* tool = ActiveTool()) tool->PaintOverlay(*this, painter);
}

void CWorkflowView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void CWorkflowView::scrollContentsBy(int dx, int dy) {
  viewport()->scroll(dx, dy);
}

void CWorkflowView::changeEvent(QEvent* event) {
  QAbstractScrollArea::changeEvent(event);
  if (event->type() == QEvent::PaletteChange) InvalidateAll();
}

// ---- Texts ----

void CWorkflowView::SetFlags(const velk::ShowFlags& flags) {
  flags_ = flags;
  offsets_ = velk::ComputeTextOffsets(flags_);
  InvalidateAll();
}

void CWorkflowView::ToggleShowFlag(bool velk::ShowFlags::*flag) {
  velk::ShowFlags flags = flags_;
  flags.*flag = !(flags.*flag);
  SetFlags(flags);
}

void CWorkflowView::ToggleGrid() {
  velk::ModelerSettings& settings = editor_.Settings();
  const bool on = !settings.gridMagnetic;
  settings.gridMagnetic = on;
  settings.gridVisible = on;
  for (CWorkflowView* view : editor_.Views()) view->InvalidateAll();
}

// ---- Tools ----

CViewTool* CWorkflowView::ActiveTool() const {
  return tool_ ? tool_ : &editor_.Tools().ActiveTool();
}

void CWorkflowView::SetToolCursor(const QCursor& cursor) {
  viewport()->setCursor(cursor);
}

void CWorkflowView::mousePressEvent(QMouseEvent* event) {
  CViewTool* tool = ActiveTool();
  if (event->button() != Qt::LeftButton || !tool)
    return QAbstractScrollArea::mousePressEvent(event);
  EndEditRuns();  // also a gesture whose release never came
  if (doc_) gesture_ = std::make_unique<velk::EditScope>(*doc_, std::string());
  tool->MousePress(*this, event->modifiers(), ToLogical(event->position().toPoint()));
}

void CWorkflowView::mouseMoveEvent(QMouseEvent* event) {
  if (CViewTool* tool = ActiveTool())
    tool->MouseMove(*this, event->modifiers(), ToLogical(event->position().toPoint()));
}

void CWorkflowView::mouseReleaseEvent(QMouseEvent* event) {
  CViewTool* tool = ActiveTool();
  if (event->button() != Qt::LeftButton || !tool)
    return QAbstractScrollArea::mouseReleaseEvent(event);
  tool->MouseRelease(*this, event->modifiers(), ToLogical(event->position().toPoint()));
  gesture_.reset();
  // The selection may have changed: buttons that need one (alignment) follow it.
  editor_.Parts().commandStateChanged();
}

void CWorkflowView::mouseDoubleClickEvent(QMouseEvent* event) {
  CViewTool* tool = ActiveTool();
  if (event->button() != Qt::LeftButton || !tool)
    return QAbstractScrollArea::mouseDoubleClickEvent(event);
  ViewEditScope scope(doc_.get(), CommandStepName(cmd::Properties));
  tool->DoubleClick(*this, event->modifiers(), ToLogical(event->position().toPoint()));
}

void CWorkflowView::contextMenuEvent(QContextMenuEvent* event) {
  CViewTool* tool = ActiveTool();
  if (!tool) return;
  ViewEditScope scope(doc_.get(), std::string());
  menuPoint_ = ToLogical(event->pos());
  tool->ContextMenu(*this, event->modifiers(), *menuPoint_, event->globalPos());
  menuPoint_.reset();
}

void CWorkflowView::dragEnterEvent(QDragEnterEvent* event) {
  dragMoveEvent(event);
}

void CWorkflowView::dragMoveEvent(QDragMoveEvent* event) {
  event->ignore();
  editor_.DropTarget().DragMove(*this, *event, ToLogical(event->position().toPoint()));
}

void CWorkflowView::dropEvent(QDropEvent* event) {
  event->ignore();
  ViewEditScope scope(doc_.get(), std::string());
  editor_.DropTarget().Drop(*this, *event, ToLogical(event->position().toPoint()));
}

void CWorkflowView::EndEditRuns() {
  keyRun_.reset();
  gesture_.reset();
}

void CWorkflowView::ReleaseDocument() {
  EndEditRuns();
  doc_.reset();
  InvalidateAll();
}

// ---- Commands ----

bool CWorkflowView::OnCommand(int id) {
  // What a held key or button did so far is a step of its own.
  EndEditRuns();
  if (RunUndoCommand(*this, id)) return true;
  // Every command is one undo step of whatever it changes.
  ViewEditScope scope(doc_.get(), CommandStepName(id));
  if (editCommands_->OnCommand(id)) return true;
  return OwnCommand(id);
}

bool CWorkflowView::OnUpdateCommand(int id, CmdUI& ui) {
  if (UpdateUndoCommand(*this, id, ui)) return true;
  if (editCommands_->OnUpdateCommand(id, ui)) return true;
  return OwnUpdate(id, ui);
}

bool CWorkflowView::OwnCommand(int id) {
  switch (id) {
    case cmd::ShowTaskNames:
      ToggleShowFlag(&velk::ShowFlags::taskNames);
      return true;
    case cmd::ShowTaskMember:
      ToggleShowFlag(&velk::ShowFlags::taskMember);
      return true;
    case cmd::ShowTaskForms:
      ToggleShowFlag(&velk::ShowFlags::taskForms);
      return true;
    case cmd::ShowTaskResources:
      ToggleShowFlag(&velk::ShowFlags::taskResources);
      return true;
    case cmd::ShowArrowDescription:
      ToggleShowFlag(&velk::ShowFlags::arrowDescription);
      return true;
    case cmd::ToggleGrid:
      ToggleGrid();
      return true;
    case cmd::ViewZoomIn:
      SetZoom(velk::ZoomIn(zoom_));
      return true;
    case cmd::ViewZoomOut:
      SetZoom(velk::ZoomOut(zoom_));
      return true;
    case cmd::ViewZoomFit:
      ZoomToFit();
      return true;
    case cmd::ViewZoomSelection:
      ZoomToSelection();
      return true;
    case cmd::FilePrint:
      OnFilePrint(*this);
      return true;
    case cmd::FilePrintPreview:
      OnFilePrintPreview(*this);
      return true;
    case cmd::FileExport:
      OnFileExport(*this);
      return true;
    default:
      return false;
  }
}

bool CWorkflowView::OwnUpdate(int id, CmdUI& ui) const {
  switch (id) {
    case cmd::ShowTaskNames:
      ui.checked = flags_.taskNames;
      return true;
    case cmd::ShowTaskMember:
      ui.checked = flags_.taskMember;
      return true;
    case cmd::ShowTaskForms:
      ui.checked = flags_.taskForms;
      return true;
    case cmd::ShowTaskResources:
      ui.checked = flags_.taskResources;
      return true;
    case cmd::ShowArrowDescription:
      ui.checked = flags_.arrowDescription;
      return true;
    case cmd::ToggleGrid:
      ui.checked = editor_.Settings().gridMagnetic;
      return true;
    case cmd::ViewZoomIn:
      ui.enabled = zoom_ < velk::kMaxZoom;
      return true;
    case cmd::ViewZoomOut:
      ui.enabled = zoom_ > velk::kMinZoom;
      return true;
    case cmd::ViewZoomFit:
      return true;
    case cmd::ViewZoomSelection:
      ui.enabled = doc_ && !doc_->Session().SelectedNodes().empty();
      return true;
    case cmd::FilePrint:
    case cmd::FilePrintPreview:
    case cmd::FileExport:
      return true;
    default:
      return false;
  }
}
