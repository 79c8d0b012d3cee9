#pragma once
// The editing tools of the workflow view and which one is active. One tool is
// active for the whole program, shared by every workflow window.

#include <functional>
#include <optional>

#include "model/kinds.h"

namespace velk {

enum class ToolId : int {
  Select = 0,
  InsertInternalTask = 1,
  InsertInternalCluster = 2,
  InsertCentralCluster = 3,  // central design and replication
  InsertSubscribed = 4,      // external subscribed workflow
  InsertExtWfTask = 5,
  InsertExtSubWorkflow = 6,  // independent design and messaging
  ArrowNoSource = 7,
  ArrowSourceChosen = 8,
};
inline constexpr int kToolCount = 9;

bool IsInsertTool(ToolId id);
bool IsArrowTool(ToolId id);
// The kind of node an insert tool makes; none for the other tools.
std::optional<NodeKind> InsertToolKind(ToolId id);

// How a tool's toolbar button looks.
struct ToolButtonState {
  bool checked = false;
  // An insert tool kept for several inserts.
  bool indeterminate = false;
};

// The active tool and its single-shot flag. The flag says whether an insert tool
// gives way to the select tool after one insert.
class ToolState {
 public:
  ToolId Active() const { return active_; }
  bool SingleShot() const { return singleShot_; }

  // The command that chooses a tool: the current tool is told to finish (with the
  // id of its successor), then `id` becomes active. Insert tools chosen with SHIFT
  // held stay for several inserts; every other choice is single-shot.
  void Choose(ToolId id, bool shiftHeld);
  // A change made by a tool itself (the arrow tool between its two states, an
  // insert tool giving way); the single-shot flag stays.
  void Switch(ToolId id);
  // After an insert: back to the select tool when the tool was chosen for one
  // insert and SHIFT is not held now. True when it switched.
  bool FinishInsert(bool shiftHeld);

  // The button of `tool` (the arrow button stands for both arrow states).
  ToolButtonState ButtonState(ToolId tool) const;

  // Told before the active tool changes: (current, next).
  std::function<void(ToolId, ToolId)> onDeactivate;

 private:
  void Deactivate(ToolId next);

  ToolId active_ = ToolId::Select;
  bool singleShot_ = true;
};

}  // namespace velk
