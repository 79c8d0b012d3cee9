#pragma once
// What the External Directory benchmarks share: a directory of a given size
// written the plain way, and hand-written SQLite reading or writing the same
// documents as the data set does, the baseline of every ratio.

#include <sqlite3.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/benchdocuments.h"
#include "bench/benchsupport.h"
#include "repository/databasetemplates.h"
#include "repository/store/lnencoding.h"
#include "repository/store/lnnotes.h"

namespace bench {

struct DirectoryShape {
  int headers = 0;
  int leafsPerHeader = 0;
  int persons = 0;
  int requests = 0;
  int organisations = 50;  // EIDM organisations the requests go to
};

inline std::string Number(int i) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", i);
  return text;
}

inline std::string LeafId(int leaf) {
  return "L" + Number(leaf);
}

// The items a published leaf has in the store, as its Save writes them.
inline Texts LeafItems(const std::string& id, const std::string& header, int i,
                       const std::string& description) {
  return {{"LeafName",
           {"Area " + std::to_string(i % 5) + "/Group " + std::to_string(i % 3) + "/Workflow " +
            std::to_string(i)}},
          {"Description2", {description}},
          {"Status", {"Active"}},
          {"Version", {"1"}},
          {"Direction", {"Published"}},
          {"ValidUntil", {""}},
          {"TrackingAllowed", {"No"}},
          {"DurationUnit", {"d"}},
          {"PublishTo", {"Publish selective"}},
          {"PublishReader", {"Acme", "Borealis"}},
          {"InputDocTypeID", {""}},
          {"InputFields", {"Customer/Text/Name of the customer", "Amount/Number/EUR"}},
          {"OutputDocTypeID", {""}},
          {"FormatServer", {"gateway@marvelund.example"}},
          {"HeaderID", {header}},
          {"LeafID", {id}}};
}

inline Texts IriItems(const std::string& leafId) {
  return {{"LeafID", {leafId}},
          {"ApplicationDB", {"office@marvelund.example"}},
          {"WorkflowID", {"WF-1"}},
          {"wfID", {"WF-1"}}};
}

// Published process views with their leafs and IRI documents, persons below
// their organisations and units or beside them, EIDM organisations and requests
// on both sides.
inline void CreateDirectory(LNNotesSession& session, const std::string& path,
                            const DirectoryShape& shape) {
  LNDatabase db;
  velk::CreateDatabaseOfKind(session, velk::DatabaseKind::ExternalDirectory, path, {}, {}, &db);
  db.Open();
  LNTransaction transaction(db);
  for (int h = 0; h < shape.headers; ++h) {
    const std::string header = "H" + Number(h);
    AddDocument(db, velk::forms::kGriHeader,
                {{"HeaderID", {header}},
                 {"Direction", {"Published"}},
                 {"OrgName", {"Org " + std::to_string(h % 20)}},
                 {"ProcViewName", {"View " + Number(h)}}});
    for (int i = 0; i < shape.leafsPerHeader; ++i) {
      const std::string id = LeafId(h * shape.leafsPerHeader + i);
      AddDocument(db, velk::forms::kGriLeaf,
                  LeafItems(id, header, i, "A workflow published for the partners"));
      AddDocument(db, velk::forms::kIriLeaf, IriItems(id));
    }
  }
  // Half of them with a plain name, directly beside the organisations' folders.
  for (int p = 0; p < shape.persons; ++p)
    AddDocument(db, velk::forms::kPerson,
                {{"FullName",
                  {p % 2 ? "Person " + std::to_string(p)
                         : "CN=Person " + std::to_string(p) + "/OU=Unit " + std::to_string(p % 10) +
                               "/O=Partner " + std::to_string(p % 7)}},
                 {"LastName", {"Person " + Number(p)}},
                 {"CompanyName", {"Partner"}},
                 {"MailAddress", {"person@partner.example"}}});
  for (int o = 0; o < shape.organisations; ++o)
    AddDocument(db, velk::forms::kExtOrganization,
                {{"ExtOrganization", {"Partner " + std::to_string(o)}},
                 {"ExtOrgReader", {"Partner " + std::to_string(o) + " Readers"}},
                 {"ExtOrgID", {"O" + Number(o)}}});
  for (int r = 0; r < shape.requests; ++r) {
    const std::string partner = "Partner " + std::to_string(r % shape.organisations);
    const bool byUs = r % 2 == 0;
    AddDocument(db, velk::forms::kExtClusterSpec,
                {{"ExtClusterName", {"Request " + std::to_string(r)}},
                 {"ExtClusterID", {"R" + Number(r)}},
                 {"ExtClusterStatus", {"Submitted"}},
                 {"MasterWorkflowID", {byUs ? "" : "WF-PARTNER"}},
                 {"ExtClusterOrg", {byUs ? partner : "Marvelund"}},
                 {"MasterOrg", {byUs ? "Marvelund" : partner}}});
  }
  transaction.Commit();
  db.Close();
}

inline double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Wall-clock and process CPU seconds of each run: on a busy machine the wall
// clock also counts the time spent waiting for a processor.
struct Times {
  std::vector<double> wall, cpu;
  void Measure(const std::function<void()>& work) {
    const std::clock_t cpuStart = std::clock();
    wall.push_back(Seconds(work));
    cpu.push_back(static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
  }
};

// The process's resident memory in MB.
inline double ResidentMegabytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * 4096 / (1024 * 1024);
}

// --- raw SQLite --------------------------------------------------------------

inline sqlite3* RawOpen(const std::string& file) {
  sqlite3* db = nullptr;
  sqlite3_open(file.c_str(), &db);
  sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
  return db;
}

inline std::string RawFirstText(sqlite3_stmt* stmt, int typeColumn, int dataColumn) {
  LNItem item;
  item.type = static_cast<LNItemType>(sqlite3_column_int(stmt, typeColumn));
  auto data = static_cast<const char*>(sqlite3_column_blob(stmt, dataColumn));
  lnstore::DecodeValues(std::string_view(data ? data : "", sqlite3_column_bytes(stmt, dataColumn)),
                        &item);
  return item.texts.empty() ? std::string() : item.texts[0];
}

// Every item of the notes of one form, decoded; returns the values read.
inline std::size_t RawReadForm(sqlite3* db, const char* form) {
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

// Every document of the forms, in one read transaction.
inline std::size_t RawLoad(const std::string& file, const std::vector<const char*>& forms) {
  sqlite3* db = RawOpen(file);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  std::size_t values = 0;
  for (const char* form : forms) values += RawReadForm(db, form);
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return values;
}

// The notes of a form by the first text of one of their items.
inline std::unordered_multimap<std::string, sqlite3_int64> RawNotesByKey(sqlite3* db,
                                                                         const char* form,
                                                                         const char* key) {
  sqlite3_stmt* stmt = Prepare(db,
                               "SELECT n.note_id, i.type, i.data FROM notes n JOIN items i ON "
                               "i.note_id = n.note_id AND i.lname = ?2 WHERE n.class = 1 AND "
                               "n.form = ?1");
  sqlite3_bind_text(stmt, 1, form, -1, SQLITE_STATIC);
  const std::string folded = lnstore::FoldName(key);
  sqlite3_bind_text(stmt, 2, folded.c_str(), -1, SQLITE_TRANSIENT);
  std::unordered_multimap<std::string, sqlite3_int64> notes;
  while (sqlite3_step(stmt) == SQLITE_ROW)
    notes.emplace(RawFirstText(stmt, 1, 2), sqlite3_column_int64(stmt, 0));
  sqlite3_finalize(stmt);
  return notes;
}

class RawWriter {
 public:
  explicit RawWriter(sqlite3* db)
      : removeItems_(Prepare(db, "DELETE FROM items WHERE note_id = ?1")),
        removeNote_(Prepare(db, "DELETE FROM notes WHERE note_id = ?1")),
        note_(Prepare(db, "INSERT INTO notes(unid, class, form) VALUES(randomblob(16), 1, ?1)")),
        item_(Prepare(db,
                      "INSERT INTO items(note_id, lname, seq, name, type, flags, data) "
                      "VALUES(?1, ?2, ?3, ?4, ?5, 4, ?6)")),
        db_(db) {}
  ~RawWriter() {
    for (sqlite3_stmt* s : {removeItems_, removeNote_, note_, item_}) sqlite3_finalize(s);
  }
  void Remove(sqlite3_int64 id) {
    for (sqlite3_stmt* s : {removeItems_, removeNote_}) {
      sqlite3_bind_int64(s, 1, id);
      sqlite3_step(s);
      sqlite3_reset(s);
    }
  }
  void Add(const char* form, const Texts& items) {
    sqlite3_bind_text(note_, 1, form, -1, SQLITE_STATIC);
    sqlite3_step(note_);
    sqlite3_reset(note_);
    const sqlite3_int64 id = sqlite3_last_insert_rowid(db_);
    int seq = 0;
    for (const auto& [name, values] : items) {
      LNItem value;
      value.name = name;
      value.type = LNItemType::Text;
      value.texts = values;
      std::string data;
      lnstore::EncodeValues(value, &data);
      const std::string folded = lnstore::FoldName(name);
      sqlite3_bind_int64(item_, 1, id);
      sqlite3_bind_text(item_, 2, folded.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(item_, 3, seq++);
      sqlite3_bind_text(item_, 4, name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int(item_, 5, static_cast<int>(LNItemType::Text));
      sqlite3_bind_blob(item_, 6, data.data(), static_cast<int>(data.size()), SQLITE_TRANSIENT);
      sqlite3_step(item_);
      sqlite3_reset(item_);
    }
  }

 private:
  sqlite3_stmt* removeItems_;
  sqlite3_stmt* removeNote_;
  sqlite3_stmt* note_;
  sqlite3_stmt* item_;
  sqlite3* db_;
};

// What SaveAll writes for changed published leafs, by hand: their documents and
// IRI documents found by the leaf ids, deleted and written anew, in one
// transaction. `leafs` are the ids and headers of the changed leafs.
inline void RawSaveLeafs(const std::string& file,
                         const std::vector<std::pair<std::string, std::string>>& leafs,
                         const std::string& description) {
  sqlite3* db = RawOpen(file);
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  const auto leafNotes = RawNotesByKey(db, velk::forms::kGriLeaf, "LeafID");
  const auto iriNotes = RawNotesByKey(db, velk::forms::kIriLeaf, "LeafID");
  {
    RawWriter writer(db);
    int i = 0;
    for (const auto& [id, header] : leafs) {
      for (const auto* notes : {&leafNotes, &iriNotes}) {
        auto [from, to] = notes->equal_range(id);
        for (; from != to; ++from) writer.Remove(from->second);
      }
      writer.Add(velk::forms::kGriLeaf, LeafItems(id, header, i++, description));
      writer.Add(velk::forms::kIriLeaf, IriItems(id));
    }
  }
  sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(db);
}

}  // namespace bench
