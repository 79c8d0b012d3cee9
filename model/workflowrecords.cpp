#include "model/workflowrecords.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "repository/fieldaccess.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

// Far beyond any drawing, and far enough inside the int range that the node's
// rectangle and its drawing at any zoom stay inside it too.
constexpr int kMaxPosition = 1'000'000;

const std::vector<std::string>& RoutingWords() {
  static const std::vector<std::string> words = {"And", "Or", "Xor", "Cor", "Else"};
  return words;
}
std::string RoutingWord(int code) {
  return RoutingKindName(static_cast<RoutingKind>(code));
}
void WordToRouting(const std::string& word, int& code) {
  const auto& words = RoutingWords();
  if (auto it = std::ranges::find(words, word); it != words.end())
    code = static_cast<int>(it - words.begin());
}

constexpr WordTable kStatusWords{WorkflowStatusToWord, WordToWorkflowStatus, WorkflowStatusWords,
                                 "workflow status"};
constexpr WordTable kWorkflowTypeWords{WorkflowTypeToWord, WordToWorkflowType, WorkflowTypeWords,
                                       "workflow type"};
constexpr WordTable kTrackingWords{TrackingModeToWord, WordToTrackingMode, TrackingModeWords};
constexpr WordTable kTaskKindWords{TaskKindToWord, WordToTaskKind, TaskKindWords, "task kind"};
constexpr WordTable kUnitWords{DurationUnitToWord, WordToDurationUnit, DurationUnitWords};
constexpr WordTable kPerformerWords{OrganisationKindToWord, WordToOrganisationKind,
                                    OrganisationKindWords};
constexpr WordTable kContentWords{ContentManagementKindToWord, WordToContentManagementKind,
                                  ContentManagementKindWords};
constexpr WordTable kRoutingWords{RoutingWord, WordToRouting, RoutingWords, "routing kind"};

// The member that `Path` leads to from a record, through nested records.
template <auto... Path>
auto& At(auto& record) {
  return (record.*....*Path);
}

// Describes the field at `Path` of `Record`; enumerations pass as their codes.
template <class Record>
struct Describe {
  template <auto... Path>
  static RecordField<Record> Field(const char* item, const char* json, ItemType type,
                                   const WordTable* words = nullptr) {
    using T = std::remove_cvref_t<decltype(At<Path...>(std::declval<Record&>()))>;
    RecordField<Record> field{item, json, type};
    field.get = [](const Record& r) -> FieldValue {
      if constexpr (std::is_enum_v<T>)
        return static_cast<int>(At<Path...>(r));
      else
        return At<Path...>(r);
    };
    field.set = [](Record& r, FieldValue value) {
      if constexpr (std::is_enum_v<T>)
        At<Path...>(r) = static_cast<T>(std::get<int>(value));
      else
        At<Path...>(r) = std::get<T>(std::move(value));
    };
    field.words = words;
    return field;
  }
  static RecordField<Record> Computed(const char* item) {
    return {item, nullptr, ItemType::Computed};
  }
};

template <class Record>
RecordField<Record> ReadOnly(RecordField<Record> field) {
  field.readOnly = true;
  return field;
}
template <class Record>
RecordField<Record> Optional(RecordField<Record> field) {
  field.optional = true;
  return field;
}
template <class Record>
RecordField<Record> Within(RecordField<Record> field, int low, int high) {
  field.low = low;
  field.high = high;
  return field;
}
template <class Record>
RecordField<Record> StoredIf(RecordField<Record> field, bool (*condition)(const Record&)) {
  field.storedIf = condition;
  return field;
}

bool Reminded(const TaskRecord& t) {
  return t.attributes.remindFlag;
}
// Only these kinds open a sub-workflow.
bool OpensSubWorkflow(const TaskRecord& t) {
  return t.kind == NodeKind::ICDR || t.kind == NodeKind::CDDR;
}

bool IsEmpty(const FieldValue& value) {
  if (const auto* text = std::get_if<std::string>(&value)) return text->empty();
  if (const auto* list = std::get_if<std::vector<std::string>>(&value)) return list->empty();
  return false;
}

}  // namespace

const RecordFields<WorkflowHeader>& HeaderRecordFields() {
  using H = WorkflowHeader;
  using D = Describe<H>;
  using enum ItemType;
  static const RecordFields<H> fields{
      D::Computed("User"),  // the users of the replaced header, then the workflow's user
      D::Computed("LastModify"),
      D::Field<&H::name>("Type", "name", Text),
      D::Field<&H::category>("Category", "category", Text),
      D::Field<&H::workflowId>("WorkFlowID", nullptr, Text),
      D::Field<&H::applicationReplicaId>(kAppReplicaIdItem, "applicationReplicaId", Text),
      // Saving an Active or Template workflow counts its version up by one.
      Within(D::Field<&H::version>("Version", "version", Integer), 0, INT_MAX - 1),
      D::Field<&H::status>("Status", "status", Word, &kStatusWords),
      D::Field<&H::workflowType>("WFType", "workflowType", Word, &kWorkflowTypeWords),
      D::Computed("OrgaType"),  // of the start node
      D::Computed("Member"),
      D::Field<&H::validFrom>("ValidFrom", "validFrom", Text),
      D::Field<&H::validUntil>("ValidUntil", "validUntil", Text),
      D::Field<&H::editors>("Editor", "editors", List),
      D::Field<&H::designers>("Designer", "designers", List),
      D::Field<&H::supervisor>("Supervisor", "supervisor", Text),
      D::Field<&H::freeText>("FreeText", "freeText", Text),
      D::Field<&H::trackingType>("TrackType", "trackingType", Word, &kTrackingWords),
      D::Field<&H::trackingMix>("TrackMix", "trackingMix", Integer),
      D::Field<&H::trackingMail>("TrackMail", "trackingMail", Text),
      D::Field<&H::trackingFrequency>("TrackFrequency", "trackingFrequency", Integer),
      D::Field<&H::trackingRate>("TrackRate", "trackingRate", Integer),
      D::Field<&H::trackingExternal>("TrackExternalFlag", "trackingExternal", Flag),
      ReadOnly(D::Field<&H::user>("Creator", "user", Text)),
      ReadOnly(D::Field<&H::modifiers>("UserModified", "modifiers", List)),
  };
  return fields;
}

const RecordFields<TaskRecord>& TaskRecordFields() {
  using T = TaskRecord;
  using A = NodeAttributes;
  using D = Describe<T>;
  using enum ItemType;
  constexpr auto a = &T::attributes;
  static const RecordFields<T> fields{
      D::Field<a, &A::name>("Task", "name", Text),
      D::Field<&T::kind>("TaskType", "kind", Word, &kTaskKindWords),
      D::Field<a, &A::activities>("Activity", "activities", List),
      D::Field<a, &A::activityFlag>("ActivityFlag", "activityFlag", Flag),
      D::Field<a, &A::freeText>("FreeText", "freeText", Text),
      D::Field<a, &A::duration>("Duration", "duration", Number),
      D::Field<a, &A::durationUnit>("DurationUnit", "durationUnit", Word, &kUnitWords),
      D::Field<a, &A::objects>("Object", "objects", List),
      D::Field<a, &A::folderObjects>("FolderObject", "folderObjects", List),
      D::Field<a, &A::resources>("Resource", "resources", List),
      // The header's items, repeated in every task.
      D::Computed("Type"),
      D::Computed("Category"),
      D::Computed("WorkflowID"),
      D::Computed(kAppReplicaIdItem),
      D::Computed("Version"),
      D::Computed("Status"),
      D::Field<a, &A::performerType>("OrgaType", "performerType", Word, &kPerformerWords),
      D::Field<a, &A::member>("Member", "member", Text),
      D::Field<a, &A::roleArgument>("RoleArgument", "roleArgument", Text),
      D::Field<a, &A::teamManager>("TeamManager", "teamManager", Text),
      D::Field<a, &A::teamQuantity>("TeamQuant", "teamQuantity", Integer),
      D::Field<a, &A::readers>("Readers", "readers", List),
      D::Field<a, &A::remindFlag>("RemindFlag", "remindFlag", Flag),
      StoredIf(D::Field<a, &A::remindDuration>("RemindDuration", "remindDuration", Number),
               Reminded),
      StoredIf(D::Field<a, &A::remindDurationUnit>("RemindDurationUnit", "remindDurationUnit", Word,
                                                   &kUnitWords),
               Reminded),
      StoredIf(D::Field<a, &A::deadlineDuration>("DeadlineDuration", "deadlineDuration", Number),
               Reminded),
      StoredIf(D::Field<a, &A::deadlineDurationUnit>("DeadlineDurationUnit", "deadlineDurationUnit",
                                                     Word, &kUnitWords),
               Reminded),
      D::Field<a, &A::inContentManagementType>("InContentmanagementType", "inContentManagementType",
                                               Word, &kContentWords),
      D::Field<a, &A::inContentManagement>("InContentManagement", "inContentManagement", List),
      D::Field<a, &A::outContentManagementType>("OutContentmanagementType",
                                                "outContentManagementType", Word, &kContentWords),
      D::Field<a, &A::outContentManagement>("OutContentManagement", "outContentManagement", List),
      D::Field<a, &A::griId>("GriID", "griId", Text),
      D::Field<a, &A::externClusterMail>("ExternClusterMail", "externClusterMail", Text),
      D::Field<a, &A::externClusterId>("ExternClusterID", "externClusterId", Text),
      D::Field<a, &A::extClusterInput>("ExtClusterInput", "extClusterInput", Text),
      D::Field<a, &A::extClusterOutput>("ExtClusterOutput", "extClusterOutput", Text),
      D::Field<a, &A::extClusterFormat>("ExtClusterFormat", "extClusterFormat", Text),
      D::Field<a, &A::extClusterRequiredDate>("ExtClusterRequiredDate", "extClusterRequiredDate",
                                              Text),
      D::Field<a, &A::extClusterExpectedDuration>("ExtClusterExpectedDuration",
                                                  "extClusterExpectedDuration", Integer),
      D::Field<a, &A::extClusterExpectedDurationUnit>(
          "ExtClusterExpectedDurationUnit", "extClusterExpectedDurationUnit", Word, &kUnitWords),
      D::Field<a, &A::extClusterSpecId>("ExtClusterSpecID", "extClusterSpecId", Text),
      // Kept with the task so that the node still opens its sub-workflow after a
      // restart; readers that do not know the item pass it by.
      StoredIf(Optional(D::Field<&T::subWorkflowId>("SubWorkflowID", "subWorkflowId", Text)),
               OpensSubWorkflow),
      Optional(D::Field<&T::referenceText>("Reference", "reference", Key)),
      D::Field<&T::belongsToCluster>("BelongsToCluster", "belongsToCluster", Integer),
      D::Field<&T::isClusterStartNode>("IsClusterStartNode", "isClusterStartNode", Flag),
      D::Field<&T::isClusterEndNode>("IsClusterEndNode", "isClusterEndNode", Flag),
      D::Field<&T::representsCluster>("RepresentsCluster", "representsCluster", Integer),
      Within(D::Field<&T::xpos>("XPOS", "x", Integer), -kMaxPosition, kMaxPosition),
      Within(D::Field<&T::ypos>("YPOS", "y", Integer), -kMaxPosition, kMaxPosition),
      D::Field<&T::codeText>("Code", "id", Key),
  };
  return fields;
}

const RecordFields<ArrowRecord>& ArrowRecordFields() {
  using R = ArrowRecord;
  using P = PendingArrow;
  using D = Describe<R>;
  using enum ItemType;
  constexpr auto e = &R::ends;
  // Stored in the routing items of the source task (RoutingItemsOf).
  static const RecordFields<R> fields{
      D::Field<e, &P::source>(nullptr, "from", Key),
      D::Field<e, &P::target>(nullptr, "to", Key),
      D::Field<&R::kind>(nullptr, "kind", Word, &kRoutingWords),
      D::Field<e, &P::condition>(nullptr, "condition", Text),
      D::Field<e, &P::formula>(nullptr, "formula", Text),
  };
  return fields;
}

const RoutingItems& RoutingItemsOf(RoutingKind kind) {
  static const RoutingItems items[kRoutingKindCount] = {
      {"And", "and_1", nullptr, nullptr},
      {"Or", "or_1", "Or_Condition", nullptr},
      {"Xor", "xor_1", "Xor_Condition", nullptr},
      {"Cor", "cor_1", "Cor_Condition", "Cor_Formula"},
      {"Else", "else_1", nullptr, nullptr}};
  const int code = static_cast<int>(kind);
  return items[code >= 0 && code < kRoutingKindCount ? code : 0];
}

namespace {

template <class Record>
void AddDescribedItems(std::vector<FormItem>& items, const RecordFields<Record>& fields) {
  for (const RecordField<Record>& f : fields) {
    if (!f.item) continue;
    if (f.type == ItemType::Computed)
      items.emplace_back(f.item);  // the writer decides how
    else
      items.emplace_back(f.item, f.type == ItemType::Number ? LNItemType::Numbers : LNItemType::Text);
  }
}

}  // namespace

std::vector<FormItem> HeaderFormItems() {
  std::vector<FormItem> items;
  AddDescribedItems(items, HeaderRecordFields());
  // The engine keeps these; the header list reads them.
  items.emplace_back("ReferenceAllowed", LNItemType::Text);
  items.emplace_back("IsReferencedBy", LNItemType::Text);
  return items;
}

std::vector<FormItem> TaskFormItems() {
  using namespace graphitems;
  std::vector<FormItem> items;
  AddDescribedItems(items, TaskRecordFields());
  for (const char* item : {kOwnCode, kReachableCodes, kReachableKeys})
    items.emplace_back(item, LNItemType::Text);
  for (int kind = 0; kind < kRoutingKindCount; ++kind) {
    const RoutingItems& routing = RoutingItemsOf(static_cast<RoutingKind>(kind));
    for (const char* item : {routing.keys, routing.codes, routing.conditions, routing.formulas})
      if (item) items.emplace_back(item, LNItemType::Text);
  }
  for (const char* item : {kGoesToJoin, kSuccessorCodes, kSuccessorKeys, kJoins})
    items.emplace_back(item, LNItemType::Text);
  return items;
}

TaskRecord TaskRecordOf(const CNode& node, const std::function<std::string(const CNode&)>& keyOf) {
  TaskRecord task;
  task.xpos = node.GetRect().left;
  task.ypos = node.GetRect().top;
  task.codeText = keyOf(node);
  task.kind = node.Kind();
  task.attributes = node.Attributes();
  if (const CNode* referenced = node.ReferencedNode()) task.referenceText = keyOf(*referenced);
  task.subWorkflowId = node.SubWorkflowId();
  task.belongsToCluster = node.BelongsToCluster();
  task.representsCluster = node.RepresentsCluster();
  task.isClusterStartNode = node.IsClusterStartNode();
  task.isClusterEndNode = node.IsClusterEndNode();
  return task;
}

template <class Record>
void ReadRecord(Services& services, LNNote& doc, const RecordFields<Record>& fields,
                Record& record) {
  for (const RecordField<Record>& f : fields) {
    if (!f.item) continue;
    switch (f.type) {
      case ItemType::Text:
      case ItemType::Key:
        f.set(record, GetFieldContent(services, f.item, doc));
        break;
      case ItemType::Integer:
        f.set(record, GetFieldIntContent(services, f.item, doc));
        break;
      case ItemType::Number:
        f.set(record, GetFieldNumberContent(services, f.item, doc));
        break;
      case ItemType::Flag:
        f.set(record, GetFieldBoolContent(services, f.item, doc));
        break;
      case ItemType::List: {
        std::vector<std::string> list;
        GetFieldListContent(services, f.item, doc, list);
        f.set(record, std::move(list));
        break;
      }
      case ItemType::Word: {
        int code = 0;
        f.words->toCode(GetFieldContent(services, f.item, doc), code);
        f.set(record, code);
        break;
      }
      case ItemType::Computed:
        break;
    }
  }
}

template <class Record>
const RecordField<Record>* FieldOfItem(const RecordFields<Record>& fields, std::string_view item) {
  auto same = [item](const RecordField<Record>& f) {
    return f.item && std::ranges::equal(std::string_view(f.item), item, [](char a, char b) {
             return std::tolower(static_cast<unsigned char>(a)) ==
                    std::tolower(static_cast<unsigned char>(b));
           });
  };
  auto it = std::ranges::find_if(fields, same);
  return it == fields.end() ? nullptr : &*it;
}

template <class Record>
void WriteItem(LNNote& doc, const RecordField<Record>& f, const Record& record,
               const std::string& item) {
  if (f.type == ItemType::Computed) throw std::logic_error("nothing writes the item " + item);
  if (f.storedIf && !f.storedIf(record)) return;
  FieldValue value = f.get(record);
  if (f.optional && IsEmpty(value)) return;
  switch (f.type) {
    case ItemType::Text:
    case ItemType::Key:
      SetFieldContent(item, std::get<std::string>(value), doc);
      break;
    case ItemType::Integer:
      SetFieldIntContent(item, std::get<int>(value), doc);
      break;
    case ItemType::Number:
      SetFieldNumberContent(item, std::get<int>(value), doc);
      break;
    case ItemType::Flag:
      SetFieldBoolContent(item, std::get<bool>(value), doc);
      break;
    case ItemType::List:
      SetFieldListContent(item, doc, std::get<std::vector<std::string>>(value));
      break;
    case ItemType::Word:
      SetFieldContent(item, f.words->toWord(std::get<int>(value)), doc);
      break;
    case ItemType::Computed:
      break;
  }
}

template <class Record>
void WriteRecord(LNNote& doc, const RecordFields<Record>& fields, const Record& record,
                 const SpecialItems<Record>& special) {
  for (const RecordField<Record>& f : fields)
    if (f.item && !f.readOnly && !special(f)) WriteItem(doc, f, record, f.item);
}

template void ReadRecord(Services&, LNNote&, const RecordFields<WorkflowHeader>&, WorkflowHeader&);
template void ReadRecord(Services&, LNNote&, const RecordFields<TaskRecord>&, TaskRecord&);
template void WriteRecord(LNNote&, const RecordFields<WorkflowHeader>&, const WorkflowHeader&,
                          const SpecialItems<WorkflowHeader>&);
template void WriteRecord(LNNote&, const RecordFields<TaskRecord>&, const TaskRecord&,
                          const SpecialItems<TaskRecord>&);
template const RecordField<WorkflowHeader>* FieldOfItem(const RecordFields<WorkflowHeader>&,
                                                        std::string_view);
template void WriteItem(LNNote&, const RecordField<WorkflowHeader>&, const WorkflowHeader&,
                        const std::string&);
template const RecordField<TaskRecord>* FieldOfItem(const RecordFields<TaskRecord>&,
                                                    std::string_view);
template void WriteItem(LNNote&, const RecordField<TaskRecord>&, const TaskRecord&,
                        const std::string&);

}  // namespace velk
