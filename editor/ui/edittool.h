#pragma once
// The editing tools of the workflow view, and the tool box that creates them once
// and keeps the program-wide active tool.

#include <QPointer>
#include <array>
#include <memory>

#include "editor/nodemove.h"
#include "editor/tools.h"
#include "editor/ui/viewtool.h"
#include "editor/ui/workflowview.h"

// A tool of the tool list. Every tool opens the context menus the same way.
class CEditTool : public CViewTool {
 public:
  explicit CEditTool(velk::ToolId id) : id_(id) {}
  velk::ToolId Id() const { return id_; }

  // The tool is left for `next`; `view` is the window the change came from, if any.
  virtual void Deactivate(CWorkflowView* view, velk::ToolId next);

  void MouseMove(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p) override;
  // Leaves the tool for the select tool, selects what was hit and opens its menu.
  void ContextMenu(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p,
                   QPoint globalPos) override;

 private:
  velk::ToolId id_;
};

class CEditor;

// The tools of one editor; the active tool is program-wide.
class CToolBox {
 public:
  explicit CToolBox(CEditor& editor);
  CToolBox(const CToolBox&) = delete;
  CToolBox& operator=(const CToolBox&) = delete;

  CEditTool& Tool(velk::ToolId id);
  CEditTool& ActiveTool() { return Tool(State().Active()); }
  velk::ToolState& State() { return state_; }

  // A tool command given in `view`'s window (if any).
  void Choose(velk::ToolId id, bool shiftHeld, CWorkflowView* view);
  // A tool handing over to another.
  void Switch(velk::ToolId id, CWorkflowView* view);

 private:
  velk::ToolState state_;
  std::array<std::unique_ptr<CEditTool>, velk::kToolCount - 1>
      tools_;  // the arrow tool serves 7 and 8
  QPointer<CWorkflowView> commandView_;
};

// "GridSize" and "GridMagnetic" as the view's editor uses them now.
velk::GridSettings ViewGrid(const CWorkflowView& view);

// Sets the pointer of the view's drawing area.
void SetViewCursor(CWorkflowView& view, Qt::CursorShape shape);
