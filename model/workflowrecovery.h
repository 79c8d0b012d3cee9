#pragma once
// Recovery copies of workflows with unsaved changes, so that a crash or a kill
// loses at most the last few seconds of work. Each running modeler holds a lock
// in the recovery folder; copies whose modeler no longer holds its lock are left
// over from one that ended without saving, and are offered at the next start.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/services.h"
#include "model/workflowjson.h"

namespace velk {

class CWorkflowDoc;

// A copy left over by a modeler that ended without saving.
struct RecoveredWorkflow {
  std::string file;
  WorkflowJson workflow;   // as `workflow export` writes it
  std::string workflowId;  // of the stored version it was loaded from; empty: never stored
  std::string fault;       // why the file cannot be read; empty when it can
};

class RecoveryFolder {
 public:
  // `directory` is made when missing; without a lock (a folder that cannot be
  // written) nothing is written and nothing offered.
  explicit RecoveryFolder(std::string directory);
  ~RecoveryFolder();
  RecoveryFolder(const RecoveryFolder&) = delete;
  RecoveryFolder& operator=(const RecoveryFolder&) = delete;

  bool Usable() const { return lockFd_ >= 0; }
  // A file name of this modeler's own for one more workflow.
  std::string NewFile();
  // The copy a file holds: the workflow and its stored id.
  static std::string CopyOf(const CWorkflowDoc& doc);
  // Writes whole or not at all (temporary file on disk, then rename); false on failure.
  static bool Write(const std::string& file, const std::string& text);
  static void Remove(const std::string& file);
  // Renames a copy that cannot be read so that it is offered no more but kept for
  // whoever wants to look at it; returns its new name (empty when it cannot be moved).
  static std::string SetAside(const std::string& file);
  // The copies of modelers that ended without saving, each read or with its fault.
  std::vector<RecoveredWorkflow> LeftOver() const;
  // Forgets the lock files of modelers that ended, once their copies are handled.
  void RemoveStaleLocks() const;

 private:
  bool OwnerEnded(const std::string& tag) const;

  std::string directory_;
  std::string tag_;
  int lockFd_ = -1;
  int next_ = 0;
};

// The Info Center category of copies that cannot be read.
inline constexpr char kRecoveryCategory[] = "Crash Recovery";

// Every left-over copy either builds into a workflow (made by `newDocument`, marked
// modified, with no undo step leading back to a stored state) that `offer`
// restores or drops, after which the copy goes; or it cannot be read, and is set
// aside and reported in the Info Center.
void RecoverLeftOverCopies(Services& services, const RecoveryFolder& folder,
                           const std::function<std::shared_ptr<CWorkflowDoc>()>& newDocument,
                           const std::function<void(std::shared_ptr<CWorkflowDoc>)>& offer);

}  // namespace velk
