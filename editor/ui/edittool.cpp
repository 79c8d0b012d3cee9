#include "editor/ui/edittool.h"

#include "common/services.h"
#include "app/settings.h"
#include "editor/hittest.h"
#include "editor/nodemenus.h"
#include "editor/ui/arrowtool.h"
#include "editor/ui/contextmenus.h"
#include "editor/ui/droptarget.h"
#include "editor/ui/editcommands.h"
#include "editor/ui/editor.h"
#include "editor/ui/inserttool.h"
#include "editor/ui/selecttool.h"
#include "model/workflowdoc.h"

using velk::ToolId;

void SetViewCursor(CWorkflowView& view, Qt::CursorShape shape) {
  if (view.viewport()->cursor().shape() != shape) view.SetToolCursor(QCursor(shape));
}

velk::GridSettings ViewGrid(const CWorkflowView& view) {
  const velk::ModelerSettings& s = view.Editor().Settings();
  return {s.gridSize, s.gridMagnetic};
}

// ---- CEditTool ----

void CEditTool::Deactivate(CWorkflowView*, ToolId) {}

void CEditTool::MouseMove(CWorkflowView& view, Qt::KeyboardModifiers, velk::Point) {
  SetViewCursor(view, Qt::ArrowCursor);
}

void CEditTool::ContextMenu(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point p,
                            QPoint globalPos) {
  CWorkflowDoc* doc = view.Document();
  if (!doc) return;
  view.InvalidateAll();
  view.Editor().UserInterface().showStatusText({});
  view.Editor().Tools().Switch(ToolId::Select, &view);
  const std::vector<velk::CNode*> level = doc->LevelNodes();
  velk::CArrow* arrow = velk::ArrowAt(level, p);
  velk::CNode* node = arrow ? nullptr : velk::NodeAt(level, p);
  if (arrow) {
    // The menu acts on the selection: only the arrow.
    doc->Session().DeselectAllNodes();
    doc->Session().SelectArrow(*arrow);
  } else if (node) {
    const bool shift = keys & Qt::ShiftModifier;
    // Right-clicking into a selection keeps it, so that the menu can act on it.
    if (shift || !node->IsSelected()) doc->Session().SelectNode(*node, shift);
  }
  view.InvalidateAll();
  ShowContextMenu(view, velk::ChooseContextMenu(*doc, arrow != nullptr, node != nullptr),
                  globalPos);
}

// ---- CToolBox ----

CToolBox::CToolBox(CEditor& editor) {
  tools_[0] = std::make_unique<CSelectTool>();
  for (int id = 1; id <= 6; ++id)
    tools_[id] = std::make_unique<CInsertTool>(static_cast<ToolId>(id));
  tools_[7] = std::make_unique<CArrowTool>(editor);
  State().onDeactivate = [this](ToolId from, ToolId to) {
    Tool(from).Deactivate(commandView_, to);
  };
}

CEditTool& CToolBox::Tool(ToolId id) {
  const int i = static_cast<int>(id);
  return *tools_.at(i == static_cast<int>(ToolId::ArrowSourceChosen) ? i - 1 : i);
}

void CToolBox::Choose(ToolId id, bool shiftHeld, CWorkflowView* view) {
  commandView_ = view;
  State().Choose(id, shiftHeld);
}

void CToolBox::Switch(ToolId id, CWorkflowView* view) {
  commandView_ = view;
  State().Switch(id);
}
