// Writing a workflow in one transaction, its version decided under a lock on its name.

#include "model/workflowsave.h"

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/services.h"
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

constexpr char kSaveFailedText[] =
    "Saving the workflow failed.\r\nEventually existing parts are deleted\r\nor frozen.";
constexpr char kHeaderFailedText[] =
    "Error while saving the workflow.\r\n\t\t\t\t  The global information header "
    "document\r\n\t\t\t\t  could not be saved.";

std::string NotAccessibleText(const std::string& file, const std::string& name) {
  return "The Process Definitions Database\r\n" + file + "\r\n could not be accessed.\r\nSo the " +
         "workflow\r\n" + name + "\r\ncan not be saved now.";
}

// How often the designer is asked about other designers' saves that keep landing
// meanwhile.
constexpr int kQuestionTurns = 3;

std::string ReplacedMeanwhileText(const WorkflowHeaderEntry& replaced) {
  return "The workflow \"" + replaced.type + "\" version " + std::to_string(replaced.version) +
         " was saved by someone else while this save was being prepared.\r\nNothing has been "
         "saved; save again to store it as the next version.";
}

// What a write stores and what becomes of the stored version it replaces.
struct Plan {
  std::string workflowId;  // empty: a new stored workflow
  int version = 0;
  Retirement retirement = Retirement::None;
  WorkflowHeaderEntry retired;
  bool changedMeanwhile = false;  // the header list contradicts itself about it
};

// What the write was asked to do: the workflow's header as it came, and what the
// designer has answered so far.
struct Request {
  WorkflowHeader original;
  VersionRule rule = VersionRule::Keep;
  bool asNew = false;
  std::optional<WorkflowHeaderEntry> agreed;
};

// An imported file is stored as a save of the newest stored version it is not
// older than.
void FollowNewestStored(WorkflowHeader& h, const CProcessDefDb& repository) {
  const WorkflowHeaderEntry* newest = nullptr;
  for (const WorkflowHeaderEntry& stored : repository.Headers())
    if (stored.type == h.name && stored.status == static_cast<int>(h.status) &&
        stored.version >= h.version && (!newest || stored.version > newest->version))
      newest = &stored;
  if (!newest) return;
  h.workflowId = newest->workflowId;
  h.version = newest->version;
}

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
void DecideReplacement(WorkflowHeader h, CProcessDefDb& repository, Plan& plan) {
  if (h.workflowId.empty()) return;
  const WorkflowHeaderEntry* stored = repository.FindHeader(h.workflowId);
  if (const WorkflowHeaderEntry* current = FrozenMeanwhile(repository, h, stored)) {
    h.workflowId = current->workflowId;
    stored = current;
  }
  if (stored && stored->type == h.name && stored->status == static_cast<int>(h.status)) {
    plan.retirement =
        repository.DecideRetirement(static_cast<int>(h.status), h.workflowId, &plan.retired);
    // Retiring it now would delete a version another save has just frozen.
    plan.changedMeanwhile =
        plan.retirement != Retirement::None && plan.retired.status != static_cast<int>(h.status);
  }
  if (plan.retirement != Retirement::None) plan.workflowId = h.workflowId;
}

// Reads the stored headers afresh and decides. Under the lock nothing changes
// them meanwhile.
Plan Decide(const Request& request, CProcessDefDb& repository) {
  WorkflowHeader h = request.original;
  repository.ReadHeaders(true);
  if (request.rule == VersionRule::AfterStored) FollowNewestStored(h, repository);
  if (request.rule != VersionRule::Keep) h.version = NextVersion(h);
  if (request.asNew) h.workflowId.clear();
  Plan plan;
  plan.version = h.version;
  DecideReplacement(h, repository, plan);
  // A frozen version stays stored, so the new one comes after it.
  if (plan.retirement == Retirement::Freeze && plan.retired.version >= plan.version)
    plan.version = plan.retired.version + 1;
  return plan;
}

// Whether the designer must first be asked about replacing another designer's
// save; a store failure here is left to the save itself to report.
bool MustAsk(const CWorkflowDoc& top, CProcessDefDb& repository, const Request& request,
             const Plan& plan) {
  if (plan.retirement == Retirement::None || request.agreed == plan.retired) return false;
  try {
    return StampChanged(top, repository, plan.retired);
  } catch (const LNStatusError&) {
    return false;
  }
}

// The workflow's first node when it has no start node.
CNode* StartOfGraph(CWorkflowDoc& top) {
  if (top.StartNode()) return top.StartNode();
  return top.NodeCount() > 0 ? *top.AllNodes().begin() : nullptr;
}

// Writes header and tasks inside the open transaction; false after showing why.
bool WriteDocuments(CWorkflowDoc& top, SaveSession& save) {
  top.UserInterface().showStatusText("Saving header");
  try {
    WriteHeaderDocument(top, save);
  } catch (const LNStatusError& e) {
    ShowNotesError(top.UserInterface(), kHeaderFailedText, e);
    return false;
  }
  CNode* start = StartOfGraph(top);
  top.UserInterface().showStatusText("Saving Graph");
  if (top.NodeCount() == 0) return true;
  if (!start) {
    ShowErrorMessage(top.UserInterface(),
                     "Internal error, CWorkflowDoc::SaveGraph() gets empty start node");
    ShowErrorMessage(top.UserInterface(), kSaveFailedText);
    return false;
  }
  if (!WriteTaskDocuments(top, *start, save)) {
    ShowErrorMessage(top.UserInterface(), kSaveFailedText);
    return false;
  }
  return true;
}

SaveSession NewSaveSession(CProcessDefDb& repository, LNDatabase& db, const CWorkflowDoc& top,
                           const Plan& plan, const WriteTarget& target) {
  SaveSession save{repository.Session(), db, {}, false, {}, {}, {}};
  const CApplicationEnvDb* appEnv = top.Databases().applicationEnvironment.repository;
  // An Application Environment Database that could not be read gives no replica id.
  save.appReplicaId =
      appEnv && !appEnv->ReplicaId().empty() ? appEnv->ReplicaId() : target.appReplicaId;
  save.hasAppReplicaId = appEnv || !target.appReplicaId.empty();
  if (plan.retirement != Retirement::None) {
    save.retiredUsers = repository.RetiredUsers();
    save.retiredLastModify = repository.RetiredLastModify();
  }
  return save;
}

using Published = std::vector<std::pair<std::string, std::string>>;

// Retires the replaced version and writes header and tasks into the open database.
bool WriteAll(CWorkflowDoc& top, CProcessDefDb& repository, const Plan& plan,
              const WriteTarget& target, LNDatabase& db, Published& published) {
  const std::string& path = top.Databases().processDefinitions.location.fileName;
  // The new header continues the history of the one it replaces, read while retiring it.
  bool written = repository.RetireOn(db, plan.retirement, plan.retired, path);
  if (!written) ShowErrorMessage(top.UserInterface(), kSaveFailedText);
  SaveSession save = NewSaveSession(repository, db, top, plan, target);
  written = written && WriteDocuments(top, save);
  if (!written) {
    top.UserInterface().showStatusText({});
    return false;
  }
  published = std::move(save.published);
  return true;
}

enum class Outcome { Written, Failed, Ask, Busy };

// Takes the lock on the workflow's name, decides and writes everything in one
// transaction; a failure rolls everything back. Store failures outside the
// documents' own steps are thrown.
Outcome WriteUnderLock(CWorkflowDoc& top, CProcessDefDb& repository, const Request& request,
                       const WriteTarget& target, Plan& plan, Published& published) {
  top.UserInterface().showStatusText("Saving");
  LNDatabase opened;
  std::optional<LNTransaction> transaction;
  LNDatabase* db = target.db;
  if (!db) {
    const DatabaseLocation at = top.Databases().processDefinitions.location;
    repository.Session().GetDatabase(at.fileName, &opened, at.server);
    opened.Open();
    transaction.emplace(opened);
    db = &opened;
  }
  db->LockKey(request.original.name);
  plan = Decide(request, repository);
  if (plan.changedMeanwhile) {
    ShowErrorMessage(top.UserInterface(), ReplacedMeanwhileText(plan.retired));
    return Outcome::Failed;
  }
  if (MustAsk(top, repository, request, plan)) return Outcome::Ask;  // not while holding the lock
  WorkflowHeader h = top.Header();
  h.workflowId = plan.workflowId;
  h.version = plan.version;
  top.SetHeader(h);
  if (!WriteAll(top, repository, plan, target, *db, published)) return Outcome::Failed;
  if (transaction) {
    transaction->Commit();
    opened.Close();
  }
  return Outcome::Written;
}

// What to ask about another designer's save of the version to replace, read
// again outside the lock; empty when there is nothing to ask after all.
std::string QuestionAboutReplacing(const CWorkflowDoc& top, CProcessDefDb& repository,
                                   const Plan& plan) {
  try {
    return OtherSaveQuestion(top, repository, plan.retired);
  } catch (const LNStatusError&) {  // the save itself reports an unreachable database
    return {};
  }
}

// One attempt at the database; a busy one leaves its words in `busy`.
Outcome Attempt(CWorkflowDoc& top, CProcessDefDb& repository, const Request& request,
                const WriteTarget& target, Plan& plan, Published& published, std::string& busy) {
  // The databases the session gives meanwhile throw too.
  LNThrowAllErrorsScope throwing(repository.Session(), true);
  LNThrowAllErrorsScope targetThrowing(target.db ? *target.db : LNDatabase(), true);
  try {
    return WriteUnderLock(top, repository, request, target, plan, published);
  } catch (const LNStatusError& e) {
    const std::string text = NotAccessibleText(top.Databases().processDefinitions.location.fileName,
                                               request.original.name);
    // Another designer's long save holds the database: the store has waited as long
    // as a save takes; whether to wait once more is the caller's to decide.
    if (e.GetStatus() == LNERR_DATABASE_BUSY) {
      busy = GetNotesErrorText(e) + text;
      return Outcome::Busy;
    }
    ShowNotesError(top.UserInterface(), text, e);
    return Outcome::Failed;
  }
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

WriteResult WriteWorkflow(CWorkflowDoc& doc, const WriteTarget& target, VersionRule rule,
                          const WriteAnswers& answers) {
  CWorkflowDoc& top = doc.Top();
  CProcessDefDb* repository = top.Databases().processDefinitions.repository;
  if (!repository) {
    ShowErrorMessage(top.UserInterface(), kNoDatabasesText);
    return WriteResult{WriteResult::Failed, {}, {}};
  }
  Request request{top.Header(), rule, answers.asNew, answers.agreed};
  const std::string previousStamp = top.StoredStamp();
  // The stored versions are as they were, so the workflow keeps its id and number.
  auto fail = [&] {
    repository->ForgetHeaders();  // what the retirement took out of the list is back
    WorkflowHeader h = top.Header();
    h.workflowId = request.original.workflowId;
    h.version = request.original.version;
    top.SetHeader(h);
    top.SetStoredStamp(previousStamp);
    return WriteResult{WriteResult::Failed, {}, {}};
  };
  if (!AssignCodes(top)) {
    // Only an Active workflow needs its start to number its tasks.
    ShowErrorMessage(top.UserInterface(),
                     "The workflow \"" + top.Header().name +
                         "\" is Active but has no start task.\r\nDefine a workflow start before "
                         "saving it.");
    return WriteResult{WriteResult::Failed, {}, {}};
  }
  Plan plan;
  Published published;
  for (int turns = answers.turns;; ++turns) {
    std::string busy;
    const Outcome outcome = Attempt(top, *repository, request, target, plan, published, busy);
    if (outcome == Outcome::Written) break;
    if (outcome == Outcome::Failed) return fail();
    if (outcome == Outcome::Busy) {
      fail();
      top.UserInterface().showStatusText({});
      return WriteResult{WriteResult::Busy, std::move(busy), {}};
    }
    if (turns == kQuestionTurns) {
      ShowErrorMessage(top.UserInterface(), ReplacedMeanwhileText(plan.retired));
      return fail();
    }
    std::string question = QuestionAboutReplacing(top, *repository, plan);
    if (!question.empty()) {
      fail();
      top.UserInterface().showStatusText({});
      return WriteResult{WriteResult::OtherSave, std::move(question), plan.retired};
    }
    request.agreed = plan.retired;  // the other save has gone meanwhile
  }
  repository->ForgetHeaders();
  UpdatePublishedLeafs(top, published);
  top.SetNew(false);
  top.Session().ClearModified();
  top.Session().RefreshTitle();
  top.UserInterface().showStatusText({});
  return WriteResult{WriteResult::Written, {}, {}};
}

SaveAnswerer AnswererAsking(Services& services) {
  SaveAnswerer answerer;
  answerer.retryWhenBusy = [&services](const std::string& question) {
    return services.messageBox(question, MsgIcon::Exclamation, MsgButtons::RetryCancel) ==
           MsgResult::Retry;
  };
  answerer.otherSave = [&services](const std::string& question) {
    switch (services.messageBox(question, MsgIcon::Question, MsgButtons::YesNoCancel)) {
      case MsgResult::Yes:
        return OtherSaveAnswer::Overwrite;
      case MsgResult::No:
        return OtherSaveAnswer::SaveAsNew;
      default:
        return OtherSaveAnswer::Cancel;
    }
  };
  return answerer;
}

bool WriteAnswering(CWorkflowDoc& doc, const WriteTarget& target, VersionRule rule,
                    const SaveAnswerer& answerer) {
  WriteAnswers answers;
  for (int retries = 0;;) {
    const WriteResult result = WriteWorkflow(doc, target, rule, answers);
    if (result.outcome == WriteResult::OtherSave) {
      const OtherSaveAnswer answer = answerer.otherSave(result.text);
      if (answer == OtherSaveAnswer::Cancel) return false;
      answers.asNew = answers.asNew || answer == OtherSaveAnswer::SaveAsNew;
      answers.agreed = result.replaced;
      ++answers.turns;
    } else if (result.outcome == WriteResult::Busy) {
      if (retries++ == kBusyRetries || !answerer.retryWhenBusy(result.text + "\r\n\r\nTry again?")) {
        ShowErrorMessage(doc.UserInterface(), result.text);
        return false;
      }
    } else {
      return static_cast<bool>(result);
    }
  }
}

}  // namespace velk
