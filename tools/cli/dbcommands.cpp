#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <optional>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "model/jsonlimits.h"
#include "repository/databasetemplates.h"
#include "repository/identity.h"
#include "repository/store/lnnotes.h"
#include "repository/storejson.h"

namespace velkcli {

LNDatabase openDatabase(Context& ctx, const std::string& path, const std::string& server) {
  const bool throwing = ctx.session.GetThrowAllErrors();
  LNDatabase db;
  LNSTATUS status = LNNOERROR;
  {
    LNThrowAllErrorsScope returning(ctx.session, false);
    status = ctx.session.GetDatabase(path, &db, server);
    if (status == LNNOERROR) status = db.Open();
  }
  if (status != LNNOERROR)
    throw std::runtime_error("cannot open " + path + ": " + db.ErrorMessage(status));
  db.SetThrowAllErrors(throwing);  // its users take failures as the session does
  return db;
}

namespace {

// A dump carries the item "Form" in "form" and leaves it out of "items". That is
// only faithful for what SetFormNote writes: one text, summary flag.
bool isFormItem(const std::string& name) {
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower == "form";
}

bool formFitsFormField(const LNItem& item) {
  return item.type == LNItemType::Text && item.texts.size() == 1 &&
         item.flags == LNITEMFLAGS_SUMMARY;
}

// As the dump writes items.
velk::Json itemJson(const LNItem& item) {
  velk::Json values = velk::Json::array();
  for (double v : item.numbers) {  // whole numbers without a fraction
    if (std::trunc(v) == v && std::fabs(v) <= 9007199254740992.0 && !(v == 0 && std::signbit(v)))
      values.push_back(static_cast<std::int64_t>(v));
    else
      values.push_back(v);
  }
  for (const std::string& v : item.texts) values.push_back(v);
  const char* type = item.type == LNItemType::Numbers     ? "number"
                     : item.type == LNItemType::Datetimes ? "datetime"
                                                          : "text";
  return {{"name", item.name}, {"type", type}, {"flags", item.flags}, {"values", values}};
}

// Puts back among the items, at its stored place, a "Form" that "form" cannot carry.
void keepUnusualForms(LNDatabase& db, velk::Json& dumped) {
  LNThrowAllErrorsScope throwing(db, true);
  for (velk::Json& doc : dumped["documents"]) {
    LNDocument note;
    db.GetDocument(ParseNoteId(doc["noteId"].get<std::string>()).value_or(0), &note);
    note.Open();
    const std::vector<LNItem> items = note.GetItems();
    note.Close();
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (!isFormItem(items[i].name)) continue;
      velk::Json& list = doc["items"];
      if (!formFitsFormField(items[i]))
        list.insert(list.begin() + static_cast<std::ptrdiff_t>(std::min(i, list.size())),
                    itemJson(items[i]));
      break;
    }
  }
}

bool listsFormItem(const velk::Json& doc) {
  if (!doc.contains("items") || !doc["items"].is_array()) return false;
  return std::ranges::any_of(doc["items"], [](const velk::Json& item) {
    return item.is_object() && item.contains("name") && item["name"].is_string() &&
           isFormItem(item["name"].get<std::string>());
  });
}

// What is wrong with a dump that only shows here; the rest ImportDocuments reports.
// The store refuses note ids above LNNOTEID_MAX_GIVEN too, but cannot name them. A
// document listing a "Form" item is given it as listed, in its place: "form" would
// put a "Form" first, which the item then merely overwrites.
std::string prepareImport(velk::Json& dumpJson) {
  if (!dumpJson.is_object() || !dumpJson.contains("documents") || !dumpJson["documents"].is_array())
    return {};
  velk::Json& docs = dumpJson["documents"];
  for (std::size_t i = 0; i < docs.size(); ++i) {
    velk::Json& doc = docs[i];
    if (!doc.is_object()) continue;
    const velk::Json& id = doc.contains("noteId") ? doc["noteId"] : velk::Json();
    const auto noteId = id.is_string() ? ParseNoteId(id.get<std::string>()) : std::nullopt;
    if (noteId && *noteId > LNNOTEID_MAX_GIVEN)
      return "document " + std::to_string(i + 1) + ": noteId " + id.dump() +
             " is too high: note ids above " + FormatNoteId(LNNOTEID_MAX_GIVEN) +
             " are kept for new documents";
    if (doc.contains("form") && doc["form"].is_string() && listsFormItem(doc)) doc.erase("form");
  }
  return {};
}

int dump(Context& ctx, const Args& args) {
  args.expectAtMost(1);
  const std::string path = args.at(0, "database path");
  const std::string view = args.option("view").value_or("");
  LNDatabase db = openDatabase(ctx, path, args.option("server").value_or(""));
  velk::Json documents;
  try {
    LNReadSnapshot snapshot(db);  // each document is read twice
    documents = velk::DumpDatabase(db, view);
    keepUnusualForms(db, documents);
  } catch (const LNStatusError& e) {
    throw std::runtime_error("cannot dump " + path + (view.empty() ? "" : " view " + view) + ": " +
                             e.what());
  }
  // Texts that are not UTF-8 are shown with replacement characters rather than refused.
  ctx.out << documents.dump(2, ' ', false, velk::Json::error_handler_t::replace) << '\n';
  return kOk;
}

int import(Context& ctx, const Args& args) {
  args.expectAtMost(2);
  const std::string file = args.at(1, "JSON file");
  std::ifstream in(file);
  if (!in) {
    ctx.err << "velkmod-cli: cannot read " << file << '\n';
    return kFailed;
  }
  velk::Json dumpJson;
  try {
    dumpJson = velk::ParseJsonWithinDepth(in);
  } catch (const velk::JsonTooDeep& e) {
    ctx.err << "velkmod-cli: " << file << ": " << e.what() << '\n';
    return kFailed;
  } catch (const velk::Json::exception& e) {
    ctx.err << "velkmod-cli: " << file << " is not valid JSON: " << e.what() << '\n';
    return kFailed;
  }
  if (const std::string error = prepareImport(dumpJson); !error.empty()) {
    ctx.err << "velkmod-cli: nothing imported: " << error << '\n';
    return kFailed;
  }
  LNDatabase db = openDatabase(ctx, args.at(0, "database path"), args.option("server").value_or(""));
  velk::ImportResult result = velk::ImportDocuments(db, dumpJson);
  if (!result.error.empty()) {
    ctx.err << "velkmod-cli: nothing imported: " << result.error << '\n';
    return kFailed;
  }
  ctx.out << "Imported " << result.imported << " documents into " << db.GetFilepath() << '\n';
  return kOk;
}

int list(Context& ctx, const Args& args) {
  args.expectAtMost(0);
  std::vector<LNDatabase> dbs;
  ctx.session.GetDatabases(&dbs, {}, args.option("server").value_or(""), 1);
  for (LNDatabase& db : dbs) {
    std::string title;
    {
      LNThrowAllErrorsScope returning(db, false);
      if (db.Open() == LNNOERROR) {
        title = db.GetTitle();
        db.Close();
      } else {
        title = "(cannot be opened)";
      }
    }
    ctx.out << db.GetFilepath() << '\t' << title << '\n';
  }
  return kOk;
}

int copy(Context& ctx, const Args& args) {
  args.expectAtMost(2);
  const std::string from = args.at(0, "source database path");
  const std::string to = args.at(1, "destination database path");
  const std::size_t count = copyDatabase(ctx, {from, args.option("from-server").value_or("")},
                                         {to, args.option("to-server").value_or("")});
  ctx.out << "Copied " << from << " to " << to << " (" << count << " documents)\n";
  return kOk;
}

}  // namespace

std::size_t copyDatabase(Context& ctx, const velk::DatabaseLocation& from,
                         const velk::DatabaseLocation& to) {
  LNDatabase source = openDatabase(ctx, from.fileName, from.server);
  const velk::DatabaseKind kind = velk::DetectKindByViews(source);
  if (kind == velk::DatabaseKind::None)
    throw std::runtime_error(from.fileName + " is none of the VELK database kinds: nothing copied");
  velk::Json dumped;
  {
    LNReadSnapshot snapshot(source);
    dumped = velk::DumpDatabase(source);
    keepUnusualForms(source, dumped);
  }
  source.Close();
  if (std::string error = prepareImport(dumped); !error.empty())
    throw std::runtime_error("nothing copied: " + error);
  std::string error;
  LNDatabase target;
  LNThrowAllErrorsScope returning(ctx.session, false);  // and the databases it gives
  // Design and documents go in before the copy appears under its name: all or nothing.
  const LNSTATUS status = ctx.session.CreateDatabase(
      to.fileName, &target, dumped.value("title", ""), to.server, [&](LNDatabase& building) -> LNSTATUS {
        if (LNSTATUS design = velk::ApplyTemplate(building, kind); design != LNNOERROR)
          return design;
        error = velk::ImportDocuments(building, dumped).error;
        return error.empty() ? LNNOERROR : LNERR_INVALID_ARGUMENT;
      });
  if (!error.empty()) throw std::runtime_error("nothing copied: " + error);
  if (status != LNNOERROR)
    throw std::runtime_error("cannot create " + to.fileName + ": " +
                             ctx.session.ErrorMessage(status));
  return dumped["documents"].size();
}

int dbCommand(Context& ctx, const std::vector<std::string>& words) {
  if (words.empty()) throw UsageError("missing db subcommand");
  const std::string sub = words[0];
  const std::vector<std::string> rest(words.begin() + 1, words.end());
  if (sub == "dump") return dump(ctx, Args(rest, {"view", "server"}));
  if (sub == "import") return import(ctx, Args(rest, {"server"}));
  if (sub == "ls") return list(ctx, Args(rest, {"server"}));
  if (sub == "copy") return copy(ctx, Args(rest, {"from-server", "to-server"}));
  if (sub == "create" || sub == "info") return dbDesignCommand(ctx, sub, rest);
  if (sub == "check") return dbCheckCommand(ctx, rest);
  throw UsageError("unknown db subcommand \"" + sub + "\"");
}

}  // namespace velkcli
