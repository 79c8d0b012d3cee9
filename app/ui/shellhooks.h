#pragma once
// Where the application shell reaches work that lives elsewhere: the database
// check, the workflow chooser, the workflow model and views, the settings sheet
// and the Notes session. CVelkModApp fills in what exists; an unset hook means the
// piece is not there yet (its command is disabled, or the step is skipped as
// noted), and tests replace hooks to steer the shell.

#include <functional>
#include <memory>
#include <optional>
#include <string>

class LNNotesSession;
class QWidget;

namespace velk {
class CWorkflowDoc;
}
using velk::CWorkflowDoc;

struct ShellHooks {
  // Starts the Notes session; throws LNStatusError when it cannot. Default: Init(410).
  std::function<void(LNNotesSession&)> initSession;

  // Checks the six default databases by their design views (default: the
  // database check on the settings' databases); unset counts as valid.
  std::function<bool()> validateDefaultDatabases;
  // Finds or loads the six default databases into the program-wide cache.
  // STUB: unset skips the step.
  std::function<void()> initializeDefaultDatabases;

  // The "Load workflow" chooser: the chosen workflow's key, or nothing on Cancel.
  // STUB: unset disables File Open.
  std::function<std::optional<std::string>()> chooseWorkflow;

  // A new top-level workflow "New workflow" holding the default databases
  // (default: a CWorkflowDoc of the current Notes user).
  std::function<std::shared_ptr<CWorkflowDoc>()> newWorkflowDocument;
  // Initialises the document's six databases from the cache. STUB: unset skips it.
  std::function<void(CWorkflowDoc&)> initializeDatabases;
  // Loads the chosen workflow into the document; false when loading failed.
  std::function<bool(CWorkflowDoc&, const std::string& key)> loadWorkflow;
  // The view of a workflow window. STUB: unset gives the empty placeholder view.
  std::function<QWidget*(const std::shared_ptr<CWorkflowDoc>&)> newWorkflowView;
  // The view of the External Directory window. STUB: unset gives an empty tree.
  std::function<QWidget*()> newExtDirView;

  // "Modeler Settings"; true on OK. STUB: unset disables Options Settings.
  std::function<bool(QWidget* parent)> runSettingsSheet;
  // "Workflow Settings" on a workflow window's document; true on OK. Unset
  // disables the command.
  std::function<bool(CWorkflowDoc&, QWidget* parent)> runWorkflowSettings;
};
