#pragma once
// The "Servers" section of the settings: each key a server name, its value the
// libpq connection string of the PostgreSQL database that holds the server's
// databases, e.g. `Hub = "host=db.example.org dbname=velk user=ann"`. Passwords
// belong in ~/.pgpass or PGPASSWORD, never in the settings file.

#include <map>
#include <string>

#include "app/settings.h"

namespace velk {

inline constexpr const char* kServersSection = "Servers";

// Server name -> connection string; entries with an empty value are left out.
std::map<std::string, std::string> LoadServers(const SettingsBackend& backend);

}  // namespace velk
