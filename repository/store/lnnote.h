#pragma once
// Documents, forms and views are notes: a note id, a universal id and named items.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "repository/store/lnstatus.h"
#include "repository/store/lnvalues.h"

using LNNOTEID = std::uint32_t;

// The highest note id a note may be given (SetNoteIdentity): the ids above stay
// free for the notes the store numbers itself.
inline constexpr LNNOTEID LNNOTEID_MAX_GIVEN = 0x7FFFFFFF;

// w0, w1: file part; w2, w3: note part.
struct LNUNID {
  std::array<std::uint32_t, 4> words{};
  bool operator==(const LNUNID&) const = default;
};

struct LNREPLICAID {
  std::array<std::uint32_t, 2> words{};
  bool operator==(const LNREPLICAID&) const = default;
};

enum class LNNoteClass : std::uint8_t { Document = 1, Form = 2, View = 3 };

namespace lnstore {
struct DatabaseData;
struct NoteData;
}  // namespace lnstore

class LNDatabase;

// A handle: copies refer to the same note. Items live in memory while the note is
// open; Save writes them all at once, atomically.
class LNNote {
 public:
  LNNote();
  ~LNNote();
  LNNote(const LNNote&);
  LNNote& operator=(const LNNote&);

  bool IsNull() const;
  LNSTATUS Open(int options = 0);
  LNSTATUS Close();
  bool IsOpen() const;
  bool IsNewNote() const;  // created but never saved
  LNSTATUS Save(int options = 0);

  LNNoteClass GetNoteClass() const;
  LNNOTEID GetNoteID() const;  // 0 until first saved
  LNUNID GetUniversalID() const;
  void GetUniversalID(LNUNID* unid) const { *unid = GetUniversalID(); }
  // For a new note not saved yet: the note id it is to be saved under (0: one is
  // assigned) and its universal id (nullptr: keeps its own). LNERR_NOTE_EXISTS when
  // the database has a note with either, LNERR_NOTE_ID_TOO_HIGH above
  // LNNOTEID_MAX_GIVEN; LNERR_INVALID_ARGUMENT once saved.
  LNSTATUS SetNoteIdentity(LNNOTEID noteId, const LNUNID* unid = nullptr);

  // The form a document was written with: its item "Form".
  LNSTATUS SetFormNote(const std::string& formName);
  std::string GetFormName() const;

  bool HasItem(std::string_view name) const;
  LNSTATUS GetItem(std::string_view name, LNText* value) const;
  LNSTATUS GetItem(std::string_view name, LNNumbers* value) const;
  LNSTATUS GetItem(std::string_view name, LNDatetime* value) const;  // element 0
  LNSTATUS GetItem(std::string_view name, LNItem* item) const;
  // Element 0 / all elements of a text item; empty when the item is missing. Only
  // a note that is not open or an item of another type fail.
  LNSTATUS GetFirstText(std::string_view name, std::string* text) const;
  LNSTATUS GetTexts(std::string_view name, std::vector<std::string>* texts) const;
  LNSTATUS CreateItem(const std::string& name, const LNText& value,
                      LNITEMFLAGS flags = LNITEMFLAGS_SUMMARY, LNITEMOPTION option = 0);
  LNSTATUS CreateItem(const std::string& name, const LNNumbers& value,
                      LNITEMFLAGS flags = LNITEMFLAGS_SUMMARY, LNITEMOPTION option = 0);
  LNSTATUS CreateItem(const std::string& name, const LNDatetime& value,
                      LNITEMFLAGS flags = LNITEMFLAGS_SUMMARY, LNITEMOPTION option = 0);
  LNSTATUS CreateItem(const LNItem& item, LNITEMOPTION option = 0);
  LNSTATUS DeleteItem(const std::string& name);
  // All items in stored order.
  std::vector<LNItem> GetItems() const;
  // The items by position, read where they are: a reader that takes what a note
  // holds need not ask for every name it knows, most of which a note lacks.
  // No items when the note is not open; a value of another type reads as empty.
  std::size_t GetItemCount() const;
  std::string_view GetItemName(std::size_t index) const;
  LNItemType GetItemType(std::size_t index) const;
  std::string_view GetFirstTextAt(std::size_t index) const;  // valid until the note changes
  void GetTextsAt(std::size_t index, std::vector<std::string>* texts) const;
  void GetNumbersAt(std::size_t index, std::vector<double>* numbers) const;

 protected:
  friend class LNDatabase;
  friend class LNVFEntry;
  friend class LNViewFolder;
  explicit LNNote(std::shared_ptr<lnstore::NoteData> data);
  std::shared_ptr<lnstore::NoteData> d_;
};

class LNDocument : public LNNote {
 public:
  LNDocument() = default;
  using LNNote::LNNote;
};

// A form design note: "$TITLE" holds its name, "$Fields" its field names.
class LNForm : public LNNote {
 public:
  LNForm() = default;
  using LNNote::LNNote;
};
