#include "app/serversettings.h"

namespace velk {

std::map<std::string, std::string> LoadServers(const SettingsBackend& backend) {
  std::map<std::string, std::string> servers;
  for (const std::string& name : backend.keys(kServersSection)) {
    std::string conninfo = backend.getString(kServersSection, name, {});
    if (!name.empty() && !conninfo.empty()) servers.emplace(name, std::move(conninfo));
  }
  return servers;
}

}  // namespace velk
