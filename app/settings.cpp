#include "app/settings.h"

#include <charconv>

namespace velk {

namespace {

struct DatabaseKeys {
  DatabaseKind kind;
  const char* nameKey;
  const char* serverKey;
};

// The order in which the values are read at start-up.
constexpr DatabaseKeys kDatabaseKeys[] = {
    {DatabaseKind::Gateway, "GwDbName", "GwDbServer"},
    {DatabaseKind::ExternalDirectory, "ExtDirDbName", "ExtDirDbServer"},
    {DatabaseKind::Tracking, "TrackingDbName", "TrackingDbServer"},
    {DatabaseKind::ApplicationEnvironment, "AppDbName", "AppDbServer"},
    {DatabaseKind::ProcessDefinitions, "RoutingDbName", "RoutingDbServer"},
    {DatabaseKind::Infrastructure, "OrgaDbName", "OrgaDbServer"},
};

int positiveOr(int value, int def) {
  return value >= 1 ? value : def;
}

}  // namespace

int MemorySettingsBackend::getInt(const std::string& section, const std::string& key,
                                  int def) const {
  auto it = values_.find({section, key});
  if (it == values_.end()) return def;
  const std::string& text = it->second;
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return def;
  return value;
}

std::string MemorySettingsBackend::getString(const std::string& section, const std::string& key,
                                             const std::string& def) const {
  auto it = values_.find({section, key});
  return it == values_.end() ? def : it->second;
}

void MemorySettingsBackend::setInt(const std::string& section, const std::string& key, int value) {
  values_[{section, key}] = std::to_string(value);
}

void MemorySettingsBackend::setString(const std::string& section, const std::string& key,
                                      const std::string& value) {
  values_[{section, key}] = value;
}

std::vector<std::string> MemorySettingsBackend::keys(const std::string& section) const {
  std::vector<std::string> found;
  for (const auto& entry : values_)
    if (entry.first.first == section) found.push_back(entry.first.second);
  return found;
}

bool MemorySettingsBackend::contains(const std::string& section, const std::string& key) const {
  return values_.count({section, key}) != 0;
}

void ModelerSettings::load(const SettingsBackend& backend) {
  const std::string section = kDefaultSettingsSection;
  const ModelerSettings defaults;
  for (const auto& keys : kDatabaseKeys) {
    DatabaseLocation& db = databases[keys.kind];
    db.fileName = backend.getString(section, keys.nameKey, {});
    db.server = backend.getString(section, keys.serverKey, {});
  }
  gridSize = positiveOr(backend.getInt(section, "GridSize", defaults.gridSize), defaults.gridSize);
  arrowSize = backend.getInt(section, "ArrowSize", defaults.arrowSize);
  if (arrowSize < 0) arrowSize = defaults.arrowSize;
  autoArrangeFactor =
      positiveOr(backend.getInt(section, "AutoArrangeFactor", defaults.autoArrangeFactor),
                 defaults.autoArrangeFactor);
  orgName = backend.getString(section, "OrgName", defaults.orgName);
  gridMagnetic = backend.getInt(section, "GridMagnetic", 0) != 0;
  gridVisible = backend.getInt(section, "GridVisible", 0) != 0;
}

void ModelerSettings::save(SettingsBackend& backend) const {
  for (const auto& keys : kDatabaseKeys) saveDatabase(backend, keys.kind);
  saveBasics(backend);
}

void ModelerSettings::saveDatabase(SettingsBackend& backend, DatabaseKind kind) const {
  for (const auto& keys : kDatabaseKeys) {
    if (keys.kind != kind) continue;
    const DatabaseLocation& db = databases[kind];
    backend.setString(kDefaultSettingsSection, keys.nameKey, db.fileName);
    backend.setString(kDefaultSettingsSection, keys.serverKey, db.server);
  }
}

void ModelerSettings::saveBasics(SettingsBackend& backend) const {
  const std::string section = kDefaultSettingsSection;
  backend.setInt(section, "GridSize", gridSize);
  backend.setInt(section, "ArrowSize", arrowSize);
  backend.setInt(section, "AutoArrangeFactor", autoArrangeFactor);
  backend.setString(section, "OrgName", orgName);
  backend.setInt(section, "GridMagnetic", gridMagnetic ? 1 : 0);
  backend.setInt(section, "GridVisible", gridVisible ? 1 : 0);
}

}  // namespace velk
