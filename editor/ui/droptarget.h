#pragma once
// The drops a workflow view takes: External Directory persons on external tasks,
// External Directory leaves on subscribed workflows, and subscribed workflows of
// the same workflow on each other.

#include "editor/ui/viewtool.h"

class CWorkflowDropTarget : public CViewDropTarget {
 public:
  void DragMove(CWorkflowView& view, QDragMoveEvent& event, velk::Point p) override;
  void Drop(CWorkflowView& view, QDropEvent& event, velk::Point p) override;
};
