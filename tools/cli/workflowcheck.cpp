// "workflow check": the modeler's consistency check without a window, so that a
// team can keep incomplete workflows out of its repository in CI.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <unordered_map>

#include "common/headlessservices.h"
#include "app/qsettings/qsettingsbackend.h"
#include "app/settings.h"
#include "commands.h"
#include "extdir/extdirdata.h"
#include "extdir/extdirlookup.h"
#include "model/bpmn.h"
#include "model/bpmnxml.h"
#include "model/consistencycheck.h"
#include "model/jsonlimits.h"
#include "model/workflowdoc.h"
#include "model/workflowjson.h"
#include "model/workflowload.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"
#include "repository/vocabulary.h"

namespace velkcli {

namespace {

using Json = nlohmann::ordered_json;

struct CheckRequest {
  std::string workflow;  // name, id or JSON file
  bool json = false;
  std::optional<velk::WorkflowStatus> judgeAs;
};

CheckRequest ReadRequest(const Args& args) {
  args.expectAtMost(1);
  CheckRequest r;
  r.workflow = args.at(0, "workflow name, id or JSON file");
  const std::string format = args.option("format").value_or("text");
  if (format != "text" && format != "json")
    throw UsageError("--format takes text or json, not \"" + format + "\"");
  r.json = format == "json";
  if (auto word = args.option("as-status")) {
    const auto& words = WorkflowStatusWords();
    const auto it = std::find(words.begin(), words.end(), *word);
    if (it == words.end())
      throw UsageError("--as-status: unknown workflow status \"" + *word + "\"");
    r.judgeAs = static_cast<velk::WorkflowStatus>(it - words.begin());
  }
  return r;
}

// The External Directory Database of the settings, read as the modeler reads it
// when it opens a workflow, so that registered external performers count; null
// when the settings name none.
std::unique_ptr<velk::CExtDirData> AttachExternalDirectory(Context& ctx, velk::CWorkflowDoc& doc) {
  auto backend = velk::OpenSettingsBackend();
  velk::ModelerSettings settings;
  settings.load(*backend);
  const velk::DatabaseLocation at = settings.databases[velk::DatabaseKind::ExternalDirectory];
  if (at.fileName.empty()) return nullptr;
  auto data = std::make_unique<velk::CExtDirData>(ctx.services, ctx.session, at.fileName, at.server,
                                                  &doc, velk::UnlinkedExtDir());
  velk::WorkflowDatabases databases = doc.Databases();
  databases.externalDirectory = {at, data.get()};
  doc.SetDatabases(databases);
  return data;
}

// Nodes are named by the id `workflow export` gives them, or by their id in the
// file the workflow came from.
using NodeIds = std::unordered_map<const velk::CNode*, int>;

NodeIds IdsOf(const velk::CWorkflowDoc& doc, bool fromFile) {
  NodeIds ids;
  for (const velk::CNode* node : doc.AllNodes())
    ids.emplace(node, fromFile ? node->Code() : static_cast<int>(ids.size()));
  return ids;
}

const char* SeverityWord(const velk::CheckFinding& f) {
  return f.outcome == velk::CheckOutcome::Failed ? "error" : "success";
}

Json ToJson(const velk::ConsistencyResult& result, const NodeIds& ids) {
  Json out = Json::array();
  for (const velk::CheckFinding& f : result.findings) {
    Json nodes = Json::array();
    for (const velk::CNode* n : f.nodes) nodes.push_back({{"id", ids.at(n)}, {"name", n->Name()}});
    out.push_back({{"rule", f.rule->id},
                   {"name", f.rule->name},
                   {"step", f.rule->step},
                   {"title", f.Title()},
                   {"text", f.Text()},
                   {"severity", SeverityWord(f)},
                   {"nodes", std::move(nodes)}});
  }
  return out;
}

void PrintText(std::ostream& out, const velk::ConsistencyResult& result, const NodeIds& ids) {
  for (const velk::CheckFinding& f : result.findings) {
    out << f.rule->id << ' ' << f.rule->name << ": " << SeverityWord(f) << ": " << f.Title()
        << '\n';
    for (const velk::CNode* n : f.nodes)
      out << "  node " << ids.at(n) << " \"" << n->Name() << "\"\n";
  }
}

}  // namespace

bool IsWorkflowFile(const std::string& name) {
  return (name.ends_with(".json") || name.ends_with(".bpmn") || name.ends_with(".xml")) &&
         std::filesystem::is_regular_file(name);
}

// The whole text of a workflow file; one far larger than any workflow is refused
// before it is read.
std::string ReadText(const std::string& file) {
  std::error_code error;
  const auto size = std::filesystem::file_size(file, error);
  if (!error && size > velk::kMaxXmlBytes)
    throw std::runtime_error(file + ": it is larger than " +
                             std::to_string(velk::kMaxXmlBytes >> 20) +
                             " MB, more than a workflow needs");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A BPMN file by its extension, else by its content; anything else is JSON.
bool IsBpmnFile(const std::string& file, const std::string& text) {
  return file.ends_with(".bpmn") || file.ends_with(".xml") ||
         (!file.ends_with(".json") && velk::LooksLikeXml(text));
}

velk::WorkflowJson ReadJson(const std::string& file, const std::string& text) {
  try {
    return velk::ParseJsonWithinDepth(text);
  } catch (const velk::WorkflowJson::exception& e) {  // a parse error, a number too large
    throw std::runtime_error(file + " is not valid JSON: " + e.what());
  } catch (const velk::JsonTooDeep& e) {
    throw std::runtime_error(file + ": " + e.what());
  }
}

std::unique_ptr<velk::CWorkflowDoc> FromFile(velk::Services& services, const std::string& file) {
  const std::string text = ReadText(file);
  auto doc = std::make_unique<velk::CWorkflowDoc>(services);
  try {
    if (IsBpmnFile(file, text))
      velk::WorkflowFromBpmn(text, *doc);
    else
      velk::WorkflowFromJson(velk::ParseJsonWithinDepth(text), *doc);
  } catch (const std::exception& e) {  // bad JSON or XML, too deep, a bad field
    throw std::runtime_error(file + ": " + e.what());
  }
  return doc;
}

int workflowCheckCommand(Context& ctx, const std::vector<std::string>& words) {
  const Args args(words, {"procdef", "server", "format", "as-status"});
  const CheckRequest request = ReadRequest(args);
  const bool fromFile = IsWorkflowFile(request.workflow);
  std::unique_ptr<velk::CExtDirData> directory;  // outlives the workflow that uses it
  auto check = [&](velk::CWorkflowDoc& doc) {
    directory = AttachExternalDirectory(ctx, doc);
    const velk::ConsistencyResult result =
        velk::RunConsistencyRules(doc, velk::CExtDirLookup(), request.judgeAs);
    // What did not load as stored was not checked: never accepted.
    const bool passed = result.passed && doc.LoadFaults().empty();
    const NodeIds ids = IdsOf(doc, fromFile);
    if (request.json) {
      printJson(ctx.out, ToJson(result, ids), "the findings");
    } else {
      PrintText(ctx.out, result, ids);
    }
    for (const std::string& fault : doc.LoadFaults())
      (request.json ? ctx.err : ctx.out) << "does not load as stored: " << fault << '\n';
    if (!request.json) {
      const int status = static_cast<int>(request.judgeAs.value_or(doc.Header().status));
      ctx.out << (passed ? "accepted" : "refused") << " in status " << WorkflowStatusToWord(status)
              << '\n';
    }
    return passed ? kOk : kFailed;
  };
  if (!fromFile) return withStoredWorkflow(ctx, args, check);
  velk::HeadlessServices& ui = ctx.services;
  std::unique_ptr<velk::CWorkflowDoc> doc = FromFile(ui, request.workflow);
  for (const auto& m : ui.messages) ctx.err << "message: " << m.text << '\n';
  return check(*doc);
}

}  // namespace velkcli
