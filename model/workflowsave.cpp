// The Save and Save As commands and the writing of a workflow in one transaction.

#include "model/workflowsave.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/services.h"
#include "model/consistencycheck.h"
#include "model/savestamp.h"
#include "model/workflowdoc.h"
#include "model/workflowextdir.h"
#include "model/workflowsavedocs.h"
#include "repository/applicationenvdb.h"
#include "repository/noteserror.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"

namespace velk {

namespace {

constexpr char kNoDatabasesText[] =
    "Please specify an Application Environment Database for\r\nthis workflow in workflow "
    "settings\r\nbefore saving.";
constexpr char kSaveFailedText[] =
    "Saving the workflow failed.\r\nEventually existing parts are deleted\r\nor frozen.";
constexpr char kHeaderFailedText[] =
    "Error while saving the workflow.\r\n\t\t\t\t  The global information header "
    "document\r\n\t\t\t\t  could not be saved.";

std::string NotAccessibleText(const std::string& file, const std::string& name) {
  return "The Process Definitions Database\r\n" + file + "\r\n could not be accessed.\r\nSo the " +
         "workflow\r\n" + name + "\r\ncan not be saved now.";
}

// How often a busy database is offered again: a tool without a designer to answer
// takes every offer, and must still come to an end.
constexpr int kBusyRetries = 3;

std::string ReplacedMeanwhileText(const WorkflowHeaderEntry& replaced) {
  return "The workflow \"" + replaced.type + "\" version " + std::to_string(replaced.version) +
         " was saved by someone else while this save was being prepared.\r\nNothing has been "
         "saved; save again to store it as the next version.";
}

// What a write finds out, before writing, about the stored version it replaces.
struct Replacement {
  Retirement retirement = Retirement::None;
  WorkflowHeaderEntry retired;
  bool changedMeanwhile = false;  // another save retired it between two reads
};

// When the version this workflow replaces was frozen by another save meanwhile,
// the version that save stored is the current one: it is the one to replace
// (after the question whether to), else both would be stored as current.
const WorkflowHeaderEntry* FrozenMeanwhile(const CProcessDefDb& repository, const WorkflowHeader& h,
                                           const WorkflowHeaderEntry* stored) {
  const bool renumbered = h.status == WorkflowStatus::Active || h.status == WorkflowStatus::Template;
  if (!renumbered || !stored || stored->type != h.name ||
      stored->status != static_cast<int>(WorkflowStatus::Freeze))
    return nullptr;
  const WorkflowHeaderEntry* current = nullptr;
  for (const WorkflowHeaderEntry& e : repository.Headers())
    if (e.type == h.name && e.status == static_cast<int>(h.status) &&
        (!current || e.version > current->version))
      current = &e;
  return current;
}

// A stored version of the same name and status is replaced under its id; any
// other stored version stays, and the workflow is stored under a new id. So does a
// version that is kept (a frozen one saved as frozen again): two stored versions
// must never share an id.
Replacement DecideReplacement(CWorkflowDoc& top, CProcessDefDb& repository) {
  Replacement r;
  WorkflowHeader h = top.Header();
  if (h.workflowId.empty()) return r;
  // Read afresh: a list read before (by the version rule, say) may miss another
  // save that has frozen the version replaced.
  repository.ReadHeaders(true);
  const WorkflowHeaderEntry* stored = repository.FindHeader(h.workflowId);
  if (const WorkflowHeaderEntry* current = FrozenMeanwhile(repository, h, stored)) {
    h.workflowId = current->workflowId;
    top.SetHeader(h);
    stored = current;
  }
  if (stored && stored->type == h.name && stored->status == static_cast<int>(h.status)) {
    r.retirement =
        repository.DecideRetirement(static_cast<int>(h.status), h.workflowId, &r.retired);
    // Retiring it now would delete a version another save has just frozen.
    r.changedMeanwhile =
        r.retirement != Retirement::None && r.retired.status != static_cast<int>(h.status);
    if (r.changedMeanwhile) return r;
  }
  if (r.retirement == Retirement::None) {
    h.workflowId.clear();
    top.SetHeader(h);
  }
  return r;
}

// Another designer's save since this workflow was loaded is replaced only when
// the user says so; false when the user cancels.
bool ConfirmReplacement(CWorkflowDoc& top, CProcessDefDb& repository, Replacement& r) {
  if (r.retirement == Retirement::None) return true;
  StampCheck check = StampCheck::Unchanged;
  try {
    check = CheckStoredStamp(top, repository, r.retired);
  } catch (const LNStatusError&) {  // the save itself reports an unreachable database
  }
  if (check == StampCheck::SaveAsNew) {
    WorkflowHeader h = top.Header();
    h.workflowId.clear();
    top.SetHeader(h);
    r = {};
  }
  return check != StampCheck::Cancel;
}

// A frozen version stays stored, so the new one comes after it: also when the
// version replaced is one another save stored after this workflow was numbered
// (else the two would share id and version).
void FollowFrozenVersion(CWorkflowDoc& top, const Replacement& r) {
  WorkflowHeader h = top.Header();
  if (r.retirement != Retirement::Freeze || r.retired.version < h.version) return;
  h.version = r.retired.version + 1;
  top.SetHeader(h);
}

// The workflow's first node when it has no start node.
CNode* StartOfGraph(CWorkflowDoc& top) {
  if (top.StartNode()) return top.StartNode();
  return top.NodeCount() > 0 ? *top.AllNodes().begin() : nullptr;
}

// Writes header and tasks inside the open transaction; false after showing why.
bool WriteDocuments(CWorkflowDoc& top, SaveSession& save) {
  services().showStatusText("Saving header");
  try {
    WriteHeaderDocument(top, save);
  } catch (const LNStatusError& e) {
    ShowNotesError(kHeaderFailedText, e.GetStatus());
    return false;
  }
  CNode* start = StartOfGraph(top);
  services().showStatusText("Saving Graph");
  if (top.NodeCount() == 0) return true;
  if (!start) {
    ShowErrorMessage("Internal error, CWorkflowDoc::SaveGraph() gets empty start node");
    ShowErrorMessage(kSaveFailedText);
    return false;
  }
  if (!WriteTaskDocuments(top, *start, save)) {
    ShowErrorMessage(kSaveFailedText);
    return false;
  }
  return true;
}

SaveSession NewSaveSession(CProcessDefDb& repository, LNDatabase& db, const CWorkflowDoc& top,
                           const Replacement& replacement, const WriteTarget& target) {
  SaveSession save{repository.Session(), db, {}, false, {}, {}, {}};
  if (const CApplicationEnvDb* appEnv = top.Databases().applicationEnvironment.repository) {
    save.appReplicaId = appEnv->ReplicaId();
    save.hasAppReplicaId = true;
  } else if (!target.appReplicaId.empty()) {
    save.appReplicaId = target.appReplicaId;
    save.hasAppReplicaId = true;
  }
  if (replacement.retirement != Retirement::None) {
    save.retiredUsers = repository.RetiredUsers();
    save.retiredLastModify = repository.RetiredLastModify();
  }
  return save;
}

using Published = std::vector<std::pair<std::string, std::string>>;

// Retires the replaced version and writes header and tasks into the open database.
bool WriteAll(CWorkflowDoc& top, CProcessDefDb& repository, const Replacement& replacement,
              const WriteTarget& target, LNDatabase& db, Published& published) {
  const std::string& path = top.Databases().processDefinitions.location.fileName;
  // Another save may have retired that version since this one decided; retiring
  // it again would leave two current versions of one workflow.
  if (replacement.retirement != Retirement::None &&
      !repository.IsStillStored(db, replacement.retired)) {
    ShowErrorMessage(ReplacedMeanwhileText(replacement.retired));
    return false;
  }
  // The new header continues the history of the one it replaces, read while retiring it.
  bool written = repository.RetireOn(db, replacement.retirement, replacement.retired, path);
  if (!written) ShowErrorMessage(kSaveFailedText);
  SaveSession save = NewSaveSession(repository, db, top, replacement, target);
  written = written && WriteDocuments(top, save);
  if (!written) {
    services().showStatusText({});
    return false;
  }
  published = std::move(save.published);
  return true;
}

// Opens the database, writes everything in one transaction and commits; a failure
// rolls everything back. Store failures outside the documents' own steps are thrown.
bool WriteInTransaction(CWorkflowDoc& top, CProcessDefDb& repository,
                        const Replacement& replacement, const WriteTarget& target,
                        Published& published) {
  services().showStatusText("Saving");
  if (target.db) return WriteAll(top, repository, replacement, target, *target.db, published);
  const DatabaseLocation at = top.Databases().processDefinitions.location;
  LNDatabase db;
  repository.Session().GetDatabase(at.fileName, &db, at.server);
  db.Open();
  LNTransaction transaction(db);
  if (!WriteAll(top, repository, replacement, target, db, published)) return false;
  transaction.Commit();
  db.Close();
  return true;
}

}  // namespace

int NextVersion(const WorkflowHeader& header) {
  switch (header.status) {
    case WorkflowStatus::Active:
    case WorkflowStatus::Template:
      return header.version + 1;
    case WorkflowStatus::Design:
      return 0;
    default:
      return header.version;
  }
}

void ApplyImportVersionRule(CWorkflowDoc& doc, CProcessDefDb& repository) {
  WorkflowHeader h = doc.Header();
  repository.ReadHeaders(false);
  const WorkflowHeaderEntry* newest = nullptr;
  for (const WorkflowHeaderEntry& stored : repository.Headers()) {
    if (stored.type == h.name && stored.status == static_cast<int>(h.status) &&
        stored.version >= h.version && (!newest || stored.version > newest->version))
      newest = &stored;
  }
  if (!newest) return;
  h.workflowId = newest->workflowId;
  h.version = newest->version;
  h.version = NextVersion(h);
  doc.SetHeader(h);
}

bool WriteWorkflow(CWorkflowDoc& doc, const WriteTarget& target, int busyRetries) {
  CWorkflowDoc& top = doc.Top();
  CProcessDefDb* repository = top.Databases().processDefinitions.repository;
  if (!repository) {
    ShowErrorMessage(kNoDatabasesText);
    return false;
  }
  const WorkflowHeader previous = top.Header();
  const std::string previousStamp = top.StoredStamp();
  auto restoreId = [&] {
    WorkflowHeader h = top.Header();
    h.workflowId = previous.workflowId;
    h.version = previous.version;
    top.SetHeader(h);
    top.SetStoredStamp(previousStamp);
  };
  Replacement replacement = DecideReplacement(top, *repository);
  if (replacement.changedMeanwhile) {
    ShowErrorMessage(ReplacedMeanwhileText(replacement.retired));
    restoreId();
    return false;
  }
  if (!ConfirmReplacement(top, *repository, replacement)) {
    restoreId();
    return false;
  }
  FollowFrozenVersion(top, replacement);
  if (!AssignCodes(top)) {
    // Only an Active workflow needs its start to number its tasks.
    ShowErrorMessage("The workflow \"" + top.Header().name +
                     "\" is Active but has no start task.\r\nDefine a workflow start before "
                     "saving it.");
    restoreId();
    return false;
  }
  LNThrowAllErrorsScope throwing(true);
  Published published;
  try {
    if (!WriteInTransaction(top, *repository, replacement, target, published)) {
      repository->ForgetHeaders();  // what the retirement took out of the list is back
      restoreId();
      return false;
    }
  } catch (const LNStatusError& e) {
    repository->ForgetHeaders();
    restoreId();
    const std::string text =
        NotAccessibleText(top.Databases().processDefinitions.location.fileName, top.Header().name);
    // Another designer's long save holds the database: the store has waited as long
    // as a save takes; now the designer decides whether to wait once more.
    if (e.GetStatus() == LNERR_DATABASE_BUSY && busyRetries < kBusyRetries &&
        services().messageBox(GetNotesErrorText(e.GetStatus()) + text + "\r\n\r\nTry again?",
                              MsgIcon::Exclamation, MsgButtons::RetryCancel) == MsgResult::Retry)
      return WriteWorkflow(doc, target, busyRetries + 1);
    ShowNotesError(text, e.GetStatus());
    return false;
  }
  repository->ForgetHeaders();
  UpdatePublishedLeafs(top, published);
  top.SetNew(false);
  top.ClearModified();
  top.RefreshTitle();
  services().showStatusText({});
  return true;
}

bool SaveWorkflow(CWorkflowDoc& doc, bool saveAs, const ChooseSaveName& chooseName,
                  const ExternalDirectoryLookup& directory) {
  if (doc.IsClusterDocument()) return SaveWorkflow(doc.Top(), saveAs, chooseName, directory);
  if (!doc.Databases().ReadyToSave()) {
    ShowErrorMessage(kNoDatabasesText);
    return false;
  }
  if (!CheckConsistency(doc, directory)) return false;  // the Info Center says why
  bool askName = saveAs;
  if (!askName) {
    CProcessDefDb& repository = *doc.Databases().processDefinitions.repository;
    repository.ReadHeaders(false);
    askName = !repository.FindHeaderByName(doc.Header().name) || doc.IsNew() ||
              doc.Header().status == WorkflowStatus::Freeze;
  }
  if (askName && !chooseName(doc)) return false;
  WorkflowHeader h = doc.Header();
  const int previousVersion = h.version;
  h.version = NextVersion(h);
  doc.SetHeader(h);
  if (!WriteWorkflow(doc)) {
    // The stored versions are as they were, so the workflow keeps its number.
    h = doc.Header();
    h.version = previousVersion;
    doc.SetHeader(h);
    return false;
  }
  services().showStatusText({});
  return true;
}

}  // namespace velk
