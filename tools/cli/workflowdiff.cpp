// "workflow diff": what changed between two versions of a workflow, so that a team
// can check in CI that an export under review matches what is stored.

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "commands.h"
#include "model/workflowdiff.h"
#include "model/workflowdoc.h"

namespace velkcli {

namespace {

using Json = nlohmann::ordered_json;

// NAME[@VERSION] or an id: the version named, else the highest stored one.
const velk::WorkflowHeaderEntry& FindVersion(const std::vector<velk::WorkflowHeaderEntry>& headers,
                                             const std::string& named) {
  std::string name = named;
  std::optional<int> version;
  const std::size_t at = named.rfind('@');
  if (at != std::string::npos && at + 1 < named.size() &&
      std::all_of(named.begin() + at + 1, named.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
      named.size() - at <= 10) {
    name = named.substr(0, at);
    version = std::stoi(named.substr(at + 1));
  }
  const velk::WorkflowHeaderEntry* found = nullptr;
  for (const velk::WorkflowHeaderEntry& h : headers) {
    if (h.workflowId != name && h.type != name) continue;
    if (version ? h.version == *version : !found || h.version >= found->version) found = &h;
  }
  if (!found)
    throw UsageError("no stored workflow is named or has the id \"" + named +
                     "\" (NAME[@VERSION], an id, or a .json or .bpmn file)");
  return *found;
}

std::unique_ptr<velk::CWorkflowDoc> Open(Context& ctx, StoredWorkflows& stored,
                                         const std::string& named) {
  if (IsWorkflowFile(named)) return FromFile(ctx.services, named);
  std::unique_ptr<velk::CWorkflowDoc> doc = stored.load(FindVersion(stored.headers, named));
  if (!doc) throw std::runtime_error(named + ": the workflow could not be loaded");
  return doc;
}

Json ToJson(const velk::WorkflowDiff& diff) {
  Json out = Json::array();
  for (const velk::WorkflowChange& c : diff.changes) {
    Json change = {{"kind", velk::ChangeKindWord(c.kind)},
                   {"element", velk::ChangeElementWord(c.element)},
                   {"id", c.id},
                   {"name", c.name},
                   {"level", c.level}};
    if (c.kind == velk::ChangeKind::Changed) {
      change["field"] = c.field;
      change["old"] = c.before;
      change["new"] = c.after;
    }
    out.push_back(std::move(change));
  }
  return out;
}

// Loads the two versions the first two arguments name and hands both to `use`.
int WithBoth(Context& ctx, const Args& args,
             const std::function<int(velk::CWorkflowDoc&, velk::CWorkflowDoc&)>& use) {
  args.expectAtMost(2);
  const std::string older = args.at(0, "first workflow (NAME[@VERSION], id or workflow file)");
  const std::string newer = args.at(1, "second workflow (NAME[@VERSION], id or workflow file)");
  const auto compare = [&](StoredWorkflows& stored) {
    std::unique_ptr<velk::CWorkflowDoc> a = Open(ctx, stored, older);
    std::unique_ptr<velk::CWorkflowDoc> b = Open(ctx, stored, newer);
    return use(*a, *b);
  };
  if (IsWorkflowFile(older) && IsWorkflowFile(newer)) {
    StoredWorkflows none;
    return compare(none);
  }
  return withStoredWorkflows(ctx, args, compare);
}

}  // namespace

int workflowDiffCommand(Context& ctx, const std::vector<std::string>& words) {
  const Args args(words, {"procdef", "appenv", "server", "format"});
  const std::string format = args.option("format").value_or("text");
  if (format != "text" && format != "json")
    throw UsageError("--format takes text or json, not \"" + format + "\"");
  return WithBoth(ctx, args, [&](velk::CWorkflowDoc& a, velk::CWorkflowDoc& b) {
    const velk::WorkflowDiff diff = velk::DiffWorkflows(a, b);
    if (format == "json") {
      printJson(ctx.out, ToJson(diff), "the changes");
    } else {
      for (const velk::WorkflowChange& c : diff.changes) ctx.out << velk::DescribeChange(c) << '\n';
    }
    return diff.Equal() ? kOk : kFailed;
  });
}

int workflowRenderDiff(Context& ctx, const Args& args) {
  const RenderRequest request = renderRequest(args);
  if (request.allLevels) throw UsageError("render --diff draws the top level; leave out --level");
  return WithBoth(ctx, args, [&](velk::CWorkflowDoc& a, velk::CWorkflowDoc& b) {
    return renderComparison(ctx, a, b, velk::DiffWorkflows(a, b), request);
  });
}

}  // namespace velkcli
