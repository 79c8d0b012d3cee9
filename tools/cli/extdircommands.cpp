// "extdir tree" and what "db check" reports of an External Directory Database.

#include <ostream>
#include <stdexcept>

#include "repository/databasecache.h"
#include "common/headlessservices.h"
#include "common/infocenter.h"
#include "app/qsettings/qsettingsbackend.h"
#include "app/settings.h"
#include "commands.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirtree.h"
#include "repository/applicationenvdb.h"
#include "repository/processdefdb.h"
#include "repository/repositoryjson.h"
#include "repository/store/lnnotes.h"

namespace velkcli {

namespace {

using velk::Json;

std::string LabelOf(const velk::CExtDirItem& item) {
  if (const auto* person = dynamic_cast<const velk::CExtDirItemExtRegOrg*>(&item))
    return person->FullName;
  return item.Label();
}

// The loaded sections in loading order with the number of entries each gave.
Json SectionsJson(const velk::CExtDirData& data) {
  auto count = [&data](velk::ExtDirKind kind) {
    std::size_t n = 0;
    for (const auto& item : data.Items()) n += item->Kind() == kind;
    return n;
  };
  Json sections = Json::array();
  auto add = [&sections](const char* name, std::size_t n) {
    sections.push_back({{"section", name}, {"count", n}});
  };
  add("Content Blocks", data.ContentBlocks().size());
  add("Content Management", count(velk::ExtDirKind::CM));
  add("Document Types", data.DocumentTypes().size());
  add("External Registered Organizations", count(velk::ExtDirKind::ExtRegOrg));
  add("External Ordered Cluster", count(velk::ExtDirKind::EIDM));
  add("External Ordered Cluster Organization", count(velk::ExtDirKind::EIDMOrg) / 2);
  add("GRI Header", count(velk::ExtDirKind::GRIProcView));
  return sections;
}

}  // namespace

Json ExtDirToJson(const velk::CExtDirData& data) {
  Json json = velk::RepositoryToJson(static_cast<const velk::CRepositoryDb&>(data));
  json["sections"] = SectionsJson(data);
  Json blocks = Json::array();
  for (const velk::ContentBlockRecord& b : data.ContentBlocks())
    blocks.push_back(
        {{"id", b.ContentBlockID}, {"name", b.Name}, {"fields", b.ContentFieldList.size()}});
  json["contentBlocks"] = std::move(blocks);
  Json types = Json::array();
  for (const velk::DocumentTypeRecord& t : data.DocumentTypes())
    types.push_back(
        {{"id", t.DocumentTypeID}, {"name", t.Name}, {"contentBlocks", t.ContentBlockIDList}});
  json["documentTypes"] = std::move(types);
  Json items = Json::array();
  for (const auto& item : data.Items())
    items.push_back({{"class", item->GetClassName()}, {"id", item->ID}, {"label", LabelOf(*item)}});
  json["items"] = std::move(items);
  return json;
}

int extdirCommand(Context& ctx, const std::vector<std::string>& words) {
  if (words.empty() || words[0] != "tree")
    throw UsageError(words.empty() ? "extdir needs a subcommand: tree"
                                   : "unknown extdir subcommand \"" + words[0] + "\"");
  const Args args(std::vector<std::string>(words.begin() + 1, words.end()), {"server"}, {"leafs"});
  args.expectAtMost(1);
  velk::ModelerSettings settings;
  settings.load(*velk::OpenSettingsBackend());
  velk::DatabaseLocation at = settings.databases[velk::DatabaseKind::ExternalDirectory];
  if (!args.positional().empty()) at = {args.at(0, "database path"), ""};
  if (auto server = args.option("server")) at.server = velk::NormalizeServerName(*server);
  if (at.fileName.empty())
    throw UsageError("no External Directory Database: give PATH or run 'velkmod-cli demo'");
  openDatabase(ctx, at.fileName, at.server).Close();

  velk::HeadlessServices& headless = ctx.services;
  headless.infoCenter().clear();
  // As in the modeler, EIDM requests are judged against the stored workflows.
  const velk::DatabaseLocation procdef = settings.databases[velk::DatabaseKind::ProcessDefinitions];
  velk::DatabaseCache cache(headless, ctx.session, velk::HeadersFrom(procdef),
                            velk::CacheExtDirLinks);
  if (!procdef.fileName.empty()) cache.FindOrLoad<velk::CProcessDefDb>(procdef);
  velk::CExtDirData* data = cache.FindOrLoad<velk::CExtDirData>(at);
  if (!data || data->ReplicaId().empty()) {
    ctx.err << "velkmod-cli: the External Directory Database " << at.fileName
            << " could not be loaded\n";
    return kFailed;
  }
  velk::CExtDirTree tree(*data);
  if (args.flag("leafs")) tree.ExpandAll(true);
  ctx.out << tree.Print();
  // What the window would raise fails the command as an error entry does.
  bool failed = !headless.messages.empty();
  for (const auto& message : headless.messages) ctx.err << "message: " << message.text << '\n';
  for (const velk::InfoEntry& e : headless.infoCenter().entries()) {
    if (e.severity >= velk::Severity::Warning)
      ctx.err << "info [" << static_cast<int>(e.severity) << "] " << e.title << '\n';
    failed = failed || e.severity == velk::Severity::Error;
  }
  return failed ? kFailed : kOk;
}

}  // namespace velkcli
