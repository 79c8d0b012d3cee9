// A named server from the settings file, as a designer meets it: "&Settings",
// "Browse", the server in "Open Database" and the databases it holds.

#include <QLineEdit>
#include <QSettings>

#include "modelerfixture.h"
#include "repository/databasetemplates.h"
#include "repository/ui/opendatabase.h"
#include "repository/ui/settingspages.h"
#include "repository/ui/settingssheet.h"
#include "store/pgserver.h"

namespace {

using shelltest::ProcessEvents;

// The server "Hub" with two databases, named in the settings file before the start.
class ServerEndToEndTest : public ModelerTest {
 protected:
  ServerEndToEndTest()
      : ModelerTest([this](ShellCollaborators&) {
          pgtest::Server* server = pgtest::Server::Get();
          if (!server) return;
          const std::string conninfo = server->NewDatabase();
          LNNotesSession session(LNNotesSession::ServerMap{{"Hub", conninfo}});
          ASSERT_EQ(session.Init(410), LNNOERROR);
          for (auto [kind, path] :
               {std::pair{velk::DatabaseKind::Infrastructure, "team/infra.nsf"},
                std::pair{velk::DatabaseKind::ProcessDefinitions, "procdef.nsf"}})
            ASSERT_EQ(velk::CreateDatabaseOfKind(session, kind, path, {}, "Hub", nullptr),
                      LNNOERROR);
          QSettings raw(QString::fromStdString(env.SettingsFile()), QSettings::IniFormat);
          raw.setValue(QStringLiteral("Servers/Hub"), QString::fromStdString(conninfo));
        }) {}
  void SetUp() override {
    if (!pgtest::Server::Get())
      GTEST_SKIP() << "no PostgreSQL server for the tests: " << pgtest::Server::Reason();
  }
};

TEST_F(ServerEndToEndTest, OpenDatabaseListsTheDatabasesOfAServerFromTheSettings) {
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
  ChooseMenu(QStringLiteral("&Options"), QStringLiteral("&Settings"));
  EXPECT_EQ(servers, (std::vector<std::string>{"Local", "Hub", "Other Server..."}));
  EXPECT_EQ(listed, (std::vector<std::string>{"procdef.nsf", "team/infra.nsf"}));
  EXPECT_EQ(path, "");
}

}  // namespace
