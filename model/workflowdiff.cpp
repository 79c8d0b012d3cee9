#include "model/workflowdiff.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

#include "model/arrow.h"
#include "model/clusterlevels.h"
#include "model/node.h"
#include "model/workflowdoc.h"
#include "model/workflowrecords.h"

namespace velk {

namespace {

template <class Record>
std::string ValueText(const RecordField<Record>& field, const FieldValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return *text;
  if (const auto* flag = std::get_if<bool>(&value)) return *flag ? "Yes" : "No";
  if (const auto* list = std::get_if<std::vector<std::string>>(&value)) {
    std::string joined;
    for (const std::string& item : *list) joined += (joined.empty() ? "" : ", ") + item;
    return joined;
  }
  const int code = std::get<int>(value);
  return field.words ? field.words->toWord(code) : std::to_string(code);
}

std::string CodeKey(const CNode& node) {
  return node.CodeText();
}

bool OnlyPlaceDiffers(const TaskRecord& a, const TaskRecord& b) {
  for (const RecordField<TaskRecord>& f : TaskRecordFields()) {
    if (!f.get || !f.json || f.type == ItemType::Key) continue;
    const bool place = std::string_view(f.json) == "x" || std::string_view(f.json) == "y";
    if (!place && f.get(a) != f.get(b)) return false;
  }
  return true;
}

class Differ {
 public:
  Differ(const CWorkflowDoc& older, const CWorkflowDoc& newer)
      : older_(older.Top()), newer_(newer.Top()), olderLevels_(older_), newerLevels_(newer_) {}

  WorkflowDiff Run() {
    Header();
    MatchTasks();
    Tasks();
    Arrows();
    return std::move(diff_);
  }

 private:
  void Header() {
    const WorkflowHeader& a = older_.Header();
    const WorkflowHeader& b = newer_.Header();
    for (const RecordField<WorkflowHeader>& f : HeaderRecordFields()) {
      if (!f.get || !f.json || f.get(a) == f.get(b)) continue;
      WorkflowChange& c = Add(ChangeKind::Changed, ChangeElement::Header);
      c.name = b.name;
      c.field = f.json;
      c.before = ValueText(f, f.get(a));
      c.after = ValueText(f, f.get(b));
    }
  }

  // By id where the name or the kind agrees, then the rest by name and kind on one level.
  void MatchTasks() {
    std::map<std::string, const CNode*> olderById;
    for (const CNode* node : older_.AllNodes())
      if (!node->CodeText().empty()) olderById.emplace(node->CodeText(), node);
    for (const CNode* node : newer_.AllNodes()) {
      auto found = olderById.find(node->CodeText());
      if (found == olderById.end() || matchedOlder_.count(found->second)) continue;
      const CNode& old = *found->second;
      if (old.Name() == node->Name() || old.Kind() == node->Kind()) Pair(old, *node);
    }
    using Place = std::tuple<std::string, std::string, NodeKind>;
    std::multimap<Place, const CNode*> olderByPlace;
    for (const CNode* node : older_.AllNodes())
      if (!matchedOlder_.count(node))
        olderByPlace.emplace(Place{olderLevels_.Of(*node), node->Name(), node->Kind()}, node);
    for (const CNode* node : newer_.AllNodes()) {
      if (matched_.count(node)) continue;
      auto found = olderByPlace.find(Place{newerLevels_.Of(*node), node->Name(), node->Kind()});
      if (found == olderByPlace.end()) continue;
      Pair(*found->second, *node);
      diff_.renumbered.push_back({found->second, node});
      olderByPlace.erase(found);
    }
  }

  void Pair(const CNode& older, const CNode& newer) {
    matched_.emplace(&newer, &older);
    matchedOlder_.insert(&older);
  }

  void Tasks() {
    for (const CNode* node : older_.AllNodes())
      if (!matchedOlder_.count(node)) AddTask(ChangeKind::Removed, node, nullptr);
    for (const CNode* node : newer_.AllNodes()) {
      auto found = matched_.find(node);
      if (found == matched_.end()) {
        AddTask(ChangeKind::Added, nullptr, node);
        continue;
      }
      const CNode& old = *found->second;
      const TaskRecord a = TaskRecordOf(old, CodeKey);
      const TaskRecord b = TaskRecordOf(*node, CodeKey);
      if (OnlyPlaceDiffers(a, b)) {
        if (a.xpos != b.xpos || a.ypos != b.ypos) AddTask(ChangeKind::Moved, &old, node);
        continue;
      }
      for (const RecordField<TaskRecord>& f : TaskRecordFields()) {
        // Ids differ between versions by numbering; a reference is compared by its task.
        if (!f.get || !f.json || f.type == ItemType::Key) continue;
        if (f.get(a) == f.get(b)) continue;
        WorkflowChange& c = AddTask(ChangeKind::Changed, &old, node);
        c.field = f.json;
        c.before = ValueText(f, f.get(a));
        c.after = ValueText(f, f.get(b));
      }
      const CNode* wasReferenced = old.ReferencedNode();
      const CNode* isReferenced = node->ReferencedNode();
      if (Older(isReferenced) != wasReferenced) {
        WorkflowChange& c = AddTask(ChangeKind::Changed, &old, node);
        c.field = "reference";
        c.before = wasReferenced ? wasReferenced->Name() : "";
        c.after = isReferenced ? isReferenced->Name() : "";
      }
    }
  }

  const CNode* Older(const CNode* newer) const {
    if (!newer) return nullptr;
    auto found = matched_.find(newer);
    return found == matched_.end() ? nullptr : found->second;
  }

  WorkflowChange& AddTask(ChangeKind kind, const CNode* older, const CNode* newer) {
    const CNode& shown = newer ? *newer : *older;
    WorkflowChange& c = Add(kind, ChangeElement::Task);
    c.level = (newer ? newerLevels_ : olderLevels_).Of(shown);
    c.id = shown.CodeText();
    c.name = shown.Name();
    c.olderNode = older;
    c.newerNode = newer;
    return c;
  }

  // By the older version's ends and kind, then by the ends alone (a changed kind).
  void Arrows() {
    using Ends = std::pair<const CNode*, const CNode*>;
    std::multimap<Ends, const CArrow*> olderByEnds;
    for (const CArrow* arrow : older_.AllArrows())
      olderByEnds.emplace(Ends{arrow->Source(), arrow->Target()}, arrow);
    std::vector<std::pair<const CArrow*, const CArrow*>> pairs;
    std::vector<const CArrow*> unpaired;
    auto take = [&](const CArrow& arrow, bool sameKind) -> const CArrow* {
      auto [from, to] = olderByEnds.equal_range({Older(arrow.Source()), Older(arrow.Target())});
      for (auto it = from; it != to; ++it) {
        if (sameKind && it->second->Kind() != arrow.Kind()) continue;
        const CArrow* found = it->second;
        olderByEnds.erase(it);
        return found;
      }
      return nullptr;
    };
    for (const CArrow* arrow : newer_.AllArrows()) {
      if (const CArrow* old = take(*arrow, true)) pairs.emplace_back(old, arrow);
      else unpaired.push_back(arrow);
    }
    for (const CArrow* arrow : unpaired) {
      if (const CArrow* old = take(*arrow, false)) pairs.emplace_back(old, arrow);
      else AddArrow(ChangeKind::Added, nullptr, arrow);
    }
    for (const auto& [ends, arrow] : olderByEnds) AddArrow(ChangeKind::Removed, arrow, nullptr);
    for (const auto& [old, arrow] : pairs) ArrowFields(*old, *arrow);
  }

  void ArrowFields(const CArrow& older, const CArrow& newer) {
    const ArrowRecord a{older.Kind(), {"", "", older.Condition(), older.Formula()}};
    const ArrowRecord b{newer.Kind(), {"", "", newer.Condition(), newer.Formula()}};
    for (const RecordField<ArrowRecord>& f : ArrowRecordFields()) {
      if (!f.get || f.type == ItemType::Key || f.get(a) == f.get(b)) continue;
      WorkflowChange& c = AddArrow(ChangeKind::Changed, &older, &newer);
      c.field = f.json;
      c.before = ValueText(f, f.get(a));
      c.after = ValueText(f, f.get(b));
    }
  }

  WorkflowChange& AddArrow(ChangeKind kind, const CArrow* older, const CArrow* newer) {
    const CArrow& shown = newer ? *newer : *older;
    WorkflowChange& c = Add(kind, ChangeElement::Arrow);
    c.level = (newer ? newerLevels_ : olderLevels_).Of(*shown.Source());
    c.id = shown.Source()->CodeText() + " -> " + shown.Target()->CodeText();
    c.name = "'" + shown.Source()->Name() + "' -> '" + shown.Target()->Name() + "'";
    c.olderArrow = older;
    c.newerArrow = newer;
    return c;
  }

  WorkflowChange& Add(ChangeKind kind, ChangeElement element) {
    WorkflowChange& c = diff_.changes.emplace_back();
    c.kind = kind;
    c.element = element;
    return c;
  }

  const CWorkflowDoc& older_;
  const CWorkflowDoc& newer_;
  LevelNames olderLevels_, newerLevels_;
  std::map<const CNode*, const CNode*> matched_;  // newer -> older
  std::set<const CNode*> matchedOlder_;
  WorkflowDiff diff_;
};

}  // namespace

WorkflowDiff DiffWorkflows(const CWorkflowDoc& older, const CWorkflowDoc& newer) {
  return Differ(older, newer).Run();
}

const char* ChangeKindWord(ChangeKind kind) {
  switch (kind) {
    case ChangeKind::Added:
      return "added";
    case ChangeKind::Removed:
      return "removed";
    case ChangeKind::Moved:
      return "moved";
    case ChangeKind::Changed:
      break;
  }
  return "changed";
}

const char* ChangeElementWord(ChangeElement element) {
  switch (element) {
    case ChangeElement::Task:
      return "task";
    case ChangeElement::Arrow:
      return "arrow";
    case ChangeElement::Header:
      break;
  }
  return "header";
}

std::string DescribeChange(const WorkflowChange& c) {
  std::string subject = c.element == ChangeElement::Header ? "Header"
                        : c.element == ChangeElement::Task ? "Task '" + c.name + "'"
                                                           : "Arrow " + c.name;
  if (!c.level.empty()) subject = c.level + ": " + subject;
  if (c.kind != ChangeKind::Changed) return subject + " " + ChangeKindWord(c.kind);
  return subject + ": " + c.field + " '" + c.before + "' -> '" + c.after + "'";
}

}  // namespace velk
