#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

#include "repository/store/lndatabase.h"
#include "repository/store/lnfail.h"
#include "repository/store/lninternal.h"

using lnstore::Fail;
using lnstore::ViewData;
using lnstore::ViewEntry;
using lnstore::ViewKey;

namespace lnstore {

LNViewDesign DesignOf(const NoteRecord& note) {
  LNViewDesign design;
  design.name = FirstText(note.items, "$TITLE");
  design.keyItem = FirstText(note.items, "$KeyItem");
  for (const LNItem& item : note.items) {
    if (SameName(item.name, "$Forms") && item.type == LNItemType::Text) design.forms = item.texts;
    if (SameName(item.name, "$Categorized") && item.type == LNItemType::Numbers) {
      design.categorized = !item.numbers.empty() && item.numbers.front() != 0;
    }
  }
  return design;
}

std::vector<LNItem> DesignItems(const LNViewDesign& design) {
  return {LNItem{"$TITLE", LNItemType::Text, LNITEMFLAGS_SUMMARY, {design.name}, {}},
          LNItem{"$Forms", LNItemType::Text, LNITEMFLAGS_SUMMARY, design.forms, {}},
          LNItem{"$KeyItem", LNItemType::Text, LNITEMFLAGS_SUMMARY, {design.keyItem}, {}},
          LNItem{"$Categorized",
                 LNItemType::Numbers,
                 LNITEMFLAGS_SUMMARY,
                 {},
                 {design.categorized ? 1.0 : 0.0}}};
}

}  // namespace lnstore

namespace {

// Numbers before texts (a missing key counts as the empty text); numbers by value,
// texts case-insensitively and then by bytes, so that equal keys are adjacent.
// Texts are folded once and sorted as flat (folded, index) pairs: a comparison is
// then one memcmp, without reaching into the keys.
bool NumberBefore(const ViewKey& a, const ViewKey& b) {
  const bool aNan = std::isnan(a.key.number);
  const bool bNan = std::isnan(b.key.number);
  if (aNan != bNan) return bNan;
  if (!aNan && a.key.number != b.key.number) return a.key.number < b.key.number;
  return a.id < b.id;
}

bool IsNumber(const ViewKey& key) {
  return key.key.present && key.key.numeric;
}

// The order SortKeys gives.
bool KeyBefore(const ViewKey& a, const ViewKey& b) {
  if (IsNumber(a) != IsNumber(b)) return IsNumber(a);
  if (IsNumber(a)) return NumberBefore(a, b);
  if (int order = lnstore::CompareKeyText(a.key.text, b.key.text)) return order < 0;
  return a.id < b.id;
}

void SortKeys(std::vector<ViewKey>& keys) {
  // Documents are often written in the order of their keys: then one pass tells.
  if (std::is_sorted(keys.begin(), keys.end(), KeyBefore)) return;
  struct Text {
    std::string_view folded;
    std::uint32_t index;
  };
  std::size_t bytes = 0;
  for (const ViewKey& key : keys) bytes += key.key.text.size();
  std::string folds;
  folds.reserve(bytes);  // never moves, so the views into it hold
  std::vector<std::uint32_t> numbers;
  std::vector<Text> texts;
  texts.reserve(keys.size());
  for (std::uint32_t i = 0; i < keys.size(); ++i) {
    const lnstore::FirstValue& key = keys[i].key;
    if (IsNumber(keys[i])) {
      numbers.push_back(i);
      continue;
    }
    const std::size_t at = folds.size();
    lnstore::AppendFolded(key.text, &folds);
    texts.push_back({std::string_view(folds).substr(at, key.text.size()), i});
  }
  std::sort(numbers.begin(), numbers.end(),
            [&](std::uint32_t x, std::uint32_t y) { return NumberBefore(keys[x], keys[y]); });
  std::sort(texts.begin(), texts.end(), [&](const Text& x, const Text& y) {
    if (int order = x.folded.compare(y.folded)) return order < 0;
    const ViewKey& a = keys[x.index];
    const ViewKey& b = keys[y.index];
    if (int exact = a.key.text.compare(b.key.text)) return exact < 0;
    return a.id < b.id;
  });
  std::vector<ViewKey> sorted;
  sorted.reserve(keys.size());
  for (std::uint32_t i : numbers) sorted.push_back(std::move(keys[i]));
  for (const Text& text : texts) sorted.push_back(std::move(keys[text.index]));
  keys = std::move(sorted);
}

std::vector<ViewEntry> BuildEntries(std::vector<ViewKey>& keys, bool categorized) {
  SortKeys(keys);
  std::vector<ViewEntry> entries;
  entries.reserve(keys.size());
  for (ViewKey& key : keys) {
    ViewEntry entry;
    entry.numeric = key.key.present && key.key.numeric;
    entry.key = entry.numeric ? lnstore::NumberText(key.key.number) : std::move(key.key.text);
    entry.id = key.id;
    if (categorized) {
      bool sameGroup = !entries.empty() && entries.back().numeric == entry.numeric &&
                       entries.back().key == entry.key;
      if (!sameGroup) entries.push_back(ViewEntry{entry.key, 0, entry.numeric, true});
    }
    entries.push_back(std::move(entry));
  }
  return entries;
}

// A number and a text with the same key text form two runs; Find takes the first.
void BuildRuns(ViewData& view) {
  const auto& entries = view.entries;
  for (std::size_t start = 0; start < entries.size();) {
    std::size_t end = start + 1;
    while (end < entries.size() && entries[end].key == entries[start].key &&
           entries[end].numeric == entries[start].numeric) {
      ++end;
    }
    view.runs.emplace(entries[start].key, std::make_pair(start, static_cast<long>(end - start)));
    start = end;
  }
  view.runsBuilt = true;
}

// The key of a document: the first value of its key item.
ViewKey KeyOf(const lnstore::NoteRecord& note, const std::string& keyItem) {
  ViewKey key;
  key.id = note.id;
  for (const LNItem& item : note.items) {
    if (lnstore::SameName(item.name, keyItem)) {
      key.key = lnstore::FirstValueOf(item);
      break;
    }
  }
  return key;
}

ViewKey KeyOf(const lnstore::StoredNotes& notes, const lnstore::StoredNotes::Note& note,
              const std::string& keyItem) {
  ViewKey key;
  key.id = note.id;
  for (std::size_t i = note.firstItem; i < note.firstItem + note.itemCount; ++i) {
    const lnstore::StoredNotes::Item& item = notes.items[i];
    if (lnstore::SameName(notes.Name(item), keyItem)) {
      lnstore::DecodeFirstValue(item.type, notes.Data(item), &key.key);
      break;
    }
  }
  return key;
}

// `read(form, anyForm)` once for each form of the view, whatever its spellings.
template <typename Read>
LNSTATUS ForEachForm(const LNViewDesign& design, Read read) {
  if (design.forms.empty()) return read(std::string(), true);
  std::set<std::string> done;
  for (const std::string& form : design.forms) {
    if (!done.insert(lnstore::FoldName(form)).second) continue;
    if (LNSTATUS status = read(form, false)) return status;
  }
  return LNNOERROR;
}

LNSTATUS CheckOpen(const std::shared_ptr<ViewData>& view) {
  if (!view) return LNERR_INVALID_ARGUMENT;
  if (!view->open) return Fail(*view->db, LNERR_VIEW_NOT_OPEN);
  return LNNOERROR;
}

}  // namespace

namespace lnstore {

void HeldNotes::Hold(StoredNotes notes) {
  Clear();
  const auto byId = [](const StoredNotes::Note& a, const StoredNotes::Note& b) {
    return a.id < b.id;
  };
  // A view of one form comes in id order already.
  if (!std::is_sorted(notes.notes.begin(), notes.notes.end(), byId))
    std::sort(notes.notes.begin(), notes.notes.end(), byId);
  taken_.assign(notes.notes.size(), false);
  stored_ = std::make_shared<const StoredNotes>(std::move(notes));
}

void HeldNotes::Hold(std::vector<NoteRecord> notes) {
  Clear();
  const auto byId = [](const NoteRecord& a, const NoteRecord& b) { return a.id < b.id; };
  if (!std::is_sorted(notes.begin(), notes.end(), byId))
    std::sort(notes.begin(), notes.end(), byId);
  records_ = std::move(notes);
  taken_.assign(records_.size(), false);
}

bool HeldNotes::Take(LNNOTEID id, NoteRecord* note, StoredNote* stored) {
  const auto untaken = [&](auto& held, auto found) -> std::optional<std::size_t> {
    if (found == held.end() || found->id != id) return std::nullopt;
    const auto at = static_cast<std::size_t>(found - held.begin());
    if (taken_[at]) return std::nullopt;
    taken_[at] = true;
    return at;
  };
  const auto idBelow = [](const auto& held, LNNOTEID wanted) { return held.id < wanted; };
  if (stored_) {
    const auto& notes = stored_->notes;
    if (auto at = untaken(notes, std::lower_bound(notes.begin(), notes.end(), id, idBelow))) {
      *stored = StoredNote{stored_, &notes[*at]};
      return true;
    }
  }
  if (auto at = untaken(records_, std::lower_bound(records_.begin(), records_.end(), id, idBelow))) {
    *note = std::move(records_[*at]);
    return true;
  }
  return false;
}

void HeldNotes::Clear() {
  stored_.reset();
  records_.clear();
  taken_.clear();
}

bool DatabaseData::TakeReadAhead(LNNOTEID id, NoteRecord* note, StoredNote* stored) {
  if (!store || !store->Reading()) {  // what was read ahead belongs to a snapshot that ended
    readAhead.Clear();
    return false;
  }
  if (readAhead.Take(id, note, stored)) return true;
  const std::size_t batch = store->ReadAheadSize();
  const std::shared_ptr<ViewData> view = walk.lock();
  if (batch == 0 || !view || !view->open || view->current >= view->entries.size() ||
      view->entries[view->current].id != id)
    return false;
  const std::size_t end = std::min(view->walkEnd, view->entries.size());
  std::size_t next = view->current;
  const auto nextBatch = [&] {
    std::vector<LNNOTEID> ids;
    for (; next < end && ids.size() < batch; ++next)
      if (!view->entries[next].category) ids.push_back(view->entries[next].id);
    return ids;
  };
  const std::vector<LNNOTEID> ids = nextBatch();
  std::vector<NoteRecord> notes;
  if (store->LoadNotes(ids, &notes) != LNNOERROR) return false;
  store->Prefetch(nextBatch());  // read on the server while this batch is taken apart
  readAhead.Hold(std::move(notes));  // what an earlier walk left unread goes
  return readAhead.Take(id, note, stored);
}

}  // namespace lnstore

LNSTATUS LNVFEntry::GetDocument(LNDocument* doc) const {
  if (!db_) return LNERR_INVALID_ARGUMENT;
  if (!doc) return Fail(*db_, LNERR_INVALID_ARGUMENT);
  if (category_) return Fail(*db_, LNERR_ENTRY_IS_CATEGORY);
  lnstore::NoteRecord header;
  header.id = noteId_;
  *doc = LNDocument(lnstore::NoteData::Stored(db_, header, false));
  return LNNOERROR;
}

LNViewFolder::LNViewFolder() = default;
LNViewFolder::~LNViewFolder() = default;
LNViewFolder::LNViewFolder(const LNViewFolder&) = default;
LNViewFolder& LNViewFolder::operator=(const LNViewFolder&) = default;

namespace lnstore {

// Reads all documents of the view, to be taken by the walk, and their keys.
LNSTATUS HoldDocuments(ViewData& view, std::vector<ViewKey>* keys) {
  DatabaseStore& store = *view.db->store;
  const std::string& keyItem = view.design.keyItem;
  StoredNotes stored;
  bool answered = true;
  LNSTATUS status = ForEachForm(view.design, [&](const std::string& form, bool anyForm) {
    return store.ViewStoredNotes(form, anyForm, &stored, &answered);
  });
  if (status != LNNOERROR) return status;
  if (answered) {
    keys->reserve(stored.notes.size());
    for (const StoredNotes::Note& note : stored.notes) keys->push_back(KeyOf(stored, note, keyItem));
    view.db->readAhead.Hold(std::move(stored));
    return LNNOERROR;
  }
  std::vector<NoteRecord> notes;
  status = ForEachForm(view.design, [&](const std::string& form, bool anyForm) {
    return store.ViewNotes(form, anyForm, &notes);
  });
  if (status != LNNOERROR) return status;
  keys->reserve(notes.size());
  for (const NoteRecord& note : notes) keys->push_back(KeyOf(note, keyItem));
  view.db->readAhead.Hold(std::move(notes));
  return LNNOERROR;
}

// Reads the view's entries (all documents when `readDocuments`, else their keys).
LNSTATUS BuildView(ViewData& view, bool readDocuments) {
  DatabaseStore* store = view.db->store.get();
  if (!store) return LNERR_DATABASE_NOT_OPEN;
  std::vector<ViewKey> keys;
  const LNSTATUS status =
      readDocuments ? HoldDocuments(view, &keys)
                    : ForEachForm(view.design, [&](const std::string& form, bool anyForm) {
                        return store->ViewKeys(form, anyForm, view.design.keyItem, &keys);
                      });
  if (status != LNNOERROR) return status;
  view.entries = BuildEntries(keys, view.design.categorized);
  view.current = 0;
  view.walkEnd = view.entries.size();
  view.runs.clear();
  view.runsBuilt = false;
  view.built = true;
  view.partialKey.reset();
  return LNNOERROR;
}

// All entries of a view opened by key, the current one kept: inside the run
// found by key it stays where it was.
LNSTATUS CompleteView(ViewData& view) {
  if (view.built && !view.partialKey) return LNNOERROR;
  const std::optional<std::string> key = view.partialKey;
  const std::size_t at = view.current;
  if (LNSTATUS status = BuildView(view, false)) return status;
  if (!key) return LNNOERROR;
  BuildRuns(view);
  auto run = view.runs.find(*key);
  if (run == view.runs.end()) return LNNOERROR;  // gone meanwhile: from the top
  view.current = run->second.first + at;
  view.walkEnd = run->second.first + static_cast<std::size_t>(run->second.second);
  return LNNOERROR;
}

// The run of one key through the store's index; false when it cannot tell.
bool FindThroughIndex(ViewData& view, const std::string& key, LNSTATUS* status) {
  DatabaseStore* store = view.db->store.get();
  *status = LNNOERROR;
  if (!store) return false;
  std::vector<LNNOTEID> found;
  bool answered = false;
  *status = ForEachForm(view.design, [&](const std::string& form, bool anyForm) -> LNSTATUS {
    std::vector<LNNOTEID> ids;
    LNSTATUS s = store->FindByKey(form, anyForm, view.design.keyItem, key, &ids, &answered);
    if (s == LNNOERROR && !answered) return LNERR_INTERNAL;  // stops at the first that cannot
    found.insert(found.end(), ids.begin(), ids.end());
    return s;
  });
  if (!answered) {
    *status = LNNOERROR;
    return false;
  }
  if (*status != LNNOERROR) return true;
  std::sort(found.begin(), found.end());
  view.entries.clear();
  if (!found.empty() && view.design.categorized) view.entries.push_back({key, 0, false, true});
  for (LNNOTEID id : found) view.entries.push_back({key, id, false, false});
  view.runs.clear();
  if (!view.entries.empty())
    view.runs.emplace(key, std::make_pair(0, static_cast<long>(view.entries.size())));
  view.runsBuilt = true;
  view.built = true;
  view.partialKey = key;
  return true;
}

}  // namespace lnstore

LNSTATUS LNViewFolder::Open(int options) {
  if (!d_) return LNERR_INVALID_ARGUMENT;
  lnstore::DatabaseStore* store = d_->db->store.get();
  if (!store) return Fail(*d_->db, LNERR_DATABASE_NOT_OPEN);
  d_->open = false;
  if (options & LNVFOPEN_BY_KEY) {
    d_->entries.clear();
    d_->runs.clear();
    d_->runsBuilt = false;
    d_->partialKey.reset();
    d_->built = false;
    d_->current = d_->walkEnd = 0;
  } else if (LNSTATUS status =
                 lnstore::BuildView(*d_, (options & LNVFOPEN_READ_DOCUMENTS) && store->Reading())) {
    return Fail(*d_->db, status);
  }
  d_->open = true;
  return LNNOERROR;
}

LNSTATUS LNViewFolder::ReadEachDocument(const std::function<void(LNDocument&)>& read) {
  if (!d_) return LNERR_INVALID_ARGUMENT;
  lnstore::DatabaseStore* store = d_->db->store.get();
  if (!store) return Fail(*d_->db, LNERR_DATABASE_NOT_OPEN);
  const auto each = [&](lnstore::NoteRecord& note) {
    auto data = lnstore::NoteData::Stored(d_->db, note, note.unidRead);
    data->SetItems(std::move(note.items));
    data->open = true;
    LNDocument document(std::move(data));
    read(document);
    return LNNOERROR;
  };
  const LNSTATUS status = ForEachForm(d_->design, [&](const std::string& form, bool anyForm) {
    return store->EachViewNote(form, anyForm, each);
  });
  return status != LNNOERROR ? Fail(*d_->db, status) : LNNOERROR;
}

LNSTATUS LNViewFolder::Close() {
  if (!d_) return LNERR_INVALID_ARGUMENT;
  d_->open = false;
  d_->entries.clear();
  d_->runs.clear();
  d_->runsBuilt = false;
  d_->partialKey.reset();
  return LNNOERROR;
}

bool LNViewFolder::IsOpen() const {
  return d_ && d_->open;
}

std::string LNViewFolder::GetName() const {
  return d_ ? d_->design.name : std::string();
}

bool LNViewFolder::IsCategorized() const {
  return d_ && d_->design.categorized;
}

long LNViewFolder::GetEntryCount() const {
  if (!IsOpen() || lnstore::CompleteView(*d_) != LNNOERROR) return 0;
  return static_cast<long>(d_->entries.size());
}

LNSTATUS LNViewFolder::GetEntry(LNVFEntry* entry) const {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (!entry) return Fail(*d_->db, LNERR_INVALID_ARGUMENT);
  if (!d_->built || (d_->partialKey && d_->current >= d_->entries.size())) {
    if (LNSTATUS status = lnstore::CompleteView(*d_)) return Fail(*d_->db, status);
  }
  if (d_->current >= d_->entries.size()) return Fail(*d_->db, LNERR_NO_CURRENT_ENTRY);
  const ViewEntry& current = d_->entries[d_->current];
  if (d_->current >= d_->walkEnd) d_->walkEnd = d_->entries.size();
  d_->db->walk = d_;
  entry->db_ = d_->db;
  entry->key_ = current.key;
  entry->noteId_ = current.id;
  entry->category_ = current.category;
  return LNNOERROR;
}

LNSTATUS LNViewFolder::Goto(int navigation, LNVFEntry* entry) {
  if (LNSTATUS status = CheckOpen(d_)) return status;
  if (navigation != LNVFNAVIGATE_NEXT) return Fail(*d_->db, LNERR_INVALID_ARGUMENT);
  if (!d_->built || (d_->partialKey && d_->current + 1 >= d_->entries.size())) {
    if (LNSTATUS status = lnstore::CompleteView(*d_)) return Fail(*d_->db, status);
  }
  if (d_->current + 1 >= d_->entries.size()) {
    d_->current = d_->entries.size();
    return LNWARN_NOT_FOUND;
  }
  ++d_->current;
  return entry ? GetEntry(entry) : LNNOERROR;
}

LNSTATUS LNViewFolder::Find(const std::string& key, LNVFEntry* entry, long* count) {
  if (count) *count = 0;
  if (LNSTATUS status = CheckOpen(d_)) return status;
  LNSTATUS status = LNNOERROR;
  if (!d_->built && lnstore::FindThroughIndex(*d_, key, &status) && status != LNNOERROR)
    return Fail(*d_->db, status);
  if (d_->partialKey != key || !d_->built) {
    if ((status = lnstore::CompleteView(*d_))) return Fail(*d_->db, status);
  }
  if (!d_->runsBuilt) BuildRuns(*d_);
  auto found = d_->runs.find(key);
  if (found == d_->runs.end()) return LNWARN_NOT_FOUND;
  d_->current = found->second.first;
  d_->walkEnd = d_->current + static_cast<std::size_t>(found->second.second);
  if (count) *count = found->second.second;
  return entry ? GetEntry(entry) : LNNOERROR;
}
