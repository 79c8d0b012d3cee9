// "demo": the demo repository and the settings that make the modeler start on it.

#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "app/qsettings/qsettingsbackend.h"
#include "app/settings.h"
#include "commands.h"
#include "repository/databasetemplates.h"
#include "repository/demodata.h"
#include "repository/store/lnnotes.h"

namespace velkcli {

namespace {

// Points the six default databases at the demo; the other settings stay as they are.
std::string writeSettings(const std::vector<velk::DemoResult>& results,
                          const std::string& server) {
  auto backend = velk::OpenSettingsBackend();
  velk::ModelerSettings settings;
  settings.load(*backend);
  for (const velk::DemoResult& r : results) settings.databases[r.kind] = {r.path, server};
  settings.save(*backend);
  if (!backend->sync())
    throw std::runtime_error("cannot write the settings file " + backend->fileName());
  return backend->fileName();
}

// The demo databases onto a server under their file names; those already there stay.
std::vector<velk::DemoResult> copyToServer(Context& ctx, std::vector<velk::DemoResult> results,
                                           const std::string& server) {
  for (velk::DemoResult& r : results) {
    const std::string name = std::filesystem::path(r.path).filename().string();
    LNDatabase existing;
    {
      LNThrowAllErrorsScope returning(ctx.session, false);  // and the database it gives
      r.created = ctx.session.GetDatabase(name, &existing, server) != LNNOERROR ||
                  existing.Open() != LNNOERROR;
    }
    if (r.created) copyDatabase(ctx, {r.path, {}}, {name, server});
    r.path = name;
  }
  return results;
}

}  // namespace

int demoCommand(Context& ctx, const std::vector<std::string>& words) {
  const Args args(words, {"dir", "server"});
  args.expectAtMost(0);
  const std::string server = args.option("server").value_or("");
  std::vector<velk::DemoResult> results =
      velk::CreateDemoRepository(ctx.services, ctx.session, args.option("dir").value_or(""));
  if (!server.empty()) results = copyToServer(ctx, std::move(results), server);
  for (const velk::DemoResult& r : results) {
    ctx.out << (r.created ? "Created " : "Kept    ") << velk::KindNameOf(r.kind) << ": " << r.path
            << '\n';
  }
  ctx.out << "Default databases written to " << writeSettings(results, server) << '\n';
  return kOk;
}

}  // namespace velkcli
