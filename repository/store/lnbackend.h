#pragma once
// Where databases live. The session picks a backend by server name: the local
// SQLite backend for the empty name, the PostgreSQL backend for every other name.
// The classes above (LNDatabase, LNNote, LNViewFolder) only talk to these
// interfaces, so another storage engine plugs in here.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "repository/store/lnencoding.h"
#include "repository/store/lnnote.h"

namespace lnstore {

// A note as it is stored: header and items in stored order.
struct NoteRecord {
  LNNOTEID id = 0;
  LNUNID unid;
  LNNoteClass noteClass = LNNoteClass::Document;
  std::vector<LNItem> items;
  bool unidGiven = false;  // the caller's universal id, which another note may claim too
  bool unidRead = true;    // false: not read with the items, read on demand
};

// Notes as stored, for a reader that holds many of them until it opens each:
// the items' names and encoded values in one buffer, decoded when a note is
// taken. Holding them decoded took an allocation per item and value, all alive
// at once, which cost more than reading them.
struct StoredNotes {
  struct Item {
    std::size_t name = 0, data = 0;             // in `bytes`
    std::uint32_t nameSize = 0, dataSize = 0;  // a value in SQLite has less than 2 GB
    LNITEMFLAGS flags = 0;
    LNItemType type = LNItemType::Text;
  };
  struct Note {
    LNNOTEID id = 0;
    std::size_t firstItem = 0, itemCount = 0;  // in `items`, in stored order
  };
  std::string bytes;
  std::vector<Item> items;
  std::vector<Note> notes;

  std::string_view Name(const Item& item) const { return {bytes.data() + item.name, item.nameSize}; }
  std::string_view Data(const Item& item) const { return {bytes.data() + item.data, item.dataSize}; }
  // Where `text`, appended to `bytes`, starts.
  std::size_t Append(std::string_view text);
  // The items of a note decoded (the store has checked that their values decode).
  void Decode(const Note& note, std::vector<LNItem>* out) const;
};

struct DatabaseInfo {
  std::string title;
  LNREPLICAID replicaId;
};

// A document with the first value of a view's key item (absent when the
// document has no such item or it is empty).
struct ViewKey {
  LNNOTEID id = 0;
  FirstValue key;
};

// One open database.
class DatabaseStore {
 public:
  virtual ~DatabaseStore() = default;

  virtual LNSTATUS ReadInfo(DatabaseInfo* info) = 0;
  virtual LNSTATUS WriteTitle(const std::string& title) = 0;
  virtual LNSTATUS WriteReplicaId(const LNREPLICAID& id) = 0;

  // Header only (id, universal id, class); LNERR_DOCUMENT_NOT_FOUND when missing.
  virtual LNSTATUS LoadHeader(LNNOTEID id, NoteRecord* note) = 0;
  virtual LNSTATUS FindHeader(const LNUNID& unid, NoteRecord* note) = 0;
  // Header and items; LNERR_DOCUMENT_NOT_FOUND when missing.
  virtual LNSTATUS LoadNote(LNNOTEID id, NoteRecord* note) = 0;
  // Writes the note and all its items atomically. A note with id 0 is added and
  // `newId` receives its id; otherwise it replaces the stored note
  // (LNERR_DOCUMENT_DELETED when that is gone).
  virtual LNSTATUS SaveNote(const NoteRecord& note, LNNOTEID* newId) = 0;
  // Adds a note under its own id (not 0), atomically like SaveNote; the caller has
  // made sure that neither its id nor its universal id is taken.
  virtual LNSTATUS InsertNote(const NoteRecord& note) = 0;
  // LNERR_DOCUMENT_DELETED when there is no such note.
  virtual LNSTATUS DeleteNote(LNNOTEID id) = 0;
  // Headers of all notes of a class in note id order (that is, creation order).
  virtual LNSTATUS ListNotes(LNNoteClass noteClass, std::vector<NoteRecord>* notes) = 0;
  // Documents with the given form (all documents when `anyForm`), unordered.
  virtual LNSTATUS ViewKeys(const std::string& form, bool anyForm, const std::string& keyItem,
                            std::vector<ViewKey>* keys) = 0;
  // The documents of the given form (any form when `anyForm`) whose key item's
  // first value is `key`, in note id order, found through an index. `answered`
  // is false when the store has no index that could tell (then the caller
  // reads the view's keys).
  virtual LNSTATUS FindByKey(const std::string& /*form*/, bool /*anyForm*/,
                             const std::string& /*keyItem*/, const std::string& /*key*/,
                             std::vector<LNNOTEID>* /*ids*/, bool* answered) {
    *answered = false;
    return LNNOERROR;
  }
  // Header and items of the same documents, for a caller about to read them all.
  virtual LNSTATUS ViewNotes(const std::string& form, bool anyForm,
                             std::vector<NoteRecord>* notes) = 0;
  // The same documents as stored, appended to `notes`, for a reader that holds
  // them until it opens each. `answered` is false when the store cannot give
  // them so (then the reader holds them as ViewNotes gives them).
  virtual LNSTATUS ViewStoredNotes(const std::string& /*form*/, bool /*anyForm*/,
                                   StoredNotes* /*notes*/, bool* answered) {
    *answered = false;
    return LNNOERROR;
  }
  // The same documents handed to `each` one at a time, so that a reader taking
  // them apart need not hold them all; a failure `each` returns ends the walk.
  // `each` must not read this store's views: it runs while their statement does.
  virtual LNSTATUS EachViewNote(const std::string& form, bool anyForm,
                                const std::function<LNSTATUS(NoteRecord&)>& each);

  virtual LNSTATUS Begin() = 0;
  virtual LNSTATUS Commit() = 0;
  virtual LNSTATUS Rollback() = 0;
  // True while an explicit transaction is open (false again if the engine gave it up).
  virtual bool InTransaction() const = 0;
  // Inside a transaction: waits until no other transaction of this database holds
  // `key`, then holds it until this transaction ends. A local database lets one
  // writer in at a time anyway, so there the transaction alone is the lock.
  virtual LNSTATUS LockKey(const std::string& key);
  // Reads between these see one state of the database; nested calls count. A
  // write in between ends the snapshot first, so it commits on its own.
  virtual void BeginRead() {}
  virtual void EndRead() {}

  // How many notes of a view being walked in a snapshot are worth reading at
  // once (0: one at a time); a server answers a batch in one round trip.
  virtual std::size_t ReadAheadSize() const { return 0; }
  // Whether a read snapshot holds now (a write has not ended it).
  virtual bool Reading() const { return false; }
  // Header and items of several notes in one request, in any order; notes that
  // are gone are left out.
  virtual LNSTATUS LoadNotes(const std::vector<LNNOTEID>& ids, std::vector<NoteRecord>* notes);
  // Every note of a class with its items, in any order (a server answers in one
  // round trip).
  virtual LNSTATUS ClassNotes(LNNoteClass noteClass, std::vector<NoteRecord>* notes);
  // The ids the next LoadNotes will most likely ask for: a server may start on them.
  virtual void Prefetch(const std::vector<LNNOTEID>& /*ids*/) {}
};

// Writes into a database being created, given the path it can be opened by meanwhile.
using DatabaseFill = std::function<LNSTATUS(const std::string& path)>;

// Each call clears `detail` and leaves there the words a server gave for its
// failure; an open store keeps writing its failures' words into the `detail`
// it was opened with, which must outlive it.
class Backend {
 public:
  virtual ~Backend() = default;
  virtual LNSTATUS OpenDatabase(const std::string& server, const std::string& path,
                                std::unique_ptr<DatabaseStore>* store, FailureDetail* detail) = 0;
  // The database appears under `path` only once `fill` (if set) has succeeded.
  virtual LNSTATUS CreateDatabase(const std::string& server, const std::string& path,
                                  const std::string& title, const DatabaseFill& fill,
                                  FailureDetail* detail) = 0;
  // Database paths below `directory`, sorted, named the way `directory` is
  // (relative to the data directory when it is relative).
  virtual LNSTATUS ListDatabases(const std::string& server, const std::string& directory,
                                 bool recursive, std::vector<std::string>* paths,
                                 FailureDetail* detail) = 0;
};

// Local files, whose statements wait up to `busyTimeoutMs` for another writer.
std::shared_ptr<Backend> MakeLocalBackend(int busyTimeoutMs);
// Servers on PostgreSQL: `servers` maps a server name to a libpq connection
// string. A name not in it, or a server that cannot be reached, gives
// LNERR_SERVER_NOT_RESPONDING with the reason in the message. A kept connection
// idle longer than `trustedIdle` is asked whether it still works before reuse.
inline constexpr std::chrono::milliseconds kTrustedIdle{1000};
std::shared_ptr<Backend> MakeServerBackend(std::map<std::string, std::string> servers,
                                           std::chrono::milliseconds trustedIdle);

// VELK_DATA_DIR, else $XDG_DATA_HOME/velkmod, else ~/.local/share/velkmod;
// created when missing.
std::string DataDirectory();
// A local database path: relative paths are taken from the data directory.
std::string ResolveLocalPath(const std::string& path);

// Random words for universal and replica ids.
std::uint32_t RandomWord();

// Element 0 of the text item "Form", which views select documents by.
std::string FormOf(const std::vector<LNItem>& items);

// How every backend stores a universal id: 16 bytes, each word big-endian.
std::string PackUnid(const LNUNID& unid);
// False when `blob` is no packed universal id (a damaged database).
bool UnpackUnid(std::string_view blob, LNUNID* unid);
// Whether stored numbers name a note class / an item type (else the database is damaged).
bool IsStoredNoteClass(std::int64_t value);
bool IsStoredItemType(std::int64_t value);

}  // namespace lnstore
