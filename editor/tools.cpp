#include "editor/tools.h"

namespace velk {

bool IsInsertTool(ToolId id) {
  return id >= ToolId::InsertInternalTask && id <= ToolId::InsertExtSubWorkflow;
}

bool IsArrowTool(ToolId id) {
  return id == ToolId::ArrowNoSource || id == ToolId::ArrowSourceChosen;
}

std::optional<NodeKind> InsertToolKind(ToolId id) {
  switch (id) {
    case ToolId::InsertInternalTask:
      return NodeKind::Intern;
    case ToolId::InsertInternalCluster:
      return NodeKind::IWC;
    case ToolId::InsertCentralCluster:
      return NodeKind::ICDR;
    case ToolId::InsertSubscribed:
      return NodeKind::Extern;
    case ToolId::InsertExtWfTask:
      return NodeKind::ExtWFTask;
    case ToolId::InsertExtSubWorkflow:
      return NodeKind::EIDM;
    default:
      return std::nullopt;
  }
}

void ToolState::Deactivate(ToolId next) {
  if (onDeactivate) onDeactivate(active_, next);
}

void ToolState::Choose(ToolId id, bool shiftHeld) {
  Deactivate(id);
  active_ = id;
  singleShot_ = !(IsInsertTool(id) && shiftHeld);
}

void ToolState::Switch(ToolId id) {
  if (id == active_) return;
  // The arrow tool moving between its two states does not end the tool.
  if (!(IsArrowTool(id) && IsArrowTool(active_))) Deactivate(id);
  active_ = id;
}

bool ToolState::FinishInsert(bool shiftHeld) {
  if (!IsInsertTool(active_) || !singleShot_ || shiftHeld) return false;
  Switch(ToolId::Select);
  return true;
}

ToolButtonState ToolState::ButtonState(ToolId tool) const {
  const bool active = tool == active_ || (IsArrowTool(tool) && IsArrowTool(active_));
  if (!active) return {};
  if (IsInsertTool(tool) && !singleShot_) return {false, true};
  return {true, false};
}

}  // namespace velk
