#include "repository/store/lnsqlitestore.h"

#include <algorithm>
#include <limits>

namespace lnstore {

namespace {

// A header row: note id, class and universal id as stored.
// Stands in for a universal id not read (any 16 bytes unpack).
constexpr std::string_view kUnreadUnid("\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0", 16);

LNSTATUS ReadHeader(std::int64_t id, std::int64_t noteClass, std::string_view unid,
                    NoteRecord* note) {
  if (!IsStoredNoteClass(noteClass) || !UnpackUnid(unid, &note->unid))
    return LNERR_DATABASE_DAMAGED;
  note->id = static_cast<LNNOTEID>(id);
  note->noteClass = static_cast<LNNoteClass>(noteClass);
  return LNNOERROR;
}

}  // namespace

LNSTATUS SqliteStore::ReadInfo(DatabaseInfo* info) {
  *info = DatabaseInfo{};
  Query query(*db_, sql::kInfo);
  while (query.Next()) {
    std::string_view key = query.Text(0);
    if (key == "title") info->title = query.Text(1);
    if (key == "replica0") info->replicaId.words[0] = static_cast<std::uint32_t>(query.Int(1));
    if (key == "replica1") info->replicaId.words[1] = static_cast<std::uint32_t>(query.Int(1));
  }
  return query.Status();
}

LNSTATUS SqliteStore::WriteTitle(const std::string& title) {
  StopReading();
  Query query(*db_, sql::kSetTitle);
  return query.Bind(1, title).Run();
}

LNSTATUS SqliteStore::WriteReplicaId(const LNREPLICAID& id) {
  StopReading();
  // As text, like the values written at creation.
  const std::string word0 = std::to_string(id.words[0]);
  const std::string word1 = std::to_string(id.words[1]);
  Query query(*db_, sql::kSetReplica);
  return query.Bind(1, word0).Bind(2, word1).Run();
}

LNSTATUS SqliteStore::LoadHeader(LNNOTEID id, NoteRecord* note) {
  Query query(*db_, sql::kHeader);
  query.Bind(1, id);
  if (!query.Next()) return query.Status() != LNNOERROR ? query.Status() : LNERR_DOCUMENT_NOT_FOUND;
  return ReadHeader(id, query.Int(0), query.Blob(1), note);
}

LNSTATUS SqliteStore::FindHeader(const LNUNID& unid, NoteRecord* note) {
  const std::string packed = PackUnid(unid);
  Query query(*db_, sql::kByUnid);
  query.BindBlob(1, packed.data(), packed.size());
  if (!query.Next()) return query.Status() != LNNOERROR ? query.Status() : LNERR_DOCUMENT_NOT_FOUND;
  std::int64_t noteClass = query.Int(1);
  if (!IsStoredNoteClass(noteClass)) return LNERR_DATABASE_DAMAGED;
  note->id = static_cast<LNNOTEID>(query.Int(0));
  note->unid = unid;
  note->noteClass = static_cast<LNNoteClass>(noteClass);
  return LNNOERROR;
}

// One item row (columns from `first` on: name, type, flags, data, seq) into the
// note being read.
LNSTATUS SqliteStore::ReadItemRow(const Query& query, int first) {
  const std::int64_t type = query.Int(first + 1);
  if (type == 0 && query.IsNull(first)) return LNNOERROR;  // a note without items
  if (!IsStoredItemType(type)) return LNERR_DATABASE_DAMAGED;
  order_.emplace_back(query.Int(first + 4), read_.size());
  LNItem& item = read_.emplace_back();
  item.name = query.Text(first);
  item.type = static_cast<LNItemType>(type);
  item.flags = static_cast<LNITEMFLAGS>(query.Int(first + 2));
  return DecodeValues(query.Blob(first + 3), &item) ? LNNOERROR : LNERR_DATABASE_DAMAGED;
}

// Rows come in name order; the stored order is `seq`.
void SqliteStore::FinishNote(NoteRecord* note) {
  std::sort(order_.begin(), order_.end());
  note->items.clear();
  note->items.reserve(read_.size());
  for (const auto& entry : order_) note->items.push_back(std::move(read_[entry.second]));
  read_.clear();
  order_.clear();
}

// One statement for header and items: each statement outside a transaction is a
// read transaction of its own, with its locking round trips.
LNSTATUS SqliteStore::LoadNote(LNNOTEID id, NoteRecord* note) {
  read_.clear();
  order_.clear();
  bool found = false;
  Query query(*db_, sql::kNote);
  query.Bind(1, id);
  while (query.Next()) {
    if (!found) {
      if (LNSTATUS status = ReadHeader(id, query.Int(0), query.Blob(1), note)) return status;
      found = true;
    }
    if (LNSTATUS status = ReadItemRow(query, 2)) return status;
  }
  if (query.Status() != LNNOERROR) return query.Status();
  if (!found) return LNERR_DOCUMENT_NOT_FOUND;
  FinishNote(note);
  return LNNOERROR;
}

// A batch in one statement, the ids passed as a JSON array.
LNSTATUS SqliteStore::LoadNotes(const std::vector<LNNOTEID>& ids, std::vector<NoteRecord>* notes) {
  std::string list = "[";
  for (LNNOTEID id : ids) list += (list.size() > 1 ? "," : "") + std::to_string(id);
  list += "]";
  Query query(*db_, sql::kNotes);
  query.Bind(1, list);
  return ReadNotes(query, notes);
}

// Rows of notes (columns: id, with `header` class and universal id, then an
// item row); the rows of one note follow each other. Without the header they
// are documents whose universal id is not read.
LNSTATUS SqliteStore::ReadNotes(Query& query, std::vector<NoteRecord>* notes) {
  return ReadNotes(query, true, [notes](NoteRecord& note) {
    notes->push_back(std::move(note));
    return LNNOERROR;
  });
}

LNSTATUS SqliteStore::ReadNotes(Query& query, bool header,
                                const std::function<LNSTATUS(NoteRecord&)>& each) {
  read_.clear();
  order_.clear();
  NoteRecord note;
  bool started = false;
  const int firstItemColumn = header ? 3 : 1;
  while (query.Next()) {
    const std::int64_t id = query.Int(0);
    if (!started || note.id != static_cast<LNNOTEID>(id)) {
      if (started) {
        FinishNote(&note);
        if (LNSTATUS status = each(note)) return status;
      }
      note = NoteRecord{};
      started = true;
      note.unidRead = header && !query.IsNull(2);
      const std::string_view unid = note.unidRead ? query.Blob(2) : kUnreadUnid;
      const std::int64_t noteClass =
          header ? query.Int(1) : static_cast<std::int64_t>(LNNoteClass::Document);
      if (LNSTATUS status = ReadHeader(id, noteClass, unid, &note)) return status;
    }
    if (LNSTATUS status = ReadItemRow(query, firstItemColumn)) return status;
  }
  if (query.Status() != LNNOERROR) return query.Status();
  if (!started) return LNNOERROR;
  FinishNote(&note);
  return each(note);
}

LNSTATUS SqliteStore::SaveNote(const NoteRecord& note, LNNOTEID* newId) {
  StopReading();
  WriteScope scope(*db_);
  LNSTATUS status = scope.Status();
  LNNOTEID id = note.id;
  std::string unid;
  if (status == LNNOERROR) status = WriteNote(note, &id, &unid);
  if (status == LNNOERROR) status = WriteItems(id, note.items);
  if (status == LNNOERROR) status = WriteHash(id, note, unid);
  if (status == LNNOERROR) status = scope.Finish();
  if (status == LNNOERROR && note.id == 0) *newId = id;
  return status;
}

LNSTATUS SqliteStore::InsertNote(const NoteRecord& note) {
  StopReading();
  if (note.id == 0) return LNERR_INVALID_ARGUMENT;
  WriteScope scope(*db_);
  LNSTATUS status = scope.Status();
  const std::string packed = PackUnid(note.unid);
  if (status == LNNOERROR) {
    const std::string form = FormOf(note.items);
    Query insert(*db_, sql::kInsertNoteWithId);
    insert.Bind(1, note.id).BindBlob(2, packed.data(), packed.size());
    status = insert.Bind(3, static_cast<std::int64_t>(note.noteClass)).Bind(4, form).Run();
  }
  if (status == LNNOERROR) status = WriteItems(note.id, note.items);
  if (status == LNNOERROR) status = WriteHash(note.id, note, packed);
  if (status == LNNOERROR) status = scope.Finish();
  return status;
}

LNSTATUS SqliteStore::WriteNote(const NoteRecord& note, LNNOTEID* id, std::string* unid) {
  std::string form = FormOf(note.items);
  if (note.id == 0) {
    const std::string& packed = *unid = PackUnid(note.unid);
    Query insert(*db_, sql::kInsertNote);
    insert.BindBlob(1, packed.data(), packed.size())
        .Bind(2, static_cast<std::int64_t>(note.noteClass))
        .Bind(3, form);
    LNSTATUS status = insert.Run();
    if (status != LNNOERROR) return status;
    std::int64_t rowid = db_->LastInsertId();
    if (rowid > std::numeric_limits<LNNOTEID>::max()) return RenumberNewNote(rowid, id);
    if (rowid <= 0) return LNERR_INTERNAL;
    *id = static_cast<LNNOTEID>(rowid);
    return LNNOERROR;
  }
  {
    Query update(*db_, sql::kUpdateNote);
    update.Bind(1, note.id).Bind(2, form);
    if (!update.Next())
      return update.Status() != LNNOERROR ? update.Status() : LNERR_DOCUMENT_DELETED;
    unid->assign(update.Blob(0));
    while (update.Next()) {
    }
    if (update.Status() != LNNOERROR) return update.Status();
  }
  Query clear(*db_, sql::kClearItems);
  return clear.Bind(1, note.id).Run();
}

// Numbering continues after the highest id ever used; once a note has the top id
// (given to it, not numbered), new notes take the lowest free id instead, so that
// saving never fails for good.
LNSTATUS SqliteStore::RenumberNewNote(std::int64_t rowid, LNNOTEID* id) {
  std::int64_t free = 0;
  {
    Query query(*db_, sql::kFreeNoteId);
    query.Bind(1, static_cast<std::int64_t>(std::numeric_limits<LNNOTEID>::max()));
    if (!query.Next()) return query.Status() != LNNOERROR ? query.Status() : LNERR_INTERNAL;
    if (query.IsNull(0)) return LNERR_INTERNAL;  // all four billion ids taken: unreachable
    free = query.Int(0);
  }
  Query renumber(*db_, sql::kRenumberNote);
  LNSTATUS status = renumber.Bind(1, rowid).Bind(2, free).Run();
  if (status == LNNOERROR) *id = static_cast<LNNOTEID>(free);
  return status;
}

// Saving is dominated by the per-statement work of SQLite (and its foreign key
// checks), not by the rows: the items go in with as few statements as possible.
LNSTATUS SqliteStore::WriteItems(LNNOTEID id, const std::vector<LNItem>& items) {
  // Everything is encoded first, so that the bound values stay where they are.
  buffer_.clear();
  offsets_.clear();
  lnames_.resize(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    offsets_.push_back(buffer_.size());
    EncodeValues(items[i], &buffer_);
    lnames_[i] = FoldName(items[i].name);
  }
  offsets_.push_back(buffer_.size());
  for (std::size_t done = 0; done < items.size();) {
    std::size_t rows = sql::kMaxItemRows;
    while (rows > items.size() - done) rows /= 2;
    Query insert(*db_, sql::InsertItems(rows));
    for (std::size_t row = 0; row < rows; ++row) {
      std::size_t seq = done + row;
      const LNItem& item = items[seq];
      int base = static_cast<int>(row * 7);
      insert.Bind(base + 1, id)
          .Bind(base + 2, lnames_[seq])
          .Bind(base + 3, static_cast<std::int64_t>(seq));
      insert.Bind(base + 4, item.name).Bind(base + 5, static_cast<std::int64_t>(item.type));
      insert.Bind(base + 6, static_cast<std::int64_t>(item.flags));
      insert.BindBlob(base + 7, buffer_.data() + offsets_[seq], offsets_[seq + 1] - offsets_[seq]);
    }
    if (LNSTATUS status = insert.Run()) return status;
    done += rows;
  }
  return LNNOERROR;
}

// After WriteItems: its encoded values are still in `buffer_`.
LNSTATUS SqliteStore::WriteHash(LNNOTEID id, const NoteRecord& note, std::string_view unid) {
  if (!hashed_) return LNNOERROR;
  NoteHasher hash(static_cast<std::int64_t>(note.noteClass), FormOf(note.items), unid);
  for (std::size_t i = 0; i < note.items.size(); ++i) {
    const LNItem& item = note.items[i];
    hash.Item(item.name, static_cast<std::int64_t>(item.type),
              static_cast<std::int64_t>(item.flags),
              std::string_view(buffer_).substr(offsets_[i], offsets_[i + 1] - offsets_[i]));
  }
  Query set(*db_, sql::kSetHash);
  return set.Bind(1, id).Bind(2, hash.Value()).Run();
}

LNSTATUS SqliteStore::DeleteNote(LNNOTEID id) {
  StopReading();
  Query remove(*db_, sql::kDeleteNote);
  LNSTATUS status = remove.Bind(1, id).Run();
  if (status == LNNOERROR && db_->Changes() == 0) return LNERR_DOCUMENT_DELETED;
  return status;
}

LNSTATUS SqliteStore::ListNotes(LNNoteClass noteClass, std::vector<NoteRecord>* notes) {
  notes->clear();
  Query query(*db_, sql::kList);
  query.Bind(1, static_cast<std::int64_t>(noteClass));
  while (query.Next()) {
    NoteRecord& note = notes->emplace_back();
    LNSTATUS status =
        ReadHeader(query.Int(0), static_cast<std::int64_t>(noteClass), query.Blob(1), &note);
    if (status != LNNOERROR) return status;
  }
  return query.Status();
}

namespace {

LNSTATUS ReadKeys(Query& query, std::vector<ViewKey>* keys) {
  while (query.Next()) {
    ViewKey& key = keys->emplace_back();
    key.id = static_cast<LNNOTEID>(query.Int(0));
    if (query.IsNull(1)) continue;
    std::int64_t type = query.Int(1);
    if (!IsStoredItemType(type) ||
        !DecodeFirstValue(static_cast<LNItemType>(type), query.Blob(2), &key.key)) {
      return LNERR_DATABASE_DAMAGED;
    }
  }
  return query.Status();
}

}  // namespace

LNSTATUS SqliteStore::ViewKeys(const std::string& form, bool anyForm, const std::string& keyItem,
                               std::vector<ViewKey>* keys) {
  const std::string lname = FoldName(keyItem);
  if (anyForm) {
    Query query(*db_, sql::kKeysAll);
    query.Bind(1, lname);
    return ReadKeys(query, keys);
  }
  std::vector<std::string> spellings;
  if (LNSTATUS status = FormSpellings(form, &spellings)) return status;
  for (const std::string& spelling : spellings) {
    Query query(*db_, sql::kKeysForm);
    query.Bind(1, lname).Bind(2, spelling);
    if (LNSTATUS status = ReadKeys(query, keys)) return status;
  }
  return LNNOERROR;
}

LNSTATUS SqliteStore::ViewNotes(const std::string& form, bool anyForm,
                                std::vector<NoteRecord>* notes) {
  return EachViewNote(form, anyForm, [notes](NoteRecord& note) {
    notes->push_back(std::move(note));
    return LNNOERROR;
  });
}

LNSTATUS SqliteStore::EachViewNote(const std::string& form, bool anyForm,
                                   const std::function<LNSTATUS(NoteRecord&)>& each) {
  return EachViewQuery(form, anyForm, [&](Query& query) { return ReadNotes(query, false, each); });
}

LNSTATUS SqliteStore::ViewStoredNotes(const std::string& form, bool anyForm, StoredNotes* notes,
                                      bool* answered) {
  *answered = true;
  return EachViewQuery(form, anyForm,
                       [&](Query& query) { return ReadStoredNotes(query, notes); });
}

LNSTATUS SqliteStore::EachViewQuery(const std::string& form, bool anyForm,
                                    const std::function<LNSTATUS(Query&)>& read) {
  if (anyForm) {
    Query query(*db_, sql::kViewNotesAll);
    return read(query);
  }
  std::vector<std::string> spellings;
  if (LNSTATUS status = FormSpellings(form, &spellings)) return status;
  for (const std::string& spelling : spellings) {
    Query query(*db_, sql::kViewNotes);
    query.Bind(1, spelling);
    if (LNSTATUS status = read(query)) return status;
  }
  return LNNOERROR;
}

// The rows of the view statements kept as they are stored, each value checked.
LNSTATUS SqliteStore::ReadStoredNotes(Query& query, StoredNotes* notes) {
  std::vector<std::pair<std::int64_t, StoredNotes::Item>>& order = storedOrder_;
  // Rows come in name order; the stored order is `seq`, which counts from 0
  // where this program wrote the note: then each item goes straight to its place.
  const auto finishNote = [&] {
    const std::size_t first = notes->items.size(), count = order.size();
    notes->items.resize(first + count);
    std::size_t placed = 0;
    for (const auto& [seq, item] : order) {
      if (seq < 0 || static_cast<std::uint64_t>(seq) >= count) break;
      StoredNotes::Item& place = notes->items[first + static_cast<std::size_t>(seq)];
      if (place.dataSize != 0) break;  // a seq twice (stored values are never empty)
      place = item;
      ++placed;
    }
    if (placed < count) {  // equal positions keep the name order, as LoadNote has them
      std::stable_sort(order.begin(), order.end(),
                       [](const auto& a, const auto& b) { return a.first < b.first; });
      for (std::size_t i = 0; i < count; ++i) notes->items[first + i] = order[i].second;
    }
    if (!notes->notes.empty()) notes->notes.back().itemCount = count;
    order.clear();
  };
  order.clear();
  bool started = false;
  while (query.Next()) {
    const auto id = static_cast<LNNOTEID>(query.Int(0));
    if (!started || notes->notes.back().id != id) {
      if (started) finishNote();
      notes->notes.push_back({id, notes->items.size(), 0});
      started = true;
    }
    const std::int64_t type = query.Int(2);
    if (type == 0 && query.IsNull(1)) continue;  // a note without items
    const std::string_view data = query.Blob(4);
    if (!IsStoredItemType(type) || !ValidValues(static_cast<LNItemType>(type), data))
      return LNERR_DATABASE_DAMAGED;
    const std::string_view name = query.Text(1);
    StoredNotes::Item item;
    item.nameSize = static_cast<std::uint32_t>(name.size());
    item.name = notes->Append(name);
    item.dataSize = static_cast<std::uint32_t>(data.size());
    item.data = notes->Append(data);
    item.type = static_cast<LNItemType>(type);
    item.flags = static_cast<LNITEMFLAGS>(query.Int(3));
    order.emplace_back(query.Int(5), item);
  }
  if (started) finishNote();
  return query.Status();
}

// A database holds few form names and many notes: walking from one name to the
// next through the index costs a seek per name, where comparing names without
// case would read the index entry of every note. A read snapshot walks them once
// for all its views.
LNSTATUS SqliteStore::FormSpellings(const std::string& form, std::vector<std::string>* spellings) {
  if (form.empty()) {
    spellings->push_back(form);
    return LNNOERROR;
  }
  std::vector<std::string> read;
  const bool cached = reading_ && snapshotFormsRead_;
  if (!cached) {
    if (LNSTATUS status = FormNames(&read)) return status;
    if (reading_) {
      snapshotForms_ = std::move(read);
      snapshotFormsRead_ = true;
    }
  }
  for (const std::string& name : reading_ ? snapshotForms_ : read)
    if (SameName(name, form)) spellings->push_back(name);
  return LNNOERROR;
}

LNSTATUS SqliteStore::FormNames(std::vector<std::string>* names) {
  std::string last;
  for (;;) {
    Query next(*db_, sql::kNextForm);
    next.Bind(1, last);
    if (!next.Next()) return next.Status();
    std::string name(next.Text(0));
    if (name <= last) return LNERR_DATABASE_DAMAGED;  // an index out of order would loop
    last = std::move(name);
    names->push_back(last);
  }
}

LNSTATUS SqliteStore::Begin() {
  StopReading();
  if (db_->InTransaction()) return LNERR_TRANSACTION;
  return db_->Exec("BEGIN IMMEDIATE");
}

LNSTATUS SqliteStore::Commit() {
  if (!InTransaction()) return LNERR_TRANSACTION;
  return db_->Exec("COMMIT");
}

LNSTATUS SqliteStore::Rollback() {
  if (!InTransaction()) return LNERR_TRANSACTION;
  return db_->Exec("ROLLBACK");
}

// Outside a transaction every statement takes and drops the file's read lock on
// its own; a reader of thousands of notes spends most of its time there.
void SqliteStore::BeginRead() {
  if (readers_++ == 0 && !db_->InTransaction()) reading_ = db_->Exec("BEGIN") == LNNOERROR;
}

void SqliteStore::EndRead() {
  if (readers_ > 0 && --readers_ == 0) StopReading();
}

void SqliteStore::StopReading() {
  snapshotFormsRead_ = false;
  snapshotForms_.clear();
  if (!reading_) return;
  reading_ = false;
  if (db_->InTransaction()) db_->Exec("COMMIT");
}

}  // namespace lnstore
