// Document store against a hand-written SQLite loop doing the same work:
// write N documents of 45 items in one transaction, then read every item of
// every document back in key order. Both sides open and close their file in
// each timed phase; creating the empty file is not timed. Prints the median
// of several runs.
//
//   store_bench [runs] [documents]    (default: 5 runs of 1,000 and of 10,000)

#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "bench/benchsupport.h"
#include "repository/store/lnnotes.h"

namespace {

using bench::Milliseconds;

using bench::Median;
using bench::Prepare;

namespace fs = std::filesystem;

constexpr int kItems = 45;  // "Form", "Key", 30 texts, 8 text lists, 5 integers
constexpr int kTexts = 30;
constexpr int kLists = 8;
constexpr int kIntegers = 5;

struct Item {
  std::string name;
  std::vector<std::string> values;
};
using Document = std::vector<Item>;

std::vector<Document> MakeDocuments(int count) {
  std::vector<int> keys(count);
  std::iota(keys.begin(), keys.end(), 0);
  std::shuffle(keys.begin(), keys.end(),
               std::mt19937(42));  // key order differs from creation order
  std::vector<Document> docs(count);
  for (int d = 0; d < count; ++d) {
    Document& doc = docs[d];
    doc.push_back({"Form", {"Bench"}});
    doc.push_back({"Key", {"K" + std::to_string(1000000 + keys[d])}});
    for (int i = 0; i < kTexts; ++i)
      doc.push_back({"Text" + std::to_string(i), {"value " + std::to_string(d * 31 + i)}});
    for (int i = 0; i < kLists; ++i) {
      doc.push_back({"List" + std::to_string(i),
                     {"alpha", "beta " + std::to_string(i), "gamma " + std::to_string(d)}});
    }
    for (int i = 0; i < kIntegers; ++i)
      doc.push_back({"Int" + std::to_string(i), {std::to_string(d * 7 + i)}});
  }
  return docs;
}

// Bytes read back, so that the reading cannot be optimised away and both sides can be compared.
using Checksum = std::size_t;

// --- through the store -------------------------------------------------------

// Creating the database and its view is not timed: it costs the same whatever N is.
void StoreSetup(LNNotesSession& session, const std::string& path) {
  LNDatabase db;
  session.CreateDatabase(path, &db, "Bench");
  db.Open();
  db.CreateView({"ByKey", {"Bench"}, "Key", false});
  db.Close();
}

void StoreWrite(LNNotesSession& session, const std::string& path,
                const std::vector<Document>& docs) {
  LNDatabase db;
  session.GetDatabase(path, &db);
  db.Open();
  LNTransaction transaction(db);
  for (const Document& source : docs) {
    LNDocument doc;
    db.CreateDocument(&doc, "Bench");
    for (std::size_t i = 1; i < source.size(); ++i)
      doc.CreateItem(source[i].name, LNText(source[i].values));
    doc.Save();
  }
  transaction.Commit();
  db.Close();
}

Checksum StoreRead(LNNotesSession& session, const std::string& path,
                   const std::vector<std::string>& names) {
  Checksum sum = 0;
  LNDatabase db;
  session.GetDatabase(path, &db);
  db.Open();
  LNViewFolder view;
  db.GetViewFolder("ByKey", &view);
  view.Open();
  LNVFEntry entry;
  for (LNSTATUS status = view.GetEntry(&entry); status == LNNOERROR;
       status = view.Goto(LNVFNAVIGATE_NEXT, &entry)) {
    LNDocument doc;
    entry.GetDocument(&doc);
    doc.Open();
    LNText text;
    for (const std::string& name : names) {
      doc.GetItem(name, &text);
      for (const std::string& value : text.Values()) sum += value.size();
    }
    doc.Close();
  }
  view.Close();
  db.Close();
  return sum;
}

// --- raw SQLite --------------------------------------------------------------

// Lists are stored as their values joined by a newline.
std::string Join(const std::vector<std::string>& values) {
  std::string joined;
  for (std::size_t i = 0; i < values.size(); ++i) joined += (i ? "\n" : "") + values[i];
  return joined;
}

void RawSetup(const std::string& file) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db,
               "PRAGMA synchronous = NORMAL; PRAGMA journal_mode = WAL;"
               "CREATE TABLE docs(id INTEGER PRIMARY KEY, form TEXT);"
               "CREATE TABLE items(doc INTEGER NOT NULL, name TEXT NOT NULL, value BLOB,"
               " PRIMARY KEY(doc, name)) WITHOUT ROWID;",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

void RawWrite(const std::string& file, const std::vector<Document>& docs) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db, "PRAGMA synchronous = NORMAL; BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* insertDoc = Prepare(db, "INSERT INTO docs(form) VALUES(?1)");
  sqlite3_stmt* insertItem = Prepare(db, "INSERT INTO items(doc, name, value) VALUES(?1, ?2, ?3)");
  for (const Document& doc : docs) {
    sqlite3_bind_text(insertDoc, 1, doc[0].values[0].c_str(), -1, SQLITE_STATIC);
    sqlite3_step(insertDoc);
    sqlite3_reset(insertDoc);
    sqlite3_int64 id = sqlite3_last_insert_rowid(db);
    for (const Item& item : doc) {
      std::string value = Join(item.values);
      sqlite3_bind_int64(insertItem, 1, id);
      sqlite3_bind_text(insertItem, 2, item.name.c_str(), -1, SQLITE_STATIC);
      sqlite3_bind_blob(insertItem, 3, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
      sqlite3_step(insertItem);
      sqlite3_reset(insertItem);
    }
  }
  sqlite3_finalize(insertDoc);
  sqlite3_finalize(insertItem);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

Checksum RawRead(const std::string& file) {
  Checksum sum = 0;
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
  sqlite3_stmt* keys =
      Prepare(db,
              "SELECT d.id FROM docs d LEFT JOIN items i ON i.doc = d.id AND i.name = 'Key'"
              " WHERE d.form = 'Bench' ORDER BY i.value, d.id");
  sqlite3_stmt* items = Prepare(db, "SELECT name, value FROM items WHERE doc = ?1");
  std::vector<sqlite3_int64> ids;
  while (sqlite3_step(keys) == SQLITE_ROW) ids.push_back(sqlite3_column_int64(keys, 0));
  for (sqlite3_int64 id : ids) {
    sqlite3_bind_int64(items, 1, id);
    std::vector<Item> doc;
    while (sqlite3_step(items) == SQLITE_ROW) {
      Item& item = doc.emplace_back();
      item.name = reinterpret_cast<const char*>(sqlite3_column_text(items, 0));
      auto data = static_cast<const char*>(sqlite3_column_blob(items, 1));
      std::string value(data ? data : "", static_cast<std::size_t>(sqlite3_column_bytes(items, 1)));
      for (std::size_t start = 0;;) {
        std::size_t end = value.find('\n', start);
        item.values.push_back(value.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 1;
      }
    }
    sqlite3_reset(items);
    for (const Item& item : doc) {
      for (const std::string& value : item.values) sum += value.size();
    }
  }
  sqlite3_finalize(keys);
  sqlite3_finalize(items);
  sqlite3_close(db);
  return sum;
}

// --- measuring ---------------------------------------------------------------

struct Times {
  std::vector<double> storeWrite, storeRead, rawWrite, rawRead;
};

void Report(int count, const Times& t) {
  const std::pair<const char*, std::pair<double, double>> rows[] = {
      {"write", {Median(t.storeWrite), Median(t.rawWrite)}},
      {"read", {Median(t.storeRead), Median(t.rawRead)}},
  };
  double storeTotal = 0, rawTotal = 0;
  for (const auto& [phase, ms] : rows) {
    std::printf("%6d docs  %-6s store %9.1f ms   raw %9.1f ms   ratio %.2f\n", count, phase,
                ms.first, ms.second, ms.first / ms.second);
    storeTotal += ms.first;
    rawTotal += ms.second;
  }
  std::printf("%6d docs  %-6s store %9.1f ms   raw %9.1f ms   ratio %.2f\n", count, "total",
              storeTotal, rawTotal, storeTotal / rawTotal);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::vector<int> counts = {1000, 10000};
  if (argc > 2) counts = {std::max(1, std::atoi(argv[2]))};
  const std::string dir = bench::ScratchFolder("velkbench");
  if (dir.empty()) return 1;
  setenv("VELK_DATA_DIR", dir.c_str(), 1);
  LNNotesSession session;
  session.Init(410);
  for (int count : counts) {
    std::vector<Document> docs = MakeDocuments(count);
    std::vector<std::string> names;
    for (const Item& item : docs.front()) names.push_back(item.name);
    Times times;
    for (int run = 0; run < runs; ++run) {
      std::string path = "store" + std::to_string(count) + "-" + std::to_string(run) + ".nsf";
      std::string raw = dir + "/raw" + std::to_string(count) + "-" + std::to_string(run) + ".db";
      Checksum storeSum = 0, rawSum = 0;
      StoreSetup(session, path);
      RawSetup(raw);
      times.storeWrite.push_back(Milliseconds([&] { StoreWrite(session, path, docs); }));
      times.rawWrite.push_back(Milliseconds([&] { RawWrite(raw, docs); }));
      times.storeRead.push_back(Milliseconds([&] { storeSum = StoreRead(session, path, names); }));
      times.rawRead.push_back(Milliseconds([&] { rawSum = RawRead(raw); }));
      if (storeSum != rawSum || storeSum == 0) {
        std::fprintf(stderr, "read back differs: store %zu, raw %zu\n", storeSum, rawSum);
        return 1;
      }
    }
    Report(count, times);
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return 0;
}
