#pragma once
// The settings store through QSettings, shared by the modeler and the
// command-line tool so that both read and write the same file.

#include <memory>
#include <string>

#include "app/settings.h"

class QSettings;

namespace velk {

// Name of the environment variable that selects another settings file (INI format).
inline constexpr const char* kSettingsEnvironmentVariable = "VELK_SETTINGS";

// The settings file to use: `commandLineFile` when given, else VELK_SETTINGS when
// set and not empty, else empty (the user's own settings of "Marvelund" /
// "VELK Modeler").
std::string ChooseSettingsFile(const std::string& commandLineFile = {});

class QSettingsBackend : public SettingsBackend {
 public:
  // An empty `iniFile` opens the user's own settings.
  explicit QSettingsBackend(const std::string& iniFile);
  ~QSettingsBackend() override;
  QSettingsBackend(const QSettingsBackend&) = delete;
  QSettingsBackend& operator=(const QSettingsBackend&) = delete;

  int getInt(const std::string& section, const std::string& key, int def) const override;
  std::string getString(const std::string& section, const std::string& key,
                        const std::string& def) const override;
  void setInt(const std::string& section, const std::string& key, int value) override;
  void setString(const std::string& section, const std::string& key,
                 const std::string& value) override;
  std::vector<std::string> keys(const std::string& section) const override;
  bool sync() override;

  std::string fileName() const;
  QSettings& qsettings() { return *settings_; }

 private:
  std::unique_ptr<QSettings> settings_;
};

// Opens the store chosen by ChooseSettingsFile(commandLineFile).
std::unique_ptr<QSettingsBackend> OpenSettingsBackend(const std::string& commandLineFile = {});

}  // namespace velk
