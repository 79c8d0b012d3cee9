#pragma once
// What the application shell is given when the program is composed: the Notes
// session start, the workflow choosers, the help window and the editor's
// collaborators. Every member must be set; a missing one stops the program at
// start. Tests hand over their own through the same constructor.

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "repository/databasecache.h"
#include "editor/ui/editor.h"
#include "repository/processdefdb.h"

class LNNotesSession;

namespace velk {
class CWorkflowDoc;
class ExternalDirectoryLookup;
}  // namespace velk

struct ShellCollaborators {
  // Starts the Notes session; throws LNStatusError when it cannot.
  std::function<void(LNNotesSession&)> initSession;
  // "Load workflow": the stored version chosen, or nothing on Cancel.
  std::function<std::optional<velk::WorkflowHeaderEntry>(velk::CProcessDefDb&, QWidget* parent)>
      chooseWorkflow;
  // "Save Workflow as": names the workflow; false on Cancel.
  std::function<bool(velk::CWorkflowDoc&, QWidget* parent)> chooseSaveName;
  // "&Help Topics".
  std::function<void(QWidget* parent)> showHelp;
  EditorCollaborators editor;
  // What the consistency check asks of the External Directory.
  std::shared_ptr<const velk::ExternalDirectoryLookup> externalDirectory;
  // What the External Directory data set is linked to.
  velk::DatabaseCache::DirectoryLinks directoryLinks;
};
