#pragma once
// The one way a workflow is stored: the modeler's Save and Save As, importing a
// file, the answer workflow of an accepted EIDM request, a new sub-workflow and
// an arranged layout all save through a WorkflowSaver, so that every store takes
// the same steps: the databases the save needs, the structure and consistency
// checks, the name, the version rule and the write.

#include <functional>
#include <string>

#include "model/workflowsave.h"
#include "repository/databasekind.h"

namespace velk {

class CWorkflowDoc;
class DatabaseCache;
class ExternalDirectoryLookup;

// "Save Workflow as": lets the designer name the workflow; false on Cancel.
using ChooseSaveName = std::function<bool(CWorkflowDoc&)>;

// How one caller saves.
struct SaveRequest {
  // "Save As": the designer names the workflow whatever it is called.
  bool saveAs = false;
  // Asked for a workflow not stored under its name yet (new, frozen, or renamed);
  // without it the workflow keeps the name it has.
  ChooseSaveName chooseName;
  // A workflow read from a file: numbered after the newest stored version of its
  // name and status (VersionRule::AfterStored).
  bool imported = false;
  // "AppReplikaID" to store when no Application Environment Database gives one.
  std::string appReplicaId;
};

class WorkflowSaver {
 public:
  // `cache` loads the databases a workflow has not initialised yet, those it does
  // not name taken from `defaults` (the settings); `directory` serves the
  // consistency check. All three outlive the saver. `answerer` answers for the
  // designer while the workflow is written; both its parts must be set.
  WorkflowSaver(DatabaseCache& cache, const DatabaseLocations& defaults,
                const ExternalDirectoryLookup& directory, SaveAnswerer answerer);

  // Saves the workflow of `doc` (a cluster level saves its whole workflow):
  // initialises its databases, refuses a cluster node that stands for its own or
  // an enclosing level, runs the consistency check (which refuses an incomplete
  // Active workflow), lets the designer name it when the request says so, applies
  // the version rule and writes it. Every refusal and failure is shown, and then
  // nothing is stored.
  bool Save(CWorkflowDoc& doc, const SaveRequest& request = {});

  const ExternalDirectoryLookup& Directory() const { return directory_; }

 private:
  void InitializeDatabases(CWorkflowDoc& top);
  bool NeedsName(CWorkflowDoc& top, bool saveAs) const;

  DatabaseCache& cache_;
  const DatabaseLocations& defaults_;
  const ExternalDirectoryLookup& directory_;
  SaveAnswerer answerer_;
};

}  // namespace velk
