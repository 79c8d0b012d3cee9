// Saving and loading workflows against a hand-written SQLite loop that writes and
// reads exactly the documents and items the save wrote, in the same run. Sizes:
// 100, 1,000 and 5,000 tasks of a realistic mix (chains, branches with joins, Or
// and Cor routing, clusters two levels deep), and fully cyclic workflows of 100
// and 1,000 tasks, whose reachable-node lists grow with the square of the size.
// Prints the median of several runs and the ratio. Goal: each within 2x of raw.
// Beside the load: the consistency check of the loaded workflow (goal: well under
// 100 ms for 5,000 tasks) and its ratio to the load.
//
//   workflow_bench [runs]      (default 5)

#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/benchsupport.h"
#include "bench/workflowshapes.h"
#include "common/headlessservices.h"
#include "model/consistencycheck.h"
#include "model/workflowdoc.h"
#include "model/workflowload.h"
#include "model/workflowsave.h"
#include "repository/databasetemplates.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"

namespace {

using bench::Milliseconds;

using bench::Median;
using bench::Prepare;
using bench::BuildCycle;
using bench::BuildMix;

namespace fs = std::filesystem;
using namespace velk;

// ---- raw SQLite ------------------------------------------------------------

struct RawItem {
  std::string name;
  bool number = false;
  std::string value;  // values joined by '\n'
};
struct RawDocument {
  std::string form;
  std::vector<RawItem> items;
};

// Every document the save wrote, item by item.
std::vector<RawDocument> StoredDocuments(LNNotesSession& session, const std::string& path) {
  LNDatabase db;
  session.GetDatabase(path, &db);
  db.Open();
  std::vector<LNDocument> docs;
  db.GetAllDocuments(&docs);
  std::vector<RawDocument> raw;
  for (LNDocument& d : docs) {
    d.Open();
    RawDocument& r = raw.emplace_back();
    r.form = d.GetFormName();
    for (const LNItem& item : d.GetItems()) {
      RawItem& ri = r.items.emplace_back();
      ri.name = item.name;
      ri.number = item.type == LNItemType::Numbers;
      for (std::size_t i = 0; i < std::max(item.texts.size(), item.numbers.size()); ++i) {
        if (i) ri.value += '\n';
        ri.value += ri.number ? std::to_string(item.numbers[i]) : item.texts[i];
      }
    }
    d.Close();
  }
  db.Close();
  return raw;
}

void RawWrite(const std::string& file, const std::vector<RawDocument>& docs) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db,
               "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL;"
               "CREATE TABLE docs(id INTEGER PRIMARY KEY, form TEXT, workflow TEXT);"
               "CREATE INDEX docs_by_workflow ON docs(form, workflow);"
               "CREATE TABLE items(doc INTEGER NOT NULL, seq INTEGER NOT NULL, name TEXT NOT NULL,"
               " number INTEGER, value BLOB, PRIMARY KEY(doc, seq)) WITHOUT ROWID;",
               nullptr, nullptr, nullptr);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* insertDoc = Prepare(db, "INSERT INTO docs(form, workflow) VALUES(?1, ?2)");
  sqlite3_stmt* insertItem =
      Prepare(db, "INSERT INTO items(doc, seq, name, number, value) VALUES(?1, ?2, ?3, ?4, ?5)");
  for (const RawDocument& doc : docs) {
    std::string workflow;
    for (const RawItem& item : doc.items)
      if (item.name == "WorkflowID" || item.name == "WorkFlowID") workflow = item.value;
    sqlite3_bind_text(insertDoc, 1, doc.form.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(insertDoc, 2, workflow.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(insertDoc);
    sqlite3_reset(insertDoc);
    const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
    int seq = 0;
    for (const RawItem& item : doc.items) {
      sqlite3_bind_int64(insertItem, 1, id);
      sqlite3_bind_int(insertItem, 2, seq++);
      sqlite3_bind_text(insertItem, 3, item.name.c_str(), -1, SQLITE_STATIC);
      sqlite3_bind_int(insertItem, 4, item.number);
      sqlite3_bind_blob(insertItem, 5, item.value.data(), static_cast<int>(item.value.size()),
                        SQLITE_STATIC);
      sqlite3_step(insertItem);
      sqlite3_reset(insertItem);
    }
  }
  sqlite3_finalize(insertDoc);
  sqlite3_finalize(insertItem);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

// The header, then the workflow's task documents in creation order, every item
// split into its values. Returns the number of values read.
std::size_t RawRead(const std::string& file, const std::string& workflowId) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_stmt* docs =
      Prepare(db, "SELECT id FROM docs WHERE form = ?1 AND workflow = ?2 ORDER BY id");
  sqlite3_stmt* items =
      Prepare(db, "SELECT name, number, value FROM items WHERE doc = ?1 ORDER BY seq");
  std::size_t values = 0;
  for (const char* form : {"Header", "Workflow Structure"}) {
    sqlite3_bind_text(docs, 1, form, -1, SQLITE_STATIC);
    sqlite3_bind_text(docs, 2, workflowId.c_str(), -1, SQLITE_STATIC);
    while (sqlite3_step(docs) == SQLITE_ROW) {
      sqlite3_bind_int64(items, 1, sqlite3_column_int64(docs, 0));
      std::vector<std::pair<std::string, std::vector<std::string>>> doc;
      while (sqlite3_step(items) == SQLITE_ROW) {
        auto& [name, list] = doc.emplace_back();
        name = reinterpret_cast<const char*>(sqlite3_column_text(items, 0));
        const auto* data = static_cast<const char*>(sqlite3_column_blob(items, 2));
        const std::string value(data ? data : "",
                                static_cast<std::size_t>(sqlite3_column_bytes(items, 2)));
        for (std::size_t start = 0;;) {
          const std::size_t end = value.find('\n', start);
          list.push_back(value.substr(start, end - start));
          if (end == std::string::npos) break;
          start = end + 1;
        }
        values += list.size();
      }
      sqlite3_reset(items);
    }
    sqlite3_reset(docs);
  }
  sqlite3_finalize(docs);
  sqlite3_finalize(items);
  sqlite3_close(db);
  return values;
}

// ---- measuring -------------------------------------------------------------

struct Times {
  std::vector<double> save, load, rawWrite, rawRead, check;
};

struct Case {
  const char* shape;
  int tasks;
  void (*build)(CWorkflowDoc&, int);
};

// One run: a fresh database, save, load, then the raw loop on the same documents.
bool Run(Services& services, LNNotesSession& session, const fs::path& dir, const Case& c, int run,
         Times& t) {
  const std::string stem =
      std::string(c.shape) + std::to_string(c.tasks) + "-" + std::to_string(run);
  const std::string path = (dir / (stem + ".nsf")).string();
  LNDatabase created;
  CreateDatabaseOfKind(session, DatabaseKind::ProcessDefinitions, path, "", "", &created);
  CProcessDefDb repository(services, session, path, "", nullptr, HeadersFrom({path, ""}));
  CWorkflowDoc doc(services, "CN=Bench/O=Marvelund");
  WorkflowDatabases databases;
  databases.processDefinitions = {{path, ""}, &repository};
  doc.SetDatabases(databases);
  c.build(doc, c.tasks);
  bool saved = false;
  t.save.push_back(Milliseconds([&] {
    saved = static_cast<bool>(WriteWorkflow(doc, {nullptr, "C1257A1B:0034F2E1"}));
  }));
  WorkflowHeaderEntry chosen;
  chosen.type = doc.Header().name;
  chosen.workflowId = doc.Header().workflowId;
  CWorkflowDoc loaded{services};
  loaded.SetDatabases(databases);
  bool read = false;
  t.load.push_back(Milliseconds([&] { read = LoadWorkflow(loaded, chosen, session); }));
  if (!saved || !read || loaded.NodeCount() != doc.NodeCount()) {
    std::fprintf(stderr, "%s: save or load failed\n", stem.c_str());
    return false;
  }
  bool consistent = false;
  t.check.push_back(Milliseconds(
      [&] { consistent = RunConsistencyRules(loaded, NoExternalDirectory()).passed; }));
  if (!consistent) std::fprintf(stderr, "%s: the check refused the workflow\n", stem.c_str());
  const std::vector<RawDocument> documents = StoredDocuments(session, path);
  const std::string raw = (dir / (stem + ".raw")).string();
  t.rawWrite.push_back(Milliseconds([&] { RawWrite(raw, documents); }));
  std::size_t values = 0;
  t.rawRead.push_back(Milliseconds([&] { values = RawRead(raw, chosen.workflowId); }));
  return values > 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string dir = bench::ScratchFolder("velkwfbench");
  if (dir.empty()) return 1;
  setenv("VELK_DATA_DIR", dir.c_str(), 1);
  HeadlessServices ui;
  LNNotesSession session;
  session.Init(410);
  const Case cases[] = {{"mix", 100, BuildMix},
                        {"mix", 1000, BuildMix},
                        {"mix", 5000, BuildMix},
                        {"cycle", 100, BuildCycle},
                        {"cycle", 1000, BuildCycle}};
  std::printf("%-6s %6s  %10s %10s %6s  %10s %10s %6s  %9s %6s\n", "shape", "tasks", "save ms",
              "raw ms", "ratio", "load ms", "raw ms", "ratio", "check ms", "/load");
  bool ok = true;
  for (const Case& c : cases) {
    Times t;
    for (int run = 0; run < runs && ok; ++run) ok = Run(ui, session, dir, c, run, t);
    if (!ok) break;
    const double save = Median(t.save), rawWrite = Median(t.rawWrite);
    const double load = Median(t.load), rawRead = Median(t.rawRead);
    const double check = Median(t.check);
    std::printf("%-6s %6d  %10.1f %10.1f %6.2f  %10.1f %10.1f %6.2f  %9.2f %6.3f\n", c.shape,
                c.tasks, save, rawWrite, save / rawWrite, load, rawRead, load / rawRead, check,
                check / load);
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return ok ? 0 : 1;
}
