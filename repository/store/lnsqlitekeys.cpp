// Finding a view's documents by their key through an index, instead of reading
// and sorting every key of the view: one partial index per key item over its
// stored value, and one over the values that are not a single text, whose
// first value the stored bytes do not show (while there are any, the view's
// keys are read as before). SQLite keeps both up to date for every writer,
// earlier versions of this program included, and files without them stay
// readable.

#include <set>

#include "repository/store/lnsqlitestore.h"

namespace lnstore {

namespace {

constexpr int kTextType = static_cast<int>(LNItemType::Text);

// Item names that can go into an index name and an SQL literal as they are.
bool Indexable(const std::string& lname) {
  return !lname.empty() && lname.size() <= 64 &&
         lname.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789$_.- ") == std::string::npos;
}

std::string Hex(const std::string& text) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (char c : text) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 15];
  }
  return hex;
}

// The folded key items of the view designs.
std::set<std::string> KeyItems(Connection& db) {
  static constexpr char kKeyItems[] =
      "SELECT i.type, i.data FROM notes n JOIN items i ON i.note_id = n.note_id"
      " AND i.lname = '$keyitem' WHERE n.class = 3";
  std::set<std::string> names;
  Query query(db, kKeyItems);
  while (query.Next()) {
    FirstValue value;
    if (query.Int(0) == kTextType && DecodeFirstValue(LNItemType::Text, query.Blob(1), &value) &&
        value.present)
      names.insert(FoldName(value.text));
  }
  return names;
}

// The names of the key indexes and of the checksum table and trigger, in one
// statement.
std::set<std::string> AdditionNames(Connection& db) {
  static constexpr char kNames[] =
      "SELECT name FROM sqlite_master WHERE name IN ('hashes', 'notes_rewritten')"
      " OR (type = 'index' AND name LIKE 'items\\_key%' ESCAPE '\\')";
  std::set<std::string> names;
  Query query(db, kNames);
  while (query.Next()) names.emplace(query.Text(0));
  return names;
}

}  // namespace

SqliteStore::KeyIndex::KeyIndex(const std::string& folded) : lname(folded) {
  const std::string hex = Hex(lname);
  const std::string odd =
      "(type <> " + std::to_string(kTextType) + " OR substr(data, 1, 1) <> x'01')";
  byValue = "items_key_" + hex;
  notSingle = "items_keyodd_" + hex;
  createByValue =
      "CREATE INDEX IF NOT EXISTS " + byValue + " ON items(data) WHERE lname = '" + lname + "'";
  createNotSingle = "CREATE INDEX IF NOT EXISTS " + notSingle +
                    " ON items(note_id) WHERE lname = '" + lname + "' AND " + odd;
  anyNotSingle = "SELECT 1 FROM items WHERE lname = '" + lname + "' AND " + odd + " LIMIT 1";
  find =
      "SELECT n.note_id, n.form FROM items i JOIN notes n ON n.note_id = i.note_id"
      " WHERE i.lname = '" +
      lname + "' AND i.data = ?1 AND i.type = " + std::to_string(kTextType) +
      " AND n.class = 1 ORDER BY n.note_id";
}

// Makes the checksum table (its statements `hashes`) and the indexes of the
// view designs' key items where they are missing. Without waiting: a file
// another program is writing gets them at a later open; a file that cannot be
// written does without.
void SqliteStore::PrepareAdditions(const char* hashes) {
  const std::set<std::string> existing = AdditionNames(*db_);
  hashed_ = existing.contains("hashes") && existing.contains("notes_rewritten");
  std::vector<KeyIndex> missing;
  for (const std::string& lname : KeyItems(*db_)) {
    if (!Indexable(lname)) continue;
    KeyIndex index(lname);
    if (existing.contains(index.byValue) && existing.contains(index.notSingle))
      keyIndexes_.emplace(lname, std::move(index));
    else
      missing.push_back(std::move(index));
  }
  if (missing.empty() && hashed_) return;
  sqlite3_busy_timeout(db_->Handle(), 0);
  {
    WriteScope scope(*db_);
    LNSTATUS status = scope.Status();
    if (status == LNNOERROR && !hashed_) status = db_->Exec(hashes);
    for (const KeyIndex& index : missing) {
      if (status == LNNOERROR) status = db_->Exec(index.createByValue.c_str());
      if (status == LNNOERROR) status = db_->Exec(index.createNotSingle.c_str());
    }
    if (status == LNNOERROR) status = scope.Finish();
    if (status == LNNOERROR) {
      hashed_ = true;
      for (KeyIndex& index : missing) keyIndexes_.emplace(index.lname, std::move(index));
    }
  }
  sqlite3_busy_timeout(db_->Handle(), db_->BusyTimeoutMs());
}

LNSTATUS SqliteStore::FindByKey(const std::string& form, bool anyForm, const std::string& keyItem,
                                const std::string& key, std::vector<LNNOTEID>* ids,
                                bool* answered) {
  *answered = false;
  ids->clear();
  auto found = keyIndexes_.find(FoldName(keyItem));
  // Documents without the key item have the empty key: only a walk finds them.
  if (found == keyIndexes_.end() || key.empty()) return LNNOERROR;
  const KeyIndex& index = found->second;
  {
    Query odd(*db_, index.anyNotSingle.c_str());
    const bool any = odd.Next();
    if (odd.Status() != LNNOERROR) return odd.Status();
    if (any) return LNNOERROR;
  }
  LNItem single{keyItem, LNItemType::Text, 0, {key}, {}};
  std::string value;
  EncodeValues(single, &value);
  Query query(*db_, index.find.c_str());
  query.BindBlob(1, value.data(), value.size());
  while (query.Next())
    if (anyForm || SameName(query.Text(1), form))
      ids->push_back(static_cast<LNNOTEID>(query.Int(0)));
  if (query.Status() != LNNOERROR) return query.Status();
  *answered = true;
  return LNNOERROR;
}

}  // namespace lnstore
