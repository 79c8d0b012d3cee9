#pragma once
// The Process Definitions Database as the modeler keeps it: the resources tasks
// may claim and the list of stored workflow versions (their header documents),
// and the retirement of a stored version when a new one replaces it.

#include <functional>
#include <string>
#include <vector>

#include "repository/repositorydb.h"

class LNDocument;
class LNViewFolder;

namespace velk {

inline constexpr char kProcessDefCategory[] = "Loading Process Definitions Database";
inline constexpr char kDeletingWorkflowCategory[] = "Deleting Workflow";
inline constexpr char kFreezingWorkflowCategory[] = "Freezing Workflow";

// One document of the view "(Modeler\Header)": one stored workflow version.
struct WorkflowHeaderEntry {
  std::string type;  // the workflow's name
  std::string workflowId;
  std::string category;
  int status = 0;  // workflow status code
  int wfType = 0;  // workflow type code
  int version = 0;
  std::string appReplicaId;
  bool referenceAllowed = false;
  bool isReferenced = false;  // "IsReferencedBy" names at least one workflow

  bool operator==(const WorkflowHeaderEntry&) const = default;
};

// The fields of one header document. Store failures are reported, not thrown.
WorkflowHeaderEntry ReadHeaderEntry(Services& services, LNDocument& doc);

// What becomes of the stored version a save replaces.
enum class Retirement { None, Freeze, Delete };

// Where the header list is read: in the modeler the default Process Definitions
// Database of the current settings, which may change while the object lives, not
// the object's own database.
using HeaderSource = std::function<DatabaseLocation()>;
// A header list always read from `at`.
HeaderSource HeadersFrom(DatabaseLocation at);

class CProcessDefDb : public CRepositoryDb {
 public:
  // Opens the database, reads its identity and the resources, closes it. A failure
  // becomes an Info Center entry and leaves the object empty. Stops the program
  // when `headers` is missing.
  CProcessDefDb(Services& services, LNNotesSession& session, const std::string& path, const std::string& server,
                CWorkflowDoc* user, HeaderSource headers);

  LNNotesSession& Session() const { return *session_; }

  // Empties the resources and reads them from "(Modeler\Resource)" of the open
  // database. An empty view counts as success.
  bool ReadResources(LNDatabase& db);
  const std::vector<std::string>& Resources() const { return resources_; }

  // Without `force` a header list already read stays and the call succeeds at
  // once. A failed reading keeps the headers read before the failure.
  bool ReadHeaders(bool force);
  const std::vector<WorkflowHeaderEntry>& Headers() const { return headers_; }
  // The database the header list is read from.
  DatabaseLocation HeaderLocation() const;
  // Forgets the header list, so that the next reader reads it again.
  void ForgetHeaders() { headers_.clear(); }

  // The first / the last header of that workflow id in list order; null if none.
  const WorkflowHeaderEntry* FindHeader(const std::string& workflowId) const;
  const WorkflowHeaderEntry* FindLastHeader(const std::string& workflowId) const;
  // The first header of that name (case mattering); null if none.
  const WorkflowHeaderEntry* FindHeaderByName(const std::string& type) const;
  // The largest stored version of the workflow type, or -1 when there is none.
  int HighestVersion(const std::string& typeName);

  // Reads the headers again and decides what a save of a workflow in status
  // `targetStatus` does to the stored version `workflowId` (the last header of
  // that id). `retired` receives that header when there is one.
  Retirement DecideRetirement(int targetStatus, const std::string& workflowId,
                              WorkflowHeaderEntry* retired = nullptr);
  // Retires one stored version: decides as above, opens the document's Process
  // Definitions Database and deletes or freezes the header, task and annotation
  // documents of the workflow id. Every outcome is an Info Center entry.
  void DeleteOrFreezeWorkflow(const CWorkflowDoc& document, const std::string& workflowId);
  // The same on a database the caller has opened (and may hold a transaction on),
  // with the decision already made. False when a store failure stopped it before
  // the header and task documents were all handled (a header that is not there any
  // more is reported and is no failure); `path` names the database in messages.
  bool RetireOn(LNDatabase& db, Retirement retirement, const WorkflowHeaderEntry& retired,
                const std::string& path);

  // Whether the database still holds `entry` in its status and version. Read
  // under the save's write lock, it tells a save that another one retired the
  // version it replaces since it decided. Throws LNStatusError.
  bool IsStillStored(LNDatabase& db, const WorkflowHeaderEntry& entry);

  // The "User" and "LastModify" lists of the header document last retired.
  const std::vector<std::string>& RetiredUsers() const { return retiredUsers_; }
  const std::vector<std::string>& RetiredLastModify() const { return retiredLastModify_; }

 private:
  bool ReadHeaderDocuments(LNViewFolder& view);
  bool RetireHeaders(LNDatabase& db, bool freeze, const std::string& workflowId, bool& found);
  bool RetireTasks(LNDatabase& db, bool freeze, const std::string& workflowId);
  bool RetireAnnotations(LNDatabase& db, bool freeze, const std::string& workflowId);

  LNNotesSession* session_;
  HeaderSource headerSource_;
  std::vector<std::string> resources_;
  std::vector<WorkflowHeaderEntry> headers_;
  std::vector<std::string> retiredUsers_;
  std::vector<std::string> retiredLastModify_;
};

}  // namespace velk
