// A named server from the settings file, as a designer meets it: "&Settings",
// "Browse", the server in "Open Database" and the databases it holds.

#include <QLineEdit>
#include <QSettings>

#include "app/ui/commands.h"
#include "app/ui/composition.h"
#include "app/ui/mainframe.h"
#include "repository/databasetemplates.h"
#include "repository/ui/opendatabase.h"
#include "repository/ui/settingspages.h"
#include "repository/ui/settingssheet.h"
#include "sheetfixture.h"
#include "shellfixture.h"
#include "store/pgserver.h"

namespace {

using shelltest::ProcessEvents;

class ServerEndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pgtest::Server* server = pgtest::Server::Get();
    if (!server) GTEST_SKIP() << "no PostgreSQL server for the tests: " << pgtest::Server::Reason();
    conninfo_ = server->NewDatabase();
    LNNotesSession session(LNNotesSession::ServerMap{{"Hub", conninfo_}});
    ASSERT_EQ(session.Init(410), LNNOERROR);
    for (auto [kind, path] : {std::pair{velk::DatabaseKind::Infrastructure, "team/infra.nsf"},
                              std::pair{velk::DatabaseKind::ProcessDefinitions, "procdef.nsf"}})
      ASSERT_EQ(velk::CreateDatabaseOfKind(session, kind, path, {}, "Hub", nullptr), LNNOERROR);
    env_.WriteDemoRepository();
    QSettings raw(QString::fromStdString(env_.SettingsFile()), QSettings::IniFormat);
    raw.setValue(QStringLiteral("Servers/Hub"), QString::fromStdString(conninfo_));
  }

  shelltest::ShellEnvironment env_;
  std::string conninfo_;
};

TEST_F(ServerEndToEndTest, OpenDatabaseListsTheDatabasesOfAServerFromTheSettings) {
  auto app = StartModeler(env_.Options(), StandardShellCollaborators());
  ASSERT_NE(app, nullptr);
  std::vector<std::string> servers, listed;
  QString path;
  sheettest::OnNextModal<CDlgSettings>([&](CDlgSettings& sheet) {
    sheettest::OnNextModal<CDlgOpenDatabase>([&](CDlgOpenDatabase& chooser) {
      servers = sheettest::Texts(chooser.ServerList());
      QComboBox* list = chooser.ServerList();
      list->setFocus();
      QTest::keyClick(list, Qt::Key_Down);  // from "Local" to the next server
      ProcessEvents();
      listed = sheettest::Texts(chooser.DatabaseList());
      path = chooser.PathEdit()->text();
      shelltest::ClickItem(chooser.DatabaseList(), chooser.DatabaseList()->item(0));
      chooser.reject();
    });
    QTest::mouseClick(sheet.InternalPage()->BrowseButton(), Qt::LeftButton);
    sheet.reject();
  });
  app->MainFrame()->activateWindow();
  ProcessEvents();
  app->MainFrame()->Action(cmd::Settings)->trigger();
  ProcessEvents();
  EXPECT_EQ(servers, (std::vector<std::string>{"Local", "Hub", "Other Server..."}));
  EXPECT_EQ(listed, (std::vector<std::string>{"procdef.nsf", "team/infra.nsf"}));
  EXPECT_EQ(path, "");
}

}  // namespace
