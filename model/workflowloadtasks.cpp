// Loading the task documents: one node per document of the workflow's version,
// and the arrows named by their routing lists.

#include "model/workflowloadtasks.h"

#include <cstdio>
#include <string>
#include <vector>

#include "app/progresspace.h"
#include "app/services.h"
#include "model/workflowbuild.h"
#include "model/workflowdoc.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/noteserror.h"
#include "repository/store/lnnotes.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

void ReadTaskFields(LNDocument& doc, NodeAttributes& a) {
  a.name = GetFieldContent("Task", doc);
  a.activities = ReadList("Activity", doc);
  a.activityFlag = GetFieldBoolContent("ActivityFlag", doc);
  a.freeText = GetFieldContent("FreeText", doc);
  a.duration = GetFieldNumberContent("Duration", doc);
  a.durationUnit = ReadWord<WordToDurationUnit>("DurationUnit", doc);
  a.objects = ReadList("Object", doc);
  a.folderObjects = ReadList("FolderObject", doc);
  a.resources = ReadList("Resource", doc);
}

void ReadPerformerFields(LNDocument& doc, NodeAttributes& a) {
  a.performerType = ReadWord<WordToOrganisationKind>("OrgaType", doc);
  a.member = GetFieldContent("Member", doc);
  a.roleArgument = GetFieldContent("RoleArgument", doc);
  a.teamManager = GetFieldContent("TeamManager", doc);
  a.teamQuantity = GetFieldIntContent("TeamQuant", doc);
  a.readers = ReadList("Readers", doc);
  a.remindFlag = GetFieldBoolContent("RemindFlag", doc);
  a.remindDuration = GetFieldNumberContent("RemindDuration", doc);
  a.remindDurationUnit = ReadWord<WordToDurationUnit>("RemindDurationUnit", doc);
  a.deadlineDuration = GetFieldNumberContent("DeadlineDuration", doc);
  a.deadlineDurationUnit = ReadWord<WordToDurationUnit>("DeadlineDurationUnit", doc);
  a.inContentManagementType = ReadWord<WordToContentManagementKind>("InContentManagementType", doc);
  a.inContentManagement = ReadList("InContentManagement", doc);
  a.outContentManagementType =
      ReadWord<WordToContentManagementKind>("OutContentManagementType", doc);
  a.outContentManagement = ReadList("OutContentManagement", doc);
}

void ReadExternalFields(LNDocument& doc, NodeAttributes& a) {
  a.griId = GetFieldContent("GriID", doc);
  a.externClusterMail = GetFieldContent("ExternClusterMail", doc);
  a.externClusterId = GetFieldContent("ExternClusterID", doc);
  a.extClusterInput = GetFieldContent("ExtClusterInput", doc);
  a.extClusterOutput = GetFieldContent("ExtClusterOutput", doc);
  a.extClusterFormat = GetFieldContent("ExtClusterFormat", doc);
  a.extClusterRequiredDate = GetFieldContent("ExtClusterRequiredDate", doc);
  a.extClusterExpectedDuration = GetFieldIntContent("ExtClusterExpectedDuration", doc);
  a.extClusterExpectedDurationUnit =
      ReadWord<WordToDurationUnit>("ExtClusterExpectedDurationUnit", doc);
  a.extClusterSpecId = GetFieldContent("ExtClusterSpecID", doc);
}

// The arrows of one routing kind: entry i of the key list with entry i of the
// condition and formula lists (missing entries are empty).
void ReadRoutes(LNDocument& doc, GraphBuilder& builder, const std::string& self, RoutingKind kind,
                const char* keys, const char* conditions, const char* formulas) {
  const std::vector<std::string> targets = ReadList(keys, doc);
  if (targets.empty()) return;
  const std::vector<std::string> c =
      conditions ? ReadList(conditions, doc) : std::vector<std::string>();
  const std::vector<std::string> f =
      formulas ? ReadList(formulas, doc) : std::vector<std::string>();
  for (std::size_t i = 0; i < targets.size(); ++i)
    builder.AddArrow(kind, {self, targets[i], i < c.size() ? c[i] : std::string(),
                            i < f.size() ? f[i] : std::string()});
}

void ShowTasksToGo(long count) {
  char text[48];
  std::snprintf(text, sizeof text, "Loading... %ld tasks to go.", count);
  services().showStatusText(text);
}

enum class Stage { Database, View, Walk };

}  // namespace

void ReadTask(LNDocument& doc, GraphBuilder& builder) {
  TaskRecord task;
  task.xpos = GetFieldIntContent("XPOS", doc);
  task.ypos = GetFieldIntContent("YPOS", doc);
  task.codeText = GetFieldContent("Code", doc);
  task.kind = static_cast<NodeKind>(ReadWord<WordToTaskKind>("TaskType", doc));
  ReadTaskFields(doc, task.attributes);
  ReadPerformerFields(doc, task.attributes);
  ReadExternalFields(doc, task.attributes);
  task.referenceText = GetFieldContent("Reference", doc);
  task.subWorkflowId = GetFieldContent(kSubWorkflowIdItem, doc);
  task.belongsToCluster = GetFieldIntContent("BelongsToCluster", doc);
  task.isClusterStartNode = GetFieldBoolContent("IsClusterStartNode", doc);
  task.isClusterEndNode = GetFieldBoolContent("IsClusterEndNode", doc);
  task.representsCluster = GetFieldIntContent("RepresentsCluster", doc);
  const std::string self = task.codeText;
  builder.AddTask(std::move(task));
  ReadRoutes(doc, builder, self, RoutingKind::And, "And", nullptr, nullptr);
  ReadRoutes(doc, builder, self, RoutingKind::Or, "Or", "Or_Condition", nullptr);
  ReadRoutes(doc, builder, self, RoutingKind::Xor, "Xor", "Xor_Condition", nullptr);
  ReadRoutes(doc, builder, self, RoutingKind::Cor, "Cor", "Cor_Condition", "Cor_Formula");
  ReadRoutes(doc, builder, self, RoutingKind::Else, "Else", nullptr, nullptr);
}

bool ReadGraph(CWorkflowDoc& doc, LNDatabase& db) {
  services().showStatusText({});
  doc.ClearGraph();
  const WorkflowHeader& header = doc.Header();
  GraphBuilder builder(doc);
  LNThrowAllErrorsScope throwing(true);
  LNViewFolder view;
  Stage stage = Stage::Database;
  try {
    if (!db.IsOpen()) db.Open();
    stage = Stage::View;
    db.GetViewFolder(views::kWorkflowStructure, &view);
    view.Open(LNVFOPEN_BY_KEY);  // the other workflows' tasks are never read
    LNVFEntry entry;
    long count = 0;
    if (view.Find(header.workflowId, &entry, &count) != LNNOERROR) {
      view.Close();
      db.Close();
      ShowErrorMessage("No tasks were found.");
      return false;
    }
    stage = Stage::Walk;
    ProgressPace pace;
    for (long i = 0, toGo = count; i < count; ++i) {
      if (i > 0) view.Goto(LNVFNAVIGATE_NEXT, &entry);
      if (entry.IsCategory()) continue;
      try {
        LNDocument task;
        entry.GetDocument(&task);
        task.Open();
        if (GetFieldIntContent("Version", task) == header.version) ReadTask(task, builder);
        --toGo;
        if (pace.Due()) ShowTasksToGo(toGo);
        task.Close();
      } catch (const LNStatusError& e) {
        ShowNotesError("The ViewFolder in Process Definitions Database cannot be opened properly.",
                       e.GetStatus());
      }
    }
    view.Close();
    db.Close();
  } catch (const LNStatusError& e) {
    if (view.IsOpen()) view.Close();
    if (db.IsOpen()) db.Close();
    ShowNotesError(stage == Stage::Database ? "The routing workflow cannot be opened properly"
                   : stage == Stage::View
                       ? "The ViewFolder in Process Definitions Database cannot be opened properly."
                       : "Workflow CNode document cannot be loaded.",
                   e.GetStatus());
    return false;
  }
  builder.Finish();
  services().showStatusText({});
  return true;
}

}  // namespace velk
