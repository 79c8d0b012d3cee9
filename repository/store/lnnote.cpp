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

namespace {

// Names of one length are few, so comparing lengths first beats hashing the name.
// Names are unique within a note, so the search may start anywhere: readers ask
// for items mostly in the order they were written, and the one after the last
// found is usually next.
template <typename NameAt>
int SearchNames(std::string_view name, std::size_t count, std::size_t& from, NameAt nameAt) {
  std::size_t i = from < count ? from : 0;
  for (std::size_t tried = 0; tried < count; ++tried, i = i + 1 == count ? 0 : i + 1) {
    const std::string_view candidate = nameAt(i);
    if (candidate.size() == name.size() && (candidate == name || SameName(candidate, name))) {
      from = i + 1;
      return static_cast<int>(i);
    }
  }
  return -1;
}

}  // namespace

void NoteData::LearnNameBits() const {
  nameBits = 0;
  if (const StoredNotes* held = stored.notes.get()) {
    const auto* item = held->items.data() + stored.note->firstItem;
    for (std::size_t i = 0; i < stored.note->itemCount; ++i) nameBits |= NameBit(held->Name(item[i]));
  } else {
    for (const LNItem& item : record.items) nameBits |= NameBit(item.name);
  }
  nameBitsKnown = true;
}

int NoteData::Search(std::string_view name) const {
  if (const StoredNotes* held = stored.notes.get()) {
    const auto* item = held->items.data() + stored.note->firstItem;
    return SearchNames(name, stored.note->itemCount, findFrom,
                       [&](std::size_t i) { return held->Name(item[i]); });
  }
  return SearchNames(name, record.items.size(), findFrom,
                     [&](std::size_t i) { return std::string_view(record.items[i].name); });
}

namespace {

const StoredNotes::Item& StoredItem(const StoredNote& stored, std::size_t index) {
  return stored.notes->items[stored.note->firstItem + index];
}

}  // namespace

std::string_view NoteData::NameAt(std::size_t index) const {
  return stored.notes ? stored.notes->Name(StoredItem(stored, index))
                      : std::string_view(record.items[index].name);
}

LNItemType NoteData::TypeAt(std::size_t index) const {
  return stored.notes ? StoredItem(stored, index).type : record.items[index].type;
}

std::string_view NoteData::FirstTextAt(std::size_t index) const {
  if (stored.notes) return FirstEncodedText(stored.notes->Data(StoredItem(stored, index)));
  const std::vector<std::string>& texts = record.items[index].texts;
  return texts.empty() ? std::string_view() : std::string_view(texts.front());
}

void NoteData::TextsAt(std::size_t index, std::vector<std::string>* texts) const {
  if (stored.notes)
    DecodeTexts(stored.notes->Data(StoredItem(stored, index)), texts);
  else
    *texts = record.items[index].texts;
}

void NoteData::NumbersAt(std::size_t index, std::vector<double>* numbers) const {
  if (stored.notes)
    DecodeNumbers(stored.notes->Data(StoredItem(stored, index)), numbers);
  else
    *numbers = record.items[index].numbers;
}

std::vector<LNItem>& NoteData::Items() {
  if (stored.notes) {
    stored.notes->Decode(*stored.note, &record.items);
    stored = StoredNote{};
  }
  return record.items;
}

void NoteData::SetItems(std::vector<LNItem> items) {
  stored = StoredNote{};
  record.items = std::move(items);
  nameBitsKnown = false;
}

void NoteData::SetStored(StoredNote items) {
  record.items.clear();
  stored = std::move(items);
  nameBitsKnown = false;
}

void NoteData::Put(LNItem item, LNITEMOPTION option) {
  int index = Find(item.name);
  std::vector<LNItem>& items = Items();
  nameBitsKnown = false;
  if (index >= 0 && option == LNITEMOPTION_REPLACE) {
    items[index] = std::move(item);
    return;
  }
  if (index >= 0) Erase(static_cast<std::size_t>(index));
  items.push_back(std::move(item));
}

void NoteData::Erase(std::size_t index) {
  std::vector<LNItem>& items = Items();
  items.erase(items.begin() + static_cast<std::ptrdiff_t>(index));
  nameBitsKnown = false;
}

void NoteData::Unload() {
  open = false;
  SetItems({});
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
  if (!note) return LNERR_INVALID_ARGUMENT;
  if (!note->open) return Fail(*note->db, LNERR_DOCUMENT_NOT_OPEN);
  return LNNOERROR;
}

// The index of the open note's item `name`, or the failure to report.
LNSTATUS Lookup(const std::shared_ptr<NoteData>& note, std::string_view name, LNItemType type,
                std::size_t* index) {
  if (LNSTATUS status = CheckOpen(note)) return status;
  int found = note->Find(name);
  if (found < 0) return Fail(*note->db, LNERR_ITEM_NOT_FOUND);
  *index = static_cast<std::size_t>(found);
  return note->TypeAt(*index) == type ? LNNOERROR : Fail(*note->db, LNERR_ITEM_TYPE_MISMATCH);
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
    return Fail(*note->db, LNERR_INVALID_ARGUMENT);
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
  if (!d_) return LNERR_INVALID_ARGUMENT;
  if (d_->open) return LNNOERROR;
  if (!d_->saved) {  // a new note closed before its first save starts over empty
    d_->open = true;
    return LNNOERROR;
  }
  lnstore::DatabaseStore* store = d_->db->store.get();
  if (!store) return Fail(*d_->db, LNERR_DATABASE_NOT_OPEN);
  lnstore::NoteRecord record;
  lnstore::StoredNote stored;
  LNSTATUS status = d_->db->TakeReadAhead(d_->record.id, &record, &stored)
                        ? LNNOERROR
                        : store->LoadNote(d_->record.id, &record);
  if (status == LNERR_DOCUMENT_NOT_FOUND) status = LNERR_DOCUMENT_DELETED;
  if (status != LNNOERROR) return Fail(*d_->db, status);
  if (stored.notes) {  // a document of a view, its universal id not read
    d_->record.noteClass = LNNoteClass::Document;
    d_->SetStored(std::move(stored));
    d_->open = true;
    return LNNOERROR;
  }
  if (record.unidRead) d_->record.unid = record.unid;
  d_->record.noteClass = record.noteClass;
  d_->SetItems(std::move(record.items));
  d_->headerKnown = d_->headerKnown || record.unidRead;
  d_->open = true;
  return LNNOERROR;
}

LNSTATUS LNNote::Close() {
  if (!d_) return LNERR_INVALID_ARGUMENT;
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
  if (!db.store) return Fail(db, LNERR_DATABASE_NOT_OPEN);
  db.readAhead.Clear();
  // A new note with an id of its own (SetNoteIdentity) is inserted under it.
  d_->Items();  // what is written is the record
  const bool ownId = !d_->saved && d_->record.id != 0;
  LNNOTEID newId = d_->record.id;
  LNSTATUS status = ownId ? IdentityTaken(*db.store, d_->record.id, d_->record.unid) : LNNOERROR;
  if (status == LNNOERROR)
    status = ownId ? db.store->InsertNote(d_->record) : db.store->SaveNote(d_->record, &newId);
  if (status != LNNOERROR) {
    db.SyncTransaction();
    return Fail(db, status);
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
  if (!d_ || d_->saved)
    return (d_ ? Fail(*d_->db, LNERR_INVALID_ARGUMENT) : LNERR_INVALID_ARGUMENT);
  if (noteId > LNNOTEID_MAX_GIVEN) return Fail(*d_->db, LNERR_NOTE_ID_TOO_HIGH);
  lnstore::DatabaseStore* store = d_->db->store.get();
  if (!store) return Fail(*d_->db, LNERR_DATABASE_NOT_OPEN);
  const LNUNID newUnid = unid ? *unid : d_->record.unid;
  if (LNSTATUS status = IdentityTaken(*store, noteId, newUnid)) return Fail(*d_->db, status);
  d_->record.id = noteId;
  d_->record.unid = newUnid;
  d_->record.unidGiven = unid != nullptr;
  return LNNOERROR;
}

LNSTATUS LNNote::SetFormNote(const std::string& formName) {
  return CreateItem("Form", LNText(formName));
}

std::string LNNote::GetFormName() const {
  if (!IsOpen()) return "";
  const int index = d_->Find("Form");
  return index < 0 || d_->TypeAt(static_cast<std::size_t>(index)) == LNItemType::Numbers
             ? std::string()
             : std::string(d_->FirstTextAt(static_cast<std::size_t>(index)));
}

std::size_t LNNote::GetItemCount() const { return IsOpen() ? d_->ItemCount() : 0; }

std::string_view LNNote::GetItemName(std::size_t index) const { return d_->NameAt(index); }

LNItemType LNNote::GetItemType(std::size_t index) const { return d_->TypeAt(index); }

std::string_view LNNote::GetFirstTextAt(std::size_t index) const {
  return d_->TypeAt(index) == LNItemType::Text ? d_->FirstTextAt(index) : std::string_view();
}

void LNNote::GetTextsAt(std::size_t index, std::vector<std::string>* texts) const {
  texts->clear();
  if (d_->TypeAt(index) == LNItemType::Text) d_->TextsAt(index, texts);
}

void LNNote::GetNumbersAt(std::size_t index, std::vector<double>* numbers) const {
  numbers->clear();
  if (d_->TypeAt(index) == LNItemType::Numbers) d_->NumbersAt(index, numbers);
}

bool LNNote::HasItem(std::string_view name) const {
  return IsOpen() && d_->Find(name) >= 0;
}

LNSTATUS LNNote::GetItem(std::string_view name, LNText* value) const {
  std::size_t index = 0;
  if (LNSTATUS status = Lookup(d_, name, LNItemType::Text, &index)) return status;
  if (value) {
    std::vector<std::string> texts;
    d_->TextsAt(index, &texts);
    value->SetValues(texts);
  }
  return LNNOERROR;
}

namespace {

// The index of the open note's text item `name`; -1 (and no failure) when it is missing.
LNSTATUS FindText(const std::shared_ptr<NoteData>& note, std::string_view name, int* index) {
  *index = -1;
  if (LNSTATUS status = CheckOpen(note)) return status;
  *index = note->Find(name);
  if (*index < 0) return LNNOERROR;
  return note->TypeAt(static_cast<std::size_t>(*index)) == LNItemType::Text
             ? LNNOERROR
             : Fail(*note->db, LNERR_ITEM_TYPE_MISMATCH);
}

}  // namespace

// Readers ask for many items a note lacks, one call each: that path is kept short.
LNSTATUS LNNote::GetFirstText(std::string_view name, std::string* text) const {
  text->clear();
  if (!d_ || !d_->open) return CheckOpen(d_);
  const int index = d_->Find(name);
  if (index < 0) return LNNOERROR;
  if (d_->TypeAt(static_cast<std::size_t>(index)) != LNItemType::Text)
    return Fail(*d_->db, LNERR_ITEM_TYPE_MISMATCH);
  text->assign(d_->FirstTextAt(static_cast<std::size_t>(index)));
  return LNNOERROR;
}

LNSTATUS LNNote::GetTexts(std::string_view name, std::vector<std::string>* texts) const {
  texts->clear();
  int index = -1;
  if (LNSTATUS status = FindText(d_, name, &index)) return status;
  if (index >= 0) d_->TextsAt(static_cast<std::size_t>(index), texts);
  return LNNOERROR;
}

LNSTATUS LNNote::GetItem(std::string_view name, LNNumbers* value) const {
  std::size_t index = 0;
  if (LNSTATUS status = Lookup(d_, name, LNItemType::Numbers, &index)) return status;
  if (value) {
    std::vector<double> numbers;
    d_->NumbersAt(index, &numbers);
    *value = LNNumbers(std::move(numbers));
  }
  return LNNOERROR;
}

LNSTATUS LNNote::GetItem(std::string_view name, LNDatetime* value) const {
  std::size_t index = 0;
  if (LNSTATUS status = Lookup(d_, name, LNItemType::Datetimes, &index)) return status;
  if (value) *value = LNDatetime(std::string(d_->FirstTextAt(index)));
  return LNNOERROR;
}

LNSTATUS LNNote::GetItem(std::string_view name, LNItem* value) const {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  int index = d_->Find(name);
  if (index < 0) return Fail(*d_->db, LNERR_ITEM_NOT_FOUND);
  if (value) *value = d_->Items()[static_cast<std::size_t>(index)];
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
  if (index < 0) return Fail(*d_->db, LNERR_ITEM_NOT_FOUND);
  d_->Erase(static_cast<std::size_t>(index));
  return LNNOERROR;
}

std::vector<LNItem> LNNote::GetItems() const {
  return IsOpen() ? d_->Items() : std::vector<LNItem>{};
}
