#include <fstream>
#include <iostream>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "commands.h"
#include "repository/identity.h"
#include "repository/store/lnnotes.h"
#include "repository/storejson.h"

namespace velkcli {

LNDatabase openDatabase(Context& ctx, const std::string& path, const std::string& server) {
  LNThrowAllErrorsScope returning(false);
  LNDatabase db;
  LNSTATUS status = ctx.session.GetDatabase(path, &db, server);
  if (status == LNNOERROR) status = db.Open();
  if (status != LNNOERROR)
    throw std::runtime_error("cannot open " + path + ": " + LNGetErrorMessage(status));
  return db;
}

namespace {

int dump(Context& ctx, const Args& args) {
  args.expectAtMost(1);
  const std::string path = args.at(0, "database path");
  const std::string view = args.option("view").value_or("");
  LNDatabase db = openDatabase(ctx, path);
  velk::Json documents;
  try {
    documents = velk::DumpDatabase(db, view);
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
    dumpJson = velk::Json::parse(in);
  } catch (const velk::Json::parse_error& e) {
    ctx.err << "velkmod-cli: " << file << " is not valid JSON: " << e.what() << '\n';
    return kFailed;
  }
  LNDatabase db = openDatabase(ctx, args.at(0, "database path"));
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
      LNThrowAllErrorsScope returning(false);
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

}  // namespace

int dbCommand(Context& ctx, const std::vector<std::string>& words) {
  if (words.empty()) throw UsageError("missing db subcommand");
  const std::string sub = words[0];
  const std::vector<std::string> rest(words.begin() + 1, words.end());
  if (sub == "dump") return dump(ctx, Args(rest, {"view"}));
  if (sub == "import") return import(ctx, Args(rest, {}));
  if (sub == "ls") return list(ctx, Args(rest, {"server"}));
  if (sub == "create" || sub == "info") return dbDesignCommand(ctx, sub, rest);
  if (sub == "check") return dbCheckCommand(ctx, rest);
  throw UsageError("unknown db subcommand \"" + sub + "\"");
}

}  // namespace velkcli
