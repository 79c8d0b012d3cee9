// Loading: the header document gives the workflow's fields, the task documents of
// the same version give the nodes, and their routing lists give the arrows.

#include "model/workflowload.h"

#include <cstdio>
#include <optional>

#include "common/services.h"
#include "model/savestamp.h"
#include "model/workflowbuild.h"
#include "model/workflowdoc.h"
#include "model/workflowextdir.h"
#include "model/workflowloadtasks.h"
#include "model/workflowrecords.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/noteserror.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"

namespace velk {

namespace {

// The first document under `key` in the open view that has `version`, left open
// (opened again, it would be read again).
bool FindVersion(Services& services, LNViewFolder& view, const std::string& key, int version,
                 LNDocument& found) {
  return !ViewWalk(view, key).Entries([&](const LNVFEntry& entry) {
    LNDocument doc;
    entry.GetDocument(&doc);
    doc.Open();
    if (GetFieldIntContent(services, "Version", doc) != version) {
      doc.Close();
      return true;
    }
    found = doc;
    return false;
  });
}

enum class Stage { Database, View, Document };

// Opens the database and reads the chosen version's header into the document;
// false after showing why, with the database closed. The header and the graph
// are read in one `snapshot`, begun as soon as the database is open.
bool ReadHeader(CWorkflowDoc& doc, const WorkflowHeaderEntry& chosen, LNDatabase& db,
                std::optional<LNReadSnapshot>& snapshot) {
  const std::string& key = chosen.type;
  LNThrowAllErrorsScope throwing(db, true);
  LNViewFolder view;
  Stage stage = Stage::Database;
  try {
    db.Open();
    snapshot.emplace(db);
    stage = Stage::View;
    db.GetViewFolder(views::kHeaderById, &view);
    view.Open();
    LNDocument header;
    if (!FindVersion(doc.UserInterface(), view, chosen.workflowId, chosen.version, header)) {
      ShowErrorMessage(doc.UserInterface(),
                       "The chosen workflow '" + key +
                           "was not found in the Application Environment Database:" +
                           doc.Databases().applicationEnvironment.location.fileName);
      view.Close();
      db.Close();
      return false;
    }
    stage = Stage::Document;
    for (const char* item : {"Type", "Status", "Version"}) {
      if (header.HasItem(item)) continue;
      header.Close();
      view.Close();
      db.Close();
      doc.UserInterface().showStatusText({});
      ShowErrorMessage(doc.UserInterface(),
                       "The header document for workflow " + key +
                           " holds not all necessary information about the workflow.\r\n "
                           "\t\t\t\tSome important values are missing although they should.");
      return false;
    }
    WorkflowHeader fields;
    ReadRecord(doc.UserInterface(), header, HeaderRecordFields(), fields);
    doc.SetHeader(std::move(fields));
    doc.SetStoredStamp(HeaderStamp(header));
    header.Close();
    view.Close();
    return true;  // the graph is read from the database still open
  } catch (const LNStatusError& e) {
    if (view.IsOpen()) view.Close();
    if (db.IsOpen()) db.Close();
    switch (stage) {
      case Stage::Database:
        ShowNotesError(
            doc.UserInterface(),
            "The Process Definitions Database could not be accessed. So the workflow can not be "
            "opened.",
            e);
        break;
      case Stage::View:
        ShowNotesError(
            doc.UserInterface(),
            "The chosen database is not an actual Process Definitions Database because it holds "
            "no header documents for workflows.\r\nIt must have the view: 'Modeler\\Header'. "
            "Please choose another Application Environment Database.",
            e);
        break;
      case Stage::Document:
        ShowNotesError(doc.UserInterface(),
                       "The header document for workflow " + key + " can not be opened.", e);
        break;
    }
    return false;
  }
}

}  // namespace

bool LoadWorkflow(CWorkflowDoc& doc, const WorkflowHeaderEntry& chosen, LNNotesSession& session) {
  CWorkflowDoc& top = doc.Top();
  top.SetStartNode(nullptr);
  top.SetEndNode(nullptr);
  top.SetNew(false);
  LNDatabase db;
  {
    LNThrowAllErrorsScope returning(session, false);
    const DatabaseLocation& at = top.Databases().processDefinitions.location;
    session.GetDatabase(at.fileName, &db, at.server);
  }
  std::optional<LNReadSnapshot> snapshot;  // thousands of task documents: one read transaction
  if (!ReadHeader(top, chosen, db, snapshot)) return false;
  top.Session().RefreshTitle();
  if (!ReadGraph(top, db)) {
    doc.UserInterface().showStatusText({});
    return false;
  }
  TakeSubscribedOrganisations(top);
  doc.UserInterface().showStatusText({});
  return true;
}

}  // namespace velk
