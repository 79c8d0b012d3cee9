// Retiring a stored workflow version: its header, task and annotation documents
// are deleted, or frozen (status "Freeze") and kept.

#include <algorithm>
#include <ranges>

#include "common/infocenter.h"
#include "common/services.h"
#include "model/workflowdoc.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/noteserror.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

constexpr int kActive = 1;
constexpr int kFreeze = 2;
constexpr int kTemplate = 3;

void ReportDeleting(Services& services, const std::string& title, const std::string& text,
                    Severity severity) {
  Report(services, kDeletingWorkflowCategory, title, text, severity);
}

// Where a step failed: while its view was opened, or while the matches were handled.
struct StepTexts {
  const char* status[2];  // delete, freeze
  const char* view;
  const char* failTitle;
  const char* openFailTitle;
  Severity failSeverity;
  Severity openFailSeverity;
  const char* searchFailText;
  const char* openFailText;
  bool skipCategories;
};

const StepTexts kHeaderStep{
    {"Deleting Header document", "Freezing Header document"},
    views::kHeaderById,
    "Deleting Header Document",
    "Deleting Header Document",
    Severity::Error,
    Severity::Error,
    "Unable to find the workflow in Process Definitions Database.",
    "The chosen database is not actual Process Definitions Database because\r\ninformation about "
    "workflows cannot be accessed.\r\nIt must have the view: '(Modeler\\Header)'\r\nPlease choose "
    "another database.",
    true};

const StepTexts kTaskStep{
    {"Deleting Task objects", "Freezing Task objects"},
    views::kWorkflowStructure,
    "Deleting Task Objects",
    "Deleting Task Objects",
    Severity::Error,
    Severity::Error,
    "Error while searching workflow in Process Definitions Database.No Task Objects found.",
    "The Process Definitions Database is not valid because\r\nit holds no information about "
    "tasks.\r\nIt must have the view '(Modeler\\Workflow Structure)'",
    true};

const StepTexts kAnnotationStep{
    {"Deleting annotation texts", "Freezing annotation texts"},
    views::kText,
    "Deleting annotation text",
    "Deleting annotation texts",
    Severity::Notice,
    Severity::Warning,
    "No annotation text items found.",
    "The workflows in the Process Definitions Database \r\nare not sorted correctly. The "
    "annotations \r\nare identified by the view: '(Modeler\\Text)' which is missing. \r\nThe "
    "annotations of the workflow version can not \r\nbe deleted correctly.",
    false};

using MatchHandler = std::function<void(LNDocument&)>;

// Runs `handle` on every document of the view under the key; true when all were
// handled (no match counts as done). A store failure is reported and gives false.
// `found` tells whether there was a match.
bool ForEachMatch(Services& services, LNDatabase& db, bool freeze, const StepTexts& texts,
                  const std::string& key, const MatchHandler& handle, bool* found = nullptr) {
  services.showStatusText(texts.status[freeze ? 1 : 0]);
  LNThrowAllErrorsScope throwing(db, true);
  LNViewFolder view;
  try {
    db.GetViewFolder(texts.view, &view);
    view.Open();
  } catch (const LNStatusError& e) {
    ReportDeleting(services, texts.openFailTitle, GetNotesErrorText(e) + texts.openFailText,
                   texts.openFailSeverity);
    return false;
  }
  try {
    ViewWalk matches(
        view, key, texts.skipCategories ? ViewWalk::Categories::Skip : ViewWalk::Categories::Visit);
    if (found) *found = !matches.Empty();
    matches.Documents([&handle](LNDocument& doc) {
      handle(doc);
      return true;
    });
    view.Close();
  } catch (const LNStatusError& e) {
    ReportDeleting(services, texts.failTitle, GetNotesErrorText(e) + texts.searchFailText,
                   texts.failSeverity);
    view.Close();
    return false;
  }
  return true;
}

// Deletes the document, or freezes it in place.
void DeleteOrFreeze(LNDatabase& db, LNDocument& doc, bool freeze) {
  if (freeze) {
    SetFieldContent("Status", "Freeze", doc);
    doc.Save();
    doc.Close();
  } else {
    doc.Close();
    db.DeleteDocument(&doc);
  }
}

std::string TextItemsNotDeletedText(const WorkflowHeaderEntry& h, const std::string& path) {
  const std::string indent = " \t\t\t";
  return "The adjacent text documents for workflow:\r\n\r\n" + indent + "Title: " + h.type +
         " \r\n" + indent + "Status: " + WorkflowStatusToWord(h.status) + " \r\n" + indent +
         "Version: " + std::to_string(h.version) + " \r\n" + indent +
         "in Process Definitions Database " + path + " \r\n" + indent +
         "could not correctly be deleted.\r\n" + indent +
         "This is not critical but takes Hardisk space.";
}

void ClearRetirementReports(Services& services) {
  services.infoCenter().clearCategory(kDeletingWorkflowCategory);
  services.infoCenter().clearCategory(kFreezingWorkflowCategory);
}

}  // namespace

Retirement CProcessDefDb::DecideRetirement(int targetStatus, const std::string& workflowId,
                                           WorkflowHeaderEntry* retired) {
  ReadHeaders(true);
  const WorkflowHeaderEntry* h = FindLastHeader(workflowId);
  if (!h) return Retirement::None;
  if (retired) *retired = *h;
  if (targetStatus == kFreeze) return Retirement::None;
  if (h->status == kActive) return targetStatus == kActive ? Retirement::Freeze : Retirement::None;
  if (h->status == kTemplate && targetStatus == kTemplate) return Retirement::Freeze;
  // A template that others refer to must stay readable for them.
  if (h->status == kTemplate && h->version == 0 && h->isReferenced) return Retirement::Freeze;
  return Retirement::Delete;
}

void CProcessDefDb::DeleteOrFreezeWorkflow(const CWorkflowDoc& document,
                                           const std::string& workflowId) {
  WorkflowHeaderEntry retired;
  const Retirement retirement =
      DecideRetirement(static_cast<int>(document.Header().status), workflowId, &retired);
  if (retirement == Retirement::None) return;
  const DatabaseLocation at = document.Databases().processDefinitions.location;
  LNThrowAllErrorsScope throwing(*session_, true);  // and the database it gives
  LNDatabase db;
  try {
    session_->GetDatabase(at.fileName, &db, at.server);
    db.Open();
  } catch (const LNStatusError& e) {
    ClearRetirementReports(services_);
    ReportStoreFailure(services_, kDeletingWorkflowCategory, "Opening Process Definitions Database",
                       e,
                       "The Process Definitions Database cannot be opened anymore.\r\nPlease "
                       "choose another Process Definitions Database or retry this later.");
    services_.showStatusText({});
    return;
  }
  RetireOn(db, retirement, retired, at.fileName);
  db.Close();
}

bool CProcessDefDb::RetireOn(LNDatabase& db, Retirement retirement,
                             const WorkflowHeaderEntry& retired, const std::string& path) {
  if (retirement == Retirement::None) return true;
  const bool freeze = retirement == Retirement::Freeze;
  StatusScope status(services_, freeze ? "Freezing Workflow" : "Deleting Workflow");
  ClearRetirementReports(services_);
  bool found = false;
  if (!RetireHeaders(db, freeze, retired.workflowId, found)) return false;
  if (!found) return true;  // reported; there is nothing of it to retire
  if (!RetireTasks(db, freeze, retired.workflowId)) return false;
  if (!RetireAnnotations(db, freeze, retired.workflowId))
    ReportDeleting(services_, "Deleting Text Items", TextItemsNotDeletedText(retired, path),
                   Severity::Warning);
  if (!freeze) {
    auto it = std::ranges::find(headers_ | std::views::reverse, retired);
    if (it != (headers_ | std::views::reverse).end()) headers_.erase(std::next(it).base());
  }
  if (freeze)
    Report(services_, kFreezingWorkflowCategory,
           "Freezing Workflow in Process Definitions Database",
           "Freezing Workflow in Process Definitions Database completed successfully.",
           Severity::Success);
  else
    Report(services_, kDeletingWorkflowCategory,
           "Deleting Workflow in Process Definitions Database",
           "Deleting Workflow in Process Definitions Database completed successfully.",
           Severity::Success);
  return true;
}

bool CProcessDefDb::RetireHeaders(LNDatabase& db, bool freeze, const std::string& workflowId,
                                  bool& found) {
  retiredUsers_.clear();
  retiredLastModify_.clear();
  const bool done = ForEachMatch(
      services_, db, freeze, kHeaderStep, workflowId,
      [&](LNDocument& doc) {
        GetFieldListContent(services_, "User", doc, retiredUsers_);
        GetFieldListContent(services_, "LastModify", doc, retiredLastModify_);
        DeleteOrFreeze(db, doc, freeze);
      },
      &found);
  if (done && !found)
    ReportDeleting(services_, "Deleting Header Document",
                   "Unable to find the Header document in Process Definitions Database.",
                   Severity::Error);
  return done;
}

bool CProcessDefDb::RetireTasks(LNDatabase& db, bool freeze, const std::string& workflowId) {
  return ForEachMatch(services_, db, freeze, kTaskStep, workflowId,
                      [&](LNDocument& doc) { DeleteOrFreeze(db, doc, freeze); });
}

bool CProcessDefDb::RetireAnnotations(LNDatabase& db, bool freeze, const std::string& workflowId) {
  return ForEachMatch(services_, db, freeze, kAnnotationStep, workflowId,
                      [&](LNDocument& doc) { DeleteOrFreeze(db, doc, freeze); });
}

}  // namespace velk
