#pragma once
// A database in one SQLite file.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "repository/store/lnbackend.h"
#include "repository/store/lnsqlite.h"

namespace lnstore {

class SqliteStore final : public DatabaseStore {
 public:
  // Opens an existing database of ours; never creates or changes a foreign file.
  static LNSTATUS Open(const std::string& file, int busyTimeoutMs,
                       std::unique_ptr<DatabaseStore>* out);
  // Creates a new database, with `fill` (if set) writing into it before it appears
  // under its name; LNERR_FILE_EXISTS when the file is already there. Why a name
  // is refused goes to `detail`.
  static LNSTATUS Create(const std::string& file, const std::string& title,
                         const DatabaseFill& fill, FailureDetail* detail);

  LNSTATUS ReadInfo(DatabaseInfo* info) override;
  LNSTATUS WriteTitle(const std::string& title) override;
  LNSTATUS WriteReplicaId(const LNREPLICAID& id) override;
  LNSTATUS LoadHeader(LNNOTEID id, NoteRecord* note) override;
  LNSTATUS FindHeader(const LNUNID& unid, NoteRecord* note) override;
  LNSTATUS LoadNote(LNNOTEID id, NoteRecord* note) override;
  LNSTATUS SaveNote(const NoteRecord& note, LNNOTEID* newId) override;
  LNSTATUS InsertNote(const NoteRecord& note) override;
  LNSTATUS DeleteNote(LNNOTEID id) override;
  LNSTATUS ListNotes(LNNoteClass noteClass, std::vector<NoteRecord>* notes) override;
  LNSTATUS ViewKeys(const std::string& form, bool anyForm, const std::string& keyItem,
                    std::vector<ViewKey>* keys) override;
  LNSTATUS FindByKey(const std::string& form, bool anyForm, const std::string& keyItem,
                     const std::string& key, std::vector<LNNOTEID>* ids, bool* answered) override;
  LNSTATUS ViewNotes(const std::string& form, bool anyForm,
                     std::vector<NoteRecord>* notes) override;
  LNSTATUS EachViewNote(const std::string& form, bool anyForm,
                        const std::function<LNSTATUS(NoteRecord&)>& each) override;
  LNSTATUS ViewStoredNotes(const std::string& form, bool anyForm, StoredNotes* notes,
                           bool* answered) override;
  // The stored spellings of a form name: form names compare as item names do.
  LNSTATUS FormSpellings(const std::string& form, std::vector<std::string>* spellings);
  // Every stored form name of documents, ascending.
  LNSTATUS FormNames(std::vector<std::string>* names);
  LNSTATUS Begin() override;
  LNSTATUS Commit() override;
  LNSTATUS Rollback() override;
  bool InTransaction() const override { return db_->InTransaction() && !reading_; }
  void BeginRead() override;
  void EndRead() override;
  // Fewer statements, not round trips: per statement the engine's own work.
  std::size_t ReadAheadSize() const override { return 128; }
  bool Reading() const override { return reading_; }
  LNSTATUS LoadNotes(const std::vector<LNNOTEID>& ids, std::vector<NoteRecord>* notes) override;

 private:
  LNSTATUS ReadItemRow(const Query& query, int first);
  void FinishNote(NoteRecord* note);
  LNSTATUS ReadNotes(Query& query, std::vector<NoteRecord>* notes);
  LNSTATUS ReadNotes(Query& query, bool header, const std::function<LNSTATUS(NoteRecord&)>& each);
  LNSTATUS ReadStoredNotes(Query& query, StoredNotes* notes);
  // Runs `read` on the view statement of each stored spelling of `form` (on the
  // one of all documents when `anyForm`).
  LNSTATUS EachViewQuery(const std::string& form, bool anyForm,
                         const std::function<LNSTATUS(Query&)>& read);
  explicit SqliteStore(std::unique_ptr<Connection> db) : db_(std::move(db)) {}
  // The indexes of one key item and the statements that use them (kept here:
  // the connection caches statements by the address of their text).
  struct KeyIndex {
    explicit KeyIndex(const std::string& folded);
    std::string lname, byValue, notSingle, createByValue, createNotSingle, anyNotSingle, find;
  };
  void PrepareAdditions(const char* hashes);
  LNSTATUS WriteHash(LNNOTEID id, const NoteRecord& note, std::string_view unid);
  // Ends the read snapshot so that what follows is written and committed on its own.
  void StopReading();
  // Writes the note's row; `unid` receives its packed universal id as stored.
  LNSTATUS WriteNote(const NoteRecord& note, LNNOTEID* newId, std::string* unid);
  LNSTATUS RenumberNewNote(std::int64_t rowid, LNNOTEID* id);
  LNSTATUS WriteItems(LNNOTEID id, const std::vector<LNItem>& items);

  std::unique_ptr<Connection> db_;
  std::map<std::string, KeyIndex> keyIndexes_;  // by folded key item
  bool hashed_ = false;                         // the file keeps checksums
  int readers_ = 0;       // open BeginRead calls
  bool reading_ = false;  // the connection holds their read transaction
  // The form names as read inside the read snapshot.
  std::vector<std::string> snapshotForms_;
  bool snapshotFormsRead_ = false;
  // Encoded values and folded names of the note being written, reused to spare allocations.
  std::string buffer_;
  std::vector<std::size_t> offsets_;
  std::vector<std::string> lnames_;
  // Items of the note being read in name order, and their (seq, index) pairs.
  std::vector<LNItem> read_;
  std::vector<std::pair<std::int64_t, std::size_t>> order_;
  // Items of the note being read as stored, with their seq.
  std::vector<std::pair<std::int64_t, StoredNotes::Item>> storedOrder_;
};

// The schema and the statements run on it. Inline, so that each statement has
// one address: the connection caches prepared statements by it.
namespace sql {
inline constexpr char kInfo[] =
    "SELECT key, value FROM meta WHERE key IN ('title', 'replica0', 'replica1')";
inline constexpr char kSetTitle[] = "INSERT OR REPLACE INTO meta(key, value) VALUES('title', ?1)";
inline constexpr char kSetReplica[] =
    "INSERT OR REPLACE INTO meta(key, value) VALUES('replica0', ?1), ('replica1', ?2)";
inline constexpr char kHeader[] = "SELECT class, unid FROM notes WHERE note_id = ?1";
inline constexpr char kByUnid[] = "SELECT note_id, class FROM notes WHERE unid = ?1";
inline constexpr char kNote[] =
    "SELECT n.class, n.unid, i.name, i.type, i.flags, i.data, i.seq FROM notes n"
    " LEFT JOIN items i ON i.note_id = n.note_id WHERE n.note_id = ?1";
inline constexpr char kNotes[] =
    "SELECT n.note_id, n.class, n.unid, i.name, i.type, i.flags, i.data, i.seq FROM notes n"
    " LEFT JOIN items i ON i.note_id = n.note_id"
    " WHERE n.note_id IN (SELECT value FROM json_each(?1)) ORDER BY n.note_id";
// Every document of a form (of any form): the view's documents read in one scan.
// Without the universal id, which would read a page of the note table per document
// where the index on forms covers the rest.
// The note id comes from the item row where there is one: taking it from the
// index entry of the note costs a parse of that entry for every row. No column
// that is the same in every row: each costs a call per row.
inline constexpr char kViewNotes[] =
    "SELECT coalesce(i.note_id, n.note_id), i.name, i.type, i.flags, i.data, i.seq"
    " FROM notes n LEFT JOIN items i ON i.note_id = n.note_id WHERE n.class = 1 AND n.form = ?1";
inline constexpr char kViewNotesAll[] =
    "SELECT coalesce(i.note_id, n.note_id), i.name, i.type, i.flags, i.data, i.seq"
    " FROM notes n LEFT JOIN items i ON i.note_id = n.note_id WHERE n.class = 1";
inline constexpr char kInsertNote[] = "INSERT INTO notes(unid, class, form) VALUES(?1, ?2, ?3)";
inline constexpr char kInsertNoteWithId[] =
    "INSERT INTO notes(note_id, unid, class, form) VALUES(?1, ?2, ?3, ?4)";
inline constexpr char kUpdateNote[] =
    "UPDATE notes SET form = ?2 WHERE note_id = ?1 RETURNING unid";
inline constexpr char kSetHash[] = "INSERT OR REPLACE INTO hashes(note_id, hash) VALUES(?1, ?2)";
// The lowest note id up to ?1 that no note has; NULL when all are taken.
inline constexpr char kFreeNoteId[] =
    "SELECT min(id) FROM (SELECT 1 AS id UNION ALL SELECT note_id + 1 FROM notes WHERE note_id < "
    "?1) WHERE id NOT IN (SELECT note_id FROM notes)";
inline constexpr char kRenumberNote[] = "UPDATE notes SET note_id = ?2 WHERE note_id = ?1";
inline constexpr char kClearItems[] = "DELETE FROM items WHERE note_id = ?1";
inline constexpr char kDeleteNote[] = "DELETE FROM notes WHERE note_id = ?1";
inline constexpr char kList[] = "SELECT note_id, unid FROM notes WHERE class = ?1 ORDER BY note_id";
inline constexpr char kKeysAll[] =
    "SELECT n.note_id, i.type, i.data FROM notes n"
    " LEFT JOIN items i ON i.note_id = n.note_id AND i.lname = ?1 WHERE n.class = 1";
// One stored spelling of a form name (see FormSpellings).
inline constexpr char kKeysForm[] =
    "SELECT n.note_id, i.type, i.data FROM notes n"
    " LEFT JOIN items i ON i.note_id = n.note_id AND i.lname = ?1 WHERE n.class = 1 AND n.form = "
    "?2";
// The next stored form name after ?1, found by a seek in the index on (class, form).
// Only texts: a form of another type (a damaged or foreign file) sorts after
// every text, so the walk could never pass it; no view finds it anyway.
inline constexpr char kNextForm[] =
    "SELECT form FROM notes WHERE class = 1 AND form > ?1 AND typeof(form) = 'text'"
    " ORDER BY form LIMIT 1";

// Inserts `rows` items at once (1, 2, 4, ... kMaxItemRows); the text lives as long as the program.
inline constexpr std::size_t kMaxItemRows = 32;
const char* InsertItems(std::size_t rows);

LNSTATUS CreateTables(Connection& db, const std::string& title);
// LNERR_NOT_A_DATABASE unless the file carries our marker and a schema version we
// know; LNERR_DATABASE_DAMAGED when our tables are broken.
LNSTATUS Check(Connection& db);
}  // namespace sql

}  // namespace lnstore
