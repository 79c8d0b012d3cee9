#pragma once
// "Find in Repository" of the find bar: reads the default Process Definitions
// Database and opens the chosen stored version as File Open does.

#include "app/ui/findbar.h"

class CWorkflowOpener;
class LNNotesSession;

namespace velk {
class DatabaseCache;
class Services;
struct ModelerSettings;
}  // namespace velk

CFindBar::Repository FindInRepository(velk::Services& services, LNNotesSession& session,
                                      const velk::ModelerSettings& settings,
                                      velk::DatabaseCache& cache, CWorkflowOpener& opener);
