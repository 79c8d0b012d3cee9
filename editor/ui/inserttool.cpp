#include "editor/ui/inserttool.h"

#include "editor/insertarrow.h"
#include "editor/ui/editor.h"
#include "model/workflowdoc.h"

CInsertTool::CInsertTool(velk::ToolId id)
    : CEditTool(id), kind_(velk::InsertToolKind(id).value_or(velk::NodeKind::Intern)) {}

void CInsertTool::MousePress(CWorkflowView& view, Qt::KeyboardModifiers, velk::Point p) {
  CWorkflowDoc* doc = view.Document();
  if (!doc) return;
  velk::InsertNodeAt(*doc, kind_, p, ViewGrid(view));
  view.Editor().UpdateAllViews(*doc);
}

void CInsertTool::MouseRelease(CWorkflowView& view, Qt::KeyboardModifiers keys, velk::Point) {
  CToolBox& tools = view.Editor().Tools();
  if (!tools.State().SingleShot() || (keys & Qt::ShiftModifier)) return;
  tools.Switch(velk::ToolId::Select, &view);
  SetViewCursor(view, Qt::ArrowCursor);
}

void CInsertTool::MouseMove(CWorkflowView& view, Qt::KeyboardModifiers, velk::Point) {
  SetViewCursor(view, Qt::CrossCursor);
}
