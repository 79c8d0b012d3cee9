#pragma once
// Initialising the default databases: after the settings sheet or the check of
// the default databases, the six databases the settings name are found in, or
// loaded into, the program's database cache.

#include "repository/databasekind.h"

namespace velk {

class DatabaseCache;

// Clears the Info Center's "Initializing Databases" entries, then finds or loads
// Application Environment, Gateway, Infrastructure, Process Definitions,
// Tracking and External Directory with the progress indicator at 0, 20, 40, 60,
// 80 and 90 before each, and back at 0 at the end.
void InitializeDefaultDatabases(DatabaseCache& cache, const DatabaseLocations& defaults);

}  // namespace velk
