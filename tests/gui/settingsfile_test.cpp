#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

#include "app/qsettings/qsettingsbackend.h"
#include "app/settings.h"
#include "shellfixture.h"

namespace {

using shelltest::ScopedEnv;

TEST(SettingsFile, RoundTripThroughAnIniFile) {
  QTemporaryDir dir;
  const std::string file = dir.filePath(QStringLiteral("velk.ini")).toStdString();
  velk::ModelerSettings written;
  written.databases[velk::DatabaseKind::ProcessDefinitions] = {"procdef.nsf", "Hub/Marvelund"};
  written.databases[velk::DatabaseKind::Infrastructure] = {"infra.nsf", ""};
  written.gridSize = 30;
  written.orgName = "Acme Logistics";
  written.gridVisible = true;
  {
    velk::QSettingsBackend backend(file);
    written.save(backend);
    ASSERT_TRUE(backend.sync());
    EXPECT_EQ(backend.fileName(), file);
  }
  velk::QSettingsBackend reopened(file);
  velk::ModelerSettings read;
  read.load(reopened);
  EXPECT_EQ(read, written);

  // The file keeps the documented sections and value names.
  QSettings raw(QString::fromStdString(file), QSettings::IniFormat);
  EXPECT_EQ(raw.value(QStringLiteral("Default Settings/RoutingDbServer")).toString(),
            QStringLiteral("Hub/Marvelund"));
  EXPECT_EQ(raw.value(QStringLiteral("Default Settings/GridVisible")).toInt(), 1);
}

TEST(SettingsFile, CommandLineWinsOverEnvironmentWhichWinsOverUserSettings) {
  {
    ScopedEnv env("VELK_SETTINGS", "/tmp/from-env.ini");
    EXPECT_EQ(velk::ChooseSettingsFile("/tmp/from-cli.ini"), "/tmp/from-cli.ini");
    EXPECT_EQ(velk::ChooseSettingsFile(), "/tmp/from-env.ini");
  }
  ScopedEnv none("VELK_SETTINGS", QByteArray());
  EXPECT_EQ(velk::ChooseSettingsFile(), "");
  // The user's own file: with test mode on it lies in a test location, but it is
  // named after the organisation and program.
  velk::QSettingsBackend user("");
  EXPECT_NE(user.fileName().find("Marvelund"), std::string::npos);
  EXPECT_NE(user.fileName().find("VELK Modeler"), std::string::npos);
}

}  // namespace
