#pragma once
// The check of the six default databases that runs before a workflow or the
// External Directory is loaded.

#include <functional>

#include "common/services.h"
#include "repository/databasekind.h"

namespace velk {

struct DefaultDatabaseChecks {
  // The kind of the database at a location (normally DetectDatabaseKind).
  std::function<DatabaseKind(const DatabaseLocation&)> detectKind;
  // Runs "Modeler Settings"; true when it closed with OK.
  std::function<bool()> runSettingsSheet;
  // Finds or loads the six databases named by the settings.
  std::function<void()> initialiseDefaultDatabases;
};

// True when all six databases are of their kinds (or the user chose new ones in the
// settings sheet); the default databases are then initialised. Nothing here
// changes the settings.
bool ValidateDefaultDatabases(Services& services, const DatabaseLocations& defaults,
                              const DefaultDatabaseChecks& checks);

}  // namespace velk
