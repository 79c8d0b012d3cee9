#pragma once
// Two designers on one workflow: a save notices that the stored version it is
// about to replace is no longer the one this workflow was loaded from, and asks
// instead of replacing the other designer's work unseen. The stamp is the
// universal id of the stored header document (every save writes a new one), so
// nothing is locked and a crashed client leaves nothing behind.

#include <string>

class LNNote;

namespace velk {

class CProcessDefDb;
class CWorkflowDoc;
struct WorkflowHeaderEntry;

// The stamp of a stored header document.
std::string HeaderStamp(const LNNote& header);

// Whether another save came in between: the stored header of `replaced` is not
// the one this workflow was loaded from or last saved as. Store failures are thrown.
bool StampChanged(const CWorkflowDoc& top, CProcessDefDb& repository,
                  const WorkflowHeaderEntry& replaced);

// Compares the workflow's stamp with the stored header of `replaced`: when
// another save came in between, the question to put to the designer (Yes
// overwrite, No save as a new workflow, Cancel); else empty. Store failures are
// thrown.
std::string OtherSaveQuestion(const CWorkflowDoc& top, CProcessDefDb& repository,
                              const WorkflowHeaderEntry& replaced);

}  // namespace velk
