// "workflow list|export|import|render|layout": stored workflows through the modeler's
// own header list, loader and save.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <stdexcept>

#include "repository/databasecache.h"
#include "common/headlessservices.h"
#include "common/infocenter.h"
#include "app/qsettings/qsettingsbackend.h"
#include "app/settings.h"
#include "commands.h"
#include "dialogs/workflowchooser.h"
#include "extdir/extdirlookup.h"
#include "model/bpmn.h"
#include "model/bpmnxml.h"
#include "model/jsonlimits.h"
#include "model/workflowdoc.h"
#include "model/workflowjson.h"
#include "model/workflowload.h"
#include "model/workflowsaver.h"
#include "repository/databasekind.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"
#include "repository/vocabulary.h"

namespace velkcli {

namespace {

// The databases a workflow command works on: --procdef and --appenv, else the
// default databases of the settings.
struct Databases {
  velk::DatabaseLocation procdef;
  velk::DatabaseLocation appenv;
  velk::DatabaseLocations all;  // the settings' six, with those two put in
};

Databases ChooseDatabases(const Args& args) {
  auto backend = velk::OpenSettingsBackend();
  velk::ModelerSettings settings;
  settings.load(*backend);
  Databases d{settings.databases[velk::DatabaseKind::ProcessDefinitions],
              settings.databases[velk::DatabaseKind::ApplicationEnvironment], settings.databases};
  // --server names where the databases given by path live, as with the db commands.
  const std::string server = velk::NormalizeServerName(args.option("server").value_or(""));
  if (!server.empty() && !args.option("procdef"))
    throw UsageError("--server names the server of --procdef PATH; give both");
  if (auto path = args.option("procdef")) d.procdef = {*path, server};
  if (auto path = args.option("appenv")) d.appenv = {*path, server};
  if (d.procdef.fileName.empty())
    throw UsageError(
        "no Process Definitions Database: give --procdef PATH or run 'velkmod-cli demo'");
  d.all[velk::DatabaseKind::ProcessDefinitions] = d.procdef;
  d.all[velk::DatabaseKind::ApplicationEnvironment] = d.appenv;
  return d;
}

// Message boxes and Info Center entries of an operation, one per line.
void PrintReports(std::ostream& out, const velk::HeadlessServices& ui) {
  auto oneLine = [](std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.replace(at, 2, "\n");
    return text;
  };
  for (const auto& m : ui.messages) out << "message: " << oneLine(m.text) << '\n';
  for (const velk::InfoEntry& e : ui.infoCenter().entries())
    if (e.severity != velk::Severity::Success || e.category.find("Workflow") != std::string::npos)
      out << "info [" << static_cast<int>(e.severity) << "] " << e.category << ": " << e.title
          << ": " << oneLine(e.text) << '\n';
}

// The Process Definitions repository of the chosen database, reading its headers.
class Repository {
 public:
  Repository(Context& ctx, const Databases& at)
      : ctx_(ctx),
        at_(at),
        ui_(ctx.services),
        repository_(ui_, ctx.session, at.procdef.fileName, at.procdef.server, nullptr,
                    velk::HeadersFrom(at.procdef)) {}

  const std::vector<velk::WorkflowHeaderEntry>& Headers() {
    if (!repository_.ReadHeaders(true) && repository_.Headers().empty()) {
      PrintReports(ctx_.err, ui_);
      throw std::runtime_error("cannot read the workflows of " + at_.procdef.fileName);
    }
    return repository_.Headers();
  }
  // A workflow whose databases are the chosen ones.
  std::unique_ptr<velk::CWorkflowDoc> NewWorkflow() {
    auto doc = std::make_unique<velk::CWorkflowDoc>(ui_, ctx_.session.GetUserNameText());
    velk::WorkflowDatabases databases;
    databases.processDefinitions = {at_.procdef, &repository_};
    databases.applicationEnvironment.location = at_.appenv;
    doc->SetDatabases(databases);
    return doc;
  }
  velk::HeadlessServices& Ui() { return ui_; }
  const velk::CProcessDefDb& Db() const { return repository_; }

 private:
  Context& ctx_;
  Databases at_;
  velk::HeadlessServices& ui_;
  velk::CProcessDefDb repository_;
};

int List(Context& ctx, const Args& args) {
  args.expectAtMost(0);
  Repository repository(ctx, ChooseDatabases(args));
  const auto& headers = repository.Headers();
  for (const velk::ChooserCategory& c : velk::BuildChooserTree(headers, velk::ChooserFilter::All)) {
    ctx.out << c.name << '\n';
    for (const velk::ChooserVersion& v : c.versions)
      ctx.out << "  " << v.text << "  " << headers[v.header].workflowId << '\n';
  }
  return kOk;
}

// The stored version named by id, or else by name (the highest version, or --version).
const velk::WorkflowHeaderEntry& FindStored(const std::vector<velk::WorkflowHeaderEntry>& headers,
                                            const std::string& nameOrId, const Args& args) {
  const velk::WorkflowHeaderEntry* found = nullptr;
  std::optional<int> version;
  if (auto v = args.option("version")) {
    try {
      version = std::stoi(*v);
    } catch (const std::exception&) {
      throw UsageError("--version needs a number");
    }
  }
  for (const velk::WorkflowHeaderEntry& h : headers) {
    if (h.workflowId != nameOrId && h.type != nameOrId) continue;
    if (version ? h.version == *version : !found || h.version >= found->version) found = &h;
  }
  if (!found)
    throw std::runtime_error("no stored workflow is named or has the id \"" + nameOrId + "\"");
  return *found;
}

// The stored workflow named by the first argument, loaded through the modeler's
// loader; null (its reports printed) when loading failed.
std::unique_ptr<velk::CWorkflowDoc> LoadStored(Context& ctx, Repository& repository,
                                               const Args& args) {
  args.expectAtMost(1);
  const std::string nameOrId = args.at(0, "workflow name or id");
  const velk::WorkflowHeaderEntry chosen = FindStored(repository.Headers(), nameOrId, args);
  std::unique_ptr<velk::CWorkflowDoc> doc = repository.NewWorkflow();
  const bool loaded = velk::LoadWorkflow(*doc, chosen, ctx.session);
  PrintReports(ctx.err, repository.Ui());
  if (!loaded) doc.reset();
  return doc;
}

int Export(Context& ctx, const Args& args) {
  const std::string format = args.option("format").value_or("json");
  if (format != "json" && format != "bpmn") throw UsageError("--format is json or bpmn");
  Repository repository(ctx, ChooseDatabases(args));
  std::unique_ptr<velk::CWorkflowDoc> doc = LoadStored(ctx, repository, args);
  if (!doc) return kFailed;
  if (format == "bpmn")
    ctx.out << velk::WorkflowToBpmn(*doc);
  else
    printJson(ctx.out, velk::WorkflowToJson(*doc), "the workflow");
  return kOk;
}

int Render(Context& ctx, const Args& args) {
  if (args.flag("diff")) return workflowRenderDiff(ctx, args);
  const RenderRequest request = renderRequest(args);
  Repository repository(ctx, ChooseDatabases(args));
  std::unique_ptr<velk::CWorkflowDoc> doc = LoadStored(ctx, repository, args);
  if (!doc) return kFailed;
  return renderWorkflow(ctx, *doc, request);
}

// The save numbers the tasks from the start task; of an Active workflow without
// one it stores nothing and says nothing.
void CheckStorable(const velk::CWorkflowDoc& doc, const std::string& file) {
  if (doc.Header().status == velk::WorkflowStatus::Active && !doc.StartNode())
    throw std::runtime_error(file +
                             ": the workflow is Active but has no start task (a task of the top "
                             "level with \"isClusterStartNode\": true)");
}

// A file that does not come back as written (an arrow to a task it lacks, a
// cluster node standing for its own level) would be stored as something else.
void CheckFaithful(const velk::CWorkflowDoc& doc, const std::string& file) {
  if (doc.LoadFaults().empty()) return;
  std::string reasons;
  for (const std::string& fault : doc.LoadFaults()) reasons += "\n  " + fault;
  throw std::runtime_error(
      file + ": the workflow does not load as written, so it is not stored:" + reasons);
}

int Import(Context& ctx, const Args& args) {
  args.expectAtMost(1);
  const std::string file = args.at(0, "JSON or BPMN file");
  const std::string text = ReadText(file);
  const bool bpmn = IsBpmnFile(file, text);
  velk::WorkflowJson json;
  if (!bpmn) json = ReadJson(file, text);
  CommandSaver saver(ctx, args);
  Repository repository(ctx, ChooseDatabases(args));
  std::unique_ptr<velk::CWorkflowDoc> doc = repository.NewWorkflow();
  try {
    // What a BPMN file could not give as it is goes to the Info Center, and so is printed.
    if (bpmn)
      velk::WorkflowFromBpmn(text, *doc);
    else
      velk::WorkflowFromJson(json, *doc);
  } catch (const std::runtime_error& e) {
    throw std::runtime_error(file + ": " + e.what());
  }
  CheckFaithful(*doc, file);
  CheckStorable(*doc, file);
  // Stored as the modeler's save stores it; the Application Environment Database in
  // use names the workflow's forms, and without one the workflow keeps the one it names.
  const bool stored = saver.get().Save(*doc, {false, {}, true, doc->Header().applicationReplicaId});
  PrintReports(ctx.out, repository.Ui());
  if (!stored) throw std::runtime_error(file + ": the workflow was not stored");
  const velk::WorkflowHeader& h = doc->Header();
  ctx.out << "Stored \"" << h.name << "\" version " << h.version << " ("
          << WorkflowStatusToWord(static_cast<int>(h.status)) << ") as " << h.workflowId << '\n';
  return kOk;
}

}  // namespace

struct CommandSaver::Parts {
  explicit Parts(Context& ctx, const Args& args)
      : defaults(ChooseDatabases(args).all),
        cache(ctx.services, ctx.session,
              velk::HeadersFrom(defaults[velk::DatabaseKind::ProcessDefinitions]),
              velk::CacheExtDirLinks) {}
  velk::DatabaseLocations defaults;
  velk::DatabaseCache cache;
  velk::CExtDirLookup directory;
};

CommandSaver::CommandSaver(Context& ctx, const Args& args)
    : parts_(std::make_unique<Parts>(ctx, args)),
      saver_(std::make_unique<velk::WorkflowSaver>(parts_->cache, parts_->defaults,
                                                   parts_->directory,
                                                   // no one to answer: the first button
                                                   velk::AnswererAsking(ctx.services))) {}

CommandSaver::~CommandSaver() = default;

int withStoredWorkflow(Context& ctx, const Args& args,
                       const std::function<int(velk::CWorkflowDoc&)>& use) {
  Repository repository(ctx, ChooseDatabases(args));
  std::unique_ptr<velk::CWorkflowDoc> doc = LoadStored(ctx, repository, args);
  if (!doc) return kFailed;
  const int result = use(*doc);
  PrintReports(ctx.err, repository.Ui());
  return result;
}

int withStoredWorkflows(Context& ctx, const Args& args,
                        const std::function<int(StoredWorkflows&)>& use) {
  const Databases at = ChooseDatabases(args);
  Repository repository(ctx, at);
  StoredWorkflows stored{at.procdef, repository.Db().Title(), repository.Headers(), {}};
  stored.load = [&ctx, &repository](const velk::WorkflowHeaderEntry& header) {
    repository.Ui().messages.clear();
    repository.Ui().infoCenter().clear();
    std::unique_ptr<velk::CWorkflowDoc> doc = repository.NewWorkflow();
    const bool loaded = velk::LoadWorkflow(*doc, header, ctx.session);
    PrintReports(ctx.err, repository.Ui());
    if (!loaded) doc.reset();
    return doc;
  };
  return use(stored);
}

int workflowCommand(Context& ctx, const std::vector<std::string>& words) {
  if (words.empty()) throw UsageError("workflow needs list, export, import, render, layout, check or diff");
  const std::string sub = words[0];
  if (sub == "check") return workflowCheckCommand(ctx, {words.begin() + 1, words.end()});
  if (sub == "diff") return workflowDiffCommand(ctx, {words.begin() + 1, words.end()});
  std::vector<std::string> valued{"procdef", "appenv", "server", "version"};
  if (sub == "render") valued.insert(valued.end(), {"format", "o", "output", "level"});
  if (sub == "export") valued.push_back("format");
  if (sub == "layout") valued.insert(valued.end(), {"level", "timeout"});
  const Args args(std::vector<std::string>(words.begin() + 1, words.end()), valued,
                  sub == "layout"   ? std::vector<std::string>{"save"}
                  : sub == "render" ? std::vector<std::string>{"diff"}
                                    : std::vector<std::string>{});
  if (sub == "list") return List(ctx, args);
  if (sub == "export") return Export(ctx, args);
  if (sub == "render") return Render(ctx, args);
  if (sub == "import") return Import(ctx, args);
  if (sub == "layout") return workflowLayout(ctx, args);
  throw UsageError("unknown workflow command \"" + sub + "\"");
}

}  // namespace velkcli
