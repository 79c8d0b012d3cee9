#pragma once
// The six kinds of database the modeler works with, and how a database's kind is
// recognised: by the design view that only that kind has.

#include <array>
#include <functional>
#include <string>

class LNNotesSession;

namespace velk {

class Services;

enum class DatabaseKind : int {
  None = 0,
  ApplicationEnvironment = 1,
  Tracking = 2,
  ProcessDefinitions = 3,
  Infrastructure = 4,
  Gateway = 5,
  ExternalDirectory = 6,
};
inline constexpr int kDatabaseKindCount = 6;  // without None

// The identifying view, e.g. "($Configuration)"; empty for None.
const char* DesignViewOf(DatabaseKind kind);
// The name in messages, e.g. "Application DB"; empty for None.
const char* DatabaseShortName(DatabaseKind kind);
// The kinds in the order their views are probed: a database holding several of
// the views counts as the earliest.
const std::array<DatabaseKind, kDatabaseKindCount>& KindProbeOrder();

// "Local" in a dialog field means the local machine, stored as the empty text.
std::string NormalizeServerName(const std::string& server);

struct DatabaseLocation {
  std::string fileName;
  std::string server;  // empty: the local machine
  bool operator==(const DatabaseLocation&) const = default;
};

// One location per kind (the default databases of the settings, or a workflow's).
class DatabaseLocations {
 public:
  // Throws std::out_of_range for DatabaseKind::None.
  DatabaseLocation& operator[](DatabaseKind kind);
  const DatabaseLocation& operator[](DatabaseKind kind) const;
  bool operator==(const DatabaseLocations&) const = default;

 private:
  std::array<DatabaseLocation, kDatabaseKindCount> locations_;
};

// The kind decided by the first probed view for which `hasView` is true; None when
// there is none.
DatabaseKind KindFromViews(const std::function<bool(const std::string& view)>& hasView);

// Opens the database and probes its views. A database that cannot be opened is
// reported (store error box) and counts as None. Keeps nothing open.
DatabaseKind DetectDatabaseKind(Services& services, LNNotesSession& session, const std::string& path,
                                const std::string& server);

}  // namespace velk
