#pragma once
// The modeler's own settings: the default databases copied into every new
// workflow, grid and arrow settings and the own organisation's name. They live in
// the section "Default Settings"; window placements live in "GUI Settings".
// Storage goes through SettingsBackend so the core never needs Qt.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "repository/databasekind.h"

namespace velk {

inline constexpr const char* kDefaultSettingsSection = "Default Settings";
inline constexpr const char* kGuiSettingsSection = "GUI Settings";
// Company key and program key under which the settings are kept.
inline constexpr const char* kSettingsOrganisation = "Marvelund";
inline constexpr const char* kSettingsApplication = "VELK Modeler";
inline constexpr const char* kDefaultOrgName = "Marvelund";

// Typed access to a settings store by section and key. Missing values (and, for
// integers, values that are not numbers) yield the caller's default.
class SettingsBackend {
 public:
  virtual ~SettingsBackend() = default;
  virtual int getInt(const std::string& section, const std::string& key, int def) const = 0;
  virtual std::string getString(const std::string& section, const std::string& key,
                                const std::string& def) const = 0;
  virtual void setInt(const std::string& section, const std::string& key, int value) = 0;
  virtual void setString(const std::string& section, const std::string& key,
                         const std::string& value) = 0;
  // The keys of a section, sorted.
  virtual std::vector<std::string> keys(const std::string& section) const = 0;
  // Writes pending changes to permanent storage; false when that failed.
  virtual bool sync() { return true; }
};

// Keeps everything in memory (tests, and the command-line tool before it writes).
class MemorySettingsBackend : public SettingsBackend {
 public:
  int getInt(const std::string& section, const std::string& key, int def) const override;
  std::string getString(const std::string& section, const std::string& key,
                        const std::string& def) const override;
  void setInt(const std::string& section, const std::string& key, int value) override;
  void setString(const std::string& section, const std::string& key,
                 const std::string& value) override;
  std::vector<std::string> keys(const std::string& section) const override;
  bool contains(const std::string& section, const std::string& key) const;

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

struct ModelerSettings {
  // The default databases, copied into every new workflow. Stored as "GwDbName" /
  // "GwDbServer", "ExtDirDb...", "TrackingDb...", "AppDb...", "RoutingDb..." (Process
  // Definitions) and "OrgaDb..." (Infrastructure).
  DatabaseLocations databases;
  int gridSize = 50;          // logical units between grid lines
  int arrowSize = 1;          // index into the arrow-head sizes
  int autoArrangeFactor = 4;  // spacing factor of automatic arrangement
  std::string orgName = kDefaultOrgName;
  bool gridMagnetic = false;  // snap moved nodes to the grid
  bool gridVisible = false;   // draw the grid

  // Reads every value of "Default Settings"; missing values keep the defaults.
  // Values that would break drawing or arranging (a grid size or spacing factor
  // below 1, a negative arrow size) also fall back to the defaults.
  void load(const SettingsBackend& backend);
  // Writes every value; the flags as 1 or 0.
  void save(SettingsBackend& backend) const;
  // Writes the name and server of one database (the settings pages write theirs).
  void saveDatabase(SettingsBackend& backend, DatabaseKind kind) const;
  // Writes the grid, arrow, arrangement and organisation values.
  void saveBasics(SettingsBackend& backend) const;

  bool operator==(const ModelerSettings&) const = default;
};

}  // namespace velk
