#include "repository/databasevalidation.h"

#include <array>
#include <string>

#include "common/services.h"

namespace velk {

namespace {
struct Probe {
  DatabaseKind kind;
  int progress;
};
// The order of probing is also the order of the names in the message.
constexpr std::array<Probe, kDatabaseKindCount> kProbes = {{
    {DatabaseKind::ApplicationEnvironment, 0},
    {DatabaseKind::ExternalDirectory, 15},
    {DatabaseKind::Gateway, 30},
    {DatabaseKind::Infrastructure, 45},
    {DatabaseKind::ProcessDefinitions, 60},
    {DatabaseKind::Tracking, 75},
}};

// Short names of the databases that are not of their kind, joined by ",".
std::string WrongDatabases(Services& services, const DatabaseLocations& defaults, const DefaultDatabaseChecks& checks) {
  std::string wrong;
  services.beginProgress(100);
  for (const Probe& probe : kProbes) {
    services.setProgress(probe.progress);
    if (checks.detectKind(defaults[probe.kind]) == probe.kind) continue;
    if (!wrong.empty()) wrong += ",";
    wrong += DatabaseShortName(probe.kind);
  }
  services.setProgress(0);
  services.endProgress();
  return wrong;
}

void Initialise(const DefaultDatabaseChecks& checks) {
  if (checks.initialiseDefaultDatabases) checks.initialiseDefaultDatabases();
}
}  // namespace

bool ValidateDefaultDatabases(Services& services, const DatabaseLocations& defaults,
                              const DefaultDatabaseChecks& checks) {
  StatusScope status(services, "Validating default databases");
  const std::string wrong = WrongDatabases(services, defaults, checks);
  if (wrong.empty()) {
    Initialise(checks);
    return true;
  }
  const MsgResult choice =
      services.messageBox("Some workflow databases are not correct:" + wrong +
                                ".\nPlease choose new databases manually.",
                            MsgIcon::Question, MsgButtons::YesNo);
  if (choice != MsgResult::Yes) {
    services.messageBox(
        "Loading the workflow with wrong databases is not possible. Loading aborted.",
        MsgIcon::Exclamation, MsgButtons::Ok);
    return false;
  }
  if (!checks.runSettingsSheet || !checks.runSettingsSheet()) return false;
  WaitCursor wait(services);
  Initialise(checks);
  return true;
}

}  // namespace velk
