#pragma once
// Undo and Redo of a workflow view, and the edit scopes the view opens around
// every command and mouse gesture so that each becomes one undo step.

#include <optional>
#include <string>

#include "app/ui/commands.h"
#include "model/workflowundo.h"

class CWorkflowView;

// The undo step name of a command: its menu text without '&', "..." and shortcut.
std::string CommandStepName(int id);

// Undo and Redo on the view's workflow; false for other commands.
bool RunUndoCommand(CWorkflowView& view, int id);
// Enables Undo / Redo and names the step in the menu text ("&Undo Move"); false
// for other commands.
bool UpdateUndoCommand(const CWorkflowView& view, int id, CmdUI& ui);

// An edit scope on the view's workflow, or nothing for an empty view. Undo and
// Redo themselves must not open one.
class ViewEditScope {
 public:
  ViewEditScope(velk::CWorkflowDoc* doc, std::string name) {
    if (doc) scope_.emplace(*doc, std::move(name));
  }

 private:
  std::optional<velk::EditScope> scope_;
};
