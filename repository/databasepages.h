#pragma once
// The two database pages of the settings sheets without their widgets: which
// database lies on which page, sorting a chooser's result into the fields, and
// the check that runs when a page is left (or OK is pressed).
//
// The fields hold what the edits show: the path and the server, "Local" for the
// local machine.

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "common/services.h"
#include "repository/databasekind.h"

namespace velk {

enum class DatabasePage { Internal, External };

// The kind of a database named by path and server (normally DetectDatabaseKind).
using KindDetector =
    std::function<DatabaseKind(const std::string& path, const std::string& server)>;

// Application Environment, Process Definitions and Infrastructure are internal.
DatabasePage PageOfKind(DatabaseKind kind);
// The page's databases in the order its check probes them.
const std::array<DatabaseKind, 3>& DatabasesOfPage(DatabasePage page);

// "\"<path>\" on \"<server>\" is not a VELK database!"
std::string NotVelkDatabaseText(const std::string& path, const std::string& server);
// "\"<path>\" on \"<server>\" is not an VELK-Application-Database!" and the like.
std::string WrongKindText(DatabaseKind expected, const std::string& path,
                          const std::string& server);

// "Browse": each chosen database goes into the field of its kind, whichever page
// holds it; one of no kind is reported and changes nothing. Returns the kinds
// whose fields were written, in the order of the chosen paths.
std::vector<DatabaseKind> AssignChosenDatabases(Services& services, const std::string& chosenText,
                                                const KindDetector& detect,
                                                DatabaseLocations& fields);

// Leaving a page: each of its databases is probed; one of another kind asks
// Abort, Retry or Ignore. Abort stops (false: the page stays), Retry probes the
// same database again, Ignore accepts it.
bool CheckDatabasePage(Services& services, DatabasePage page, const DatabaseLocations& fields,
                       const KindDetector& detect);

// The page's three databases as settings keep them ("Local" stored as empty).
void TakeOverDatabasePage(DatabasePage page, const DatabaseLocations& fields,
                          DatabaseLocations& settings);

}  // namespace velk
