// The application object as main() composes it: its start, the settings file it
// reads, refusals on wrong defaults, the splash window and the end.
#include <QMdiArea>
#include <QSettings>
#include <QTest>
#include <QToolButton>

#include "app/ui/composition.h"
#include "app/ui/doctemplate.h"
#include "app/ui/splashwnd.h"
#include "app/ui/statusline.h"
#include "app/ui/workflowframe.h"
#include "common/services.h"
#include "repository/store/lnstatus.h"
#include "repository/ui/settingssheet.h"
#include "sheetfixture.h"
#include "shellfixture.h"

namespace {

using shelltest::MessageBoxWatcher;
using shelltest::ProcessEvents;

class VelkModAppTest : public ::testing::Test {
 protected:
  std::unique_ptr<CVelkModApp> Start(ShellCollaborators parts = StandardShellCollaborators()) {
    auto app = StartModeler(env.Options(), std::move(parts));
    EXPECT_NE(app, nullptr);
    return app;
  }

  shelltest::ShellEnvironment env;
};

// A start without arguments: no workflow window, the settings of the chosen
// file, the help prompt whenever no other text stands; the end empties the
// internal clipboard. How values are read is the core's settings tests'.
TEST_F(VelkModAppTest, StartReadsTheChosenFileStatusTextsFallBackToTheHelpPromptExitClears) {
  QSettings raw(QString::fromStdString(env.SettingsFile()), QSettings::IniFormat);
  raw.setValue(QStringLiteral("Default Settings/GridVisible"), 3);
  raw.sync();
  auto app = Start();
  EXPECT_TRUE(app->Shell().workflowTemplate.Frames().isEmpty());
  EXPECT_TRUE(app->Session().IsInitialized());
  EXPECT_TRUE(app->Settings().gridVisible);

  CStatusLine* line = app->MainFrame()->StatusLine();
  const QString help = QStringLiteral("For Help, press F1");
  EXPECT_EQ(line->MessageText(), help);
  {
    velk::StatusScope scope(app->UserInterface(),
                            "Validating default databases");  // the core's way in
    EXPECT_EQ(line->MessageText(), QStringLiteral("Validating default databases"));
  }
  EXPECT_EQ(line->MessageText(), help);

  velk::CWorkflowDoc doc{app->UserInterface()};
  doc.Session().SelectNode(*doc.CreateNode({0, 0, 34, -34}));
  app->InternalClipboard().Copy(doc);
  ASSERT_TRUE(app->InternalClipboard().IsFilled());
  EXPECT_EQ(app->ExitInstance(7), 7);
  EXPECT_FALSE(app->InternalClipboard().IsFilled()) << "the end empties the internal clipboard";
}

TEST_F(VelkModAppTest, SessionFailureIsReportedAndEndsTheProgram) {
  MessageBoxWatcher watcher;
  ShellCollaborators parts = StandardShellCollaborators();
  parts.initSession = [](LNNotesSession&) { throw LNStatusError(LNERR_NO_SESSION); };
  EXPECT_EQ(StartModeler(env.Options(), parts), nullptr);
  ASSERT_EQ(watcher.boxes.size(), 1u);
  EXPECT_EQ(watcher.boxes[0].text,
            "Document Store Error:\n" +
                QString::fromStdString(LNGetErrorMessage(LNERR_NO_SESSION)) +
                "\nCan not initialize Notes Session...\nModeler terminating!");
  EXPECT_EQ(watcher.boxes[0].icon, QMessageBox::Warning);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the wait cursor is gone
}

// Yes to the question about wrong defaults opens "Modeler Settings"; cancelling
// it leaves the command refused with its own message and nothing opened.
TEST_F(VelkModAppTest, WrongDefaultsOfferTheModelerSettingsAndCancelRefusesEachCommand) {
  auto app = Start();
  const std::pair<void (CFileCommands::*)(), const char*> cases[] = {
      {&CFileCommands::New,
       "Creating a new workflow with wrong default databases is not possible. Creating aborted."},
      {&CFileCommands::Open,
       "Loading the workflow with wrong databases is not possible. Loading aborted."},
  };
  for (const auto& [command, refusal] : cases) {
    SCOPED_TRACE(refusal);
    MessageBoxWatcher watcher;  // no answers: the question's default, Yes
    QString sheetTitle;
    sheettest::OnNextModal<CDlgSettings>([&](CDlgSettings& sheet) {
      sheetTitle = sheet.windowTitle();
      sheet.reject();
    });
    (app->Shell().files.*command)();
    EXPECT_EQ(sheetTitle, QStringLiteral("Modeler Settings"));
    ASSERT_FALSE(watcher.boxes.empty()) << "the question's text is the core's";
    EXPECT_EQ(watcher.boxes.back().text, QString::fromLatin1(refusal));
    EXPECT_TRUE(app->MainFrame()->MdiArea()->subWindowList().isEmpty());
  }
}

TEST_F(VelkModAppTest, OpenClosesTheWindowWhenTheChooserIsCancelledOrLoadingFails) {
  env.WriteDemoRepository();
  std::optional<velk::WorkflowHeaderEntry> choice;
  ShellCollaborators parts = StandardShellCollaborators();
  parts.chooseWorkflow = [&](velk::CProcessDefDb&, QWidget*) { return choice; };
  auto app = Start(parts);
  MessageBoxWatcher watcher;
  app->Shell().files.Open();
  EXPECT_TRUE(app->Shell().workflowTemplate.Frames().isEmpty()) << "cancelled";
  EXPECT_TRUE(watcher.boxes.empty());
  choice.emplace().workflowId = "NO-SUCH-WORKFLOW";
  app->Shell().files.Open();
  EXPECT_TRUE(app->Shell().workflowTemplate.Frames().isEmpty());
  EXPECT_EQ(watcher.boxes.size(), 1u) << "the loader says why";
}

TEST_F(VelkModAppTest, SplashClosesByTimerClickOrButtonAndAboutHasNoTimer) {
  // Long enough that showing the window on a busy machine does not outlast it.
  QPointer<CSplashWnd> timed = new CSplashWnd(400);
  EXPECT_TRUE(timed->TimerActive());
  timed->show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return timed.isNull(); }, 5000));

  QPointer<CSplashWnd> clicked = new CSplashWnd(CSplashWnd::kTimerMs);
  clicked->show();
  QTest::mouseClick(clicked, Qt::LeftButton, {}, QPoint(300, 30));
  ProcessEvents();
  EXPECT_TRUE(clicked.isNull());
  auto app = Start();
  app->Shell().help.About();
  QPointer<CSplashWnd> about = app->Splash();
  ASSERT_FALSE(about.isNull());
  EXPECT_FALSE(about->TimerActive());
  about->PictureButton()->click();
  ProcessEvents();
  EXPECT_TRUE(about.isNull());
}

TEST(SettingsFile, CommandLineWinsOverEnvironmentWhichWinsOverUserSettings) {
  shelltest::ScopedEnv env("VELK_SETTINGS", "/tmp/from-env.ini");
  EXPECT_EQ(velk::ChooseSettingsFile("/tmp/from-cli.ini"), "/tmp/from-cli.ini");
  EXPECT_EQ(velk::ChooseSettingsFile(), "/tmp/from-env.ini");
  shelltest::ScopedEnv none("VELK_SETTINGS", QByteArray());
  EXPECT_EQ(velk::ChooseSettingsFile(), "");
  // The user's own file: with test mode on it lies in a test location, but it is
  // named after the organisation and program.
  velk::QSettingsBackend user("");
  EXPECT_NE(user.fileName().find("Marvelund"), std::string::npos);
  EXPECT_NE(user.fileName().find("VELK Modeler"), std::string::npos);
}

}  // namespace
