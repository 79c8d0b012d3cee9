// The header and task documents of a stored workflow, item by item in the order
// they are written.

#include <algorithm>
#include <cstdio>

#include "app/progresspace.h"
#include "app/services.h"
#include "model/savestamp.h"
#include "model/workflowbuild.h"
#include "model/workflowdoc.h"
#include "model/workflowsavedocs.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/identity.h"
#include "repository/noteserror.h"
#include "repository/store/lnnotes.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

// Routing items: a summary text list, written only when there is something to list.
void WriteTextList(LNDocument& doc, const char* item, std::vector<std::string> values) {
  if (!values.empty()) doc.CreateItem(item, LNText(std::move(values)), LNITEMFLAGS_SUMMARY);
}

void WriteWorkflowFields(LNDocument& doc, const WorkflowHeader& h) {
  SetFieldContent("Type", h.name, doc);
  SetFieldContent("Category", h.category, doc);
}

void WriteTracking(LNDocument& doc, const WorkflowHeader& h) {
  SetFieldContent("TrackType", TrackingModeToWord(h.trackingType), doc);
  SetFieldIntContent("TrackMix", h.trackingMix, doc);
  SetFieldContent("TrackMail", h.trackingMail, doc);
  SetFieldIntContent("TrackFrequency", h.trackingFrequency, doc);
  SetFieldIntContent("TrackRate", h.trackingRate, doc);
  SetFieldBoolContent("TrackExternalFlag", h.trackingExternal, doc);
}

// The model's part of a header save: the user, designers, supervisor, workflow id
// and valid dates it stores are kept in the workflow.
void CompleteHeader(WorkflowHeader& h, const LNDocument& doc, LNNotesSession& session) {
  if (h.user.empty()) h.user = session.GetUserNameText();
  if (std::ranges::find(h.designers, h.user) == h.designers.end()) h.designers.push_back(h.user);
  if (h.supervisor.empty()) h.supervisor = h.user;
  if (h.workflowId.empty() || h.status == WorkflowStatus::Active)
    h.workflowId = FormatUniversalId(doc.GetUniversalID());
  if (h.validFrom.empty()) h.validFrom = TodayText();
  if (h.validUntil.empty()) h.validUntil = kDefaultValidUntil;
}

}  // namespace

std::string DateTimeText(const std::string& iso) {
  if (iso.size() != 19 || iso[4] != '-' || iso[7] != '-' || iso[10] != 'T') return iso;
  return iso.substr(8, 2) + "." + iso.substr(5, 2) + "." + iso.substr(0, 4) + " " + iso.substr(11);
}

void WriteHeaderDocument(CWorkflowDoc& top, SaveSession& save) {
  LNDocument doc;
  save.db.CreateDocument(&doc, forms::kHeader);
  WorkflowHeader h = top.Header();
  CompleteHeader(h, doc, save.session);
  top.SetHeader(h);

  std::vector<std::string> users = save.retiredUsers;
  users.push_back(h.user);
  WriteTextList(doc, "User", std::move(users));
  std::vector<std::string> modified = save.retiredLastModify;
  modified.push_back(DateTimeText(save.session.GetCurrentDatetime().GetText()));
  WriteTextList(doc, "LastModify", std::move(modified));
  WriteWorkflowFields(doc, h);
  SetFieldContent("WorkFlowID", h.workflowId, doc);
  if (save.hasAppReplicaId) SetFieldContent("AppReplikaID", save.appReplicaId, doc);
  SetFieldIntContent("Version", h.version, doc);
  SetFieldContent("Status", WorkflowStatusToWord(static_cast<int>(h.status)), doc);
  SetFieldContent("WFType", WorkflowTypeToWord(static_cast<int>(h.workflowType)), doc);
  if (const CNode* start = top.StartNode()) {
    SetFieldContent("OrgaType", OrganisationKindToWord(start->Attributes().performerType), doc);
    SetFieldContent("Member", start->Attributes().member, doc);
  }
  SetFieldContent("ValidFrom", h.validFrom, doc);
  SetFieldContent("ValidUntil", h.validUntil, doc);
  SetFieldListContent("Editor", doc, h.editors);
  SetFieldListContent("Designer", doc, h.designers);
  SetFieldContent("Supervisor", h.supervisor, doc);
  SetFieldContent("FreeText", h.freeText, doc);
  WriteTracking(doc, h);
  doc.Save();
  top.SetStoredStamp(HeaderStamp(doc));
  doc.Close();
}

namespace {

// The successors of one routing kind: parallel lists, one entry per arrow.
struct KindLists {
  std::vector<std::string> keys, codes, conditions, formulas;
};

class TaskWriter {
 public:
  TaskWriter(CWorkflowDoc& top, SaveSession& save);
  void Write(CNode& node);

 private:
  void WriteTask(LNDocument& doc, const CNode& node);
  void WritePerformer(LNDocument& doc, const CNode& node);
  void WriteExternal(LNDocument& doc, const CNode& node);
  void WriteRouting(LNDocument& doc, CNode& node);
  int Index(const CNode* node) const { return routing_.IndexOf(node); }

  CWorkflowDoc& top_;
  SaveSession& save_;
  const WorkflowHeader& header_;
  RoutingIndex routing_;
  std::vector<std::string> codes_;  // by node index: "%d" and the node key
  std::vector<std::string> keys_;
  std::string status_;
  std::vector<int> reached_;  // scratch of the reachable-node walks
};

TaskWriter::TaskWriter(CWorkflowDoc& top, SaveSession& save)
    : top_(top), save_(save), header_(top.Header()), routing_(top) {
  for (const CNode* node : top.AllNodes()) {
    codes_.push_back(std::to_string(node->Code()));
    keys_.push_back(NodeKey(node->Code(), header_.workflowId));
  }
  status_ = WorkflowStatusToWord(static_cast<int>(header_.status));
}

void TaskWriter::Write(CNode& node) {
  if (node.Name().empty()) {
    NodeAttributes a = node.Attributes();
    a.name = "unnamed";
    top_.SetNodeAttributes(node, std::move(a));
  }
  LNDocument doc;
  save_.db.CreateDocument(&doc, forms::kWorkflowStructure);
  WriteTask(doc, node);
  WritePerformer(doc, node);
  WriteExternal(doc, node);
  WriteRouting(doc, node);
  doc.Save();
  doc.Close();
  if (node.Kind() == NodeKind::In && !node.Attributes().griId.empty())
    save_.published.emplace_back(node.Attributes().griId, header_.workflowId);
}

void TaskWriter::WriteTask(LNDocument& doc, const CNode& node) {
  const NodeAttributes& a = node.Attributes();
  SetFieldContent("Task", a.name, doc);
  SetFieldContent("TaskType", TaskKindToWord(static_cast<int>(node.Kind())), doc);
  SetFieldListContent("Activity", doc, a.activities);
  SetFieldBoolContent("ActivityFlag", a.activityFlag, doc);
  SetFieldContent("FreeText", a.freeText, doc);
  SetFieldNumberContent("Duration", a.duration, doc);
  SetFieldContent("DurationUnit", DurationUnitToWord(a.durationUnit), doc);
  SetFieldListContent("Object", doc, a.objects);
  if (a.folderObjects.empty())
    SetFieldContent("FolderObject", "All", doc);
  else
    SetFieldListContent("FolderObject", doc, a.folderObjects);
  SetFieldListContent("Resource", doc, a.resources);
  WriteWorkflowFields(doc, header_);
  SetFieldContent("WorkflowID", header_.workflowId, doc);
  if (save_.hasAppReplicaId) SetFieldContent("AppReplikaID", save_.appReplicaId, doc);
  SetFieldIntContent("Version", header_.version, doc);
  SetFieldContent("Status", status_, doc);
}

void TaskWriter::WritePerformer(LNDocument& doc, const CNode& node) {
  const NodeAttributes& a = node.Attributes();
  SetFieldContent(
      "OrgaType",
      node.Kind() == NodeKind::ExtWFTask ? "External" : OrganisationKindToWord(a.performerType),
      doc);
  SetFieldContent("Member", a.member, doc);
  SetFieldContent("RoleArgument", a.roleArgument, doc);
  SetFieldContent("TeamManager", a.teamManager, doc);
  SetFieldIntContent("TeamQuant", a.teamQuantity, doc);
  SetFieldListContent("Readers", doc, a.readers);
  SetFieldBoolContent("RemindFlag", a.remindFlag, doc);
  if (a.remindFlag) {
    SetFieldNumberContent("RemindDuration", a.remindDuration, doc);
    SetFieldContent("RemindDurationUnit", DurationUnitToWord(a.remindDurationUnit), doc);
    SetFieldNumberContent("DeadlineDuration", a.deadlineDuration, doc);
    SetFieldContent("DeadlineDurationUnit", DurationUnitToWord(a.deadlineDurationUnit), doc);
  }
  SetFieldContent("InContentmanagementType", ContentManagementKindToWord(a.inContentManagementType),
                  doc);
  SetFieldListContent("InContentManagement", doc, a.inContentManagement);
  SetFieldContent("OutContentmanagementType",
                  ContentManagementKindToWord(a.outContentManagementType), doc);
  SetFieldListContent("OutContentManagement", doc, a.outContentManagement);
}

void TaskWriter::WriteExternal(LNDocument& doc, const CNode& node) {
  const NodeAttributes& a = node.Attributes();
  SetFieldContent("GriID", a.griId, doc);
  SetFieldContent("ExternClusterMail", a.externClusterMail, doc);
  SetFieldContent("ExternClusterID", a.externClusterId, doc);
  SetFieldContent("ExtClusterInput", a.extClusterInput, doc);
  SetFieldContent("ExtClusterOutput", a.extClusterOutput, doc);
  SetFieldContent("ExtClusterFormat", a.extClusterFormat, doc);
  SetFieldContent("ExtClusterRequiredDate", a.extClusterRequiredDate, doc);
  SetFieldIntContent("ExtClusterExpectedDuration", a.extClusterExpectedDuration, doc);
  SetFieldContent("ExtClusterExpectedDurationUnit",
                  DurationUnitToWord(a.extClusterExpectedDurationUnit), doc);
  SetFieldContent("ExtClusterSpecID", a.extClusterSpecId, doc);
  // Kept with the task so that the node still opens its sub-workflow after a
  // restart; readers that do not know the item pass it by.
  if (!node.SubWorkflowId().empty() &&
      (node.Kind() == NodeKind::ICDR || node.Kind() == NodeKind::CDDR))
    SetFieldContent(kSubWorkflowIdItem, node.SubWorkflowId(), doc);
  if (const CNode* referenced = node.ReferencedNode())
    SetFieldContent("Reference", NodeKey(referenced->Code(), header_.workflowId), doc);
  SetFieldIntContent("BelongsToCluster", node.BelongsToCluster(), doc);
  SetFieldBoolContent("IsClusterStartNode", node.IsClusterStartNode(), doc);
  SetFieldBoolContent("IsClusterEndNode", node.IsClusterEndNode(), doc);
  SetFieldIntContent("RepresentsCluster", node.RepresentsCluster(), doc);
  SetFieldIntContent("XPOS", node.GetRect().left, doc);
  SetFieldIntContent("YPOS", node.GetRect().top, doc);
}

void TaskWriter::WriteRouting(LNDocument& doc, CNode& node) {
  const int self = Index(&node);
  SetFieldContent("Code", keys_[self], doc);
  SetFieldContent("code_1", codes_[self], doc);

  KindLists kinds[kRoutingKindCount];
  std::vector<std::string> successorKeys, successorCodes, joins;
  for (const CArrow* arrow : routing_.Arrows(node)) {
    const CNode* successor = RoutingSuccessor(*arrow);
    const int next = Index(successor);
    if (next < 0) continue;  // a node of no workflow: nothing to name it by
    const int kind = static_cast<int>(arrow->Kind());
    KindLists& lists = kinds[kind >= 0 && kind < kRoutingKindCount ? kind : 0];
    lists.keys.push_back(keys_[next]);
    lists.codes.push_back(codes_[next]);
    lists.conditions.push_back(arrow->Condition());
    lists.formulas.push_back(arrow->Formula());
    successorKeys.push_back(keys_[next]);
    successorCodes.push_back(codes_[next]);
    if (successor->IncomingArrows().size() > 1) joins.push_back(keys_[next]);
  }

  routing_.ReachableIndices(node, reached_);
  std::vector<std::string> reachable, reachableKeys;
  reachable.reserve(reached_.size());
  reachableKeys.reserve(reached_.size());
  for (int i : reached_) {
    reachable.push_back(codes_[i]);
    reachableKeys.push_back(keys_[i]);
  }
  WriteTextList(doc, "next_1", std::move(reachable));
  WriteTextList(doc, "Next", std::move(reachableKeys));

  static const char* const kItems[kRoutingKindCount][4] = {
      {"And", "and_1", nullptr, nullptr},
      {"Or", "or_1", "Or_Condition", nullptr},
      {"Xor", "xor_1", "Xor_Condition", nullptr},
      {"Cor", "cor_1", "Cor_Condition", "Cor_Formula"},
      {"Else", "else_1", nullptr, nullptr}};
  for (RoutingKind kind :
       {RoutingKind::And, RoutingKind::Or, RoutingKind::Xor, RoutingKind::Cor, RoutingKind::Else}) {
    KindLists& lists = kinds[static_cast<int>(kind)];
    const char* const* items = kItems[static_cast<int>(kind)];
    if (lists.keys.empty()) continue;
    WriteTextList(doc, items[0], std::move(lists.keys));
    WriteTextList(doc, items[1], std::move(lists.codes));
    if (items[2]) WriteTextList(doc, items[2], std::move(lists.conditions));
    if (items[3]) WriteTextList(doc, items[3], std::move(lists.formulas));
  }

  const bool ends = successorKeys.empty();
  SetFieldContent("GoesToJoin", ends ? "e" : "n", doc);
  WriteTextList(doc, "suc_code_1", std::move(successorCodes));
  if (ends) successorKeys.push_back("end");
  WriteTextList(doc, "Suc_Code", std::move(successorKeys));
  if (!joins.empty()) {
    WriteTextList(doc, "Join", std::move(joins));
    SetFieldContent("GoesToJoin", "y", doc);
  }
}

}  // namespace

bool WriteTaskDocuments(CWorkflowDoc& top, CNode& start, SaveSession& save) {
  TaskWriter writer(top, save);
  int toGo = static_cast<int>(top.NodeCount());
  auto write = [&](CNode& node) {
    try {
      writer.Write(node);
      return true;
    } catch (const LNStatusError& e) {
      ShowNotesError("Error while saving workflow structure in Process Definitions Database",
                     e.GetStatus());
      return false;
    }
  };
  ProgressPace pace;
  auto show = [&pace](const char* format, int count) {
    if (!pace.Due()) return;
    char text[64];
    std::snprintf(text, sizeof text, format, count);
    services().showStatusText(text);
  };
  show("Saving tasks, tasks to go: %d", toGo);
  if (!write(start)) return false;
  show("saving tasks, tasks to go: %d", --toGo);
  for (CNode* node : top.AllNodes()) {
    if (node == &start) continue;
    if (!write(*node)) return false;
    show("Saving tasks, tasks to go: %d", --toGo);
  }
  return true;
}

}  // namespace velk
