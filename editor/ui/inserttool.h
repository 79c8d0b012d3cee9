#pragma once
// The six insert tools: a click puts a new node of the tool's kind there, or into
// the arrow clicked on.

#include "editor/ui/edittool.h"

class CInsertTool : public CEditTool {
 public:
  explicit CInsertTool(velk::ToolId id);

  void MousePress(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p) override;
  void MouseRelease(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p) override;
  void MouseMove(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p) override;

 private:
  velk::NodeKind kind_;
};
