#pragma once
// Storing a workflow in its Process Definitions Database: one header document
// (form "Header") and one task document (form "Workflow Structure") per node,
// whose routing items list the node's successors by routing kind.

#include <functional>
#include <string>

class LNDatabase;

namespace velk {

class CProcessDefDb;
class CWorkflowDoc;
class ExternalDirectoryLookup;
struct WorkflowHeader;

// Where WriteWorkflow writes when the caller says so.
struct WriteTarget {
  // An open handle of the workflow's Process Definitions Database inside a
  // transaction of the caller, who commits or rolls back; null: the write opens
  // the database and holds its own transaction.
  LNDatabase* db = nullptr;
  // Stored as "AppReplikaID" when the workflow's Application Environment slot is
  // not initialised; empty: nothing is stored then.
  std::string appReplicaId;
};

// "Save Workflow as": lets the designer name the workflow; false on Cancel.
using ChooseSaveName = std::function<bool(CWorkflowDoc&)>;

// The Save (saveAs false) and Save As commands: checks the databases, runs the
// consistency check (which refuses an incomplete Active workflow), lets the
// designer name a workflow not stored yet (or every workflow on Save As), applies
// the version rule and writes the workflow. A cluster document saves its top
// document.
bool SaveWorkflow(CWorkflowDoc& doc, bool saveAs, const ChooseSaveName& chooseName,
                  const ExternalDirectoryLookup& directory);

// An imported workflow that the Process Definitions Database already holds in the
// same name and status, in its version or a newer one, is stored as a save of the
// newest of those would store it: under its id, with the version rule applied.
// Importing one file twice (or while another save lands) then never gives two
// current versions of one workflow.
void ApplyImportVersionRule(CWorkflowDoc& doc, CProcessDefDb& repository);

// The version a save stores: Active and Template count up by one, Design is
// always 0, Freeze and Testing keep theirs.
int NextVersion(const WorkflowHeader& header);

// Writes the workflow as it is: retires the stored version it replaces, numbers
// the nodes and writes the header and task documents, all in one transaction of
// the Process Definitions Database, so that a failure leaves the database exactly
// as it was (and the workflow's id as it was). Shows every failure. Used by the
// Save commands, by the creation of a sub-workflow and by importing. When another
// program holds the database longer than the store waits, the designer is asked
// whether to try again (`busyRetries`: the times that has been asked already).
bool WriteWorkflow(CWorkflowDoc& doc, const WriteTarget& target = {}, int busyRetries = 0);

}  // namespace velk
