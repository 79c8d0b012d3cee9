#include "repository/store/lnnote.h"

#include "repository/store/lnfail.h"
#include "repository/store/lninternal.h"

using lnstore::Fail;
using lnstore::NoteData;

namespace lnstore {

std::shared_ptr<NoteData> NoteData::Stored(std::shared_ptr<DatabaseData> db,
                                           const NoteRecord& header, bool headerKnown) {
  auto note = std::make_shared<NoteData>();
  note->db = std::move(db);
  note->record.id = header.id;
  note->record.unid = header.unid;
  note->record.noteClass = header.noteClass;
  note->saved = true;
  note->headerKnown = headerKnown;
  return note;
}

std::shared_ptr<NoteData> NoteData::Created(std::shared_ptr<DatabaseData> db,
                                            LNNoteClass noteClass) {
  auto note = std::make_shared<NoteData>();
  note->db = std::move(db);
  note->record.noteClass = noteClass;
  for (auto& word : note->record.unid.words) word = RandomWord();
  note->open = true;
  note->headerKnown = true;
  return note;
}

// Names of one length are few, so comparing lengths first beats hashing the name.
// Names are unique within a note, so the search may start anywhere: readers ask
// for items mostly in the order they were written, and the one after the last
// found is usually next.
// Readers ask for many items a document lacks: the bits of its names tell most
// of those without a search.
int NoteData::Find(std::string_view name) const {
  const std::vector<LNItem>& items = record.items;
  const std::size_t count = items.size();
  if (!nameBitsKnown) {
    nameBits = 0;
    for (const LNItem& item : items) nameBits |= NameBit(item.name);
    nameBitsKnown = true;
  }
  if (!(nameBits & NameBit(name))) return -1;
  std::size_t i = findFrom < count ? findFrom : 0;
  for (std::size_t tried = 0; tried < count; ++tried, i = i + 1 == count ? 0 : i + 1) {
    const std::string& candidate = items[i].name;
    if (candidate.size() == name.size() && (candidate == name || SameName(candidate, name))) {
      findFrom = i + 1;
      return static_cast<int>(i);
    }
  }
  return -1;
}

void NoteData::SetItems(std::vector<LNItem> items) {
  record.items = std::move(items);
  nameBitsKnown = false;
}

void NoteData::Put(LNItem item, LNITEMOPTION option) {
  int index = Find(item.name);
  nameBitsKnown = false;
  if (index >= 0 && option == LNITEMOPTION_REPLACE) {
    record.items[index] = std::move(item);
    return;
  }
  if (index >= 0) Erase(static_cast<std::size_t>(index));
  record.items.push_back(std::move(item));
}

void NoteData::Erase(std::size_t index) {
  record.items.erase(record.items.begin() + static_cast<std::ptrdiff_t>(index));
  nameBitsKnown = false;
}

void NoteData::Unload() {
  open = false;
  record.items.clear();
  nameBitsKnown = false;
}

std::string FirstText(const std::vector<LNItem>& items, std::string_view name) {
  for (const LNItem& item : items) {
    if (SameName(item.name, name)) {
      return item.type != LNItemType::Numbers && !item.texts.empty() ? item.texts.front()
                                                                     : std::string();
    }
  }
  return {};
}

}  // namespace lnstore

namespace {

LNSTATUS CheckOpen(const std::shared_ptr<NoteData>& note) {
  if (!note) return Fail(LNERR_INVALID_ARGUMENT);
  if (!note->open) return Fail(LNERR_DOCUMENT_NOT_OPEN);
  return LNNOERROR;
}

// The open note's item `name`, or the failure to report.
LNSTATUS Lookup(const std::shared_ptr<NoteData>& note, std::string_view name, LNItemType type,
                const LNItem** item) {
  if (LNSTATUS status = CheckOpen(note)) return status;
  int index = note->Find(name);
  if (index < 0) return Fail(LNERR_ITEM_NOT_FOUND);
  *item = &note->record.items[static_cast<std::size_t>(index)];
  return (*item)->type == type ? LNNOERROR : Fail(LNERR_ITEM_TYPE_MISMATCH);
}

// LNERR_NOTE_EXISTS when a stored note has the id (unless 0) or the universal id.
LNSTATUS IdentityTaken(lnstore::DatabaseStore& store, LNNOTEID noteId, const LNUNID& unid) {
  lnstore::NoteRecord existing;
  LNSTATUS status = noteId != 0 ? store.LoadHeader(noteId, &existing) : LNERR_DOCUMENT_NOT_FOUND;
  if (status == LNERR_DOCUMENT_NOT_FOUND) status = store.FindHeader(unid, &existing);
  if (status == LNNOERROR) return LNERR_NOTE_EXISTS;
  return status == LNERR_DOCUMENT_NOT_FOUND ? LNNOERROR : status;
}

LNSTATUS PutItem(const std::shared_ptr<NoteData>& note, LNItem item, LNITEMOPTION option) {
  if (LNSTATUS status = CheckOpen(note)) return status;
  bool knownType = item.type == LNItemType::Text || item.type == LNItemType::Numbers ||
                   item.type == LNItemType::Datetimes;
  if (item.name.empty() || !knownType ||
      (option != LNITEMOPTION_REPLACE && option != LNITEMOPTION_DELETE_APPEND)) {
    return Fail(LNERR_INVALID_ARGUMENT);
  }
  // Only the values of the item's own type are kept.
  if (item.type == LNItemType::Numbers) {
    item.texts.clear();
  } else {
    item.numbers.clear();
  }
  note->Put(std::move(item), option);
  return LNNOERROR;
}

}  // namespace

LNNote::LNNote() = default;
LNNote::~LNNote() = default;
LNNote::LNNote(const LNNote&) = default;
LNNote& LNNote::operator=(const LNNote&) = default;
LNNote::LNNote(std::shared_ptr<NoteData> data) : d_(std::move(data)) {}

bool LNNote::IsNull() const {
  return !d_;
}

LNSTATUS LNNote::Open(int) {
  if (!d_) return Fail(LNERR_INVALID_ARGUMENT);
  if (d_->open) return LNNOERROR;
  if (!d_->saved) {  // a new note closed before its first save starts over empty
    d_->open = true;
    return LNNOERROR;
  }
  lnstore::DatabaseStore* store = d_->db->store.get();
  if (!store) return Fail(LNERR_DATABASE_NOT_OPEN);
  lnstore::NoteRecord record;
  LNSTATUS status = d_->db->TakeReadAhead(d_->record.id, &record)
                        ? LNNOERROR
                        : store->LoadNote(d_->record.id, &record);
  if (status == LNERR_DOCUMENT_NOT_FOUND) status = LNERR_DOCUMENT_DELETED;
  if (status != LNNOERROR) return Fail(status);
  if (record.unidRead) d_->record.unid = record.unid;
  d_->record.noteClass = record.noteClass;
  d_->SetItems(std::move(record.items));
  d_->headerKnown = d_->headerKnown || record.unidRead;
  d_->open = true;
  return LNNOERROR;
}

LNSTATUS LNNote::Close() {
  if (!d_) return Fail(LNERR_INVALID_ARGUMENT);
  d_->Unload();
  return LNNOERROR;
}

bool LNNote::IsOpen() const {
  return d_ && d_->open;
}

bool LNNote::IsNewNote() const {
  return d_ && !d_->saved;
}

LNSTATUS LNNote::Save(int) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  lnstore::DatabaseData& db = *d_->db;
  if (!db.store) return Fail(LNERR_DATABASE_NOT_OPEN);
  db.readAhead.Clear();
  // A new note with an id of its own (SetNoteIdentity) is inserted under it.
  const bool ownId = !d_->saved && d_->record.id != 0;
  LNNOTEID newId = d_->record.id;
  LNSTATUS status = ownId ? IdentityTaken(*db.store, d_->record.id, d_->record.unid) : LNNOERROR;
  if (status == LNNOERROR)
    status = ownId ? db.store->InsertNote(d_->record) : db.store->SaveNote(d_->record, &newId);
  if (status != LNNOERROR) {
    db.SyncTransaction();
    return Fail(status);
  }
  if (!d_->saved) {
    d_->record.id = newId;
    d_->saved = true;
    if (db.store->InTransaction()) db.addedInTransaction.push_back(d_);
  }
  return LNNOERROR;
}

LNNoteClass LNNote::GetNoteClass() const {
  return d_ ? d_->record.noteClass : LNNoteClass::Document;
}

LNNOTEID LNNote::GetNoteID() const {
  return d_ ? d_->record.id : 0;
}

LNUNID LNNote::GetUniversalID() const {
  if (!d_) return {};
  if (!d_->headerKnown && d_->db->store) {  // a handle from a view entry reads it on demand
    lnstore::NoteRecord header;
    if (d_->db->store->LoadHeader(d_->record.id, &header) == LNNOERROR) {
      d_->record.unid = header.unid;
      d_->headerKnown = true;
    }
  }
  return d_->record.unid;
}

LNSTATUS LNNote::SetNoteIdentity(LNNOTEID noteId, const LNUNID* unid) {
  if (!d_ || d_->saved) return Fail(LNERR_INVALID_ARGUMENT);
  if (noteId > LNNOTEID_MAX_GIVEN) return Fail(LNERR_NOTE_ID_TOO_HIGH);
  lnstore::DatabaseStore* store = d_->db->store.get();
  if (!store) return Fail(LNERR_DATABASE_NOT_OPEN);
  const LNUNID newUnid = unid ? *unid : d_->record.unid;
  if (LNSTATUS status = IdentityTaken(*store, noteId, newUnid)) return Fail(status);
  d_->record.id = noteId;
  d_->record.unid = newUnid;
  d_->record.unidGiven = unid != nullptr;
  return LNNOERROR;
}

LNSTATUS LNNote::SetFormNote(const std::string& formName) {
  return CreateItem("Form", LNText(formName));
}

std::string LNNote::GetFormName() const {
  return IsOpen() ? lnstore::FirstText(d_->record.items, "Form") : "";
}

bool LNNote::HasItem(std::string_view name) const {
  return IsOpen() && d_->Find(name) >= 0;
}

LNSTATUS LNNote::GetItem(std::string_view name, LNText* value) const {
  const LNItem* item = nullptr;
  if (LNSTATUS status = Lookup(d_, name, LNItemType::Text, &item)) return status;
  if (value) value->SetValues(item->texts);
  return LNNOERROR;
}

namespace {

// The open note's text item `name`; nullptr (and no failure) when it is missing.
LNSTATUS FindText(const std::shared_ptr<NoteData>& note, std::string_view name,
                  const LNItem** item) {
  *item = nullptr;
  if (LNSTATUS status = CheckOpen(note)) return status;
  const int index = note->Find(name);
  if (index < 0) return LNNOERROR;
  *item = &note->record.items[static_cast<std::size_t>(index)];
  return (*item)->type == LNItemType::Text ? LNNOERROR : Fail(LNERR_ITEM_TYPE_MISMATCH);
}

}  // namespace

LNSTATUS LNNote::GetFirstText(std::string_view name, std::string* text) const {
  text->clear();
  const LNItem* item = nullptr;
  if (LNSTATUS status = FindText(d_, name, &item)) return status;
  if (item && !item->texts.empty()) *text = item->texts.front();
  return LNNOERROR;
}

LNSTATUS LNNote::GetTexts(std::string_view name, std::vector<std::string>* texts) const {
  texts->clear();
  const LNItem* item = nullptr;
  if (LNSTATUS status = FindText(d_, name, &item)) return status;
  if (item) *texts = item->texts;
  return LNNOERROR;
}

LNSTATUS LNNote::GetItem(std::string_view name, LNNumbers* value) const {
  const LNItem* item = nullptr;
  if (LNSTATUS status = Lookup(d_, name, LNItemType::Numbers, &item)) return status;
  if (value) *value = LNNumbers(item->numbers);
  return LNNOERROR;
}

LNSTATUS LNNote::GetItem(std::string_view name, LNDatetime* value) const {
  const LNItem* item = nullptr;
  if (LNSTATUS status = Lookup(d_, name, LNItemType::Datetimes, &item)) return status;
  if (value) *value = LNDatetime(item->texts.empty() ? std::string() : item->texts.front());
  return LNNOERROR;
}

LNSTATUS LNNote::GetItem(std::string_view name, LNItem* value) const {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  int index = d_->Find(name);
  if (index < 0) return Fail(LNERR_ITEM_NOT_FOUND);
  if (value) *value = d_->record.items[static_cast<std::size_t>(index)];
  return LNNOERROR;
}

LNSTATUS LNNote::CreateItem(const std::string& name, const LNText& value, LNITEMFLAGS flags,
                            LNITEMOPTION option) {
  return PutItem(d_, LNItem{name, LNItemType::Text, flags, value.Values(), {}}, option);
}

LNSTATUS LNNote::CreateItem(const std::string& name, const LNNumbers& value, LNITEMFLAGS flags,
                            LNITEMOPTION option) {
  return PutItem(d_, LNItem{name, LNItemType::Numbers, flags, {}, value.Values()}, option);
}

LNSTATUS LNNote::CreateItem(const std::string& name, const LNDatetime& value, LNITEMFLAGS flags,
                            LNITEMOPTION option) {
  return PutItem(d_, LNItem{name, LNItemType::Datetimes, flags, {value.GetText()}, {}}, option);
}

LNSTATUS LNNote::CreateItem(const LNItem& item, LNITEMOPTION option) {
  return PutItem(d_, item, option);
}

LNSTATUS LNNote::DeleteItem(const std::string& name) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  int index = d_->Find(name);
  if (index < 0) return Fail(LNERR_ITEM_NOT_FOUND);
  d_->Erase(static_cast<std::size_t>(index));
  return LNNOERROR;
}

std::vector<LNItem> LNNote::GetItems() const {
  return IsOpen() ? d_->record.items : std::vector<LNItem>{};
}
