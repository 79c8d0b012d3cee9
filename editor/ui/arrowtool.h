#pragma once
// The arrow tool: a click on the source node, then one on the target node. With
// SHIFT held on release the target becomes the next source (continuous mode).

#include <optional>

#include "editor/insertarrow.h"
#include "editor/ui/edittool.h"

class CArrowTool : public CEditTool {
 public:
  explicit CArrowTool(CEditor& editor) : CEditTool(velk::ToolId::ArrowNoSource), editor_(editor) {}

  void Deactivate(CWorkflowView* view, velk::ToolId next) override;
  void MousePress(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p) override;
  void MouseRelease(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p) override;
  void MouseMove(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p) override;
  void PaintOverlay(const CWorkflowView& view, QPainter& painter) const override;

 private:
  // The rubber line from the source to the pointer, while one is drawn in `view`.
  std::optional<velk::Rect> RubberLineArea(const CWorkflowView& view) const;
  void InvalidateRubberLine(CWorkflowView& view);

  CEditor& editor_;
  velk::ArrowGesture gesture_;
  velk::Point pointer_;
};
