#include "editor/ui/arrowtool.h"

#include <QPainter>

#include "common/services.h"
#include "app/settings.h"
#include "editor/hittest.h"
#include "editor/ui/editor.h"
#include "editor/ui/workflowpainter.h"
#include "model/arrowgeometry.h"
#include "model/workflowdoc.h"

using velk::Point;
using velk::Rect;
using velk::ToolId;

namespace {

// The rubber line runs from the source's border to the pointer.
velk::ArrowLine RubberLine(const velk::CNode& source, Point pointer) {
  return velk::ComputeArrowLine(source.GetRect(), {pointer.x, pointer.y, pointer.x, pointer.y});
}

}  // namespace

void CArrowTool::Deactivate(CWorkflowView* view, ToolId next) {
  CEditTool::Deactivate(view, next);
  for (CWorkflowView* v : editor_.Views()) InvalidateRubberLine(*v);
  gesture_.Clear();
}

std::optional<Rect> CArrowTool::RubberLineArea(const CWorkflowView& view) const {
  if (view.Editor().Tools().State().Active() != ToolId::ArrowSourceChosen || !view.Document())
    return {};
  const velk::CNode* source = gesture_.Source(*view.Document());
  if (!source) return {};
  return velk::ArrowBounds(RubberLine(*source, pointer_), view.Editor().Settings().arrowSize);
}

void CArrowTool::InvalidateRubberLine(CWorkflowView& view) {
  if (const std::optional<Rect> area = RubberLineArea(view)) view.InvalidateLogical(*area);
}

void CArrowTool::MousePress(CWorkflowView& view, Qt::KeyboardModifiers, Point p) {
  CWorkflowDoc* doc = view.Document();
  if (!doc) return;
  InvalidateRubberLine(view);
  pointer_ = p;
  using Outcome = velk::ArrowGesture::Outcome;
  const velk::ArrowGesture::Result r = gesture_.Press(*doc, view.Editor().Tools().State(), p);
  switch (r.outcome) {
    case Outcome::Cleared:
      SetViewCursor(view, Qt::ArrowCursor);
      view.InvalidateAll();
      break;
    case Outcome::ArrowMade:
    case Outcome::SameNode:
      view.Editor().UpdateAllViews(*doc);
      break;
    case Outcome::SourceChosen:
      InvalidateRubberLine(view);
      break;
  }
}

void CArrowTool::MouseRelease(CWorkflowView& view, Qt::KeyboardModifiers keys, Point p) {
  const bool shift = keys & Qt::ShiftModifier;
  if (view.Editor().Tools().State().Active() == ToolId::ArrowNoSource && shift)
    MousePress(view, keys, p);
  view.Editor().UserInterface().showStatusText(
      velk::ArrowToolPrompt(view.Editor().Tools().State().Active()));
}

void CArrowTool::MouseMove(CWorkflowView& view, Qt::KeyboardModifiers, Point p) {
  if (view.Editor().Tools().State().Active() != ToolId::ArrowSourceChosen) {
    SetViewCursor(view, Qt::PointingHandCursor);
    return;
  }
  SetViewCursor(view, Qt::CrossCursor);
  InvalidateRubberLine(view);
  pointer_ = p;
  InvalidateRubberLine(view);
}

void CArrowTool::PaintOverlay(const CWorkflowView& view, QPainter& painter) const {
  if (!RubberLineArea(view)) return;
  const velk::ArrowLine line = RubberLine(*gesture_.Source(*view.Document()), pointer_);
  view.Painter().DrawArrowLine(painter, view.Mapping(), line.start, line.end,
                               view.Editor().Settings().arrowSize, false);
}
