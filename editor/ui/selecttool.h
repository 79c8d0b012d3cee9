#pragma once
// The select tool: selects nodes and arrows, moves the selection, draws the
// rubber band and drags nodes out of the window.

#include "editor/selectgesture.h"
#include "editor/ui/edittool.h"

class CSelectTool : public CEditTool {
 public:
  CSelectTool() : CEditTool(velk::ToolId::Select) {}

  void Deactivate(CWorkflowView* view, velk::ToolId next) override;
  void MousePress(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p) override;
  void MouseMove(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p) override;
  void MouseRelease(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p) override;
  void DoubleClick(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p) override;
  void PaintOverlay(const CWorkflowView& view, QPainter& painter) const override;

 private:
  void DragOut(CWorkflowView& view);
  void MoveSelection(CWorkflowView& view, velk::Point p);
  void InvalidateBand(CWorkflowView& view, const std::optional<velk::Rect>& band);
  bool InGesture(const CWorkflowView& view) const {
    return gestureView_ == &view && view.Document();
  }

  velk::SelectGesture gesture_;
  QPointer<CWorkflowView> gestureView_;
};

// Double click and "&Properties": the sheet of the selected node (a cluster node
// opens its window instead when `openCluster`), else of the selected arrow.
void OpenSelectionProperties(CWorkflowView& view, bool openCluster);
