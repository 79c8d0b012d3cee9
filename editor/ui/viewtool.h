#pragma once
// The editing tool interface of the workflow view. The view turns its mouse
// messages into logical points (0.01 inch, y up) and hands them to the active
// tool; the tool edits the document and asks the view to repaint. Tools are
// shared by every view (the active tool is program-wide), so each call names the
// view it comes from. Every operation does nothing by default.

#include <QPoint>
#include <Qt>

#include "model/geometry.h"

class CWorkflowView;
class QPainter;

class CViewTool {
 public:
  virtual ~CViewTool() = default;

  // Left button pressed / released, pointer moved (with or without a button held:
  // the view tracks the mouse), left button double-clicked. The view grabs the
  // mouse between press and release, so a drag outside the window still arrives.
  virtual void MousePress(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p);
  virtual void MouseMove(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p);
  virtual void MouseRelease(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p);
  virtual void DoubleClick(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p);

  // Right button (or the context-menu key): `globalPos` is where a menu opens.
  virtual void ContextMenu(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p,
                           QPoint globalPos);

  // Drawn last, over the drawing, in device pixels of the view's viewport: rubber
  // bands and rubber lines. Map with view.Mapping(). Only the exposed area is
  // repainted, so invalidate the overlay's old and new area when it changes.
  virtual void PaintOverlay(const CWorkflowView& view, QPainter& painter) const;
};

class QDragMoveEvent;
class QDropEvent;

// Receives what is dragged onto a workflow view (tasks, persons, External
// Directory leaves). Accept or ignore the event; the point is where it is.
class CViewDropTarget {
 public:
  virtual ~CViewDropTarget() = default;
  // Enter and move; accept the event to allow a drop here.
  virtual void DragMove(CWorkflowView& view, QDragMoveEvent& event, velk::Point p) = 0;
  virtual void Drop(CWorkflowView& view, QDropEvent& event, velk::Point p) = 0;
};
