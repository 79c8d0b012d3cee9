// "Modeler Settings" on the demo repository, as the modeler shows it. With VELK_SCREENSHOT_DIR set,
// every page is also saved there as a picture (settings-*.png) for a look at the layout;
// VELK_SCREENSHOT_DATA_DIR then names a demo data directory made by "velkmod-cli demo" to show
// instead of a temporary one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>

#include "common/headlessservices.h"
#include "common/infocenter.h"
#include "repository/demodata.h"
#include "repository/store/lnnotes.h"
#include "repository/ui/settingspages.h"
#include "repository/ui/settingssheet.h"
#include "shellfixture.h"

namespace {

class SettingsScreensTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_EQ(session_.Init(410), LNNOERROR);
    for (const velk::DemoResult& r : velk::CreateDemoRepository(ui_, session_, {}))
      settings_.databases[r.kind] = {r.path, ""};
  }
  void TearDown() override { session_.Term(); }

  static void Shoot(QWidget& widget, const QString& name) {
    QApplication::processEvents();
    const QPixmap picture = widget.grab();
    ASSERT_FALSE(picture.isNull());
    const QByteArray dir = qgetenv("VELK_SCREENSHOT_DIR");
    if (!dir.isEmpty()) {
      EXPECT_TRUE(picture.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + ".png")));
    }
  }

  static void ShootPages(CPropertySheet& sheet, const QString& prefix) {
    for (int i = 0; i < sheet.Tabs()->count(); ++i) {
      ASSERT_TRUE(sheet.SetActivePage(i)) << i;
      Shoot(sheet, QStringLiteral("%1-%2-%3")
                       .arg(prefix)
                       .arg(i + 1)
                       .arg(sheet.Tabs()->tabText(i).remove(QLatin1Char(' ')).toLower()));
    }
  }

  QTemporaryDir dir_;
  const QByteArray demoDir_ = qgetenv("VELK_SCREENSHOT_DATA_DIR");
  shelltest::ScopedEnv dataDir_{"VELK_DATA_DIR",
                                demoDir_.isEmpty() ? QFile::encodeName(dir_.path()) : demoDir_};
  velk::HeadlessServices ui_;
  LNNotesSession session_;
  velk::ModelerSettings settings_;
  velk::MemorySettingsBackend store_;
};

TEST_F(SettingsScreensTest, ModelerSettingsAcceptTheDemoDatabasesOnEveryPage) {
  CDlgSettings sheet(SessionSettingsContext(ui_, settings_, store_, session_));
  sheet.show();
  ShootPages(sheet, QStringLiteral("settings-modeler"));
  EXPECT_TRUE(ui_.messages.empty()) << ui_.messages.front().text;
  sheet.accept();
  EXPECT_EQ(store_.getString("Default Settings", "GwDbName", ""), "gateway.nsf");
}

}  // namespace
