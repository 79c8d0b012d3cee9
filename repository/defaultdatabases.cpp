#include "repository/defaultdatabases.h"

#include <array>

#include "repository/databasecache.h"
#include "common/infocenter.h"
#include "common/services.h"
#include "repository/applicationenvdb.h"
#include "repository/gatewaydb.h"
#include "repository/infrastructuredb.h"
#include "repository/processdefdb.h"
#include "repository/trackingdb.h"

namespace velk {

namespace {
struct Step {
  int progress;
  DatabaseKind kind;
};
constexpr std::array<Step, kDatabaseKindCount> kSteps = {{
    {0, DatabaseKind::ApplicationEnvironment},
    {20, DatabaseKind::Gateway},
    {40, DatabaseKind::Infrastructure},
    {60, DatabaseKind::ProcessDefinitions},
    {80, DatabaseKind::Tracking},
    {90, DatabaseKind::ExternalDirectory},
}};

void Load(DatabaseCache& cache, DatabaseKind kind, const DatabaseLocation& at) {
  switch (kind) {
    case DatabaseKind::ApplicationEnvironment:
      cache.FindOrLoad<CApplicationEnvDb>(at);
      break;
    case DatabaseKind::Gateway:
      cache.FindOrLoad<CGatewayDb>(at);
      break;
    case DatabaseKind::Infrastructure:
      cache.FindOrLoad<CInfrastructureDb>(at);
      break;
    case DatabaseKind::ProcessDefinitions:
      cache.FindOrLoad<CProcessDefDb>(at);
      break;
    case DatabaseKind::Tracking:
      cache.FindOrLoad<CTrackingDb>(at);
      break;
    case DatabaseKind::ExternalDirectory:
      cache.FindOrLoad<CExtDirData>(at);
      break;
    case DatabaseKind::None:
      break;
  }
}
}  // namespace

void InitializeDefaultDatabases(DatabaseCache& cache, const DatabaseLocations& defaults) {
  Services& ui = cache.UserInterface();
  ui.infoCenter().clearCategory(kInitializingDatabasesCategory);
  ui.beginProgress(100);
  for (const Step& step : kSteps) {
    ui.setProgress(step.progress);
    Load(cache, step.kind, defaults[step.kind]);
  }
  ui.setProgress(0);
  ui.endProgress();
}

}  // namespace velk
