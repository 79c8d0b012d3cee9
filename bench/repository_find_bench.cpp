// "Find in Repository" over a Process Definitions Database of 500 stored
// workflows of 20 tasks each: every search reads the header and structure views
// and searches the names, performers and forms. Beside it, in the same run, a
// hand-written SQLite read of the same items with the same case-folded search.
// Goal: below 200 ms a search.
//
//   repository_find_bench [runs]   (default 5)

#include <sqlite3.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/benchdocuments.h"
#include "bench/benchsupport.h"
#include "common/headlessservices.h"
#include "repository/databasetemplates.h"
#include "repository/repositoryfind.h"
#include "repository/store/lnencoding.h"
#include "repository/store/lnnotes.h"

namespace {

using bench::Milliseconds;

constexpr int kWorkflows = 500;
constexpr int kTasks = 20;
const char* const kTexts[] = {"clerk", "form 0042", "workflow 0499", "task 7", "nothing here"};

std::string Number(int i) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d", i);
  return text;
}

void CreateProcessDefinitions(LNNotesSession& session, const std::string& path) {
  LNDatabase db;
  velk::CreateDatabaseOfKind(session, velk::DatabaseKind::ProcessDefinitions, path, {}, {}, &db);
  db.Open();
  LNTransaction transaction(db);
  for (int w = 0; w < kWorkflows; ++w) {
    const std::string id = "WF" + Number(w);
    bench::AddDocument(db, velk::forms::kHeader,
                       {{"WorkflowID", {id}},
                        {"Type", {"Workflow " + Number(w)}},
                        {"Status", {"Active"}},
                        {"Version", {"1"}}});
    for (int t = 0; t < kTasks; ++t)
      bench::AddDocument(db, velk::forms::kWorkflowStructure,
                         {{"WorkflowID", {id}},
                          {"Version", {"1"}},
                          {"Task", {"Task " + std::to_string(t)}},
                          {"Member", {t % 3 ? "Clerk" : "Office/Unit " + Number(t)}},
                          {"Object", {"Form " + Number((w + t) % 100) + "|GF_" + Number(t)}}});
  }
  transaction.Commit();
  db.Close();
}

std::string Folded(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The same items straight from SQLite, decoded, folded and searched.
std::size_t RawFind(const std::string& file, const std::string& text) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  std::string sql =
      "SELECT i.data FROM notes n JOIN items i ON i.note_id = n.note_id"
      " WHERE n.class = 1 AND i.lname IN (";
  const char* separator = "";
  for (const char* name : {"Type", "Task", "Member", "Object", "WorkflowID", "Version"}) {
    sql += separator + ("'" + lnstore::FoldName(name) + "'");
    separator = ",";
  }
  sql += ")";
  sqlite3_stmt* stmt = bench::Prepare(db, sql.c_str());
  const std::string needle = Folded(text);
  std::size_t found = 0;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    LNItem item;
    item.type = LNItemType::Text;
    auto data = static_cast<const char*>(sqlite3_column_blob(stmt, 0));
    lnstore::DecodeValues(std::string_view(data ? data : "", sqlite3_column_bytes(stmt, 0)), &item);
    for (const std::string& value : item.texts)
      found += Folded(value).find(needle) != std::string::npos;
  }
  sqlite3_finalize(stmt);
  sqlite3_close(db);
  return found;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string dir = bench::ScratchFolder("velk-repofind");
  if (dir.empty()) return std::fprintf(stderr, "no scratch folder\n"), 1;
  const std::string path = dir + "/procdef.nsf";
  velk::HeadlessServices ui;
  LNNotesSession session;
  session.Init(410);
  CreateProcessDefinitions(session, path);
  std::vector<double> search, raw;
  std::size_t found = 0, rawFound = 0;
  for (int run = 0; run < runs; ++run) {
    for (const char* text : kTexts) {
      search.push_back(Milliseconds([&] {
        LNDatabase db;
        session.GetDatabase(path, &db);
        db.Open();
        const velk::RepositoryFindIndex index(ui, db);
        found = index.Find(text).size();
        db.Close();
      }));
      raw.push_back(Milliseconds([&] { rawFound = RawFind(path, text); }));
    }
  }
  const double s = bench::Median(search), r = bench::Median(raw);
  std::printf(
      "Find in Repository, %d workflows of %d tasks   %8.1f ms   raw %7.1f ms   ratio %5.2f"
      "   goal below 200 ms   %s\n",
      kWorkflows, kTasks, s, r, s / r, s < 200 ? "ok" : "MISSED");
  std::printf("(last search: %zu hits, %zu raw values)\n", found, rawFound);
  std::filesystem::remove_all(dir);
  return 0;
}
