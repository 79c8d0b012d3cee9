#include "repository/store/lnpostgresstore.h"

#include <algorithm>
#include <unordered_set>

namespace lnstore {

namespace {

// A null universal id was left to be read on demand.
LNSTATUS ReadHeader(const PgRows& rows, int row, int classColumn, int unidColumn,
                    NoteRecord* note) {
  std::string unid;
  const std::int64_t noteClass = rows.Int(row, classColumn);
  note->unidRead = !rows.IsNull(row, unidColumn);
  if (!IsStoredNoteClass(noteClass) ||
      (note->unidRead && (!rows.Bytes(row, unidColumn, &unid) || !UnpackUnid(unid, &note->unid)))) {
    return LNERR_DATABASE_DAMAGED;
  }
  note->noteClass = static_cast<LNNoteClass>(noteClass);
  return LNNOERROR;
}

std::string Id(std::int64_t id) {
  return std::to_string(id);
}

constexpr char kInfo[] = "SELECT title, replica0, replica1 FROM velkmod.databases WHERE db_id = $1";
constexpr char kSetTitle[] = "UPDATE velkmod.databases SET title = $2 WHERE db_id = $1";
constexpr char kSetReplica[] =
    "UPDATE velkmod.databases SET replica0 = $2, replica1 = $3 WHERE db_id = $1";
constexpr char kHeader[] =
    "SELECT class, unid FROM velkmod.notes WHERE db_id = $1 AND note_id = $2";
constexpr char kByUnid[] =
    "SELECT note_id, class FROM velkmod.notes WHERE db_id = $1 AND unid = $2";
// Each note of a batch is found by its key and its items by the note's: with
// statistics that lag behind a large import, a plain join came to reading every
// item of the database for every batch. OFFSET 0 keeps the lookups apart. A
// note's universal id comes only with its first item (the header is taken from
// that row); without one it is read on demand.
constexpr char kNotes[] =
    "SELECT n.note_id, n.class, CASE WHEN i.seq > 0 THEN NULL ELSE n.unid END, i.name, i.type,"
    " i.flags, i.data, i.seq"
    " FROM unnest($2::bigint[]) k(id) CROSS JOIN LATERAL (SELECT db_id, note_id, class, unid"
    " FROM velkmod.notes WHERE db_id = $1 AND note_id = k.id OFFSET 0) n LEFT JOIN LATERAL"
    " (SELECT name, type, flags, data, seq FROM velkmod.items"
    " WHERE db_id = n.db_id AND note_id = n.note_id OFFSET 0) i ON true";
// Design notes: a few, each looked up apart from the rest of the database.
constexpr char kClassNotes[] =
    "SELECT n.note_id, n.class, n.unid, i.name, i.type, i.flags, i.data, i.seq FROM velkmod.notes n"
    " LEFT JOIN LATERAL (SELECT name, type, flags, data, seq FROM velkmod.items"
    " WHERE db_id = n.db_id AND note_id = n.note_id OFFSET 0) i ON true"
    " WHERE n.db_id = $1 AND n.class = $2";
constexpr char kViewNotes[] =
    "SELECT n.note_id, n.class, n.unid, i.name, i.type, i.flags, i.data, i.seq FROM velkmod.notes n"
    " LEFT JOIN velkmod.items i ON i.db_id = n.db_id AND i.note_id = n.note_id"
    " WHERE n.db_id = $1 AND n.class = 1 AND n.lform = $2";
constexpr char kViewNotesAll[] =
    "SELECT n.note_id, n.class, n.unid, i.name, i.type, i.flags, i.data, i.seq FROM velkmod.notes n"
    " LEFT JOIN velkmod.items i ON i.db_id = n.db_id AND i.note_id = n.note_id"
    " WHERE n.db_id = $1 AND n.class = 1";
constexpr char kDelete[] =
    "WITH items AS (DELETE FROM velkmod.items WHERE db_id = $1 AND note_id = $2)"
    " DELETE FROM velkmod.notes WHERE db_id = $1 AND note_id = $2";
constexpr char kList[] =
    "SELECT note_id, class, unid FROM velkmod.notes WHERE db_id = $1 AND class = $2"
    " ORDER BY note_id";
// The key item is looked up note by note: joined plainly, a planner without
// statistics (new tables) scanned every item of the database for each note.
// LIMIT 1 keeps it a lookup; a note has one item of a name anyway.
constexpr char kKeysAll[] =
    "SELECT n.note_id, i.type, i.data FROM velkmod.notes n LEFT JOIN LATERAL"
    " (SELECT type, data FROM velkmod.items WHERE db_id = n.db_id AND note_id = n.note_id"
    " AND lname = $2 LIMIT 1) i ON true WHERE n.db_id = $1 AND n.class = 1";
// Forms compare as item names do: only ASCII letters fold.
constexpr char kKeysForm[] =
    "SELECT n.note_id, i.type, i.data FROM velkmod.notes n LEFT JOIN LATERAL"
    " (SELECT type, data FROM velkmod.items WHERE db_id = n.db_id AND note_id = n.note_id"
    " AND lname = $2 LIMIT 1) i ON true WHERE n.db_id = $1 AND n.class = 1 AND n.lform = $3";
constexpr char kNewId[] = "velkmod.current_note()";

}  // namespace

LNSTATUS PostgresStore::ReadInfo(const PgRows& rows, int first, DatabaseInfo* info) {
  *info = DatabaseInfo{};
  if (rows.Count() != 1) return LNERR_FILE_NOT_FOUND;  // removed meanwhile
  if (!rows.Bytes(0, first, &info->title)) return LNERR_DATABASE_DAMAGED;
  info->replicaId.words[0] = static_cast<std::uint32_t>(rows.Int(0, first + 1));
  info->replicaId.words[1] = static_cast<std::uint32_t>(rows.Int(0, first + 2));
  return LNNOERROR;
}

LNSTATUS PostgresStore::ReadInfo(DatabaseInfo* info) {
  if (opened_) {  // read with the database's id when it was opened
    *info = std::move(*opened_);
    opened_.reset();
    return LNNOERROR;
  }
  PgRows rows;
  if (LNSTATUS status = db_->Exec(kInfo, {dbId_}, &rows)) return status;
  return ReadInfo(rows, 0, info);
}

LNSTATUS PostgresStore::WriteTitle(const std::string& title) {
  StopReading();
  return db_->Exec(kSetTitle, {dbId_, pg::HexParam(title)});
}

LNSTATUS PostgresStore::WriteReplicaId(const LNREPLICAID& id) {
  StopReading();
  return db_->Exec(kSetReplica, {dbId_, Id(id.words[0]), Id(id.words[1])});
}

LNSTATUS PostgresStore::LoadHeader(LNNOTEID id, NoteRecord* note) {
  PgRows rows;
  if (LNSTATUS status = db_->Exec(kHeader, {dbId_, Id(id)}, &rows)) return status;
  if (rows.Count() == 0) return LNERR_DOCUMENT_NOT_FOUND;
  note->id = id;
  return ReadHeader(rows, 0, 0, 1, note);
}

LNSTATUS PostgresStore::FindHeader(const LNUNID& unid, NoteRecord* note) {
  PgRows rows;
  if (LNSTATUS status = db_->Exec(kByUnid, {dbId_, pg::HexParam(PackUnid(unid))}, &rows))
    return status;
  if (rows.Count() == 0) return LNERR_DOCUMENT_NOT_FOUND;
  const std::int64_t noteClass = rows.Int(0, 1);
  if (!IsStoredNoteClass(noteClass)) return LNERR_DATABASE_DAMAGED;
  note->id = static_cast<LNNOTEID>(rows.Int(0, 0));
  note->unid = unid;
  note->noteClass = static_cast<LNNoteClass>(noteClass);
  return LNNOERROR;
}

LNSTATUS PostgresStore::LoadNote(LNNOTEID id, NoteRecord* note) {
  std::vector<NoteRecord> notes;
  if (LNSTATUS status = LoadNotes({id}, &notes)) return status;
  if (notes.empty()) return LNERR_DOCUMENT_NOT_FOUND;
  *note = std::move(notes.front());
  return LNNOERROR;
}

namespace {
std::vector<std::string> NotesParams(const std::string& dbId, const std::vector<LNNOTEID>& ids) {
  std::string list = "{";
  for (LNNOTEID id : ids) list += (list.size() > 1 ? "," : "") + std::to_string(id);
  return {dbId, list + "}"};
}
}  // namespace

LNSTATUS PostgresStore::LoadNotes(const std::vector<LNNOTEID>& ids,
                                  std::vector<NoteRecord>* notes) {
  if (ids.empty()) return LNNOERROR;
  PgRows rows;
  if (LNSTATUS status = db_->Exec(kNotes, NotesParams(dbId_, ids), &rows)) return status;
  return ReadNotes(rows, notes);
}

LNSTATUS PostgresStore::ClassNotes(LNNoteClass noteClass, std::vector<NoteRecord>* notes) {
  PgRows rows;
  if (LNSTATUS status = db_->Exec(kClassNotes, {dbId_, Id(static_cast<int>(noteClass))}, &rows))
    return status;
  return ReadNotes(rows, notes);
}

void PostgresStore::Prefetch(const std::vector<LNNOTEID>& ids) {
  if (!ids.empty() && reading_) db_->Prefetch(kNotes, NotesParams(dbId_, ids));
}

LNSTATUS PostgresStore::ViewNotes(const std::string& form, bool anyForm,
                                  std::vector<NoteRecord>* notes) {
  PgRows rows;
  LNSTATUS status = anyForm ? db_->Exec(kViewNotesAll, {dbId_}, &rows)
                            : db_->Exec(kViewNotes, {dbId_, pg::HexParam(FoldName(form))}, &rows);
  return status != LNNOERROR ? status : ReadNotes(rows, notes);
}

namespace {
struct NoteRow {
  std::int64_t note, seq;
  int row;
};

// The rows come in no order the statements promise: sorting them here costs less
// than on the server. Those of a note usually come together, in the order of
// their names; then only each note's own rows are put in item order.
void PutInItemOrder(std::vector<NoteRow>& order) {
  const auto bySeq = [](const NoteRow& a, const NoteRow& b) { return a.seq < b.seq; };
  std::unordered_set<std::int64_t> seen;
  for (auto run = order.begin(); run != order.end();) {
    const auto end =
        std::find_if(run, order.end(), [&](const NoteRow& r) { return r.note != run->note; });
    if (!seen.insert(run->note).second) {  // the note's rows came apart
      std::sort(order.begin(), order.end(), [](const NoteRow& a, const NoteRow& b) {
        return a.note != b.note ? a.note < b.note : a.seq < b.seq;
      });
      return;
    }
    std::sort(run, end, bySeq);
    run = end;
  }
}
}  // namespace

// Each row of a note carries its header; a note without items has one row.
LNSTATUS PostgresStore::ReadNotes(const PgRows& rows, std::vector<NoteRecord>* notes) {
  std::vector<NoteRow> order(static_cast<std::size_t>(rows.Count()));
  for (int row = 0; row < rows.Count(); ++row)
    order[row] = {rows.Int(row, 0), rows.IsNull(row, 7) ? -1 : rows.Int(row, 7), row};
  PutInItemOrder(order);
  std::string data;
  NoteRecord* note = nullptr;
  for (const auto& [id, seq, row] : order) {
    if (!note || note->id != id) {
      note = &notes->emplace_back();
      note->id = static_cast<LNNOTEID>(id);
      if (LNSTATUS status = ReadHeader(rows, row, 1, 2, note)) return status;
    }
    if (rows.IsNull(row, 3)) continue;  // a note without items
    const std::int64_t type = rows.Int(row, 4);
    LNItem& item = note->items.emplace_back();
    if (!IsStoredItemType(type) || !rows.Bytes(row, 3, &item.name) || !rows.Bytes(row, 6, &data))
      return LNERR_DATABASE_DAMAGED;
    item.type = static_cast<LNItemType>(type);
    item.flags = static_cast<LNITEMFLAGS>(rows.Int(row, 5));
    if (!DecodeValues(data, &item)) return LNERR_DATABASE_DAMAGED;
  }
  return LNNOERROR;
}

void PostgresStore::AddNoteRow(PgScript& script, const std::string& noteId,
                               const NoteRecord& note) {
  script.Add("INSERT INTO velkmod.notes(db_id, note_id, unid, class, lform) VALUES(").Add(dbId_);
  script.Add(",").Add(noteId).Add(",").Bytes(PackUnid(note.unid)).Add(",");
  script.Int(static_cast<int>(note.noteClass)).Add(",").Bytes(FoldName(FormOf(note.items)));
  script.Add(");");
}

LNSTATUS PostgresStore::DeferNew(LNNOTEID id, const NoteRecord& note) {
  PgCopyRow row;
  row.Int8(dbNumber_).Int8(id).Bytes(PackUnid(note.unid));
  row.Int2(static_cast<std::int16_t>(note.noteClass));
  row.Bytes(FoldName(FormOf(note.items)));
  db_->Defer("velkmod.notes(db_id, note_id, unid, class, lform)", row);
  std::string encoded;
  for (std::size_t seq = 0; seq < note.items.size(); ++seq) {
    const LNItem& item = note.items[seq];
    encoded.clear();
    EncodeValues(item, &encoded);
    PgCopyRow itemRow;
    itemRow.Int8(dbNumber_).Int8(id).Bytes(FoldName(item.name)).Int4(static_cast<int>(seq));
    itemRow.Bytes(item.name).Int2(static_cast<std::int16_t>(item.type)).Int8(item.flags);
    itemRow.Bytes(encoded);
    db_->Defer("velkmod.items(db_id, note_id, lname, seq, name, type, flags, data)", itemRow);
  }
  return db_->SendDeferredIfLarge();
}

void PostgresStore::AddItems(PgScript& script, const std::string& noteId,
                             const std::vector<LNItem>& items) {
  if (items.empty()) return;
  script.Add("INSERT INTO velkmod.items(db_id, note_id, lname, seq, name, type, flags, data) ");
  // Nothing is added to a note that is gone: the caller sees that by the update's count.
  script.Add("SELECT ").Add(dbId_).Add(", n.note_id, v.* FROM velkmod.notes n, (VALUES ");
  std::string encoded;
  for (std::size_t seq = 0; seq < items.size(); ++seq) {
    const LNItem& item = items[seq];
    encoded.clear();
    EncodeValues(item, &encoded);
    script.Add(seq ? ",(" : "(").Bytes(FoldName(item.name)).Add(",").Int(static_cast<int>(seq));
    script.Add(",").Bytes(item.name).Add(",").Int(static_cast<int>(item.type)).Add(",");
    script.Int(item.flags).Add(",").Bytes(encoded).Add(")");
  }
  script.Add(") v WHERE n.db_id = ").Add(dbId_).Add(" AND n.note_id = ").Add(noteId).Add(";");
}

LNSTATUS PostgresStore::SaveNote(const NoteRecord& note, LNNOTEID* newId) {
  StopReading();
  PgScript body;
  std::string noteId;
  LNNOTEID reserved = 0;
  // A note of a fresh universal id cannot collide: nothing of its insertion is
  // needed back, so it goes with the next request.
  if (note.id == 0 && !note.unidGiven && db_->InTransaction() && ReservedNoteId(&reserved)) {
    if (LNSTATUS status = DeferNew(reserved, note)) return status;
    *newId = reserved;
    return LNNOERROR;
  }
  if (note.id == 0) {
    // The new id is kept in a setting of the transaction for the statements after.
    body.Add("SELECT velkmod.take_note_id(").Add(dbId_).Add(");");
    noteId = kNewId;
    AddNoteRow(body, noteId, note);
  } else {
    noteId = Id(note.id);
    body.Add("UPDATE velkmod.notes SET lform = ").Bytes(FoldName(FormOf(note.items)));
    body.Add(" WHERE db_id = ").Add(dbId_).Add(" AND note_id = ").Add(noteId).Add(";");
    body.Add("DELETE FROM velkmod.items WHERE db_id = ").Add(dbId_);
    body.Add(" AND note_id = ").Add(noteId).Add(";");
  }
  AddItems(body, noteId, note.items);
  std::vector<PgRows> results;
  if (LNSTATUS status = Write(body, &results)) return status;
  if (note.id != 0) return results.at(1).Changed() == 0 ? LNERR_DOCUMENT_DELETED : LNNOERROR;
  const std::int64_t id = results.at(1).Int(0, 0);
  if (id <= 0) return LNERR_INTERNAL;
  *newId = static_cast<LNNOTEID>(id);
  return LNNOERROR;
}

// Inside a transaction new notes take their ids from a block reserved at once:
// each update of the database's counter row leaves a version of it that the
// next update walks past, so one update per note makes a save of thousands of
// notes slower with every note. Ids of a block left unused stay free for good.
// Blocks grow within a transaction (up to 8,192 ids), so that a large save asks
// for few of them.
bool PostgresStore::ReservedNoteId(LNNOTEID* id) {
  if (reserved_ == reservedEnd_) {
    PgRows rows;
    const int size = 256 << std::min(blocks_, 5);
    const std::string block = std::to_string(size);
    if (db_->Exec("UPDATE velkmod.databases SET next_note = next_note + $2 WHERE db_id = $1"
                  " AND next_note + $2 <= 4294967296 RETURNING next_note - $2",
                  {dbId_, block}, &rows) != LNNOERROR ||
        rows.Count() != 1)
      return false;
    reserved_ = static_cast<LNNOTEID>(rows.Int(0, 0));
    reservedEnd_ = reserved_ + size;
    ++blocks_;
  }
  *id = reserved_++;
  return true;
}

LNSTATUS PostgresStore::InsertNote(const NoteRecord& note) {
  StopReading();
  if (note.id == 0) return LNERR_INVALID_ARGUMENT;
  const std::string noteId = Id(note.id);
  PgScript body;
  // Numbering goes on after the highest id ever used, given ones included.
  body.Add("UPDATE velkmod.databases SET next_note = greatest(next_note, ").Add(noteId);
  body.Add(" + 1) WHERE db_id = ").Add(dbId_).Add(";");
  AddNoteRow(body, noteId, note);
  AddItems(body, noteId, note.items);
  DropReservation();  // ids reserved before may lie below the one given
  return Write(body, nullptr);
}

LNSTATUS PostgresStore::Write(const PgScript& body, std::vector<PgRows>* results) {
  const bool nested = db_->InTransaction();
  PgScript script;
  script.Add(nested ? "SAVEPOINT ln_write;" : "BEGIN;").Add(body.Sql());
  script.Add(nested ? "RELEASE ln_write;" : "COMMIT;");
  std::vector<PgRows> all;
  const LNSTATUS status = db_->Run(script, &all);
  if (status != LNNOERROR) {
    if (nested) {
      PgScript undo;
      db_->Run(undo.Add("ROLLBACK TO ln_write; RELEASE ln_write;"));
    } else if (db_->InTransaction()) {
      db_->Exec("ROLLBACK");
    }
    return status;
  }
  // Unique ids and notes went in when the commit fails too (a server that is gone).
  if (!nested && db_->InTransaction()) {
    db_->Exec("ROLLBACK");
    return LNERR_TRANSACTION;
  }
  if (results) *results = std::move(all);
  return LNNOERROR;
}

LNSTATUS PostgresStore::DeleteNote(LNNOTEID id) {
  StopReading();
  PgRows rows;
  if (LNSTATUS status = db_->Exec(kDelete, {dbId_, Id(id)}, &rows)) return status;
  return rows.Changed() == 0 ? LNERR_DOCUMENT_DELETED : LNNOERROR;
}

LNSTATUS PostgresStore::ListNotes(LNNoteClass noteClass, std::vector<NoteRecord>* notes) {
  notes->clear();
  PgRows rows;
  if (LNSTATUS status = db_->Exec(kList, {dbId_, Id(static_cast<int>(noteClass))}, &rows))
    return status;
  for (int row = 0; row < rows.Count(); ++row) {
    NoteRecord& note = notes->emplace_back();
    note.id = static_cast<LNNOTEID>(rows.Int(row, 0));
    if (LNSTATUS status = ReadHeader(rows, row, 1, 2, &note)) return status;
  }
  return LNNOERROR;
}

LNSTATUS PostgresStore::ViewKeys(const std::string& form, bool anyForm, const std::string& keyItem,
                                 std::vector<ViewKey>* keys) {
  PgRows rows;
  std::vector<std::string> params{dbId_, pg::HexParam(FoldName(keyItem))};
  if (!anyForm) params.push_back(pg::HexParam(FoldName(form)));
  if (LNSTATUS status = db_->Exec(anyForm ? kKeysAll : kKeysForm, params, &rows)) return status;
  std::string data;
  for (int row = 0; row < rows.Count(); ++row) {
    ViewKey& key = keys->emplace_back();
    key.id = static_cast<LNNOTEID>(rows.Int(row, 0));
    if (rows.IsNull(row, 1)) continue;
    const std::int64_t type = rows.Int(row, 1);
    if (!IsStoredItemType(type) || !rows.Bytes(row, 2, &data) ||
        !DecodeFirstValue(static_cast<LNItemType>(type), data, &key.key)) {
      return LNERR_DATABASE_DAMAGED;
    }
  }
  return LNNOERROR;
}

LNSTATUS PostgresStore::Begin() {
  StopReading();
  DropReservation();
  db_->DropDeferred();
  if (db_->InTransaction()) return LNERR_TRANSACTION;
  return db_->Exec("BEGIN");
}

LNSTATUS PostgresStore::Commit() {
  if (!InTransaction()) return LNERR_TRANSACTION;
  DropReservation();
  // The server would answer the commit of a failed transaction with a rollback.
  if (db_->InFailedTransaction()) {
    db_->Exec("ROLLBACK");
    return LNERR_TRANSACTION;
  }
  return db_->Exec("COMMIT");
}

LNSTATUS PostgresStore::Rollback() {
  if (!InTransaction()) return LNERR_TRANSACTION;
  DropReservation();  // the reservation is undone with the transaction
  db_->DropDeferred();
  return db_->Exec("ROLLBACK");
}

// A lock of the transaction, released by its commit or rollback (also when the
// client dies), keyed by the database and the caller's key.
LNSTATUS PostgresStore::LockKey(const std::string& key) {
  if (!InTransaction()) return LNERR_TRANSACTION;
  return db_->Exec("SELECT pg_advisory_xact_lock(hashtext($1), hashtext($2))", {dbId_, key});
}

PostgresStore::~PostgresStore() {
  // A snapshot still open would keep the connection out of the pool, and a new
  // connection costs more than ending it.
  StopReading();
  pool_->Give(conninfo_, std::move(db_));
}

// A snapshot lets a reader of many notes see one state of the database, as the
// local store's read transaction does.
void PostgresStore::BeginRead() {
  if (readers_++ > 0 || db_->InTransaction()) return;
  PgScript begin;
  begin.Add("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY;");
  // Keeping each note's items in case the note is asked for again never pays
  // (a walk asks once) and took a third of reading a batch.
  if (db_->ServerVersion() >= 140000) begin.Add("SET LOCAL enable_memoize = off;");
  reading_ = db_->Run(begin) == LNNOERROR;
}

void PostgresStore::EndRead() {
  if (readers_ > 0 && --readers_ == 0) StopReading();
}

void PostgresStore::StopReading() {
  if (!reading_) return;
  reading_ = false;
  if (db_->InTransaction()) db_->Exec("COMMIT");
}

}  // namespace lnstore
