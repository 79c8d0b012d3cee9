// The header and task documents of a stored workflow, item by item in the order
// they are written.

#include <algorithm>
#include <cstdio>

#include "common/progresspace.h"
#include "common/services.h"
#include "model/savestamp.h"
#include "model/workflowbuild.h"
#include "model/workflowdoc.h"
#include "model/workflowrecords.h"
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

// Written only when the save knows the Application Environment Database's replica id.
void WriteAppReplicaId(LNDocument& doc, const SaveSession& save) {
  if (save.hasAppReplicaId) SetFieldContent(kAppReplicaIdItem, save.appReplicaId, doc);
}

std::string NoKey(const CNode&) {
  return {};
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
  const CNode* start = top.StartNode();
  WriteRecord<WorkflowHeader>(doc, HeaderRecordFields(), h, [&](const auto& field) {
    const std::string item = field.item;
    if (item == kAppReplicaIdItem) {
      WriteAppReplicaId(doc, save);
    } else if (field.type != ItemType::Computed) {
      return false;
    } else if (item == "User" || item == "LastModify") {
      // The history of the replaced header, then this save's user and time.
      const bool users = item == "User";
      std::vector<std::string> list = users ? save.retiredUsers : save.retiredLastModify;
      list.push_back(users ? h.user : DateTimeText(save.session.GetCurrentDatetime().GetText()));
      WriteTextList(doc, field.item, std::move(list));
    } else if (const RecordField<TaskRecord>* performer = FieldOfItem(TaskRecordFields(), item)) {
      // The start task's performer, when there is a start task.
      if (start) WriteItem(doc, *performer, TaskRecordOf(*start, NoKey), item);
    } else {
      return false;
    }
    return true;
  });
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
  bool WriteSpecial(LNDocument& doc, const CNode& node, std::string_view item);
  void WriteRouting(LNDocument& doc, CNode& node);
  int Index(const CNode* node) const { return routing_.IndexOf(node); }

  CWorkflowDoc& top_;
  SaveSession& save_;
  const WorkflowHeader& header_;
  RoutingIndex routing_;
  std::vector<std::string> codes_;  // by node index: "%d" and the node key
  std::vector<std::string> keys_;
  // The header's fields a task repeats, by the task's item.
  std::vector<std::pair<std::string_view, const RecordField<WorkflowHeader>*>> repeated_;
  std::vector<int> reached_;  // scratch of the reachable-node walks
};

TaskWriter::TaskWriter(CWorkflowDoc& top, SaveSession& save)
    : top_(top), save_(save), header_(top.Header()), routing_(top) {
  for (const CNode* node : top.AllNodes()) {
    codes_.push_back(std::to_string(node->Code()));
    keys_.push_back(NodeKey(node->Code(), header_.workflowId));
  }
  for (const RecordField<TaskRecord>& f : TaskRecordFields())
    if (f.type == ItemType::Computed)
      if (const RecordField<WorkflowHeader>* h = FieldOfItem(HeaderRecordFields(), f.item))
        repeated_.emplace_back(f.item, h);
}

void TaskWriter::Write(CNode& node) {
  if (node.Name().empty()) {
    NodeAttributes a = node.Attributes();
    a.name = "unnamed";
    top_.SetNodeAttributes(node, std::move(a));
  }
  LNDocument doc;
  save_.db.CreateDocument(&doc, forms::kWorkflowStructure);
  const TaskRecord task =
      TaskRecordOf(node, [this](const CNode& n) { return NodeKey(n.Code(), header_.workflowId); });
  WriteRecord<TaskRecord>(doc, TaskRecordFields(), task,
                          [&](const auto& field) { return WriteSpecial(doc, node, field.item); });
  WriteRouting(doc, node);
  doc.Save();
  doc.Close();
  if (node.Kind() == NodeKind::In && !node.Attributes().griId.empty())
    save_.published.emplace_back(node.Attributes().griId, header_.workflowId);
}

bool TaskWriter::WriteSpecial(LNDocument& doc, const CNode& node, std::string_view item) {
  if (item == kAppReplicaIdItem) {
    WriteAppReplicaId(doc, save_);
  } else if (auto it = std::ranges::find(repeated_, item, &decltype(repeated_)::value_type::first);
             it != repeated_.end()) {
    WriteItem(doc, *it->second, header_, std::string(item));
  } else if (item == "FolderObject" && node.Attributes().folderObjects.empty()) {
    SetFieldContent(std::string(item), "All", doc);  // every form
  } else if (item == "OrgaType" && node.Kind() == NodeKind::ExtWFTask) {
    SetFieldContent(std::string(item), "External", doc);
  } else {
    return false;
  }
  return true;
}

void TaskWriter::WriteRouting(LNDocument& doc, CNode& node) {
  const int self = Index(&node);
  SetFieldContent(graphitems::kOwnCode, codes_[self], doc);

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
  WriteTextList(doc, graphitems::kReachableCodes, std::move(reachable));
  WriteTextList(doc, graphitems::kReachableKeys, std::move(reachableKeys));

  for (RoutingKind kind :
       {RoutingKind::And, RoutingKind::Or, RoutingKind::Xor, RoutingKind::Cor, RoutingKind::Else}) {
    KindLists& lists = kinds[static_cast<int>(kind)];
    const RoutingItems& items = RoutingItemsOf(kind);
    if (lists.keys.empty()) continue;
    WriteTextList(doc, items.keys, std::move(lists.keys));
    WriteTextList(doc, items.codes, std::move(lists.codes));
    if (items.conditions) WriteTextList(doc, items.conditions, std::move(lists.conditions));
    if (items.formulas) WriteTextList(doc, items.formulas, std::move(lists.formulas));
  }

  const bool ends = successorKeys.empty();
  SetFieldContent(graphitems::kGoesToJoin, ends ? "e" : "n", doc);
  WriteTextList(doc, graphitems::kSuccessorCodes, std::move(successorCodes));
  if (ends) successorKeys.push_back("end");
  WriteTextList(doc, graphitems::kSuccessorKeys, std::move(successorKeys));
  if (!joins.empty()) {
    WriteTextList(doc, graphitems::kJoins, std::move(joins));
    SetFieldContent(graphitems::kGoesToJoin, "y", doc);
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
      ShowNotesError(top.UserInterface(),
                     "Error while saving workflow structure in Process Definitions Database",
                     e);
      return false;
    }
  };
  ProgressPace pace;
  auto show = [&pace, &top](const char* format, int count) {
    if (!pace.Due()) return;
    char text[64];
    std::snprintf(text, sizeof text, format, count);
    top.UserInterface().showStatusText(text);
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
