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

// The Save (saveAs false) and Save As commands: checks the databases, lets the
// designer name a workflow not stored yet (or every workflow on Save As), applies
// the version rule and writes the workflow. A cluster document saves its top
// document.
bool SaveWorkflow(CWorkflowDoc& doc, bool saveAs, const ChooseSaveName& chooseName);

// An imported workflow that the Process Definitions Database already holds in the
// same name, status and version is stored as a save of that stored workflow would
// store it: under its id, with the version rule applied. Importing one file twice
// then never gives two stored versions of one number.
void ApplyImportVersionRule(CWorkflowDoc& doc, CProcessDefDb& repository);

// The version a save stores: Active and Template count up by one, Design is
// always 0, Freeze and Testing keep theirs.
int NextVersion(const WorkflowHeader& header);

// Writes the workflow as it is: retires the stored version it replaces, numbers
// the nodes and writes the header and task documents, all in one transaction of
// the Process Definitions Database, so that a failure leaves the database exactly
// as it was (and the workflow's id as it was). Shows every failure. Used by the
// Save commands, by the creation of a sub-workflow and by importing.
bool WriteWorkflow(CWorkflowDoc& doc, const WriteTarget& target = {});

}  // namespace velk
