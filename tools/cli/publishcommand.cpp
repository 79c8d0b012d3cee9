// "publish OUTDIR": a static web site of the stored workflows and the External
// Directory, for the people who perform the workflows and have no modeler.

#include <algorithm>
#include <cctype>
#include <ostream>
#include <sstream>

#include "app/qsettings/qsettingsbackend.h"
#include "app/settings.h"
#include "commands.h"
#include "extdir/extdirdata.h"
#include "model/workflowdoc.h"
#include "publish/publisher.h"
#include "repository/databasecache.h"
#include "repository/store/lnnotes.h"
#include "repository/vocabulary.h"

namespace velkcli {

namespace {

std::string Lower(std::string text) {
  std::ranges::transform(text, text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

// "Active,Freeze" as status codes; none (every status) without the option.
std::vector<int> ParseStatuses(const Args& args) {
  std::vector<int> codes;
  const auto option = args.option("status");
  if (!option) return codes;
  std::istringstream words(*option);
  const std::vector<std::string>& known = WorkflowStatusWords();
  for (std::string word; std::getline(words, word, ',');) {
    std::erase_if(word, [](unsigned char c) { return std::isspace(c); });
    auto it =
        std::ranges::find_if(known, [&](const std::string& w) { return Lower(w) == Lower(word); });
    if (it == known.end())
      throw UsageError("unknown status \"" + word +
                       "\": use Design, Active, Freeze, Template or Testing");
    codes.push_back(static_cast<int>(it - known.begin()));
  }
  return codes;
}

// The External Directory of --extdir or the settings, with the stored
// workflows beside it as the modeler has them; null, and `problem` set, when
// there is none.
velk::CExtDirData* LoadDirectory(Context& ctx, const Args& args, velk::DatabaseCache& cache,
                                 const velk::DatabaseLocation& procdef, std::string& problem) {
  velk::ModelerSettings settings;
  settings.load(*velk::OpenSettingsBackend());
  velk::DatabaseLocation at = settings.databases[velk::DatabaseKind::ExternalDirectory];
  if (auto path = args.option("extdir")) at = {*path, procdef.server};
  if (at.fileName.empty()) {
    problem = "No External Directory Database is set.";
    return nullptr;
  }
  try {
    openDatabase(ctx, at.fileName, at.server).Close();
  } catch (const std::exception& e) {
    problem = std::string("The External Directory Database could not be opened: ") + e.what();
    return nullptr;
  }
  cache.FindOrLoad<velk::CProcessDefDb>(procdef);
  velk::CExtDirData* data = cache.FindOrLoad<velk::CExtDirData>(at);
  if (data && !data->ReplicaId().empty()) return data;
  problem = "The External Directory Database " + at.fileName + " could not be read.";
  return nullptr;
}

}  // namespace

int publishCommand(Context& ctx, const std::vector<std::string>& words) {
  const Args args(words, {"status", "extdir", "procdef", "appenv", "server"});
  args.expectAtMost(1);
  const std::string outDir = args.at(0, "output folder");
  const std::vector<int> statuses = ParseStatuses(args);
  const velk::PublishTools tools = publishTools(ctx.services);
  return withStoredWorkflows(ctx, args, [&](StoredWorkflows& stored) {
    velk::PublishSource source{stored.title, stored.headers, stored.load, {}, nullptr, {}};
    LNDatabase procdef = openDatabase(ctx, stored.procdef.fileName, stored.procdef.server);
    source.lastChanges = velk::ReadLastChanges(ctx.services, procdef);
    procdef.Close();
    velk::DatabaseCache cache(ctx.services, ctx.session, velk::HeadersFrom(stored.procdef),
                              velk::CacheExtDirLinks);
    source.directory = LoadDirectory(ctx, args, cache, stored.procdef, source.directoryProblem);
    if (!source.directory) ctx.err << "velkmod-cli: " << source.directoryProblem << '\n';
    const velk::PublishResult result = velk::PublishSite(source, statuses, outDir, tools);
    for (const std::string& failed : result.failed)
      ctx.err << "velkmod-cli: " << failed << " could not be read and is not published\n";
    ctx.out << "Published " << result.pages
            << (result.pages == 1 ? " workflow version" : " workflow versions") << " to " << outDir
            << "/index.html\n";
    return result.failed.empty() ? kOk : kFailed;
  });
}

}  // namespace velkcli
