// "db create" and "db info": databases by their design.

#include <algorithm>
#include <ostream>
#include <stdexcept>

#include "commands.h"
#include "repository/databasetemplates.h"
#include "repository/identity.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"

namespace velkcli {
namespace {

std::string kindWords() {
  std::string words;
  for (const velk::DatabaseTemplate& t : velk::DatabaseTemplates())
    words += std::string(words.empty() ? "" : ", ") + t.cliName;
  return words;
}

int create(Context& ctx, const Args& args) {
  args.expectAtMost(2);
  const std::string what = "database kind (" + kindWords() + ")";
  const std::string kindWord = args.at(0, what.c_str());
  const auto kind = velk::KindFromCliName(kindWord);
  if (!kind)
    throw UsageError("unknown database kind \"" + kindWord + "\" (use " + kindWords() + ")");
  const std::string path = args.at(1, "database path");

  LNThrowAllErrorsScope returning(ctx.session, false);  // and the database it gives
  LNDatabase db;
  const LNSTATUS status = velk::CreateDatabaseOfKind(ctx.session, *kind, path,
                                                     args.option("title").value_or(""),
                                                     args.option("server").value_or(""), &db);
  if (status != LNNOERROR)
    throw std::runtime_error("cannot create " + path + ": " + ctx.session.ErrorMessage(status));
  db.Open();
  ctx.out << "Created " << velk::KindNameOf(*kind) << " " << db.GetFilepath() << " \""
          << db.GetTitle() << "\", replica id " << FormatReplicaId(db.GetReplicaID()) << '\n';
  db.Close();
  return kOk;
}

// Documents only: category rows are not counted.
long documentCount(LNViewFolder& view) {
  if (!view.IsCategorized()) return view.GetEntryCount();
  long count = 0;
  if (view.GetEntryCount() > 0)
    velk::ViewWalk(view).Entries([&count](const LNVFEntry&) {
      ++count;
      return true;
    });
  return count;
}

void printViews(Context& ctx, LNDatabase& db) {
  const std::vector<std::string> names = db.GetViewNames();
  std::size_t width = 0;
  for (const std::string& name : names) width = std::max(width, name.size());
  ctx.out << "Views:" << (names.empty() ? " none" : "") << '\n';
  for (const std::string& name : names) {
    LNViewFolder view;
    db.GetViewFolder(name, &view);
    view.Open();
    const long count = documentCount(view);
    view.Close();
    ctx.out << "  " << name << std::string(width - name.size() + 2, ' ') << count
            << (count == 1 ? " document" : " documents") << '\n';
  }
}

int info(Context& ctx, const Args& args) {
  args.expectAtMost(1);
  LNDatabase db =
      openDatabase(ctx, args.at(0, "database path"), args.option("server").value_or(""));
  const velk::DatabaseKind kind = velk::DetectKindByViews(db);
  ctx.out << "File:       " << db.GetFilepath() << '\n'
          << "Title:      " << db.GetTitle() << '\n'
          << "Replica id: " << FormatReplicaId(db.GetReplicaID()) << '\n'
          << "Kind:       " << velk::KindNameOf(kind);
  if (kind != velk::DatabaseKind::None) ctx.out << " (" << velk::CliNameOf(kind) << ')';
  ctx.out << '\n';
  printViews(ctx, db);
  db.Close();
  return kOk;
}

}  // namespace

int dbDesignCommand(Context& ctx, const std::string& sub, const std::vector<std::string>& words) {
  if (sub == "create") return create(ctx, Args(words, {"title", "server"}));
  if (sub == "info") return info(ctx, Args(words, {"server"}));
  throw UsageError("unknown db subcommand \"" + sub + "\"");
}

}  // namespace velkcli
