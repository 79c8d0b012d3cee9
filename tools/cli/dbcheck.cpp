// "db check": loads a database the way the modeler does and shows what the modeler
// then offers, with every Info Center entry and message box the load produced.

#include <sqlite3.h>

#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "repository/databasecache.h"
#include "common/headlessservices.h"
#include "common/infocenter.h"
#include "commands.h"
#include "extdir/extdirdata.h"
#include "extdir/extdirtree.h"
#include "model/workflowdoc.h"
#include "model/workflowload.h"
#include "repository/applicationenvdb.h"
#include "repository/databasetemplates.h"
#include "repository/gatewaydb.h"
#include "repository/infrastructuredb.h"
#include "repository/processdefdb.h"
#include "repository/repositoryjson.h"
#include "repository/store/lnbackend.h"
#include "repository/store/lnnotes.h"
#include "repository/store/lnsqlitecheck.h"
#include "repository/storedversions.h"
#include "repository/trackingdb.h"

namespace velkcli {

namespace {

using velk::DatabaseKind;
using velk::Json;

const char* IconName(velk::MsgIcon icon) {
  switch (icon) {
    case velk::MsgIcon::Information:
      return "information";
    case velk::MsgIcon::Exclamation:
      return "exclamation";
    case velk::MsgIcon::Question:
      return "question";
    case velk::MsgIcon::Stop:
      return "stop";
    case velk::MsgIcon::None:
      break;
  }
  return "none";
}

Json EntriesJson(const std::vector<velk::InfoEntry>& entries) {
  Json json = Json::array();
  for (const velk::InfoEntry& e : entries) {
    json.push_back({{"category", e.category},
                    {"title", e.title},
                    {"text", e.text},
                    {"severity", static_cast<int>(e.severity)}});
  }
  return json;
}

Json MessagesJson(const std::vector<velk::HeadlessServices::Message>& messages) {
  Json json = Json::array();
  for (const velk::HeadlessServices::Message& m : messages)
    json.push_back({{"title", m.title}, {"text", m.text}, {"icon", IconName(m.icon)}});
  return json;
}

template <class Repository>
Repository& Load(velk::DatabaseCache& cache, const velk::DatabaseLocation& at) {
  Repository* repository = cache.FindOrLoad<Repository>(at);
  if (!repository) throw std::logic_error("no loader for this kind of database");
  return *repository;
}

constexpr char kCheckCategory[] = "Database Check";

void AddError(velk::Services& services, const std::string& title, const std::string& text) {
  services.infoCenter().addEntry(kCheckCategory, title, text, 0, velk::Severity::Error);
}

// A message box text in one line: each run of white space one blank.
std::string OneLine(const std::string& text) {
  std::string line;
  for (char c : text) {
    const bool blank = c == ' ' || c == '\r' || c == '\n' || c == '\t';
    if (!blank)
      line += c;
    else if (!line.empty() && line.back() != ' ')
      line += ' ';
  }
  return line;
}

// The rows of SQLite's integrity check other than "ok"; one row naming the
// failure when the check cannot run.
std::vector<std::string> IntegrityProblems(const std::string& file) {
  std::vector<std::string> problems;
  sqlite3* db = nullptr;
  sqlite3_stmt* stmt = nullptr;
  int rc = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  if (rc == SQLITE_OK) {
    sqlite3_busy_timeout(db, 5000);  // a modeler may be writing meanwhile
    rc = sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &stmt, nullptr);
  }
  if (rc == SQLITE_OK) {
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      const auto* row = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
      if (row && std::string(row) != "ok") problems.emplace_back(row);
    }
  }
  if (rc != SQLITE_OK && rc != SQLITE_DONE)
    problems.push_back(std::string("the check could not run: ") + sqlite3_errstr(rc));
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return problems;
}

// Damage inside the file that reading the design and the lists never touches.
// The store has no way to its SQLite connection, so the file is opened again,
// read-only, beside it.
void CheckIntegrity(velk::Services& services, const std::string& path) {
  const std::string file = lnstore::ResolveLocalPath(path);
  for (const std::string& problem : IntegrityProblems(file))
    AddError(services, "Integrity of the database file", "SQLite's integrity check: " + problem);
  for (const lnstore::StoredValueFinding& finding : lnstore::CheckStoredValues(file))
    services.infoCenter().addEntry(kCheckCategory, finding.title, finding.text, 0,
                                   finding.error ? velk::Severity::Error : velk::Severity::Notice);
}

const char* TypeWord(LNItemType type) {
  switch (type) {
    case LNItemType::Numbers:
      return "a number";
    case LNItemType::Datetimes:
      return "a date";
    case LNItemType::Text:
      break;
  }
  return "text";
}

// An item stored otherwise than the modeler stores it reads as empty or zero
// there, without a word: the load alone cannot show it.
void CheckItemTypes(velk::Services& services, LNDatabase& db, DatabaseKind kind) {
  for (const velk::MistypedItem& m : velk::MistypedItems(db, kind))
    AddError(services, m.form + " document " + std::to_string(m.noteId),
             "The item \"" + m.item + "\" is stored as " + TypeWord(m.stored) +
                 "; the modeler reads and writes it as " + TypeWord(m.expected) + ".");
}

// Loads every stored workflow as "Load workflow" does: a header list that reads
// well says nothing of the task documents behind it. A load that fails or shows
// a message box is an error.
void CheckStoredWorkflows(LNNotesSession& session, velk::CProcessDefDb& processDefs,
                          const velk::DatabaseLocation& at, velk::HeadlessServices& ui) {
  for (const velk::WorkflowHeaderEntry& header : processDefs.Headers()) {
    velk::CWorkflowDoc doc(ui, session.GetUserNameText());
    velk::WorkflowDatabases databases;
    databases.processDefinitions = {at, &processDefs};
    doc.SetDatabases(databases);
    const std::size_t before = ui.messages.size();
    const bool loaded = velk::LoadWorkflow(doc, header, session);
    if (loaded && ui.messages.size() == before) continue;
    std::string text = loaded ? "The workflow loads with errors" : "The workflow cannot be loaded";
    for (std::size_t i = before; i < ui.messages.size(); ++i)
      text += (i == before ? ": " : "; ") + OneLine(ui.messages[i].text);
    AddError(ui,
             header.type + " (version " + std::to_string(header.version) + ", id " +
                 header.workflowId + ")",
             text);
  }
}

// Builds the window's tree with every leaf, as "Expand All Branches" with SHIFT
// does: the sections say nothing of the leaf documents. A message box while
// doing so is an error; so are the entries of an item that cannot be shown.
void CheckDirectoryTree(velk::CExtDirData& directory, velk::HeadlessServices& ui) {
  const std::size_t before = ui.messages.size();
  velk::CExtDirTree tree(directory);
  tree.ExpandAll(true);
  for (std::size_t i = before; i < ui.messages.size(); ++i)
    AddError(ui, "GRI Leafs", "Reading the leafs: " + OneLine(ui.messages[i].text));
}

// Loads through a cache of its own, as a workflow's initialisation does, and
// describes the object.
Json LoadAndDescribe(LNNotesSession& session, DatabaseKind kind, const velk::DatabaseLocation& at,
                     velk::HeadlessServices& ui) {
  velk::DatabaseCache cache(ui, session, velk::HeadersFrom(at), velk::CacheExtDirLinks);
  switch (kind) {
    case DatabaseKind::Infrastructure:
      return velk::RepositoryToJson(Load<velk::CInfrastructureDb>(cache, at));
    case DatabaseKind::ApplicationEnvironment:
      return velk::RepositoryToJson(Load<velk::CApplicationEnvDb>(cache, at));
    case DatabaseKind::ProcessDefinitions: {
      // The modeler reads the header list when a workflow first needs it.
      velk::CProcessDefDb& processDefs = Load<velk::CProcessDefDb>(cache, at);
      processDefs.ReadHeaders(false);
      Json described = velk::RepositoryToJson(processDefs);
      CheckStoredWorkflows(session, processDefs, at, ui);
      for (const velk::VersionConflict& c : velk::StoredVersionConflicts(processDefs.Headers()))
        AddError(ui, c.title, c.text);
      return described;
    }
    case DatabaseKind::Gateway:
      return velk::RepositoryToJson(
          static_cast<const velk::CRepositoryDb&>(Load<velk::CGatewayDb>(cache, at)));
    case DatabaseKind::Tracking:
      return velk::RepositoryToJson(
          static_cast<const velk::CRepositoryDb&>(Load<velk::CTrackingDb>(cache, at)));
    case DatabaseKind::ExternalDirectory: {
      velk::CExtDirData& directory = Load<velk::CExtDirData>(cache, at);
      Json described = ExtDirToJson(directory);
      CheckDirectoryTree(directory, ui);
      return described;
    }
    case DatabaseKind::None:
      break;
  }
  throw std::logic_error("a database of no kind is refused before it is loaded");
}

std::string IdentifyingViews() {
  std::string list;
  for (DatabaseKind kind : velk::KindProbeOrder())
    list += std::string(list.empty() ? "" : ", ") + velk::DesignViewOf(kind);
  return list;
}

}  // namespace

int dbCheckCommand(Context& ctx, const std::vector<std::string>& words) {
  const Args args(words, {"server"});
  args.expectAtMost(1);
  const std::string path = args.at(0, "database path");
  const std::string server = velk::NormalizeServerName(args.option("server").value_or(""));

  // A file the store cannot open is reported with the store's reason.
  LNDatabase db = openDatabase(ctx, path, server);

  // Message boxes of the core are recorded instead of waiting for an answer.
  velk::HeadlessServices& headless = ctx.services;
  velk::InfoCenter& infoCenter = headless.infoCenter();
  infoCenter.clear();
  const DatabaseKind kind = velk::DetectDatabaseKind(headless, ctx.session, path, server);
  if (kind == DatabaseKind::None) {
    ctx.err << "velkmod-cli: " << path
            << " is no database of the modeler: it has none of the views that identify a kind ("
            << IdentifyingViews() << ")\n";
    return kFailed;
  }
  if (server.empty()) CheckIntegrity(headless, path);  // a server's files are not at hand
  CheckItemTypes(headless, db, kind);
  db.Close();
  Json repository = LoadAndDescribe(ctx.session, kind, {path, server}, headless);

  bool clean = true;
  for (const velk::InfoEntry& entry : infoCenter.entries())
    clean = clean && entry.severity != velk::Severity::Error;
  const Json report = {{"path", path},
                       {"server", server},
                       {"kind", velk::CliNameOf(kind)},
                       {"kindName", velk::KindNameOf(kind)},
                       {"clean", clean},
                       {"repository", std::move(repository)},
                       {"entries", EntriesJson(infoCenter.entries())},
                       {"messages", MessagesJson(headless.messages)}};
  // Texts that are not UTF-8 are shown with replacement characters rather than refused.
  ctx.out << report.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
  return clean ? kOk : kFailed;
}

}  // namespace velkcli
