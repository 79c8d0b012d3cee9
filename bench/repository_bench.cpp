// Loading the repository caches against a hand-written SQLite read of the same
// items from the same files: an Infrastructure Database of 20,000 persons, 2,000
// workgroups, 2,000 units and 1,000 roles (two documents each), and an
// Application Environment Database of 500 forms with 50 fields each. Prints the
// median of several runs and the ratio. Goal: each load under 1 s and within 3x
// of the raw read.
//
//   repository_bench [runs]      (default 5)

#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/benchsupport.h"
#include "common/headlessservices.h"
#include "repository/applicationenvdb.h"
#include "repository/databasetemplates.h"
#include "repository/infrastructuredb.h"
#include "repository/store/lnencoding.h"
#include "repository/store/lnnotes.h"

namespace {

using bench::Median;
using bench::Prepare;

namespace fs = std::filesystem;
using velk::DatabaseKind;

constexpr int kPersons = 20000;
constexpr int kWorkgroups = 2000;
constexpr int kUnits = 2000;
constexpr int kRoles = 1000;
constexpr int kForms = 500;
constexpr int kFields = 50;

std::string Number(int i) {
  char text[16];
  std::snprintf(text, sizeof text, "%06d", i);
  return text;
}

void Add(LNDatabase& db, const char* form,
         const std::vector<std::pair<std::string, std::vector<std::string>>>& items) {
  LNDocument doc;
  db.CreateDocument(&doc, form);
  for (const auto& [name, values] : items) doc.CreateItem(name, LNText(values));
  doc.Save();
}

std::vector<std::string> Members(int i) {
  std::vector<std::string> members;
  for (int m = 0; m < 5; ++m) members.push_back("Person " + Number((i * 7 + m) % kPersons));
  return members;
}

void CreateInfrastructure(LNNotesSession& session, const std::string& path) {
  LNDatabase db;
  velk::CreateDatabaseOfKind(session, DatabaseKind::Infrastructure, path, {}, {}, &db);
  db.Open();
  LNTransaction transaction(db);
  for (int i = 0; i < kPersons; ++i) {
    Add(db, velk::forms::kPerson,
        {{"LastName", {"Last" + Number(i)}},
         {"FirstName", {"First"}},
         {"FullName",
          {"CN=First Last" + Number(i) + "/OU=Unit" + std::to_string(i % 50) + "/O=Acme"}}});
  }
  for (int i = 0; i < kWorkgroups; ++i) {
    Add(db, velk::forms::kWorkgroup,
        {{"NewWorkgroup", {"Group " + Number(i)}},
         {"NewManager", {"Person " + Number(i)}},
         {"NewPersons", Members(i)}});
  }
  for (int i = 0; i < kUnits; ++i) {
    Add(db, velk::forms::kUnit,
        {{"NewArrangement", {"Division " + std::to_string(i % 40)}},
         {"NewUnit", {"Unit " + Number(i)}},
         {"NewManager", {"Person " + Number(i)}},
         {"NewPersons", Members(i)}});
  }
  for (int copy = 0; copy < 2; ++copy) {
    for (int i = 0; i < kRoles; ++i)
      Add(db, velk::forms::kRole,
          {{"Name", {"Role " + Number(i)}}, {"Parameter", {"P" + std::to_string(copy)}}});
  }
  transaction.Commit();
  db.Close();
}

void CreateApplicationEnvironment(LNNotesSession& session, const std::string& path) {
  LNDatabase db;
  velk::CreateDatabaseOfKind(session, DatabaseKind::ApplicationEnvironment, path, {}, {}, &db);
  db.Open();
  LNTransaction transaction(db);
  for (int f = 0; f < kForms; ++f) {
    std::vector<std::string> fields;
    for (int i = 0; i < kFields; ++i) {
      const char* prefix = i % 10 == 0 ? "tmp" : i % 10 == 1 ? "wf" : i % 10 == 2 ? "$" : "Field";
      fields.push_back(prefix + std::to_string(i));
    }
    db.CreateForm("Form " + Number(f) + "|GF_" + Number(f), fields);
  }
  Add(db, velk::forms::kConfiguration,
      {{"ConfigKey", {"ReplicaID"}}, {"wfOfficeMail", {"Office/Acme"}}});
  transaction.Commit();
  db.Close();
}

// --- raw SQLite --------------------------------------------------------------

// The named items of every note of one class and form, decoded and put in view
// order (by the first value of `key`, then by note id) as the store's view
// does; returns the number of values read.
std::size_t RawRead(sqlite3* db, int noteClass, const char* form, const char* key,
                    const std::vector<std::string>& names) {
  std::string sql =
      "SELECT n.note_id, i.lname, i.type, i.data FROM notes n JOIN items i ON i.note_id = n.note_id"
      " WHERE n.class = ?1 AND n.form = ?2 AND i.lname IN ('" +
      lnstore::FoldName(key) + "'";
  for (const std::string& name : names) sql += ",'" + lnstore::FoldName(name) + "'";
  sql += ") ORDER BY n.note_id";
  sqlite3_stmt* stmt = Prepare(db, sql.c_str());
  sqlite3_bind_int(stmt, 1, noteClass);
  sqlite3_bind_text(stmt, 2, form, -1, SQLITE_STATIC);
  struct Note {
    sqlite3_int64 id = 0;
    std::string key;
    std::vector<LNItem> items;
  };
  std::vector<Note> notes;
  const std::string foldedKey = lnstore::FoldName(key);
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    const sqlite3_int64 id = sqlite3_column_int64(stmt, 0);
    if (notes.empty() || notes.back().id != id) notes.push_back({id, {}, {}});
    LNItem item;
    item.name = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1));
    item.type = static_cast<LNItemType>(sqlite3_column_int(stmt, 2));
    auto data = static_cast<const char*>(sqlite3_column_blob(stmt, 3));
    lnstore::DecodeValues(std::string_view(data ? data : "", sqlite3_column_bytes(stmt, 3)), &item);
    if (item.name == foldedKey && !item.texts.empty()) notes.back().key = item.texts[0];
    notes.back().items.push_back(std::move(item));
  }
  sqlite3_finalize(stmt);
  std::stable_sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
    return lnstore::CompareKeyText(a.key, b.key) < 0;
  });
  std::size_t values = 0;
  for (const Note& note : notes)
    for (const LNItem& item : note.items) values += item.texts.size();
  return values;
}

std::size_t RawInfrastructure(const std::string& file) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  // The views' key items as the database templates define them.
  std::size_t values =
      RawRead(db, 1, velk::forms::kPerson, "LastName", {"FullName"}) +
      RawRead(db, 1, velk::forms::kWorkgroup, "NewWorkgroup", {"NewManager", "NewPersons"}) +
      RawRead(db, 1, velk::forms::kUnit, "NewArrangement",
              {"NewUnit", "NewManager", "NewPersons"}) +
      RawRead(db, 1, velk::forms::kRole, "Name", {"Parameter"});
  sqlite3_close(db);
  return values;
}

std::size_t RawApplicationEnvironment(const std::string& file) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  std::size_t values = RawRead(db, 1, velk::forms::kConfiguration, "ConfigKey", {"wfOfficeMail"});
  // Form design notes have no form name of their own; the store lists them in
  // note id order, which an empty key keeps.
  values += RawRead(db, 2, "", "", {"$TITLE", "$Fields"});
  sqlite3_close(db);
  return values;
}

// --- measuring ---------------------------------------------------------------

// Wall-clock and process CPU seconds: on a busy machine the wall clock also
// counts the time spent waiting for a processor.
struct Times {
  std::vector<double> wall, cpu;
};

void Measure(Times& times, const std::function<void()>& work) {
  const std::clock_t cpuStart = std::clock();
  const auto start = std::chrono::steady_clock::now();
  work();
  times.wall.push_back(
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  times.cpu.push_back(double(std::clock() - cpuStart) / CLOCKS_PER_SEC);
}

// "MISSED" marks a load that is not under 1 s or not within 3x of the raw read.
void Row(const char* what, const Times& load, const Times& raw) {
  const double wall = Median(load.wall), rawWall = Median(raw.wall);
  const double cpu = Median(load.cpu), rawCpu = Median(raw.cpu);
  const bool ok = wall < 1.0 && wall <= 3 * rawWall;
  std::printf(
      "%-34s load %6.3f s (cpu %6.3f)   raw %6.3f s (cpu %6.3f)   ratio %5.2f (cpu %5.2f)   %s\n",
      what, wall, cpu, rawWall, rawCpu, wall / rawWall, cpu / rawCpu, ok ? "ok" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string dir = bench::ScratchFolder("velkrepobench");
  if (dir.empty()) return 1;
  setenv("VELK_DATA_DIR", dir.c_str(), 1);
  velk::HeadlessServices ui;
  LNNotesSession session;
  session.Init(410);
  CreateInfrastructure(session, "infra.nsf");
  CreateApplicationEnvironment(session, "appenv.nsf");

  Times infraLoad, infraRaw, appLoad, appRaw;
  std::size_t persons = 0, roles = 0, forms = 0, rawInfra = 0, rawApp = 0;
  for (int run = 0; run < runs; ++run) {
    Measure(infraLoad, [&] {
      velk::CInfrastructureDb infra(ui, session, "infra.nsf", {}, nullptr);
      persons = infra.Persons().size();
      roles = infra.Roles().size();
    });
    Measure(infraRaw, [&] { rawInfra = RawInfrastructure(dir + "/infra.nsf"); });
    Measure(appLoad, [&] {
      velk::CApplicationEnvDb appEnv(ui, session, "appenv.nsf", {}, nullptr);
      forms = appEnv.Forms().size();
    });
    Measure(appRaw, [&] { rawApp = RawApplicationEnvironment(dir + "/appenv.nsf"); });
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  if (persons != kPersons || roles != kRoles || forms != kForms || rawInfra == 0 || rawApp == 0) {
    std::fprintf(stderr, "incomplete read: %zu persons, %zu roles, %zu forms\n", persons, roles,
                 forms);
    return 1;
  }
  Row("Infrastructure (25,000 records)", infraLoad, infraRaw);
  Row("Application Environment (500x50)", appLoad, appRaw);
  return 0;
}
