// The External Directory data set against hand-written SQLite on the same file:
// 200 process views with 10,000 leafs and 2,000 persons. Measures the initial
// load (without leafs), reading every header's leafs, and SaveAll after changing
// 1,000 leafs; beside each, raw SQLite reads or writes the same documents. Also
// the slowest single process view's leafs (a double-click). Goals: each within
// 2x of raw, one process view below 20 ms.
//
//   extdir_bench [runs]      (default 5)

#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/headlessservices.h"
#include "bench/benchdocuments.h"
#include "bench/benchsupport.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "repository/databasetemplates.h"
#include "repository/store/lnencoding.h"
#include "repository/store/lnnotes.h"

namespace {

using bench::Median;
using bench::Prepare;
using bench::Texts;

constexpr int kHeaders = 200;
constexpr int kLeafsPerHeader = 50;
constexpr int kPersons = 2000;
constexpr int kChanged = 1000;

std::string Number(int i) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", i);
  return text;
}

Texts LeafItems(int header, int i) {
  return {{"LeafID", {"L" + Number(header * kLeafsPerHeader + i)}},
          {"HeaderID", {"H" + Number(header)}},
          {"LeafName",
           {"Area " + std::to_string(i % 5) + "/Group " + std::to_string(i % 3) + "/Workflow " +
            std::to_string(i)}},
          {"Description2", {"A workflow published for the partners"}},
          {"Status", {"Active"}},
          {"Version", {"1"}},
          {"Direction", {"Published"}},
          {"DurationUnit", {"d"}},
          {"PublishTo", {"Publish selective"}},
          {"PublishReader", {"Acme", "Borealis"}},
          {"InputFields", {"Customer/Text/Name of the customer", "Amount/Number/EUR"}},
          {"FormatServer", {"gateway@marvelund.example"}}};
}

void CreateDirectory(LNNotesSession& session, const std::string& path) {
  LNDatabase db;
  velk::CreateDatabaseOfKind(session, velk::DatabaseKind::ExternalDirectory, path, {}, {}, &db);
  db.Open();
  LNTransaction transaction(db);
  for (int h = 0; h < kHeaders; ++h) {
    bench::AddDocument(db, velk::forms::kGriHeader,
                       {{"HeaderID", {"H" + Number(h)}},
                        {"Direction", {"Published"}},
                        {"OrgName", {"Org " + std::to_string(h % 20)}},
                        {"ProcViewName", {"View " + Number(h)}}});
    for (int i = 0; i < kLeafsPerHeader; ++i)
      bench::AddDocument(db, velk::forms::kGriLeaf, LeafItems(h, i));
  }
  for (int p = 0; p < kPersons; ++p)
    bench::AddDocument(db, velk::forms::kPerson,
                       {{"FullName",
                         {"CN=Person " + std::to_string(p) + "/OU=Unit " + std::to_string(p % 10) +
                          "/O=Partner " + std::to_string(p % 7)}},
                        {"LastName", {"Person " + Number(p)}},
                        {"CompanyName", {"Partner"}},
                        {"MailAddress", {"person@partner.example"}}});
  transaction.Commit();
  db.Close();
}

// --- raw SQLite --------------------------------------------------------------

// Every item of the notes of one form, decoded; returns the values read.
std::size_t RawReadForm(sqlite3* db, const char* form) {
  sqlite3_stmt* stmt =
      Prepare(db,
              "SELECT n.note_id, i.lname, i.type, i.data FROM notes n JOIN items i ON i.note_id = "
              "n.note_id WHERE n.class = 1 AND n.form = ?1 ORDER BY n.note_id");
  sqlite3_bind_text(stmt, 1, form, -1, SQLITE_STATIC);
  std::size_t values = 0;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    LNItem item;
    item.type = static_cast<LNItemType>(sqlite3_column_int(stmt, 2));
    auto data = static_cast<const char*>(sqlite3_column_blob(stmt, 3));
    lnstore::DecodeValues(std::string_view(data ? data : "", sqlite3_column_bytes(stmt, 3)), &item);
    values += item.texts.size();
  }
  sqlite3_finalize(stmt);
  return values;
}

sqlite3* RawOpen(const std::string& file) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
  return db;
}

std::size_t RawLoad(const std::string& file, bool leafs) {
  sqlite3* db = RawOpen(file);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  std::size_t values = 0;
  if (leafs) {
    values = RawReadForm(db, velk::forms::kGriLeaf);
  } else {
    for (const char* form : {velk::forms::kPerson, velk::forms::kGriHeader})
      values += RawReadForm(db, form);
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return values;
}

// What SaveAll does to the leafs, by hand: every leaf's key read, the changed
// ones deleted and written anew.
void RawSave(const std::string& file, int round) {
  sqlite3* db = RawOpen(file);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  RawReadForm(db, velk::forms::kGriLeaf);
  sqlite3_stmt* find = Prepare(
      db, "SELECT note_id FROM notes WHERE class = 1 AND form = ?1 ORDER BY note_id LIMIT ?2");
  sqlite3_bind_text(find, 1, velk::forms::kGriLeaf, -1, SQLITE_STATIC);
  sqlite3_bind_int(find, 2, kChanged);
  std::vector<sqlite3_int64> ids;
  while (sqlite3_step(find) == SQLITE_ROW) ids.push_back(sqlite3_column_int64(find, 0));
  sqlite3_finalize(find);
  // The new documents keep the identity of those they replace.
  sqlite3_stmt* key = Prepare(
      db,
      "SELECT lname, type, data FROM items WHERE note_id = ?1 AND lname IN ('leafid', 'headerid')");
  std::vector<std::pair<std::string, std::string>> keys;
  for (sqlite3_int64 id : ids) {
    sqlite3_bind_int64(key, 1, id);
    std::pair<std::string, std::string> k;
    while (sqlite3_step(key) == SQLITE_ROW) {
      LNItem value;
      value.type = static_cast<LNItemType>(sqlite3_column_int(key, 1));
      auto data = static_cast<const char*>(sqlite3_column_blob(key, 2));
      lnstore::DecodeValues(std::string_view(data ? data : "", sqlite3_column_bytes(key, 2)),
                            &value);
      const std::string text = value.texts.empty() ? std::string() : value.texts[0];
      (std::string(reinterpret_cast<const char*>(sqlite3_column_text(key, 0))) == "leafid"
           ? k.first
           : k.second) = text;
    }
    sqlite3_reset(key);
    keys.push_back(k);
  }
  sqlite3_finalize(key);
  sqlite3_stmt* remove = Prepare(db, "DELETE FROM notes WHERE note_id = ?1");
  sqlite3_stmt* note =
      Prepare(db, "INSERT INTO notes(unid, class, form) VALUES(randomblob(16), 1, ?1)");
  sqlite3_stmt* item = Prepare(db,
                               "INSERT INTO items(note_id, lname, seq, name, type, flags, data) "
                               "VALUES(?1, ?2, ?3, ?4, ?5, 4, ?6)");
  for (std::size_t n = 0; n < ids.size(); ++n) {
    sqlite3_bind_int64(remove, 1, ids[n]);
    sqlite3_step(remove);
    sqlite3_reset(remove);
    sqlite3_bind_text(note, 1, velk::forms::kGriLeaf, -1, SQLITE_STATIC);
    sqlite3_step(note);
    sqlite3_reset(note);
    const sqlite3_int64 id = sqlite3_last_insert_rowid(db);
    int seq = 0;
    Texts leaf = LeafItems(0, static_cast<int>(n));
    leaf[0].second = {keys[n].first};
    leaf[1].second = {keys[n].second};
    leaf[3].second = {"Raw " + std::to_string(round)};
    for (const auto& [name, values] : leaf) {
      LNItem value;
      value.name = name;
      value.type = LNItemType::Text;
      value.texts = values;
      std::string data;
      lnstore::EncodeValues(value, &data);
      const std::string folded = lnstore::FoldName(name);
      sqlite3_bind_int64(item, 1, id);
      sqlite3_bind_text(item, 2, folded.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(item, 3, seq++);
      sqlite3_bind_text(item, 4, name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(item, 5, static_cast<int>(LNItemType::Text));
      sqlite3_bind_blob(item, 6, data.data(), static_cast<int>(data.size()), SQLITE_TRANSIENT);
      sqlite3_step(item);
      sqlite3_reset(item);
    }
  }
  for (sqlite3_stmt* s : {remove, note, item}) sqlite3_finalize(s);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

// --- measuring ---------------------------------------------------------------

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Row(const char* what, const std::vector<double>& ours, const std::vector<double>& raw) {
  const double a = Median(ours), b = Median(raw);
  std::printf("%-32s %8.3f s   raw %8.3f s   ratio %5.2f   %s\n", what, a, b, a / b,
              a <= 2 * b ? "ok" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string dir = bench::ScratchFolder("velkextdirbench");
  if (dir.empty()) return 1;
  setenv("VELK_DATA_DIR", dir.c_str(), 1);
  velk::ScopedHeadlessServices ui;
  LNNotesSession session;
  session.Init(410);
  CreateDirectory(session, "extdir.nsf");
  const std::string file = dir + "/extdir.nsf";

  std::vector<double> load, rawLoad, leafs, rawLeafs, save, rawSave, prepare, one;
  std::size_t items = 0, leafCount = 0;
  for (int run = 0; run < runs; ++run) {
    std::unique_ptr<velk::CExtDirData> data;
    load.push_back(Seconds([&] {
      data = std::make_unique<velk::CExtDirData>(session, "extdir.nsf", "", nullptr,
                                                 velk::ExtDirLinks{});
    }));
    items = data->Items().size();
    rawLoad.push_back(Seconds([&] { RawLoad(file, false); }));
    const auto headers = data->ItemsOf<velk::CExtDirItemGRIProcView>();
    // A double-click in the window, which prepared the leafs when it was built.
    prepare.push_back(Seconds([&] { data->PrepareLeafs(); }));
    one.push_back(Seconds([&] { data->LoadLeafsOfHeader(headers.back()->ID); }));
    // "Expand All Branches" with SHIFT: every header in one pass.
    std::vector<std::string> ids;
    for (auto* header : headers) ids.push_back(header->ID);
    leafs.push_back(Seconds([&] { data->LoadLeafsOfHeaders(ids); }));
    leafCount = data->ItemsOf<velk::CExtDirItemGRILeaf>().size();
    rawLeafs.push_back(Seconds([&] { RawLoad(file, true); }));
    const auto all = data->ItemsOf<velk::CExtDirItemGRILeaf>();
    for (int i = 0; i < kChanged; ++i) {
      all[static_cast<std::size_t>(i)]->Description2 = "Changed " + std::to_string(run);
      all[static_cast<std::size_t>(i)]->SetModified();
    }
    save.push_back(Seconds([&] { data->SaveAll(); }));
    rawSave.push_back(Seconds([&] { RawSave(file, run); }));
  }
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  if (items != kHeaders + kPersons || leafCount != kHeaders * kLeafsPerHeader) {
    std::fprintf(stderr, "incomplete read: %zu items, %zu leafs\n", items, leafCount);
    return 1;
  }
  Row("Load (200 headers, 2,000 persons)", load, rawLoad);
  Row("All leafs (10,000)", leafs, rawLeafs);
  Row("SaveAll (1,000 changed leafs)", save, rawSave);
  std::printf("%-32s %8.1f ms  (part of opening the window)\n", "Preparing the leafs",
              Median(prepare) * 1000);
  const double oneMs = Median(one) * 1000;
  std::printf("%-32s %8.1f ms  goal below 20 ms   %s\n", "One process view's leafs", oneMs,
              oneMs < 20 ? "ok" : "MISSED");
  return 0;
}
