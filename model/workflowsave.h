#pragma once
// Storing a workflow in its Process Definitions Database: one header document
// (form "Header") and one task document (form "Workflow Structure") per node,
// whose routing items list the node's successors by routing kind.

#include <functional>
#include <optional>
#include <string>

#include "repository/processdefdb.h"

class LNDatabase;

namespace velk {

class CProcessDefDb;
class CWorkflowDoc;
class Services;
struct WorkflowHeader;

inline constexpr char kNoDatabasesText[] =
    "Please specify an Application Environment Database for\r\nthis workflow in workflow "
    "settings\r\nbefore saving.";

// Where WriteWorkflow writes when the caller says so.
struct WriteTarget {
  // An open handle of the workflow's Process Definitions Database inside a
  // transaction of the caller, who commits or rolls back; null: the write opens
  // the database and holds its own transaction.
  LNDatabase* db = nullptr;
  // Stored as "AppReplikaID" when no Application Environment Database of the
  // workflow gives one; empty: nothing is stored then.
  std::string appReplicaId;
};

// How a write numbers the version it stores.
enum class VersionRule {
  Keep,  // as the workflow has it
  Next,  // the save's rule (NextVersion)
  // An imported file: the save's rule applied to the newest stored version of the
  // same name and status that is not older than the file's (stored as a save of
  // that one would be, under its id), else to the file's own version.
  AfterStored,
};

// The version a save stores: Active and Template count up by one, Design is
// always 0, Freeze and Testing keep theirs.
int NextVersion(const WorkflowHeader& header);

// Writes the workflow: numbers its version by `rule`, retires the stored version
// it replaces, numbers the nodes and writes the header and task documents, all in
// one transaction of the Process Definitions Database, so that a failure leaves
// the database exactly as it was (and the workflow's id and version as they
// were). The version and the stored version replaced are decided under a lock on
// the workflow's name that every other write of that name waits for, so writes
// from several programs at once each store a version of their own. Shows every
// failure. The steps of a save before writing are WorkflowSaver's; this is its
// last step (and fills a repository with given workflows). It asks nothing:
// when another program holds the database longer than the store waits, or
// another designer has saved the version to replace since this workflow was
// loaded, nothing is stored and the result says so; the caller asks the
// designer and writes again with the answers (WriteAnswering).
struct WriteResult {
  enum Outcome { Written, Failed, Busy, OtherSave } outcome = Failed;
  // Busy: what the store said and what could not be saved; OtherSave: the
  // question for the designer.
  std::string text;
  WorkflowHeaderEntry replaced;  // OtherSave: the stored version it is about
  explicit operator bool() const { return outcome == Written; }
};
// What the designer has answered so far.
struct WriteAnswers {
  bool asNew = false;                         // "save yours as a new workflow"
  std::optional<WorkflowHeaderEntry> agreed;  // the stored version the designer may replace
  int turns = 0;                              // questions answered
};
WriteResult WriteWorkflow(CWorkflowDoc& doc, const WriteTarget& target = {},
                          VersionRule rule = VersionRule::Keep, const WriteAnswers& answers = {});

// Another designer's save in between: replace it, keep it and store this one as
// a new workflow, or do not save.
enum class OtherSaveAnswer { Overwrite, SaveAsNew, Cancel };
// Whoever answers for the designer while a workflow is written.
struct SaveAnswerer {
  // Another program holds the database longer than the store waits: true tries
  // once more (at most kBusyRetries times, so one that always says yes still
  // comes to an end).
  std::function<bool(const std::string& question)> retryWhenBusy;
  std::function<OtherSaveAnswer(const std::string& question)> otherSave;
};
inline constexpr int kBusyRetries = 3;
// Puts the questions to the designer in message boxes of `services` (which
// must outlive it): "Retry"/"Cancel", and "Yes"/"No"/"Cancel".
SaveAnswerer AnswererAsking(Services& services);

// WriteWorkflow, putting its questions to `answerer` and writing again with the
// answers; a save given up while the database stays busy is shown. True when
// the workflow was stored.
bool WriteAnswering(CWorkflowDoc& doc, const WriteTarget& target, VersionRule rule,
                    const SaveAnswerer& answerer);

}  // namespace velk
