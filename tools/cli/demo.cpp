// "demo": the demo repository and the settings that make the modeler start on it.

#include <ostream>
#include <stdexcept>

#include "app/qsettings/qsettingsbackend.h"
#include "app/settings.h"
#include "commands.h"
#include "repository/databasetemplates.h"
#include "repository/demodata.h"

namespace velkcli {

namespace {

// Points the six default databases at the demo; the other settings stay as they are.
std::string writeSettings(const std::vector<velk::DemoResult>& results) {
  auto backend = velk::OpenSettingsBackend();
  velk::ModelerSettings settings;
  settings.load(*backend);
  for (const velk::DemoResult& r : results) settings.databases[r.kind] = {r.path, {}};
  settings.save(*backend);
  if (!backend->sync())
    throw std::runtime_error("cannot write the settings file " + backend->fileName());
  return backend->fileName();
}

}  // namespace

int demoCommand(Context& ctx, const std::vector<std::string>& words) {
  const Args args(words, {"dir"});
  args.expectAtMost(0);
  const std::vector<velk::DemoResult> results =
      velk::CreateDemoRepository(ctx.session, args.option("dir").value_or(""));
  for (const velk::DemoResult& r : results) {
    ctx.out << (r.created ? "Created " : "Kept    ") << velk::KindNameOf(r.kind) << ": " << r.path
            << '\n';
  }
  ctx.out << "Default databases written to " << writeSettings(results) << '\n';
  return kOk;
}

}  // namespace velkcli
