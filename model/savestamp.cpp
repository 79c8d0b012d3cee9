#include "model/savestamp.h"

#include <cstdio>
#include <vector>

#include "common/services.h"
#include "model/workflowdoc.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"

namespace velk {

namespace {

struct StoredHeader {
  std::string stamp;  // empty: not found
  std::string savedBy;
};

StoredHeader FindStored(CProcessDefDb& repository, const DatabaseLocation& at,
                        const WorkflowHeaderEntry& replaced) {
  LNThrowAllErrorsScope throwing(repository.Session(), true);  // and the database it gives
  LNDatabase db;
  repository.Session().GetDatabase(at.fileName, &db, at.server);
  db.Open();
  LNViewFolder view;
  db.GetViewFolder(views::kHeaderById, &view);
  view.Open();
  StoredHeader stored;
  ViewWalk(view, replaced.workflowId).Documents([&](LNDocument& doc) {
    if (GetFieldIntContent(repository.UserInterface(), "Version", doc) != replaced.version)
      return true;
    stored.stamp = HeaderStamp(doc);
    std::vector<std::string> users;
    GetFieldListContent(repository.UserInterface(), "User", doc, users);
    if (!users.empty()) stored.savedBy = users.back();
    return false;
  });
  db.Close();
  return stored;
}

}  // namespace

std::string HeaderStamp(const LNNote& header) {
  const LNUNID unid = header.GetUniversalID();
  char text[40];
  std::snprintf(text, sizeof text, "%08X%08X%08X%08X", unid.words[0], unid.words[1], unid.words[2],
                unid.words[3]);
  return text;
}

bool StampChanged(const CWorkflowDoc& top, CProcessDefDb& repository,
                  const WorkflowHeaderEntry& replaced) {
  if (top.StoredStamp().empty()) return false;
  const std::string stamp =
      FindStored(repository, top.Databases().processDefinitions.location, replaced).stamp;
  return !stamp.empty() && stamp != top.StoredStamp();
}

std::string OtherSaveQuestion(const CWorkflowDoc& top, CProcessDefDb& repository,
                              const WorkflowHeaderEntry& replaced) {
  if (top.StoredStamp().empty()) return {};
  const StoredHeader stored =
      FindStored(repository, top.Databases().processDefinitions.location, replaced);
  if (stored.stamp.empty() || stored.stamp == top.StoredStamp()) return {};
  const std::string who = stored.savedBy.empty() ? "someone else" : stored.savedBy;
  return "The workflow \"" + top.Header().name + "\" has been saved by " + who +
                           " since you loaded it.\r\n\r\nYes: replace that version with "
                           "yours.\r\nNo: save yours as a new workflow, keeping theirs.\r\n"
                           "Cancel: do not save.";
}

}  // namespace velk
