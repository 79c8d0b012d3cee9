#include "repository/databasepages.h"

#include "common/services.h"
#include "repository/databasechoice.h"

namespace velk {

namespace {

constexpr std::array<DatabaseKind, 3> kInternal = {DatabaseKind::ApplicationEnvironment,
                                                   DatabaseKind::Infrastructure,
                                                   DatabaseKind::ProcessDefinitions};
constexpr std::array<DatabaseKind, 3> kExternal = {DatabaseKind::ExternalDirectory,
                                                   DatabaseKind::Gateway, DatabaseKind::Tracking};

const char* KindLiteral(DatabaseKind kind) {
  switch (kind) {
    case DatabaseKind::ApplicationEnvironment:
      return "\" is not an VELK-Application-Database!";
    case DatabaseKind::Infrastructure:
      return "\" is not an VELK-Organisation-Database!";
    case DatabaseKind::ProcessDefinitions:
      return "\" is not an VELK-Routing-Database!";
    case DatabaseKind::ExternalDirectory:
      return "\" is not an VELK-External-Directory-Database!";
    case DatabaseKind::Gateway:
      return "\" is not an VELK-Gateway-Database!";
    case DatabaseKind::Tracking:
      return "\" is not an VELK-Tracking-Database!";
    case DatabaseKind::None:
      break;
  }
  return "\" is not a VELK database!";
}

// The messages name the server as the fields show it.
std::string Quoted(const std::string& path, const std::string& server, DatabaseKind kind) {
  return "\"" + path + "\" on \"" + ServerDisplayText(NormalizeServerName(server)) +
         KindLiteral(kind);
}

// Asks until the database is of its kind, accepted anyway or the user aborts.
bool AcceptDatabase(Services& services, DatabaseKind expected, const DatabaseLocation& field,
                    const KindDetector& detect) {
  const std::string server = NormalizeServerName(field.server);
  while (detect(field.fileName, server) != expected) {
    const MsgResult answer =
        services.messageBox(WrongKindText(expected, field.fileName, server), MsgIcon::Stop,
                              MsgButtons::AbortRetryIgnore, "Error");
    if (answer == MsgResult::Ignore) return true;
    if (answer != MsgResult::Retry) return false;
  }
  return true;
}

}  // namespace

DatabasePage PageOfKind(DatabaseKind kind) {
  for (DatabaseKind internal : kInternal)
    if (internal == kind) return DatabasePage::Internal;
  return DatabasePage::External;
}

const std::array<DatabaseKind, 3>& DatabasesOfPage(DatabasePage page) {
  return page == DatabasePage::Internal ? kInternal : kExternal;
}

std::string NotVelkDatabaseText(const std::string& path, const std::string& server) {
  return Quoted(path, server, DatabaseKind::None);
}

std::string WrongKindText(DatabaseKind expected, const std::string& path,
                          const std::string& server) {
  return Quoted(path, server, expected);
}

std::vector<DatabaseKind> AssignChosenDatabases(Services& services, const std::string& chosenText,
                                                const KindDetector& detect,
                                                DatabaseLocations& fields) {
  const ChosenDatabases chosen = ParseChosenDatabases(chosenText);
  const std::string shownServer = ServerDisplayText(chosen.server);
  std::vector<DatabaseKind> assigned;
  for (const std::string& path : chosen.paths) {
    const DatabaseKind kind = detect(path, chosen.server);
    if (kind == DatabaseKind::None) {
      services.messageBox(NotVelkDatabaseText(path, chosen.server), MsgIcon::Exclamation,
                            MsgButtons::Ok);
      continue;
    }
    fields[kind] = {path, shownServer};
    assigned.push_back(kind);
  }
  return assigned;
}

bool CheckDatabasePage(Services& services, DatabasePage page, const DatabaseLocations& fields,
                       const KindDetector& detect) {
  for (DatabaseKind kind : DatabasesOfPage(page))
    if (!AcceptDatabase(services, kind, fields[kind], detect)) return false;
  return true;
}

void TakeOverDatabasePage(DatabasePage page, const DatabaseLocations& fields,
                          DatabaseLocations& settings) {
  for (DatabaseKind kind : DatabasesOfPage(page))
    settings[kind] = {fields[kind].fileName, NormalizeServerName(fields[kind].server)};
}

}  // namespace velk
