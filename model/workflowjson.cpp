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
#include "model/workflowrecords.h"

namespace velk {

namespace {

constexpr char kFormat[] = "velkmod-workflow";
constexpr int kFormatVersion = 1;
constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int kIntMax = std::numeric_limits<int>::max();

using Json = WorkflowJson;

// A key names a node by its integer id; a key without a value is null.
Json KeyJson(const std::string& key) {
  return key.empty() ? Json() : Json(std::stoi(key));
}

template <class Record>
void Export(const RecordFields<Record>& fields, const Record& r, Json& out) {
  for (const RecordField<Record>& f : fields) {
    if (!f.json) continue;
    const FieldValue value = f.get(r);
    if (f.type == ItemType::Word) {
      out[f.json] = f.words->toWord(std::get<int>(value));
    } else if (f.type == ItemType::Key) {
      out[f.json] = KeyJson(std::get<std::string>(value));
    } else if (!(f.optional && std::get_if<std::string>(&value) &&
                 std::get<std::string>(value).empty())) {
      std::visit([&](const auto& v) { out[f.json] = v; }, value);
    }
  }
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

int CodeOfWord(const std::vector<std::string>& words, const std::string& word, const char* what,
               const std::string& where) {
  for (std::size_t i = 0; i < words.size(); ++i)
    if (words[i] == word) return static_cast<int>(i);
  throw std::runtime_error(where + ": \"" + word + "\" is no " + what);
}

// A word outside its table is refused when the table says so, else read as the
// vocabulary reads it; a missing word leaves the field as it is.
int WordCode(const Json& in, const char* name, const WordTable& words, int code,
             const std::string& where) {
  auto it = in.find(name);
  if (it == in.end() || it->is_null()) return code;
  std::string word;
  Take(in, name, word, where);
  if (words.strictName) return CodeOfWord(words.words(), word, words.strictName, where);
  if (!word.empty()) words.toCode(word, code);
  return code;
}

template <class Record>
void Import(const RecordFields<Record>& fields, const Json& in, Record& r,
            const std::string& where) {
  for (const RecordField<Record>& f : fields) {
    if (!f.json) continue;
    auto it = in.find(f.json);
    if (it == in.end() || it->is_null()) continue;
    FieldValue value = f.get(r);
    switch (f.type) {
      case ItemType::Integer:
      case ItemType::Number:
        value = CheckedInt(*it, where + "." + f.json, f.low, f.high);
        break;
      case ItemType::Key:
        value = std::to_string(CheckedInt(*it, where + "." + f.json));
        break;
      case ItemType::Word:
        value = WordCode(in, f.json, *f.words, std::get<int>(value), where);
        break;
      default:
        std::visit([&](auto& v) { Take(in, f.json, v, where); }, value);
    }
    f.set(r, std::move(value));
  }
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

WorkflowHeader ImportHeader(const Json* in, const WorkflowHeader& current) {
  WorkflowHeader header;
  header.validFrom = current.validFrom;
  header.user = current.user;
  if (in) Import(HeaderRecordFields(), *in, header, "header");
  return header;
}

TaskRecord ImportNode(const Json& n, const std::string& where, std::unordered_set<int>& ids) {
  if (!n.is_object() || !n.contains("id") || n["id"].is_null())
    throw std::runtime_error(where + ": every node needs an integer \"id\"");
  const int id = CheckedInt(n["id"], where + ".id");
  if (!ids.insert(id).second)
    throw std::runtime_error(where + ": the id " + std::to_string(id) + " is taken");
  TaskRecord task;
  Import(TaskRecordFields(), n, task, where);
  return task;
}

ArrowRecord ImportArrow(const Json& a, const std::string& where) {
  auto has = [&a](const char* end) { return a.contains(end) && !a[end].is_null(); };
  if (!a.is_object() || !has("from") || !has("to"))
    throw std::runtime_error(where + ": every arrow needs \"from\" and \"to\"");
  ArrowRecord arrow;
  Import(ArrowRecordFields(), a, arrow, where);
  return arrow;
}

}  // namespace

WorkflowJson WorkflowToJson(const CWorkflowDoc& doc) {
  const CWorkflowDoc& top = doc.Top();
  Json out;
  out["format"] = kFormat;
  out["formatVersion"] = kFormatVersion;
  Export(HeaderRecordFields(), top.Header(), out["header"]);

  std::unordered_map<const CNode*, int> ids;
  for (const CNode* node : top.AllNodes()) ids.emplace(node, static_cast<int>(ids.size()));
  auto keyOf = [&ids](const CNode& node) {
    auto it = ids.find(&node);
    return it == ids.end() ? std::string() : std::to_string(it->second);
  };
  Json& nodes = out["nodes"] = Json::array();
  for (const CNode* node : top.AllNodes()) {
    Json n;
    Export(TaskRecordFields(), TaskRecordOf(*node, keyOf), n);
    nodes.push_back(std::move(n));
  }
  Json& arrows = out["arrows"] = Json::array();
  for (const CArrow* arrow : top.AllArrows()) {
    const ArrowRecord record{
        arrow->Kind(),
        {keyOf(*arrow->Source()), keyOf(*arrow->Target()), arrow->Condition(), arrow->Formula()}};
    Export(ArrowRecordFields(), record, arrows.emplace_back());
  }
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
  std::vector<ArrowRecord> links;
  for (std::size_t i = 0; arrows && i < arrows->size(); ++i)
    links.push_back(ImportArrow((*arrows)[i], "arrows[" + std::to_string(i) + "]"));
  top.ClearGraph();
  top.SetHeader(std::move(header));
  GraphBuilder builder(top);
  for (TaskRecord& task : tasks) builder.AddTask(std::move(task));
  for (ArrowRecord& link : links) builder.AddArrow(link.kind, std::move(link.ends));
  builder.Finish();
}

}  // namespace velk
