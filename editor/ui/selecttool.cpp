#include "editor/ui/selecttool.h"

#include <QDrag>
#include <QMimeData>
#include <QPainter>

#include "editor/hittest.h"
#include "editor/ui/dragdata.h"
#include "editor/ui/editor.h"
#include "model/workflowdoc.h"

using velk::CNode;
using velk::DragMode;
using velk::Point;
using velk::Rect;

namespace {

Rect SelectionArea(const CWorkflowView& view) {
  std::optional<Rect> area;
  for (const CNode* node : view.Document()->Session().SelectedNodes()) {
    const Rect r = view.NodeArea(*node);
    area = area ? area->United(r) : r;
  }
  return area.value_or(Rect{});
}

}  // namespace

void CSelectTool::Deactivate(CWorkflowView* view, velk::ToolId next) {
  CEditTool::Deactivate(view, next);
  if (gestureView_) InvalidateBand(*gestureView_, gesture_.Band());
  gesture_.Reset();
  gestureView_.clear();
  if (view && view->Document()) {
    view->Document()->Session().DeselectAllNodes();
    view->InvalidateAll();
  }
}

void CSelectTool::MousePress(CWorkflowView& view, Qt::KeyboardModifiers keys, Point p) {
  CWorkflowDoc* doc = view.Document();
  if (!doc) return;
  gestureView_ = &view;
  const DragMode mode =
      gesture_.Press(*doc, p, keys & Qt::ShiftModifier, keys & Qt::ControlModifier);
  view.InvalidateAll();
  if (mode == DragMode::DragOut) DragOut(view);
}

void CSelectTool::DragOut(CWorkflowView& view) {
  CNode* node = gesture_.DraggedNode();
  std::unique_ptr<QMimeData> data = NewNodeDragData(*node);
  gesture_.Reset();
  gestureView_.clear();
  view.Editor().Parts().startDrag(view.viewport(), std::move(data));
}

void CSelectTool::MoveSelection(CWorkflowView& view, Point p) {
  const Rect before = SelectionArea(view);
  const velk::SelectGesture::Change change = gesture_.Drag(*view.Document(), p, ViewGrid(view));
  if (!change.moved) return;
  view.InvalidateLogical(before);
  view.InvalidateLogical(SelectionArea(view));
}

void CSelectTool::MouseMove(CWorkflowView& view, Qt::KeyboardModifiers keys, Point p) {
  CEditTool::MouseMove(view, keys, p);
  if (!InGesture(view)) return;
  CWorkflowDoc& doc = *view.Document();
  if (gesture_.Mode() == DragMode::RubberBand) {
    const velk::SelectGesture::Change change = gesture_.Drag(doc, p, ViewGrid(view));
    InvalidateBand(view, change.oldBand);
    InvalidateBand(view, change.newBand);
    if (change.selectionChanged) view.InvalidateAll();
  } else if (gesture_.Mode() == DragMode::Move) {
    MoveSelection(view, p);
    if (velk::SelectionOverlapsAnotherNode(doc)) SetViewCursor(view, Qt::ForbiddenCursor);
  }
}

void CSelectTool::MouseRelease(CWorkflowView& view, Qt::KeyboardModifiers, Point p) {
  if (!InGesture(view)) return;
  const velk::SelectGesture::Change change = gesture_.Release(*view.Document(), p, ViewGrid(view));
  gestureView_.clear();
  InvalidateBand(view, change.oldBand);
  view.Editor().UpdateAllViews(*view.Document());
  SetViewCursor(view, Qt::ArrowCursor);
}

void CSelectTool::DoubleClick(CWorkflowView& view, Qt::KeyboardModifiers, Point) {
  gesture_.Reset();
  gestureView_.clear();
  OpenSelectionProperties(view, /*openCluster=*/true);
}

void CSelectTool::InvalidateBand(CWorkflowView& view, const std::optional<Rect>& band) {
  if (band) view.InvalidateLogical(*band);
}

void CSelectTool::PaintOverlay(const CWorkflowView& view, QPainter& painter) const {
  const std::optional<Rect> band = gesture_.Band();
  if (!band || !InGesture(view)) return;
  painter.save();
  QPen pen(Qt::black, 1, Qt::DotLine);
  pen.setCosmetic(true);
  painter.setPen(pen);
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(view.ToViewport(*band).adjusted(0, 0, -1, -1));
  painter.restore();
}

void OpenSelectionProperties(CWorkflowView& view, bool openCluster) {
  CWorkflowDoc* doc = view.Document();
  if (!doc) return;
  const EditorCollaborators& parts = view.Editor().Parts();
  if (doc->Session().SelectedNodes().empty()) {
    if (doc->Session().SelectedArrows().empty()) return;
    if (parts.arrowProperties(&view, *doc, *doc->Session().SelectedArrows().front()))
      doc->Session().SetModified();
    view.Editor().UpdateAllViews(*doc);
    return;
  }
  CNode& node = *doc->Session().SelectedNodes().front();
  if (openCluster && node.IsClusterNode()) {
    parts.openClusterWindow(*doc, node);
    return;
  }
  if (parts.taskProperties(&view, *doc, node)) doc->Session().SetModified();
  view.Editor().UpdateAllViews(*doc);
}
