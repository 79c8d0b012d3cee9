// The keyboard of CWorkflowView: arrow keys move the selection, Tab walks the
// tasks, Return opens the sheet, Escape lets go.
#include <QKeyEvent>
#include <optional>
#include <string>

#include "app/settings.h"
#include "editor/drawingorder.h"
#include "editor/nodemove.h"
#include "editor/ui/editor.h"
#include "editor/ui/edittool.h"
#include "editor/ui/workflowview.h"
#include "model/workflowdoc.h"
#include "model/workflowundo.h"

namespace {
std::optional<velk::KeyDirection> ArrowKeyDirection(int key) {
  switch (key) {
    case Qt::Key_Left:
      return velk::KeyDirection::Left;
    case Qt::Key_Right:
      return velk::KeyDirection::Right;
    case Qt::Key_Up:
      return velk::KeyDirection::Up;
    case Qt::Key_Down:
      return velk::KeyDirection::Down;
    default:
      return std::nullopt;
  }
}
}  // namespace

bool CWorkflowView::focusNextPrevChild(bool next) {
  // Tab belongs to the drawing while it has tasks to walk.
  if (doc_ && !doc_->LevelNodes().empty()) return false;
  return QAbstractScrollArea::focusNextPrevChild(next);
}

bool CWorkflowView::SelectionKey(QKeyEvent& event) {
  if (!doc_ || (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))) return false;
  switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
      const std::vector<velk::CNode*>& selected = doc_->Session().SelectedNodes();
      velk::CNode* next = velk::NextInDrawingOrder(
          doc_->LevelNodes(), selected.empty() ? nullptr : selected.back(),
          event.key() == Qt::Key_Tab && !(event.modifiers() & Qt::ShiftModifier));
      if (!next) return false;
      doc_->Session().DeselectAll();
      doc_->Session().SelectNode(*next);
      ScrollIntoView(next->GetRect());
      break;
    }
    case Qt::Key_Return:
    case Qt::Key_Enter:
      if (doc_->Session().SelectedNodes().empty() && doc_->Session().SelectedArrows().empty())
        return false;
      OnCommand(cmd::Properties);
      return true;
    case Qt::Key_Escape:
      EndEditRuns();
      // Leaving the tool ends its gesture: a rubber band, a move, a rubber line.
      if (editor_.Tools().State().Active() == velk::ToolId::Select)
        editor_.Tools().ActiveTool().Deactivate(this, velk::ToolId::Select);
      else
        editor_.Tools().Switch(velk::ToolId::Select, this);
      if (QWidget::mouseGrabber() == viewport()) viewport()->releaseMouse();
      doc_->Session().DeselectAll();
      break;
    default:
      return false;
  }
  InvalidateAll();
  editor_.Parts().commandStateChanged();
  return true;
}

void CWorkflowView::keyPressEvent(QKeyEvent* event) {
  if (SelectionKey(*event)) return event->accept();
  const std::optional<velk::KeyDirection> direction = ArrowKeyDirection(event->key());
  const Qt::KeyboardModifiers others =
      event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
  if (!direction || others || !doc_ || doc_->Session().SelectedNodes().empty())
    return QAbstractScrollArea::keyPressEvent(event);
  event->accept();
  if (!keyRun_) keyRun_ = std::make_unique<velk::EditScope>(*doc_, std::string());
  const velk::ModelerSettings& settings = editor_.Settings();
  if (velk::NudgeNodes(*doc_, doc_->Session().SelectedNodes(), *direction,
                       event->modifiers() & Qt::ShiftModifier,
                       {settings.gridSize, settings.gridMagnetic}, 1.0 / PixelsPerUnitX())) {
    doc_->Session().SetModified();
    editor_.UpdateAllViews(*doc_);
  }
}

void CWorkflowView::keyReleaseEvent(QKeyEvent* event) {
  if (keyRun_ && ArrowKeyDirection(event->key()) && !event->isAutoRepeat()) {
    keyRun_.reset();
    editor_.Parts().commandStateChanged();  // Undo names the run now
  }
  QAbstractScrollArea::keyReleaseEvent(event);
}

void CWorkflowView::focusOutEvent(QFocusEvent* event) {
  keyRun_.reset();
  QAbstractScrollArea::focusOutEvent(event);
}
