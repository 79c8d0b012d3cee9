#include "editor/ui/viewtool.h"

void CViewTool::MousePress(CWorkflowView&, Qt::KeyboardModifiers, velk::Point) {}
void CViewTool::MouseMove(CWorkflowView&, Qt::KeyboardModifiers, velk::Point) {}
void CViewTool::MouseRelease(CWorkflowView&, Qt::KeyboardModifiers, velk::Point) {}
void CViewTool::DoubleClick(CWorkflowView&, Qt::KeyboardModifiers, velk::Point) {}
void CViewTool::ContextMenu(CWorkflowView&, Qt::KeyboardModifiers, velk::Point, QPoint) {}
void CViewTool::PaintOverlay(const CWorkflowView&, QPainter&) const {}
