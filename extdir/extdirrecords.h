#pragma once
// What the documents of the External Directory hold. Each record type lists its
// stored fields once: the item name, how the value is stored and the member that
// keeps it. Loading and saving both go by these lists.

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "extdir/extdiritems.h"
#include "repository/databasetemplates.h"

class LNNote;

namespace velk {

class Services;

// How a field's value is stored in its item.
enum class StoredAs {
  Text,
  Integer,  // "%d"
  Number,
  YesNo,         // "Yes" or "No"
  Word,          // the word of a vocabulary for the code
  List,          // texts
  Readers,       // texts naming who may read the document
  FieldEntries,  // one "name/type/description" text per entry
};

// A vocabulary's converters, from code to word and back.
struct WordConverter {
  std::string (*toWord)(int code);
  void (*toCode)(const std::string& word, int& code);
  const std::vector<std::string>& (*words)();
};

template <class Record>
struct StoredField {
  using Member =
      std::variant<std::string Record::*, int Record::*, bool Record::*,
                   std::vector<std::string> Record::*, std::vector<ExtDirFieldEntry> Record::*>;
  std::string_view item;
  StoredAs as;
  Member member;
  const WordConverter* words = nullptr;  // for StoredAs::Word
};

template <class Record>
using StoredFields = std::vector<StoredField<Record>>;

// The stored fields of a record type in the order they are written; the item
// that holds an item's ID (StoredDocument::keyItem) is not among them.
template <class Record>
const StoredFields<Record>& FieldsOf();
template <>
const StoredFields<ContentBlockRecord>& FieldsOf<ContentBlockRecord>();
template <>
const StoredFields<DocumentTypeRecord>& FieldsOf<DocumentTypeRecord>();
template <>
const StoredFields<CExtDirItemExtRegOrg>& FieldsOf<CExtDirItemExtRegOrg>();
template <>
const StoredFields<CExtDirItemGRIProcView>& FieldsOf<CExtDirItemGRIProcView>();
template <>
const StoredFields<CExtDirItemGRILeaf>& FieldsOf<CExtDirItemGRILeaf>();
template <>
const StoredFields<EidmOrgFields>& FieldsOf<EidmOrgFields>();
template <>
const StoredFields<CExtDirItemEIDM>& FieldsOf<CExtDirItemEIDM>();
template <>
const StoredFields<CExtDirItemCM>& FieldsOf<CExtDirItemCM>();

// Every stored field of the record from the note; a missing item gives the
// empty value (a vocabulary's default for words), a failing one is shown.
template <class Record>
void ReadFields(Services& services, Record& record, LNNote& note);
// Every stored field into the note. Throws LNStatusError.
template <class Record>
void WriteFields(const Record& record, LNNote& note);

// The forms of a new External Directory Database, from the records above.
std::vector<FormDesign> ExternalDirectoryForms();

enum class NewId { NoteId, UniversalId };

// The document one kind of item is saved as.
struct StoredDocument {
  const char* form;
  const char* statusText;  // while it is written; also the category of its errors
  const char* keyItem;     // holds the item's ID
  NewId newId;             // what an item without ID takes as its ID
  bool keyFirst;           // the key item leads the items (written even while empty)
};

// Null for the kinds that are never saved.
const StoredDocument* StoredDocumentOf(ExtDirKind kind);

}  // namespace velk
