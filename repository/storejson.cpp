#include "repository/storejson.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <optional>
#include <set>
#include <stdexcept>

#include "repository/identity.h"
#include "repository/viewreader.h"

namespace velk {
namespace {

// A problem with the input; its text is shown to the user.
struct BadInput : std::runtime_error {
  using std::runtime_error::runtime_error;
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

const char* TypeName(LNItemType type) {
  switch (type) {
    case LNItemType::Numbers:
      return "number";
    case LNItemType::Datetimes:
      return "datetime";
    case LNItemType::Text:
      break;
  }
  return "text";
}

// Whole numbers are written without a fraction, as people write them.
Json NumberToJson(double value) {
  constexpr double kExact = 9007199254740992.0;  // 2^53
  if (std::trunc(value) == value && std::fabs(value) <= kExact &&
      !(value == 0 && std::signbit(value)))
    return static_cast<std::int64_t>(value);
  return value;
}

Json ItemToJson(const LNItem& item) {
  Json values = Json::array();
  if (item.type == LNItemType::Numbers) {
    for (double v : item.numbers) values.push_back(NumberToJson(v));
  } else {
    for (const auto& v : item.texts) values.push_back(v);
  }
  Json out;
  out["name"] = item.name;
  out["type"] = TypeName(item.type);
  out["flags"] = item.flags;
  out["values"] = std::move(values);
  return out;
}

Json DocumentToJson(LNDocument& doc) {
  doc.Open();
  Json items = Json::array();
  for (const LNItem& item : doc.GetItems())
    if (Lower(item.name) != "form") items.push_back(ItemToJson(item));
  Json out;
  out["noteId"] = FormatNoteId(doc.GetNoteID());
  out["unid"] = FormatUniversalId(doc.GetUniversalID());
  out["form"] = doc.GetFormName();
  out["items"] = std::move(items);
  doc.Close();
  return out;
}

const Json& Member(const Json& object, const char* key, Json::value_t type, const char* what) {
  if (!object.contains(key)) throw BadInput(std::string("\"") + key + "\" is missing");
  const Json& value = object.at(key);
  if (value.type() != type) throw BadInput(std::string(key) + " must be " + what);
  return value;
}

std::string Text(const Json& object, const char* key) {
  return Member(object, key, Json::value_t::string, "a text").get<std::string>();
}

// "YYYY-MM-DDTHH:MM:SS", the form the store keeps date-times in.
bool IsDatetimeText(const std::string& text) {
  static const std::string shape = "dddd-dd-ddTdd:dd:dd";
  if (text.size() != shape.size()) return false;
  for (std::size_t i = 0; i < shape.size(); ++i) {
    const bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
    if (shape[i] == 'd' ? !digit : text[i] != shape[i]) return false;
  }
  return true;
}

LNITEMFLAGS FlagsOf(const Json& item) {
  if (!item.contains("flags")) return LNITEMFLAGS_SUMMARY;
  const Json& flags = item.at("flags");
  if (!flags.is_number_unsigned() ||
      flags.get<std::uint64_t>() > std::numeric_limits<LNITEMFLAGS>::max())
    throw BadInput("flags must be a whole number from 0 to 4294967295");
  return flags.get<LNITEMFLAGS>();
}

// A day of the calendar and a time of the day: no month 13, no 29 February
// outside leap years, no hour 24. Takes a text of IsDatetimeText's form.
bool IsRealDatetime(const std::string& text) {
  const auto number = [&](std::size_t at, std::size_t digits) {
    return std::stoi(text.substr(at, digits));
  };
  const int year = number(0, 4), month = number(5, 2), day = number(8, 2);
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return false;
  if (day > kDays[month - 1] + (month == 2 && leap ? 1 : 0)) return false;
  return number(11, 2) < 24 && number(14, 2) < 60 && number(17, 2) < 60;
}

void ReadValues(const Json& values, LNItem& item) {
  for (const Json& v : values) {
    if (item.type == LNItemType::Numbers) {
      if (!v.is_number()) throw BadInput("the values of a number item must be numbers");
      item.numbers.push_back(v.get<double>());
      continue;
    }
    if (!v.is_string())
      throw BadInput("the values of a " + std::string(TypeName(item.type)) + " item must be texts");
    if (item.type == LNItemType::Datetimes && !IsDatetimeText(v.get<std::string>()))
      throw BadInput("the date-time " + v.dump() + " is not of the form YYYY-MM-DDTHH:MM:SS");
    if (item.type == LNItemType::Datetimes && !IsRealDatetime(v.get<std::string>()))
      throw BadInput("the date-time " + v.dump() + " is no real day and time");
    item.texts.push_back(v.get<std::string>());
  }
}

LNItem ItemFromJson(const Json& j) {
  if (!j.is_object()) throw BadInput("an item must be an object");
  LNItem item;
  item.name = Text(j, "name");
  if (item.name.empty()) throw BadInput("an item has an empty name");
  try {
    const std::string type = j.contains("type") ? Text(j, "type") : "text";
    if (type == "number")
      item.type = LNItemType::Numbers;
    else if (type == "datetime")
      item.type = LNItemType::Datetimes;
    else if (type != "text")
      throw BadInput("unknown type \"" + type + "\" (text, number or datetime)");
    item.flags = FlagsOf(j);
    ReadValues(Member(j, "values", Json::value_t::array, "a list"), item);
  } catch (const std::exception& e) {
    throw BadInput("item \"" + item.name + "\": " + e.what());
  }
  return item;
}

void ImportDocument(LNDatabase& db, const Json& j) {
  if (!j.is_object()) throw BadInput("a document must be an object");
  std::vector<LNItem> items;
  std::set<std::string> names;
  if (j.contains("items")) {
    for (const Json& item : Member(j, "items", Json::value_t::array, "a list")) {
      items.push_back(ItemFromJson(item));
      if (!names.insert(Lower(items.back().name)).second)
        throw BadInput("item \"" + items.back().name + "\" appears twice");
    }
  }
  LNNOTEID noteId = 0;
  if (j.contains("noteId")) {
    auto id = ParseNoteId(Text(j, "noteId"));
    if (!id) throw BadInput("noteId " + j.at("noteId").dump() + " is not a note id (8 hex digits)");
    noteId = *id;
  }
  std::optional<LNUNID> unid;
  if (j.contains("unid")) {
    unid = ParseUniversalId(Text(j, "unid"));
    if (!unid)
      throw BadInput("unid " + j.at("unid").dump() + " is not a universal id (32 hex digits)");
  }
  LNDocument doc;
  db.CreateDocument(&doc);
  if (noteId != 0 || unid) doc.SetNoteIdentity(noteId, unid ? &*unid : nullptr);
  if (j.contains("form")) doc.SetFormNote(Text(j, "form"));
  for (const LNItem& item : items) doc.CreateItem(item);
  doc.Save();
  doc.Close();
}

}  // namespace

Json DumpDatabase(LNDatabase& db, const std::string& view) {
  LNThrowAllErrorsScope throwing(db, true);
  Json docs = Json::array();
  if (view.empty()) {
    std::vector<LNDocument> all;
    db.GetAllDocuments(&all);
    for (auto& doc : all) docs.push_back(DocumentToJson(doc));
  } else {
    LNViewFolder folder;
    db.GetViewFolder(view, &folder);
    folder.Open();
    if (folder.GetEntryCount() > 0)
      ViewWalk(folder).Entries([&docs](const LNVFEntry& entry) {
        LNDocument doc;
        entry.GetDocument(&doc);
        docs.push_back(DocumentToJson(doc));
        return true;
      });
    folder.Close();
  }
  Json out;
  out["title"] = db.GetTitle();
  out["replicaId"] = FormatReplicaId(db.GetReplicaID());
  out["documents"] = std::move(docs);
  return out;
}

ImportResult ImportDocuments(LNDatabase& db, const Json& dump) {
  ImportResult result;
  std::string where;
  try {
    if (!dump.is_object()) throw BadInput("the file must hold an object with a \"documents\" list");
    const Json& docs = Member(dump, "documents", Json::value_t::array, "a list");
    std::optional<std::string> title;
    if (dump.contains("title")) title = Text(dump, "title");
    std::optional<LNREPLICAID> replicaId;
    if (dump.contains("replicaId")) {
      replicaId = ParseReplicaId(Text(dump, "replicaId"));
      if (!replicaId)
        throw BadInput("replicaId " + dump.at("replicaId").dump() + " is not a replica id");
    }
    LNThrowAllErrorsScope throwing(db, true);
    LNTransaction transaction(db);
    for (std::size_t i = 0; i < docs.size(); ++i) {
      where = "document " + std::to_string(i + 1) + ": ";
      ImportDocument(db, docs[i]);
    }
    where.clear();
    // Last, so that a failed import leaves the open database's identity alone.
    if (replicaId) db.SetReplicaID(*replicaId);
    if (title) db.SetTitle(*title);
    transaction.Commit();
    result.imported = static_cast<int>(docs.size());
  } catch (const std::exception& e) {  // BadInput, LNStatusError and JSON errors alike
    result.error = where + e.what();
    result.imported = 0;
  }
  return result;
}

}  // namespace velk
