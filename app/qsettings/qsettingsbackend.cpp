#include "app/qsettings/qsettingsbackend.h"

#include <QSettings>
#include <QString>
#include <cstdlib>

namespace velk {

namespace {
QString keyPath(const std::string& section, const std::string& key) {
  return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}
}  // namespace

std::string ChooseSettingsFile(const std::string& commandLineFile) {
  if (!commandLineFile.empty()) return commandLineFile;
  const char* env = std::getenv(kSettingsEnvironmentVariable);
  return env ? std::string(env) : std::string();
}

QSettingsBackend::QSettingsBackend(const std::string& iniFile)
    : settings_(iniFile.empty()
                    ? std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                                  QString::fromLatin1(kSettingsOrganisation),
                                                  QString::fromLatin1(kSettingsApplication))
                    : std::make_unique<QSettings>(QString::fromStdString(iniFile),
                                                  QSettings::IniFormat)) {}

QSettingsBackend::~QSettingsBackend() {
  settings_->sync();
}

std::vector<std::string> QSettingsBackend::keys(const std::string& section) const {
  settings_->beginGroup(QString::fromStdString(section));
  QStringList all = settings_->allKeys();  // names with "/" are keys of subgroups to QSettings
  settings_->endGroup();
  all.sort();
  std::vector<std::string> found;
  for (const QString& key : all) found.push_back(key.toStdString());
  return found;
}

int QSettingsBackend::getInt(const std::string& section, const std::string& key, int def) const {
  QVariant value = settings_->value(keyPath(section, key));
  if (!value.isValid()) return def;
  bool ok = false;
  int result = value.toString().trimmed().toInt(&ok);
  return ok ? result : def;
}

std::string QSettingsBackend::getString(const std::string& section, const std::string& key,
                                        const std::string& def) const {
  QVariant value = settings_->value(keyPath(section, key));
  return value.isValid() ? value.toString().toStdString() : def;
}

void QSettingsBackend::setInt(const std::string& section, const std::string& key, int value) {
  settings_->setValue(keyPath(section, key), value);
}

void QSettingsBackend::setString(const std::string& section, const std::string& key,
                                 const std::string& value) {
  settings_->setValue(keyPath(section, key), QString::fromStdString(value));
}

bool QSettingsBackend::sync() {
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

std::string QSettingsBackend::fileName() const {
  return settings_->fileName().toStdString();
}

std::unique_ptr<QSettingsBackend> OpenSettingsBackend(const std::string& commandLineFile) {
  return std::make_unique<QSettingsBackend>(ChooseSettingsFile(commandLineFile));
}

}  // namespace velk
