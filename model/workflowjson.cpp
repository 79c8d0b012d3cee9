#include "model/workflowjson.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/workflowbuild.h"
#include "model/workflowdoc.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

constexpr char kFormat[] = "velkmod-workflow";
constexpr int kFormatVersion = 1;
constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int kIntMax = std::numeric_limits<int>::max();
// Far beyond any drawing, and far enough inside the int range that the node's
// rectangle and its drawing at any zoom stay inside it too.
constexpr int kMaxPosition = 1'000'000;

using Json = WorkflowJson;
using Words = std::string (*)(int);
using Parser = void (*)(const std::string&, int&);

// One field of a record: its JSON name and where it lives. Exporting and
// importing walk the same tables, so the two never disagree.
template <class Record>
struct Fields {
  std::vector<std::pair<const char*, std::string Record::*>> texts;
  std::vector<std::pair<const char*, int Record::*>> integers;
  std::vector<std::pair<const char*, bool Record::*>> flags;
  std::vector<std::pair<const char*, std::vector<std::string> Record::*>> lists;
  struct Word {
    const char* name;
    int Record::*member;
    Words toWord;
    Parser toCode;
  };
  std::vector<Word> words;
};

const Fields<NodeAttributes>& TaskFields() {
  using A = NodeAttributes;
  static const Fields<A> fields{
      {{"name", &A::name},
       {"freeText", &A::freeText},
       {"member", &A::member},
       {"roleArgument", &A::roleArgument},
       {"teamManager", &A::teamManager},
       {"griId", &A::griId},
       {"externClusterMail", &A::externClusterMail},
       {"externClusterId", &A::externClusterId},
       {"extClusterInput", &A::extClusterInput},
       {"extClusterOutput", &A::extClusterOutput},
       {"extClusterFormat", &A::extClusterFormat},
       {"extClusterSpecId", &A::extClusterSpecId},
       {"extClusterRequiredDate", &A::extClusterRequiredDate}},
      {{"duration", &A::duration},
       {"teamQuantity", &A::teamQuantity},
       {"remindDuration", &A::remindDuration},
       {"deadlineDuration", &A::deadlineDuration},
       {"extClusterExpectedDuration", &A::extClusterExpectedDuration}},
      {{"activityFlag", &A::activityFlag}, {"remindFlag", &A::remindFlag}},
      {{"activities", &A::activities},
       {"objects", &A::objects},
       {"folderObjects", &A::folderObjects},
       {"resources", &A::resources},
       {"readers", &A::readers},
       {"inContentManagement", &A::inContentManagement},
       {"outContentManagement", &A::outContentManagement}},
      {{"durationUnit", &A::durationUnit, DurationUnitToWord, WordToDurationUnit},
       {"performerType", &A::performerType, OrganisationKindToWord, WordToOrganisationKind},
       {"remindDurationUnit", &A::remindDurationUnit, DurationUnitToWord, WordToDurationUnit},
       {"deadlineDurationUnit", &A::deadlineDurationUnit, DurationUnitToWord, WordToDurationUnit},
       {"inContentManagementType", &A::inContentManagementType, ContentManagementKindToWord,
        WordToContentManagementKind},
       {"outContentManagementType", &A::outContentManagementType, ContentManagementKindToWord,
        WordToContentManagementKind},
       {"extClusterExpectedDurationUnit", &A::extClusterExpectedDurationUnit, DurationUnitToWord,
        WordToDurationUnit}}};
  return fields;
}

const Fields<WorkflowHeader>& HeaderFields() {
  using H = WorkflowHeader;
  static const Fields<H> fields{
      {{"name", &H::name},
       {"category", &H::category},
       {"applicationReplicaId", &H::applicationReplicaId},
       {"validFrom", &H::validFrom},
       {"validUntil", &H::validUntil},
       {"supervisor", &H::supervisor},
       {"freeText", &H::freeText},
       {"trackingMail", &H::trackingMail},
       {"user", &H::user}},
      {{"version", &H::version},
       {"trackingMix", &H::trackingMix},
       {"trackingFrequency", &H::trackingFrequency},
       {"trackingRate", &H::trackingRate}},
      {{"trackingExternal", &H::trackingExternal}},
      {{"editors", &H::editors}, {"designers", &H::designers}, {"modifiers", &H::modifiers}},
      {{"trackingType", &H::trackingType, TrackingModeToWord, WordToTrackingMode}}};
  return fields;
}

template <class Record>
void Export(const Fields<Record>& fields, const Record& r, Json& out) {
  for (const auto& [name, member] : fields.texts) out[name] = r.*member;
  for (const auto& [name, member] : fields.integers) out[name] = r.*member;
  for (const auto& [name, member] : fields.flags) out[name] = r.*member;
  for (const auto& [name, member] : fields.lists) out[name] = r.*member;
  for (const auto& w : fields.words) out[w.name] = w.toWord(r.*w.member);
}

// The value of `name` in `in` when it is there; a value of another type is an error.
template <class T>
void Take(const Json& in, const char* name, T& value, const std::string& where) {
  auto it = in.find(name);
  if (it == in.end() || it->is_null()) return;
  try {
    value = it->template get<T>();
  } catch (const nlohmann::json::exception&) {
    throw std::runtime_error(where + "." + name + " has a value of the wrong type");
  }
}

// A whole number that fits an int. The library's own conversion would narrow
// 1e300 or 2^40 into some other number without a word.
int CheckedInt(const Json& value, const std::string& path, int low = kIntMin, int high = kIntMax) {
  auto outOfRange = [&] {
    return std::runtime_error(path + ": " + value.dump() + " is out of range");
  };
  if (value.is_number_unsigned()) {
    if (value.get<std::uint64_t>() > static_cast<std::uint64_t>(high)) throw outOfRange();
    return static_cast<int>(value.get<std::uint64_t>());
  }
  if (value.is_number_integer()) {
    const std::int64_t n = value.get<std::int64_t>();
    if (n < low || n > high) throw outOfRange();
    return static_cast<int>(n);
  }
  if (!value.is_number_float()) throw std::runtime_error(path + " must be a whole number");
  const double d = value.get<double>();
  if (!(d >= low && d <= high)) throw outOfRange();
  if (d != std::trunc(d))
    throw std::runtime_error(path + ": " + value.dump() + " is no whole number");
  return static_cast<int>(d);
}

void Take(const Json& in, const char* name, int& value, const std::string& where, int low = kIntMin,
          int high = kIntMax) {
  auto it = in.find(name);
  if (it != in.end() && !it->is_null()) value = CheckedInt(*it, where + "." + name, low, high);
}

template <class Record>
void Import(const Fields<Record>& fields, const Json& in, Record& r, const std::string& where) {
  for (const auto& [name, member] : fields.texts) Take(in, name, r.*member, where);
  for (const auto& [name, member] : fields.integers) Take(in, name, r.*member, where);
  for (const auto& [name, member] : fields.flags) Take(in, name, r.*member, where);
  for (const auto& [name, member] : fields.lists) Take(in, name, r.*member, where);
  for (const auto& w : fields.words) {
    std::string word;
    Take(in, w.name, word, where);
    if (!word.empty()) w.toCode(word, r.*w.member);
  }
}

int CodeOfWord(const std::vector<std::string>& words, const std::string& word, const char* what,
               const std::string& where) {
  for (std::size_t i = 0; i < words.size(); ++i)
    if (words[i] == word) return static_cast<int>(i);
  throw std::runtime_error(where + ": \"" + word + "\" is no " + what);
}

const std::vector<std::string>& RoutingWords() {
  static const std::vector<std::string> words = {"And", "Or", "Xor", "Cor", "Else"};
  return words;
}

// The member `name` of `in`, or null when there is none.
const Json* Member(const Json& in, const char* name, bool array, const std::string& where) {
  auto it = in.find(name);
  if (it == in.end() || it->is_null()) return nullptr;
  if (array ? !it->is_array() : !it->is_object())
    throw std::runtime_error(where + ": \"" + name + "\" must be " +
                             (array ? "a list" : "an object"));
  return &*it;
}

// A vocabulary word of `in` as its code; `fallback` when the word is missing.
int WordCode(const Json& in, const char* name, const std::vector<std::string>& words,
             const std::string& fallback, const char* what, const std::string& where) {
  std::string word = fallback;
  Take(in, name, word, where);
  return CodeOfWord(words, word, what, where);
}

WorkflowHeader ImportHeader(const Json* in, const WorkflowHeader& current) {
  WorkflowHeader header;
  header.validFrom = current.validFrom;
  header.user = current.user;
  if (!in) return header;
  Import(HeaderFields(), *in, header, "header");
  // Saving an Active or Template workflow counts its version up by one.
  Take(*in, "version", header.version, "header", 0, kIntMax - 1);
  header.status = static_cast<WorkflowStatus>(
      WordCode(*in, "status", WorkflowStatusWords(), "Design", "workflow status", "header"));
  header.workflowType = static_cast<WorkflowType>(
      WordCode(*in, "workflowType", WorkflowTypeWords(), "Normal", "workflow type", "header"));
  return header;
}

TaskRecord ImportNode(const Json& n, const std::string& where, std::unordered_set<int>& ids) {
  if (!n.is_object() || !n.contains("id") || n["id"].is_null())
    throw std::runtime_error(where + ": every node needs an integer \"id\"");
  const int id = CheckedInt(n["id"], where + ".id");
  if (!ids.insert(id).second)
    throw std::runtime_error(where + ": the id " + std::to_string(id) + " is taken");
  TaskRecord task;
  task.codeText = std::to_string(id);
  task.kind =
      static_cast<NodeKind>(WordCode(n, "kind", TaskKindWords(), "Intern", "task kind", where));
  Take(n, "x", task.xpos, where, -kMaxPosition, kMaxPosition);
  Take(n, "y", task.ypos, where, -kMaxPosition, kMaxPosition);
  Take(n, "belongsToCluster", task.belongsToCluster, where);
  Take(n, "representsCluster", task.representsCluster, where);
  Take(n, "isClusterStartNode", task.isClusterStartNode, where);
  Take(n, "isClusterEndNode", task.isClusterEndNode, where);
  if (n.contains("reference") && !n["reference"].is_null()) {
    int reference = 0;
    Take(n, "reference", reference, where);
    task.referenceText = std::to_string(reference);
  }
  Take(n, "subWorkflowId", task.subWorkflowId, where);
  Import(TaskFields(), n, task.attributes, where);
  return task;
}

std::pair<RoutingKind, PendingArrow> ImportArrow(const Json& a, const std::string& where) {
  auto has = [&a](const char* end) { return a.contains(end) && !a[end].is_null(); };
  if (!a.is_object() || !has("from") || !has("to"))
    throw std::runtime_error(where + ": every arrow needs \"from\" and \"to\"");
  int from = 0, to = 0;
  Take(a, "from", from, where);
  Take(a, "to", to, where);
  PendingArrow arrow{std::to_string(from), std::to_string(to), {}, {}};
  Take(a, "condition", arrow.condition, where);
  Take(a, "formula", arrow.formula, where);
  const int kind = WordCode(a, "kind", RoutingWords(), "And", "routing kind", where);
  return {static_cast<RoutingKind>(kind), std::move(arrow)};
}

}  // namespace

WorkflowJson WorkflowToJson(const CWorkflowDoc& doc) {
  const CWorkflowDoc& top = doc.Top();
  Json out;
  out["format"] = kFormat;
  out["formatVersion"] = kFormatVersion;
  Json& header = out["header"];
  Export(HeaderFields(), top.Header(), header);
  header["status"] = WorkflowStatusToWord(static_cast<int>(top.Header().status));
  header["workflowType"] = WorkflowTypeToWord(static_cast<int>(top.Header().workflowType));

  std::unordered_map<const CNode*, int> ids;
  for (const CNode* node : top.AllNodes()) ids.emplace(node, static_cast<int>(ids.size()));
  Json& nodes = out["nodes"] = Json::array();
  for (const CNode* node : top.AllNodes()) {
    Json n;
    n["id"] = ids.at(node);
    n["kind"] = TaskKindToWord(static_cast<int>(node->Kind()));
    n["x"] = node->GetRect().left;
    n["y"] = node->GetRect().top;
    n["belongsToCluster"] = node->BelongsToCluster();
    n["representsCluster"] = node->RepresentsCluster();
    n["isClusterStartNode"] = node->IsClusterStartNode();
    n["isClusterEndNode"] = node->IsClusterEndNode();
    const CNode* referenced = node->ReferencedNode();
    n["reference"] = referenced && ids.contains(referenced) ? Json(ids.at(referenced)) : Json();
    if (!node->SubWorkflowId().empty()) n["subWorkflowId"] = node->SubWorkflowId();
    Export(TaskFields(), node->Attributes(), n);
    nodes.push_back(std::move(n));
  }
  Json& arrows = out["arrows"] = Json::array();
  for (const CArrow* arrow : top.AllArrows())
    arrows.push_back({{"from", ids.at(arrow->Source())},
                      {"to", ids.at(arrow->Target())},
                      {"kind", RoutingKindName(arrow->Kind())},
                      {"condition", arrow->Condition()},
                      {"formula", arrow->Formula()}});
  return out;
}

void WorkflowFromJson(const WorkflowJson& json, CWorkflowDoc& doc) {
  if (!json.is_object()) throw std::runtime_error("the workflow must be a JSON object");
  if (json.contains("format") && json["format"] != kFormat)
    throw std::runtime_error("not a workflow: \"format\" is not \"" + std::string(kFormat) + "\"");
  const Json* nodes = Member(json, "nodes", true, "workflow");
  const Json* arrows = Member(json, "arrows", true, "workflow");
  CWorkflowDoc& top = doc.Top();
  WorkflowHeader header = ImportHeader(Member(json, "header", false, "workflow"), top.Header());
  // Everything is checked before the document changes.
  // A stored workflow without a task could not be loaded again.
  if (!nodes || nodes->empty()) throw std::runtime_error("the workflow has no tasks");
  std::unordered_set<int> ids;
  std::vector<TaskRecord> tasks;
  for (std::size_t i = 0; i < nodes->size(); ++i)
    tasks.push_back(ImportNode((*nodes)[i], "nodes[" + std::to_string(i) + "]", ids));
  std::vector<std::pair<RoutingKind, PendingArrow>> links;
  for (std::size_t i = 0; arrows && i < arrows->size(); ++i)
    links.push_back(ImportArrow((*arrows)[i], "arrows[" + std::to_string(i) + "]"));
  top.ClearGraph();
  top.SetHeader(std::move(header));
  GraphBuilder builder(top);
  for (TaskRecord& task : tasks) builder.AddTask(std::move(task));
  for (auto& [kind, arrow] : links) builder.AddArrow(kind, std::move(arrow));
  builder.Finish();
}

}  // namespace velk
