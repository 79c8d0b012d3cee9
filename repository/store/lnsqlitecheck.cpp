#include "repository/store/lnsqlitecheck.h"

#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string_view>

#include "repository/store/lnbackend.h"
#include "repository/store/lnencoding.h"

namespace lnstore {

namespace {

// Findings of one kind beyond this many are counted, not listed.
constexpr int kListed = 20;

using Database = std::unique_ptr<sqlite3, decltype(&sqlite3_close_v2)>;
using Statement = std::unique_ptr<sqlite3_stmt, decltype(&sqlite3_finalize)>;

Statement Prepare(sqlite3* db, const char* sql) {
  sqlite3_stmt* stmt = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
  return {stmt, &sqlite3_finalize};
}

std::string_view Bytes(sqlite3_stmt* stmt, int column) {
  const void* data = sqlite3_column_blob(stmt, column);
  return {static_cast<const char*>(data),
          static_cast<std::size_t>(sqlite3_column_bytes(stmt, column))};
}

std::string NoteName(std::int64_t id, std::string_view form) {
  char text[16];
  std::snprintf(text, sizeof text, "%08llX", static_cast<unsigned long long>(id));
  std::string name = std::string("Document ") + text;
  if (!form.empty() && IsUtf8(form)) name += " (form \"" + std::string(form) + "\")";
  return name;
}

class Findings {
 public:
  void Add(const char* kind, const std::string& title, const std::string& text) {
    if (++counts_[kind] <= kListed) list_.push_back({true, title, text});
  }
  void Notice(const std::string& title, const std::string& text) {
    list_.push_back({false, title, text});
  }
  std::vector<StoredValueFinding> Take() {
    for (const auto& [kind, count] : counts_)
      if (count > kListed)
        list_.push_back({true, kind, "and " + std::to_string(count - kListed) + " more"});
    return std::move(list_);
  }

 private:
  std::map<std::string, int> counts_;
  std::vector<StoredValueFinding> list_;
};

void CheckSize(sqlite3* db, const std::string& file, Findings& out) {
  Statement pageSize = Prepare(db, "PRAGMA page_size");
  std::error_code ec;
  const auto size = std::filesystem::file_size(file, ec);
  if (!pageSize || sqlite3_step(pageSize.get()) != SQLITE_ROW || ec) return;
  const auto page = static_cast<std::uintmax_t>(sqlite3_column_int64(pageSize.get(), 0));
  if (page > 0 && size % page != 0)
    out.Add("The file is cut short", "The file is cut short",
            "The file ends inside a page: what stood in the rest of that page is lost, and "
            "the values that were there read as zeros.");
}

void CheckOrphans(sqlite3* db, Findings& out) {
  Statement orphans = Prepare(db,
                              "SELECT count(*), count(DISTINCT note_id) FROM items"
                              " WHERE note_id NOT IN (SELECT note_id FROM notes)");
  if (!orphans || sqlite3_step(orphans.get()) != SQLITE_ROW) return;
  if (const std::int64_t items = sqlite3_column_int64(orphans.get(), 0))
    out.Add("Items without a document", "Items without a document",
            std::to_string(items) + " items belong to " +
                std::to_string(sqlite3_column_int64(orphans.get(), 1)) +
                " documents that are gone from the file.");
}

// One note as the walk over all items reads it.
struct Note {
  std::int64_t id = 0;
  std::string form;
  std::optional<std::int64_t> stored;
  std::optional<NoteHasher> hash;
};

void CheckItem(sqlite3_stmt* row, Note& note, Findings& out) {
  const std::string_view name = Bytes(row, 5);
  const std::int64_t type = sqlite3_column_int64(row, 6);
  const std::string_view data = Bytes(row, 8);
  note.hash->Item(name, type, sqlite3_column_int64(row, 7), data);
  const std::string where = NoteName(note.id, note.form);
  const std::string item = IsUtf8(name) ? "item \"" + std::string(name) + "\"" : "an item";
  if (!IsUtf8(name)) out.Add("Texts that are not UTF-8", where, "An item name is not UTF-8.");
  LNItem values;
  values.type = static_cast<LNItemType>(type);
  if (!IsStoredItemType(type) || !DecodeValues(data, &values)) {
    out.Add("Values that cannot be read", where, "The values of " + item + " cannot be read.");
    return;
  }
  for (const std::string& text : values.texts)
    if (!IsUtf8(text)) {
      out.Add("Texts that are not UTF-8", where, "A text of " + item + " is not UTF-8.");
      break;
    }
}

void CheckNotes(sqlite3* db, Findings& out) {
  Statement hashed = Prepare(db, "SELECT 1 FROM sqlite_master WHERE name = 'hashes'");
  const bool hashes = hashed && sqlite3_step(hashed.get()) == SQLITE_ROW;
  Statement rows = Prepare(
      db, hashes ? "SELECT n.note_id, n.class, n.form, n.unid, h.hash, i.name, i.type, i.flags,"
                   " i.data FROM notes n LEFT JOIN hashes h ON h.note_id = n.note_id"
                   " LEFT JOIN items i ON i.note_id = n.note_id ORDER BY n.note_id, i.seq"
                 : "SELECT n.note_id, n.class, n.form, n.unid, NULL, i.name, i.type, i.flags,"
                   " i.data FROM notes n LEFT JOIN items i ON i.note_id = n.note_id"
                   " ORDER BY n.note_id, i.seq");
  if (!rows) return;
  Note note;
  std::int64_t unverified = 0;
  const auto finish = [&] {
    if (!note.hash) return;
    if (!note.stored)
      ++unverified;
    else if (*note.stored != note.hash->Value())
      out.Add("Values changed in the file", NoteName(note.id, note.form),
              "The document's values are not those that were saved: the file has changed "
              "under them.");
  };
  while (sqlite3_step(rows.get()) == SQLITE_ROW) {
    sqlite3_stmt* row = rows.get();
    if (!note.hash || note.id != sqlite3_column_int64(row, 0)) {
      finish();
      note.id = sqlite3_column_int64(row, 0);
      note.form = Bytes(row, 2);
      note.stored.reset();
      if (sqlite3_column_type(row, 4) != SQLITE_NULL) note.stored = sqlite3_column_int64(row, 4);
      note.hash.emplace(sqlite3_column_int64(row, 1), note.form, Bytes(row, 3));
      if (!IsUtf8(note.form))
        out.Add("Texts that are not UTF-8", NoteName(note.id, ""), "The form name is not UTF-8.");
    }
    if (sqlite3_column_type(row, 5) != SQLITE_NULL) CheckItem(row, note, out);
  }
  finish();
  if (unverified > 0)
    out.Notice("Documents without a checksum",
               std::to_string(unverified) +
                   " documents were saved by an earlier version, which kept no checksums: a "
                   "change of their values in the file cannot be told.");
}

}  // namespace

std::vector<StoredValueFinding> CheckStoredValues(const std::string& file) {
  Findings out;
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
  Database db(raw, &sqlite3_close_v2);
  if (rc != SQLITE_OK) return out.Take();  // the integrity check says why
  sqlite3_busy_timeout(db.get(), 5000);    // a modeler may be writing meanwhile
  // One snapshot for all reads.
  sqlite3_exec(db.get(), "BEGIN", nullptr, nullptr, nullptr);
  CheckSize(db.get(), file, out);
  CheckOrphans(db.get(), out);
  CheckNotes(db.get(), out);
  sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr);
  return out.Take();
}

}  // namespace lnstore
