#pragma once
// The records of a stored workflow, each described once: the header, the task and
// the arrow, field by field with the item that stores it, how it is stored and its
// name in a workflow file. Loading, saving, exporting and importing (and so the
// recovery copies) all walk these tables, so no direction can know a field that
// another one misses. The tables list the items in the order they are written.

#include <climits>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "model/workflowbuild.h"
#include "model/workflowheader.h"
#include "repository/databasetemplates.h"

class LNNote;

namespace velk {

class Services;

// Written only when the save knows the replica id of the Application
// Environment Database, in the header and in every task.
inline constexpr char kAppReplicaIdItem[] = "AppReplikaID";

// How an item holds its field's value.
enum class ItemType {
  Text,      // one text
  Integer,   // an int as decimal text
  Number,    // a number item
  Flag,      // "Yes" or "No"
  List,      // a text list; an empty list leaves no item
  Word,      // the vocabulary word of the field's code
  Key,       // the key a node is named by; in a workflow file the node's integer id
  Computed,  // holds its place in the written order; the writer gives its value
};

// A vocabulary: its words by code and the stored word's parser.
struct WordTable {
  std::string (*toWord)(int);
  void (*toCode)(const std::string&, int&);
  const std::vector<std::string>& (*words)();
  // Named when a workflow file holds a word outside the table, which is then
  // refused; nullptr: such a word reads as the vocabulary reads it.
  const char* strictName = nullptr;
};

using FieldValue = std::variant<std::string, int, bool, std::vector<std::string>>;

template <class Record>
struct RecordField {
  const char* item;  // nullptr: only in workflow files
  const char* json;  // nullptr: never in workflow files
  ItemType type;
  FieldValue (*get)(const Record&) = nullptr;  // none for a computed item
  void (*set)(Record&, FieldValue) = nullptr;
  const WordTable* words = nullptr;
  // An empty value is not stored (and a key without a value is null in a file).
  bool optional = false;
  // Read from documents the engine writes; the modeler never writes it.
  bool readOnly = false;
  // Stored only when this holds; nullptr: always.
  bool (*storedIf)(const Record&) = nullptr;
  // The range a workflow file may give an integer.
  int low = INT_MIN;
  int high = INT_MAX;
};

template <class Record>
using RecordFields = std::vector<RecordField<Record>>;

// An arrow as a workflow file and the routing items name it.
struct ArrowRecord {
  RoutingKind kind = RoutingKind::And;
  PendingArrow ends;
};

const RecordFields<WorkflowHeader>& HeaderRecordFields();
// Up to "Code"; the routing items follow.
const RecordFields<TaskRecord>& TaskRecordFields();
const RecordFields<ArrowRecord>& ArrowRecordFields();

// The items that list a task's successors over arrows of one kind, in parallel:
// their keys, their codes and, by kind, the arrows' conditions and formulas.
struct RoutingItems {
  const char* keys;
  const char* codes;
  const char* conditions;  // nullptr: the kind has none
  const char* formulas;
};
// And, Or, Xor, Cor, Else; an unknown kind is And's.
const RoutingItems& RoutingItemsOf(RoutingKind kind);

// The items a task lists its successors and what it reaches by, after the
// routing items of each kind; the engine reads them, the modeler only writes them.
namespace graphitems {
inline constexpr char kOwnCode[] = "code_1";
inline constexpr char kReachableCodes[] = "next_1";
inline constexpr char kReachableKeys[] = "Next";
inline constexpr char kGoesToJoin[] = "GoesToJoin";
inline constexpr char kSuccessorCodes[] = "suc_code_1";
inline constexpr char kSuccessorKeys[] = "Suc_Code";
inline constexpr char kJoins[] = "Join";
}  // namespace graphitems

// What header and task documents hold, item by item in written order with how
// each is stored: the forms of a new Process Definitions Database and "db check"
// go by them.
std::vector<FormItem> HeaderFormItems();
std::vector<FormItem> TaskFormItems();

// The task record of a node, its key and that of the node it refers to given by
// `keyOf` (an empty key: no reference).
TaskRecord TaskRecordOf(const CNode& node, const std::function<std::string(const CNode&)>& keyOf);

// The field stored under `item`, whatever its case; nullptr when none is.
template <class Record>
const RecordField<Record>* FieldOfItem(const RecordFields<Record>& fields, std::string_view item);

// Reads every stored, not computed field of `record` from `doc`.
template <class Record>
void ReadRecord(Services& services, LNNote& doc, const RecordFields<Record>& fields,
                Record& record);

// Writes the items of `record` in their order. `special` is asked first about each
// field and returns true when it has written its item, or left it out, itself;
// computed items are left to it.
template <class Record>
using SpecialItems = std::function<bool(const RecordField<Record>&)>;
template <class Record>
void WriteRecord(LNNote& doc, const RecordFields<Record>& fields, const Record& record,
                 const SpecialItems<Record>& special);

// Writes one field under `item`, as WriteRecord does.
template <class Record>
void WriteItem(LNNote& doc, const RecordField<Record>& field, const Record& record,
               const std::string& item);

}  // namespace velk
