#include "repository/versionhistory.h"

#include <algorithm>
#include <tuple>

#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/noteserror.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"

namespace velk {

namespace {

std::string LastOf(Services& services, const char* item, LNDocument& doc) {
  std::vector<std::string> list;
  GetFieldListContent(services, item, doc, list);
  return list.empty() ? std::string() : list.back();
}

// "dd.mm.yyyy hh:mm:ss" as "yyyymmdd hh:mm:ss", which sorts as the times do; a
// text of another form sorts as itself, before every well-formed one.
std::string SortableTime(const std::string& t) {
  if (t.size() < 10 || t[2] != '.' || t[5] != '.') return " " + t;
  return t.substr(6, 4) + t.substr(3, 2) + t.substr(0, 2) + t.substr(10);
}

}  // namespace

void SortNewestFirst(std::vector<StoredVersion>& versions) {
  std::ranges::stable_sort(versions, [](const StoredVersion& a, const StoredVersion& b) {
    return std::tuple(a.header.version, SortableTime(a.savedAt)) >
           std::tuple(b.header.version, SortableTime(b.savedAt));
  });
}

VersionHistory ReadVersionHistory(CProcessDefDb& repository, const std::string& workflowName) {
  VersionHistory history;
  Services& services = repository.UserInterface();
  const DatabaseLocation at = repository.HeaderLocation();
  LNThrowAllErrorsScope throwing(repository.Session(), true);
  LNDatabase db;
  LNViewFolder view;
  try {
    repository.Session().GetDatabase(at.fileName, &db, at.server);
    db.Open();
    LNReadSnapshot snapshot(db);
    db.GetViewFolder(views::kHeaderById, &view);
    view.Open(LNVFOPEN_READ_DOCUMENTS);
    if (view.GetEntryCount() > 0)
      ViewWalk(view).Documents([&](LNDocument& doc) {
        if (doc.HasItem("Type") && GetFieldContent(services, "Type", doc) == workflowName)
          history.versions.push_back({ReadHeaderEntry(services, doc), LastOf(services, "User", doc),
                                      LastOf(services, "LastModify", doc)});
        return true;
      });
    view.Close();
    db.Close();
  } catch (const LNStatusError& e) {
    history.error =
        GetNotesErrorText(e) + "The stored versions of \"" + workflowName + "\" could not be read.";
    if (view.IsOpen()) view.Close();
    if (db.IsOpen()) db.Close();
  }
  SortNewestFirst(history.versions);
  return history;
}

}  // namespace velk
