#pragma once
// Loading a stored workflow version into a workflow document.

class LNNotesSession;

namespace velk {

class CWorkflowDoc;
struct WorkflowHeaderEntry;

// Fills the empty document with the stored version the designer chose: the
// header document of that workflow id and version, and the task documents of
// that version, from the document's Process Definitions Database. Shows every
// failure; a failed load leaves what was read so far.
bool LoadWorkflow(CWorkflowDoc& doc, const WorkflowHeaderEntry& chosen, LNNotesSession& session);

}  // namespace velk
