#include "repository/processdefdb.h"

#include <algorithm>
#include <optional>
#include <ranges>

#include "common/infocenter.h"
#include "common/requirecollaborator.h"
#include "common/services.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/noteserror.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

constexpr char kResourcesTitle[] = "Reading Resources in Process Definitions Database";
constexpr char kHeadersTitle[] = "Reading Workflow Headers";
constexpr char kCannotOpenText[] =
    "The Process Definitions Database cannot be opened anymore.\r\nPlease choose another Process "
    "Definitions Database or retry this later.";
constexpr char kNoResourcesText[] =
    "The choosen database holds no information about resources.\r\nNo resources can be choosen.";
constexpr char kNoResourceViewText[] =
    "The choosen database ist not actual a Process Definitions Database because\r\nit holds no "
    "information abaut resources.\r\nIt must have the view: '(Modeler\\Resource)'.\r\nPlease "
    "choose another database\r\nor continue without ability to choose resources.";
constexpr char kNoHeaderViewText[] =
    "The chosen database is not actual Process Definitions Database because\r\ninformation about "
    "workflows cannot be accessed.\r\nIt must have the view: '(Modeler\\Header)'.\r\nPlease choose "
    "another database.";

void ReportProcessDef(Services& services, const std::string& title, const std::string& text,
                      Severity severity) {
  Report(services, kProcessDefCategory, title, text, severity);
}

std::string MissingHeaderItemText(const std::string& item) {
  return "The chosen database is not actual Process Definitions Database because\r\ninformation "
         "about workflows cannot be accessed.\r\nIt must have the view: '(Modeler\\Header)'\r\n"
         "with a field '" +
         item + "'.\r\nPlease choose another database.";
}

}  // namespace

WorkflowHeaderEntry ReadHeaderEntry(Services& services, LNDocument& doc) {
  WorkflowHeaderEntry h;
  h.type = GetFieldContent(services, "Type", doc);
  h.workflowId = GetFieldContent(services, "WorkflowID", doc);
  h.category = GetFieldContent(services, "Category", doc);
  WordToWorkflowStatus(GetFieldContent(services, "Status", doc), h.status);
  WordToWorkflowType(GetFieldContent(services, "WFType", doc), h.wfType);
  h.version = GetFieldIntContent(services, "Version", doc);
  h.appReplicaId = GetFieldContent(services, "AppReplikaID", doc);
  h.referenceAllowed = GetFieldBoolContent(services, "ReferenceAllowed", doc);
  std::vector<std::string> referencing;
  GetFieldListContent(services, "IsReferencedBy", doc, referencing);
  h.isReferenced = !referencing.empty();
  return h;
}

namespace {

// Which stage of a reading a store failure came from.
enum class Stage { Database, View, Documents };

}  // namespace

bool CProcessDefDb::IsStillStored(LNDatabase& db, const WorkflowHeaderEntry& entry) {
  LNThrowAllErrorsScope throwing(db, true);
  LNViewFolder view;
  db.GetViewFolder(views::kHeaderById, &view);
  view.Open();
  bool stored = false;
  ViewWalk(view, entry.workflowId).Documents([&](LNDocument& doc) {
    const WorkflowHeaderEntry header = ReadHeaderEntry(services_, doc);
    stored = header.status == entry.status && header.version == entry.version;
    return !stored;
  });
  return stored;
}

HeaderSource HeadersFrom(DatabaseLocation at) {
  return [at = std::move(at)] { return at; };
}

CProcessDefDb::CProcessDefDb(Services& services, LNNotesSession& session, const std::string& path,
                             const std::string& server, CWorkflowDoc* user, HeaderSource headers)
    : CRepositoryDb(services, session, {path, server}),
      session_(&session),
      headerSource_(std::move(headers)) {
  RequireCollaborator(headerSource_, "Process Definitions header location");
  services_.infoCenter().clearCategory(kProcessDefCategory);
  StatusScope status(services_, "Opening Process Definitions Database");
  try {
    LNDatabase db;
    OpenDatabase(db);
    LNReadSnapshot snapshot(db);
    TakeIdentity(db, user);
    ReadResources(db);
    db.Close();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, kProcessDefCategory, "Opening Process Definitions Database", e,
                       kCannotOpenText);
  }
}

bool CProcessDefDb::ReadResources(LNDatabase& db) {
  StatusScope status(services_, "Reading resources");
  LNThrowAllErrorsScope throwing(db, true);
  resources_.clear();
  LNViewFolder view;
  try {
    db.GetViewFolder(views::kResource, &view);
    view.Open(LNVFOPEN_READ_DOCUMENTS);
  } catch (const LNStatusError& e) {
    ReportProcessDef(services_, kResourcesTitle, GetNotesErrorText(e) + kNoResourceViewText,
                     Severity::Warning);
    return false;
  }
  try {
    const bool complete =
        view.GetEntryCount() == 0 ||
        ViewWalk(view, ViewWalk::Categories::Visit).Documents([this](LNDocument& doc) {
          if (!doc.HasItem("Resource")) {
            ReportProcessDef(services_, kResourcesTitle, kNoResourcesText, Severity::Notice);
            return false;
          }
          resources_.push_back(GetFieldContent(services_, "Resource", doc));
          return true;
        });
    view.Close();
    if (!complete) return false;
  } catch (const LNStatusError& e) {
    ReportProcessDef(services_, kResourcesTitle, GetNotesErrorText(e) + kNoResourcesText,
                     Severity::Notice);
    view.Close();
    return false;
  }
  ReportProcessDef(services_, kResourcesTitle,
                   "Reading Resources in Process Definitions Database completed successfully.",
                   Severity::Success);
  return true;
}

DatabaseLocation CProcessDefDb::HeaderLocation() const {
  return headerSource_();
}

bool CProcessDefDb::ReadHeaders(bool force) {
  if (!force && !headers_.empty()) return true;
  StatusScope status(services_, "Opening Process Definitions Database");
  LNThrowAllErrorsScope throwing(*session_, true);  // and the database it gives
  const DatabaseLocation at = HeaderLocation();
  LNDatabase db;
  LNViewFolder view;
  Stage stage = Stage::Database;
  try {
    session_->GetDatabase(at.fileName, &db, at.server);
    db.Open();
    LNReadSnapshot snapshot(db);
    services_.showStatusText("Reading Workflow Headers");
    headers_.clear();
    stage = Stage::View;
    db.GetViewFolder(views::kHeaderById, &view);
    view.Open(LNVFOPEN_READ_DOCUMENTS);
    stage = Stage::Documents;
    const bool complete = ReadHeaderDocuments(view);
    view.Close();
    db.Close();
    if (!complete) return false;
  } catch (const LNStatusError& e) {
    const std::string error = GetNotesErrorText(e);
    if (stage == Stage::Documents)
      ReportProcessDef(services_, kHeadersTitle,
                       error +
                           "There are no workflows defined in the database.No workflow "
                           "headers loaded!",
                       Severity::Warning);
    else
      ReportProcessDef(services_, kHeadersTitle,
                       error + (stage == Stage::View ? kNoHeaderViewText : kCannotOpenText),
                       Severity::Error);
    if (view.IsOpen()) view.Close();
    if (db.IsOpen()) db.Close();
    return false;
  }
  ReportProcessDef(services_, kHeadersTitle, "Reading Workflow Headers completed successfully.",
                   Severity::Success);
  return true;
}

// Appends the header of every document of the open view. False after reporting an
// empty view or a document without a required item. Throws LNStatusError.
bool CProcessDefDb::ReadHeaderDocuments(LNViewFolder& view) {
  std::optional<ViewWalk> entries;
  try {
    entries.emplace(view);
  } catch (const LNStatusError& e) {
    ReportProcessDef(services_, kHeadersTitle,
                     GetNotesErrorText(e) +
                         "There are no Workflows defined in the database.No Workflow Headers "
                         "loaded!",
                     Severity::Warning);
    return false;
  }
  return entries->Documents([this](LNDocument& doc) {
    for (const char* item : {"Type", "Status", "Version"}) {
      if (!doc.HasItem(item)) {
        ReportProcessDef(services_, kHeadersTitle, MissingHeaderItemText(item), Severity::Error);
        return false;
      }
    }
    headers_.push_back(ReadHeaderEntry(services_, doc));
    return true;
  });
}

const WorkflowHeaderEntry* CProcessDefDb::FindHeader(const std::string& workflowId) const {
  auto it = std::ranges::find(headers_, workflowId, &WorkflowHeaderEntry::workflowId);
  return it == headers_.end() ? nullptr : &*it;
}

const WorkflowHeaderEntry* CProcessDefDb::FindLastHeader(const std::string& workflowId) const {
  auto it = std::ranges::find(headers_ | std::views::reverse, workflowId,
                              &WorkflowHeaderEntry::workflowId);
  return it == (headers_ | std::views::reverse).end() ? nullptr : &*it;
}

const WorkflowHeaderEntry* CProcessDefDb::FindHeaderByName(const std::string& type) const {
  auto it = std::ranges::find(headers_, type, &WorkflowHeaderEntry::type);
  return it == headers_.end() ? nullptr : &*it;
}

int CProcessDefDb::HighestVersion(const std::string& typeName) {
  if (headers_.empty()) ReadHeaders(true);
  int highest = -1;
  for (const WorkflowHeaderEntry& h : headers_)
    if (h.type == typeName) highest = std::max(highest, h.version);
  return highest;
}

}  // namespace velk
