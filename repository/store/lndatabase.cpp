#include "repository/store/lndatabase.h"

#include <algorithm>

#include "repository/store/lnfail.h"
#include "repository/store/lninternal.h"
#include "repository/store/lnsession.h"

using lnstore::DatabaseData;
using lnstore::Fail;
using lnstore::NoteData;
using lnstore::NoteRecord;

namespace lnstore {

void DatabaseData::EndTransaction(bool committed) {
  if (!committed) {
    // Title and replica id changed in the transaction are undone too.
    DatabaseInfo stored;
    if (store && store->ReadInfo(&stored) == LNNOERROR) info = std::move(stored);
    for (const auto& weak : addedInTransaction) {
      if (auto note = weak.lock()) {
        note->record.id = 0;
        note->saved = false;
      }
    }
  }
  addedInTransaction.clear();
  transaction = false;
}

void DatabaseData::SyncTransaction() {
  if (transaction && store && !store->InTransaction()) EndTransaction(false);
}

}  // namespace lnstore

namespace {

LNSTATUS CheckOpen(const std::shared_ptr<DatabaseData>& db) {
  if (!db) return LNERR_INVALID_ARGUMENT;
  if (!db->store) return Fail(*db, LNERR_DATABASE_NOT_OPEN);
  return LNNOERROR;
}

// Every design note of a class with its items, in creation order (note id order).
LNSTATUS LoadDesign(DatabaseData& db, LNNoteClass noteClass, std::vector<NoteRecord>* notes) {
  if (LNSTATUS status = db.store->ClassNotes(noteClass, notes)) return status;
  std::sort(notes->begin(), notes->end(),
            [](const NoteRecord& a, const NoteRecord& b) { return a.id < b.id; });
  return LNNOERROR;
}

// The design note whose "$TITLE" is `title`; null when there is none.
const NoteRecord* FindDesign(const std::vector<NoteRecord>& notes, const std::string& title,
                             bool anyCase) {
  for (const NoteRecord& note : notes) {
    std::string noteTitle = lnstore::FirstText(note.items, "$TITLE");
    if (anyCase ? lnstore::SameName(noteTitle, title) : noteTitle == title) return &note;
  }
  return nullptr;
}

}  // namespace

LNDatabase::LNDatabase() = default;
LNDatabase::~LNDatabase() = default;
LNDatabase::LNDatabase(const LNDatabase&) = default;
LNDatabase& LNDatabase::operator=(const LNDatabase&) = default;
LNDatabase::LNDatabase(std::shared_ptr<DatabaseData> data) : d_(std::move(data)) {}

bool LNDatabase::IsNull() const {
  return !d_;
}

void LNDatabase::SetThrowAllErrors(bool on) {
  if (d_) d_->throwAll = on;
}

bool LNDatabase::GetThrowAllErrors() const {
  return d_ && d_->throwAll;
}

std::string LNDatabase::ErrorMessage(LNSTATUS status) const {
  return d_ ? d_->detail.Message(status) : LNGetErrorMessage(status);
}

LNSTATUS LNDatabase::Open(int) {
  if (!d_) return LNERR_INVALID_ARGUMENT;
  if (d_->store) return LNNOERROR;
  std::unique_ptr<lnstore::DatabaseStore> store;
  LNSTATUS status = d_->backend->OpenDatabase(d_->server, d_->path, &store, &d_->detail);
  lnstore::DatabaseInfo info;
  if (status == LNNOERROR) status = store->ReadInfo(&info);
  if (status != LNNOERROR) return Fail(*d_, status);
  d_->store = std::move(store);
  d_->info = std::move(info);
  return LNNOERROR;
}

LNSTATUS LNDatabase::Close() {
  if (!d_) return LNERR_INVALID_ARGUMENT;
  if (d_->store && d_->store->InTransaction()) {  // nothing is committed implicitly
    d_->store->Rollback();
    d_->EndTransaction(false);
  }
  d_->store.reset();
  return LNNOERROR;
}

bool LNDatabase::IsOpen() const {
  return d_ && d_->store;
}

std::string LNDatabase::GetTitle() const {
  return d_ ? d_->info.title : std::string();
}

LNSTATUS LNDatabase::SetTitle(const std::string& title) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (LNSTATUS status = d_->store->WriteTitle(title)) {
    d_->SyncTransaction();
    return Fail(*d_, status);
  }
  d_->info.title = title;
  return LNNOERROR;
}

LNREPLICAID LNDatabase::GetReplicaID() const {
  return d_ ? d_->info.replicaId : LNREPLICAID{};
}

LNSTATUS LNDatabase::SetReplicaID(const LNREPLICAID& id) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (LNSTATUS status = d_->store->WriteReplicaId(id)) {
    d_->SyncTransaction();
    return Fail(*d_, status);
  }
  d_->info.replicaId = id;
  return LNNOERROR;
}

std::string LNDatabase::GetFilepath() const {
  return d_ ? d_->path : std::string();
}

std::string LNDatabase::GetServer() const {
  return d_ ? d_->server : std::string();
}

LNSTATUS LNDatabase::GetViewFolder(const std::string& name, LNViewFolder* view) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (!view) return Fail(*d_, LNERR_INVALID_ARGUMENT);
  // A reader of several views in one snapshot reads their designs once.
  const bool reading = d_->store->Reading();
  std::vector<NoteRecord> read;
  if (!reading || d_->snapshotViews.empty()) {
    if (LNSTATUS status = LoadDesign(*d_, LNNoteClass::View, &read)) return Fail(*d_, status);
    if (reading) d_->snapshotViews = std::move(read);
  }
  const std::vector<NoteRecord>& designs = reading ? d_->snapshotViews : read;
  const NoteRecord* design = FindDesign(designs, name, true);
  if (!design) return Fail(*d_, LNERR_VIEW_NOT_FOUND);
  auto data = std::make_shared<lnstore::ViewData>();
  data->db = d_;
  data->design = lnstore::DesignOf(*design);
  view->d_ = std::move(data);
  return LNNOERROR;
}

std::vector<std::string> LNDatabase::GetViewNames() const {
  std::vector<std::string> names;
  std::vector<NoteRecord> designs;
  if (!IsOpen() || LoadDesign(*d_, LNNoteClass::View, &designs) != LNNOERROR) return names;
  for (const NoteRecord& design : designs)
    names.push_back(lnstore::FirstText(design.items, "$TITLE"));
  return names;
}

LNSTATUS LNDatabase::GetForms(std::vector<LNForm>* forms) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (!forms) return Fail(*d_, LNERR_INVALID_ARGUMENT);
  forms->clear();
  std::vector<NoteRecord> headers;
  if (LNSTATUS status = d_->store->ListNotes(LNNoteClass::Form, &headers)) return Fail(*d_, status);
  for (const NoteRecord& header : headers) forms->push_back(LNForm(NoteData::Stored(d_, header)));
  return LNNOERROR;
}

LNSTATUS LNDatabase::CreateDocument(LNDocument* doc, const std::string& formName) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (!doc) return Fail(*d_, LNERR_INVALID_ARGUMENT);
  *doc = LNDocument(NoteData::Created(d_, LNNoteClass::Document));
  return formName.empty() ? LNNOERROR : doc->SetFormNote(formName);
}

LNSTATUS LNDatabase::DeleteDocument(LNDocument* doc) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (!doc || !doc->d_ || doc->d_->db != d_) return Fail(*d_, LNERR_INVALID_ARGUMENT);
  NoteData& note = *doc->d_;
  d_->readAhead.Clear();
  if (note.saved) {
    if (LNSTATUS status = d_->store->DeleteNote(note.record.id)) {
      d_->SyncTransaction();
      return Fail(*d_, status);
    }
  }
  note.Unload();
  return LNNOERROR;
}

LNSTATUS LNDatabase::GetDocument(LNNOTEID noteId, LNDocument* doc) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (!doc) return Fail(*d_, LNERR_INVALID_ARGUMENT);
  NoteRecord header;
  LNSTATUS status = d_->store->LoadHeader(noteId, &header);
  if (status == LNNOERROR && header.noteClass != LNNoteClass::Document)
    status = LNERR_DOCUMENT_NOT_FOUND;
  if (status != LNNOERROR) return Fail(*d_, status);
  *doc = LNDocument(NoteData::Stored(d_, header));
  return LNNOERROR;
}

LNSTATUS LNDatabase::GetDocument(const LNUNID& unid, LNDocument* doc) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (!doc) return Fail(*d_, LNERR_INVALID_ARGUMENT);
  NoteRecord header;
  LNSTATUS status = d_->store->FindHeader(unid, &header);
  if (status == LNNOERROR && header.noteClass != LNNoteClass::Document)
    status = LNERR_DOCUMENT_NOT_FOUND;
  if (status != LNNOERROR) return Fail(*d_, status);
  *doc = LNDocument(NoteData::Stored(d_, header));
  return LNNOERROR;
}

LNSTATUS LNDatabase::GetAllDocuments(std::vector<LNDocument>* docs) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (!docs) return Fail(*d_, LNERR_INVALID_ARGUMENT);
  docs->clear();
  std::vector<NoteRecord> headers;
  if (LNSTATUS status = d_->store->ListNotes(LNNoteClass::Document, &headers))
    return Fail(*d_, status);
  docs->reserve(headers.size());
  for (const NoteRecord& header : headers)
    docs->push_back(LNDocument(NoteData::Stored(d_, header)));
  return LNNOERROR;
}

// A design of the same title is replaced in place, so a template can be applied again.
LNSTATUS LNDatabase::CreateForm(const std::string& title, const std::vector<std::string>& fields) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (title.empty()) return Fail(*d_, LNERR_INVALID_ARGUMENT);
  std::vector<NoteRecord> designs;
  if (LNSTATUS status = LoadDesign(*d_, LNNoteClass::Form, &designs)) return Fail(*d_, status);
  const NoteRecord* existing = FindDesign(designs, title, false);
  LNForm form(existing ? NoteData::Stored(d_, *existing)
                       : NoteData::Created(d_, LNNoteClass::Form));
  form.d_->open = true;
  form.d_->SetItems({LNItem{"$TITLE", LNItemType::Text, LNITEMFLAGS_SUMMARY, {title}, {}},
                     LNItem{"$Fields", LNItemType::Text, LNITEMFLAGS_SUMMARY, fields, {}}});
  return form.Save();
}

LNSTATUS LNDatabase::CreateView(const LNViewDesign& design) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (design.name.empty()) return Fail(*d_, LNERR_INVALID_ARGUMENT);
  std::vector<NoteRecord> designs;
  if (LNSTATUS status = LoadDesign(*d_, LNNoteClass::View, &designs)) return Fail(*d_, status);
  const NoteRecord* existing = FindDesign(designs, design.name, true);
  LNNote view(existing ? NoteData::Stored(d_, *existing)
                       : NoteData::Created(d_, LNNoteClass::View));
  view.d_->open = true;
  view.d_->SetItems(lnstore::DesignItems(design));
  return view.Save();
}

LNSTATUS LNDatabase::BeginTransaction() {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (d_->store->InTransaction()) return Fail(*d_, LNERR_TRANSACTION);
  LNSTATUS status = d_->store->Begin();
  d_->transaction = status == LNNOERROR;
  return Fail(*d_, status);
}

LNSTATUS LNDatabase::CommitTransaction() {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (!d_->store->InTransaction()) return Fail(*d_, LNERR_TRANSACTION);
  LNSTATUS status = d_->store->Commit();
  if (status == LNNOERROR) {
    d_->EndTransaction(true);
  } else {
    d_->SyncTransaction();
  }
  return Fail(*d_, status);
}

LNSTATUS LNDatabase::RollbackTransaction() {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (!d_->store->InTransaction()) return Fail(*d_, LNERR_TRANSACTION);
  LNSTATUS status = d_->store->Rollback();
  // Whatever the engine says, the notes saved in the transaction are not committed.
  if (!d_->store->InTransaction()) d_->EndTransaction(false);
  return Fail(*d_, status);
}

bool LNDatabase::InTransaction() const {
  return IsOpen() && d_->store->InTransaction();
}

LNSTATUS LNDatabase::LockKey(const std::string& key) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  return Fail(*d_, d_->store->LockKey(key));
}

LNReadSnapshot::LNReadSnapshot(const LNDatabase& db) : d_(db.d_) {
  if (d_ && d_->store) {
    store_ = d_->store.get();
    store_->BeginRead();
    d_->readAhead.Clear();
    d_->snapshotViews.clear();
  }
}

// The database may have been closed meanwhile; then its snapshot ended with it.
LNReadSnapshot::~LNReadSnapshot() {
  if (store_ && d_->store.get() == store_) store_->EndRead();
  if (d_) {
    d_->readAhead.Clear();
    d_->snapshotViews.clear();
  }
}

LNTransaction::LNTransaction(LNDatabase& db) : db_(db) {
  active_ = db_.BeginTransaction() == LNNOERROR;
}

LNTransaction::~LNTransaction() {
  if (!active_ || !db_.InTransaction()) return;
  LNThrowAllErrorsScope quiet(db_, false);  // a destructor must not throw
  db_.RollbackTransaction();
}

LNSTATUS LNTransaction::Commit() {
  if (!active_) return db_.d_ ? Fail(*db_.d_, LNERR_TRANSACTION) : LNERR_TRANSACTION;
  LNSTATUS status = db_.CommitTransaction();
  if (status == LNNOERROR) active_ = false;
  return status;
}

LNThrowAllErrorsScope::LNThrowAllErrorsScope(const LNDatabase& db, bool on)
    : db_(db), previous_(db.GetThrowAllErrors()) {
  db_.SetThrowAllErrors(on);
}

LNThrowAllErrorsScope::LNThrowAllErrorsScope(LNNotesSession& session, bool on)
    : session_(&session), previous_(session.GetThrowAllErrors()) {
  session.SetThrowAllErrors(on);
}

LNThrowAllErrorsScope::~LNThrowAllErrorsScope() {
  if (session_) {
    session_->SetThrowAllErrors(previous_);
  } else {
    db_.SetThrowAllErrors(previous_);
  }
}
