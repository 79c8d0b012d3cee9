// Loading the task documents: one node per document of the workflow's version,
// and the arrows named by their routing lists.

#include "model/workflowloadtasks.h"

#include <cstdio>
#include <string>
#include <vector>

#include "common/progresspace.h"
#include "common/services.h"
#include "model/workflowbuild.h"
#include "model/workflowdoc.h"
#include "model/workflowrecords.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/noteserror.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"

namespace velk {

namespace {

// The arrows of one routing kind: entry i of the key list with entry i of the
// condition and formula lists (missing entries are empty).
void ReadRoutes(Services& services, LNDocument& doc, GraphBuilder& builder, const std::string& self,
                RoutingKind kind) {
  const RoutingItems& items = RoutingItemsOf(kind);
  const std::vector<std::string> targets = ReadList(services, items.keys, doc);
  if (targets.empty()) return;
  const std::vector<std::string> c =
      items.conditions ? ReadList(services, items.conditions, doc) : std::vector<std::string>();
  const std::vector<std::string> f =
      items.formulas ? ReadList(services, items.formulas, doc) : std::vector<std::string>();
  for (std::size_t i = 0; i < targets.size(); ++i)
    builder.AddArrow(kind, {self, targets[i], i < c.size() ? c[i] : std::string(),
                            i < f.size() ? f[i] : std::string()});
}

void ShowTasksToGo(Services& services, long count) {
  char text[48];
  std::snprintf(text, sizeof text, "Loading... %ld tasks to go.", count);
  services.showStatusText(text);
}

enum class Stage { Database, View, Walk };

}  // namespace

void ReadTask(Services& services, LNDocument& doc, GraphBuilder& builder) {
  TaskRecord task;
  ReadRecord(services, doc, TaskRecordFields(), task);
  const std::string self = task.codeText;
  builder.AddTask(std::move(task));
  for (RoutingKind kind :
       {RoutingKind::And, RoutingKind::Or, RoutingKind::Xor, RoutingKind::Cor, RoutingKind::Else})
    ReadRoutes(services, doc, builder, self, kind);
}

bool ReadGraph(CWorkflowDoc& doc, LNDatabase& db) {
  doc.UserInterface().showStatusText({});
  doc.ClearGraph();
  const WorkflowHeader& header = doc.Header();
  GraphBuilder builder(doc);
  LNThrowAllErrorsScope throwing(db, true);
  LNViewFolder view;
  Stage stage = Stage::Database;
  try {
    if (!db.IsOpen()) db.Open();
    stage = Stage::View;
    db.GetViewFolder(views::kWorkflowStructure, &view);
    view.Open(LNVFOPEN_BY_KEY);  // the other workflows' tasks are never read
    ViewWalk walk(view, header.workflowId);
    if (walk.Empty()) {
      view.Close();
      db.Close();
      ShowErrorMessage(doc.UserInterface(), "No tasks were found.");
      return false;
    }
    stage = Stage::Walk;
    ProgressPace pace;
    long toGo = walk.Count();
    // A document that cannot be read is reported and passed by; a failed move
    // to the next one ends the load.
    walk.Entries([&](const LNVFEntry& entry) {
      try {
        LNDocument task;
        entry.GetDocument(&task);
        task.Open();
        if (GetFieldIntContent(doc.UserInterface(), "Version", task) == header.version)
          ReadTask(doc.UserInterface(), task, builder);
        --toGo;
        if (pace.Due()) ShowTasksToGo(doc.UserInterface(), toGo);
        task.Close();
      } catch (const LNStatusError& e) {
        ShowNotesError(doc.UserInterface(),
                       "The ViewFolder in Process Definitions Database cannot be opened properly.",
                       e);
      }
      return true;
    });
    view.Close();
    db.Close();
  } catch (const LNStatusError& e) {
    if (view.IsOpen()) view.Close();
    if (db.IsOpen()) db.Close();
    ShowNotesError(doc.UserInterface(),
                   stage == Stage::Database ? "The routing workflow cannot be opened properly"
                   : stage == Stage::View
                       ? "The ViewFolder in Process Definitions Database cannot be opened properly."
                       : "Workflow CNode document cannot be loaded.",
                   e);
    return false;
  }
  builder.Finish();
  doc.UserInterface().showStatusText({});
  return true;
}

}  // namespace velk
