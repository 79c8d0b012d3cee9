#pragma once
// Sub-workflows: a task of kind ICDR or CDDR stands for a workflow of its own,
// stored like any other, which the task names by its workflow id.

#include <optional>
#include <string>

#include "model/kinds.h"

namespace velk {

class CNode;
class CProcessDefDb;
class CWorkflowDoc;
struct WorkflowHeaderEntry;
class WorkflowSaver;

inline constexpr char kSubWorkflowNotFoundText[] =
    "Connected sub-workflow not found in Process Definitions Database.\r\nCheck default "
    "databases or reconnect sub-workflow!";
inline constexpr char kWrongDefaultDatabasesText[] =
    "Creating a new workflow with wrong default databases is not possible. Creating aborted.";

// Kind ICDR or CDDR.
bool HasSubWorkflow(NodeKind kind);

// Asked when a task without a sub-workflow is opened.
std::string CreateSubWorkflowQuestion(NodeKind kind);

// Makes the empty workflow `sub` the sub-workflow of `node` (a task of `caller`):
// named "ICDR: " or "CDDR: " and the task's name, of the matching workflow type,
// with a start task leading to an end task (a workflow without tasks could not
// be opened again), saved at once so that it has a workflow id. The task records
// the id (which is stored with it, so the calling workflow counts as modified)
// and the open document. False, and nothing recorded, when the save failed; it
// said why.
bool CreateSubWorkflow(CWorkflowDoc& caller, CNode& node, CWorkflowDoc& sub, WorkflowSaver& saver);

// The stored header of the task's sub-workflow, read afresh from the Process
// Definitions Database; nothing, after saying so, when it is not stored there.
std::optional<WorkflowHeaderEntry> FindSubWorkflow(CProcessDefDb& repository, const CNode& node);

}  // namespace velk
