#pragma once
// Storing a workflow in its Process Definitions Database: one header document
// (form "Header") and one task document (form "Workflow Structure") per node,
// whose routing items list the node's successors by routing kind.

#include <string>

class LNDatabase;

namespace velk {

class CProcessDefDb;
class CWorkflowDoc;
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
// last step (and fills a repository with given workflows). When another program
// holds the database longer than the store waits, nothing is shown: the result
// says so, and the caller decides whether to try again.
struct WriteResult {
  enum Outcome { Written, Failed, Busy } outcome = Failed;
  std::string busy;  // Busy: what the store said and what could not be saved
  explicit operator bool() const { return outcome == Written; }
};
WriteResult WriteWorkflow(CWorkflowDoc& doc, const WriteTarget& target = {},
                   VersionRule rule = VersionRule::Keep);

}  // namespace velk
