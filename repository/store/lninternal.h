#pragma once
// What the handle classes of the store share. Not part of the API.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "repository/store/lnbackend.h"
#include "repository/store/lndatabase.h"
#include "repository/store/lnfail.h"

namespace lnstore {

struct NoteData;
struct ViewData;

// One note of a view's notes held as stored; they stay alive while it refers to them.
struct StoredNote {
  std::shared_ptr<const StoredNotes> notes;
  const StoredNotes::Note* note = nullptr;
};

// Notes read before they are opened, found by id through a binary search; each
// is handed out once. Flat arrays: a view's notes in a few allocations, where a
// hash table took one per note.
class HeldNotes {
 public:
  // Each replaces what was held.
  void Hold(StoredNotes notes);
  void Hold(std::vector<NoteRecord> notes);
  // The note as stored (`stored`) or decoded (`note`), whichever is held.
  bool Take(LNNOTEID id, NoteRecord* note, StoredNote* stored);
  void Clear();

 private:
  std::shared_ptr<const StoredNotes> stored_;  // notes ascending by id
  std::vector<NoteRecord> records_;  // ascending by id
  std::vector<bool> taken_;          // of whichever is held
};

struct DatabaseData {
  DatabaseData(std::shared_ptr<Backend> b, std::string s, std::string p, bool throwing)
      : backend(std::move(b)), server(std::move(s)), path(std::move(p)), throwAll(throwing) {}

  // Notes first saved inside a transaction that was then rolled back are new
  // again, so saving them once more adds them instead of updating nothing.
  void EndTransaction(bool committed);
  // After a failed write: the engine may have given up the transaction itself.
  void SyncTransaction();

  std::shared_ptr<Backend> backend;
  std::string server;
  std::string path;
  // Of every copy of the handle and what is made from it; the store below
  // writes into `detail`, so it must go first.
  bool throwAll;
  FailureDetail detail;
  std::unique_ptr<DatabaseStore> store;  // set while open
  DatabaseInfo info;
  bool transaction = false;  // an explicit transaction is open
  std::vector<std::weak_ptr<NoteData>> addedInTransaction;

  // Notes of a view walked inside a read snapshot, read a batch at a time where
  // the store says that pays (a server: one round trip for many documents). The
  // snapshot's start and end and every write drop them.
  HeldNotes readAhead;
  std::weak_ptr<ViewData> walk;  // the view that handed out the last entry
  // The view designs as read inside the current read snapshot; used only while
  // it holds, dropped at its start and end.
  std::vector<NoteRecord> snapshotViews;
  // The note from the read-ahead, or with the next batch of the walk, as
  // HeldNotes::Take gives it; false when neither has it (then it is read alone).
  bool TakeReadAhead(LNNOTEID id, NoteRecord* note, StoredNote* stored);
};

// Fail() by the mode and detail of `db`, for its views, documents and items too.
inline LNSTATUS Fail(const DatabaseData& db, LNSTATUS status) {
  return Fail(db.throwAll, db.detail, status);
}

struct NoteData {
  // A note of the database known by its id; nothing is loaded yet.
  static std::shared_ptr<NoteData> Stored(std::shared_ptr<DatabaseData> db,
                                          const NoteRecord& header, bool headerKnown = true);
  // A new note, open and empty, with a fresh universal id.
  static std::shared_ptr<NoteData> Created(std::shared_ptr<DatabaseData> db, LNNoteClass noteClass);

  // Index of the item named `name` (any case), or -1. Readers ask for many
  // items a note lacks: the bits of its names tell most of those at once.
  int Find(std::string_view name) const {
    if (!nameBitsKnown) LearnNameBits();
    return nameBits & NameBit(name) ? Search(name) : -1;
  }
  // Item `index` of Find, read where it is: as stored or decoded.
  std::size_t ItemCount() const { return stored.notes ? stored.note->itemCount : record.items.size(); }
  std::string_view NameAt(std::size_t index) const;
  LNItemType TypeAt(std::size_t index) const;
  std::string_view FirstTextAt(std::size_t index) const;  // "" for none
  void TextsAt(std::size_t index, std::vector<std::string>* texts) const;
  void NumbersAt(std::size_t index, std::vector<double>* numbers) const;
  // The items decoded, for whatever changes or copies them.
  std::vector<LNItem>& Items();
  void SetItems(std::vector<LNItem> items);
  // Items read in place until something needs them decoded: most readers take
  // a few texts of a note and close it, and decoding it whole cost them more
  // than reading the store.
  void SetStored(StoredNote items);
  void Put(LNItem item, LNITEMOPTION option);
  void Erase(std::size_t index);
  void Unload();

  std::shared_ptr<DatabaseData> db;
  NoteRecord record;  // its items are empty while `stored` holds them
  StoredNote stored;
  bool open = false;
  bool saved = false;                // false for a new note never saved
  bool headerKnown = false;          // universal id and class read
  mutable std::size_t findFrom = 0;  // where Find starts
  // NameBit of every item's name; known until the items change.
  mutable std::uint64_t nameBits = 0;
  mutable bool nameBitsKnown = false;

 private:
  void LearnNameBits() const;
  int Search(std::string_view name) const;
};

struct ViewEntry {
  std::string key;
  LNNOTEID id = 0;
  bool numeric = false;
  bool category = false;
};

struct ViewData {
  std::shared_ptr<DatabaseData> db;
  LNViewDesign design;
  bool open = false;
  std::vector<ViewEntry> entries;
  std::size_t current = 0;  // == entries.size() when there is none
  std::size_t walkEnd = 0;  // the walk's last entry + 1: its run after a Find
  // First entry and length of each run of equal keys, built by the first Find.
  std::unordered_map<std::string, std::pair<std::size_t, long>> runs;
  bool runsBuilt = false;
  // Opened by key: false until the entries are read; `partialKey` names the one
  // run they hold while only that key's documents were found.
  bool built = true;
  std::optional<std::string> partialKey;
};

// View designs are stored as notes of class View.
LNViewDesign DesignOf(const NoteRecord& note);
std::vector<LNItem> DesignItems(const LNViewDesign& design);
// Element 0 of a text item, or empty.
std::string FirstText(const std::vector<LNItem>& items, std::string_view name);

}  // namespace lnstore
