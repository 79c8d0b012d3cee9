#pragma once
// EIDM requests: an order for a sub-workflow that a partner designs and runs.
// Created by dropping a task on an organisation we order from, then moved
// through its states by the commands of the directory window. Accepting a
// request ordered by partners creates the answer workflow.

#include <functional>
#include <string>

namespace velk {

class CExtDirItemEIDM;
class CExtDirItemEIDMOrg;
class CNode;
class CProcessDefDb;
class CWorkflowDoc;
class WorkflowSaver;
struct WorkflowHeaderEntry;

// Written as designer of denied and answered requests and into answer workflows.
inline constexpr char kEidmPlaceholderMail[] = "eidm-designer@marvelund.example";
inline constexpr char kAnswerWorkflowPrefix[] = "Answer to EIDM-Request";

enum EidmState {
  kEidmCreated = 0,
  kEidmSubmitted = 1,
  kEidmPerformed = 2,
  kEidmPublished = 3,
  kEidmDenied = 4,
  kEidmCanceled = 5,
};

// Which request commands are enabled for the request.
struct EidmCommandStates {
  bool submit = false;
  bool cancel = false;
  bool copyToPartners = false;
  bool accept = false;
  bool deny = false;
  bool viewWorkflow = false;
  bool operator==(const EidmCommandStates&) const = default;
};
EidmCommandStates EidmStates(const CExtDirItemEIDM& request);

// Where a new request says it comes from.
struct EidmOrigin {
  std::string organisation;     // our own organisation name
  std::string engineAddress;    // the workflow engine's mail address
  std::string trackingAddress;  // replica id of the Tracking Database in use
};

// A new request from `task` to the organisation (ordered by us): appended,
// shown below the organisation and stored at once; the task records its id.
// Null when the organisation is not one we order from or storing failed (the
// request then stays, to be written by the next save).
CExtDirItemEIDM* CreateEidmRequest(CExtDirItemEIDMOrg& organisation, CNode& task,
                                   const EidmOrigin& origin);

// Submit, cancel and deny: each asks first; false when the answer was not Yes.
bool SubmitEidmRequest(CExtDirItemEIDM& request);
bool CancelEidmRequest(CExtDirItemEIDM& request);
bool DenyEidmRequest(CExtDirItemEIDM& request);

// What accepting a request and opening its workflow need of the program.
struct EidmWorkflowHost {
  std::function<bool()> defaultDatabasesValid;
  // A new workflow window over the default databases; null when none opened.
  std::function<CWorkflowDoc*()> openNewWorkflow;
  // Saves the answer workflow as every workflow is saved.
  WorkflowSaver* saver = nullptr;
  // The stored answer joins the recently used workflows.
  std::function<void(const CWorkflowDoc&)> remember;
  std::function<void(CWorkflowDoc&)> redraw;
  std::function<bool()> infoCenterVisible;
  std::function<void(bool)> setInfoCenterVisible;
  std::function<CProcessDefDb*()> processDefinitions;
  // Opens a window on the stored workflow; false when loading failed.
  std::function<bool(const WorkflowHeaderEntry&)> openStoredWorkflow;
  int gridSize = 50;
};

// The two tasks of an answer workflow and its name, editors and designers.
void BuildAnswerWorkflow(CWorkflowDoc& doc, const CExtDirItemEIDM& request, int gridSize);
// Asks, builds and stores the answer workflow, then marks the request performed.
// False when anything stopped it; the request is then unchanged.
bool AcceptEidmRequest(CExtDirItemEIDM& request, const EidmWorkflowHost& host);
// Opens the master workflow (ordered by us) or the answer workflow.
bool ViewEidmWorkflow(const CExtDirItemEIDM& request, const EidmWorkflowHost& host);
// The twin a partner would receive, shown under "Ordered By Partners".
CExtDirItemEIDM* CopyEidmToPartnerSection(CExtDirItemEIDM& request);

}  // namespace velk
