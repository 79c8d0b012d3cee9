#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QMdiArea>
#include <QMouseEvent>
#include <QSettings>
#include <QToolButton>

#include "app/ui/composition.h"
#include "app/ui/doctemplate.h"
#include "app/ui/splashwnd.h"
#include "app/ui/statusline.h"
#include "app/ui/workflowframe.h"
#include "common/services.h"
#include "model/workflowdoc.h"
#include "repository/store/lnstatus.h"
#include "repository/ui/settingssheet.h"
#include "sheetfixture.h"
#include "shellfixture.h"

namespace {

using shelltest::MessageBoxWatcher;
using shelltest::ProcessEvents;
using shelltest::ShellEnvironment;

class VelkModAppTest : public ::testing::Test {
 protected:
  std::unique_ptr<CVelkModApp> Start(ShellCollaborators parts = StandardShellCollaborators()) {
    auto app = StartModeler(env.Options(), std::move(parts));
    EXPECT_NE(app, nullptr);
    return app;
  }

  ShellEnvironment env;
};

TEST_F(VelkModAppTest, PlainStartOpensNoWorkflowWindowAndReadsDefaults) {
  auto app = Start();
  EXPECT_TRUE(app->MainFrame()->MdiArea()->subWindowList().isEmpty());
  EXPECT_TRUE(app->WorkflowTemplate().Frames().isEmpty());
  EXPECT_EQ(app->Settings(), velk::ModelerSettings());
  EXPECT_TRUE(app->Session().IsInitialized());
}

TEST_F(VelkModAppTest, SettingsComeFromTheChosenFile) {
  {
    QSettings raw(QString::fromStdString(env.SettingsFile()), QSettings::IniFormat);
    raw.setValue(QStringLiteral("Default Settings/GridVisible"), 3);
    raw.setValue(QStringLiteral("Default Settings/OrgaDbName"), QStringLiteral("infra.nsf"));
  }
  auto app = Start();
  EXPECT_TRUE(app->Settings().gridVisible);
  EXPECT_EQ(app->Settings().databases[velk::DatabaseKind::Infrastructure].fileName, "infra.nsf");
  EXPECT_EQ(app->SettingsFileName().toStdString(), env.SettingsFile());
}

TEST_F(VelkModAppTest, EmptyStatusTextRestoresTheHelpPrompt) {
  auto app = Start();
  CStatusLine* line = app->MainFrame()->StatusLine();
  EXPECT_EQ(line->MessageText(), QStringLiteral("For Help, press F1"));
  app->ShowStatusText(QStringLiteral("Loading workflow structure..."));
  EXPECT_EQ(line->MessageText(), QStringLiteral("Loading workflow structure..."));
  app->ShowStatusText(QString());
  EXPECT_EQ(line->MessageText(), QStringLiteral("For Help, press F1"));
  {
    velk::StatusScope scope(app->UserInterface(), "Validating default databases");  // the core's way in
    EXPECT_EQ(line->MessageText(), QStringLiteral("Validating default databases"));
  }
  EXPECT_EQ(line->MessageText(), QStringLiteral("For Help, press F1"));
}

TEST_F(VelkModAppTest, SessionFailureIsReportedAndEndsTheProgram) {
  MessageBoxWatcher watcher;
  ShellCollaborators parts = StandardShellCollaborators();
  parts.initSession = [](LNNotesSession&) { throw LNStatusError(LNERR_NO_SESSION); };
  EXPECT_EQ(StartModeler(env.Options(), parts), nullptr);
  ASSERT_EQ(watcher.boxes.size(), 1u);
  const QString expected =
      QStringLiteral("Document Store Error:\n") +
      QString::fromStdString(LNGetErrorMessage(LNERR_NO_SESSION)) +
      QStringLiteral("\nCan not initialize Notes Session...\nModeler terminating!");
  EXPECT_EQ(watcher.boxes[0].text, expected);
  EXPECT_EQ(watcher.boxes[0].icon, QMessageBox::Warning);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the wait cursor is gone
}

TEST_F(VelkModAppTest, NewWorkflowOpensAWindowOnValidDefaultDatabases) {
  env.WriteDemoRepository();
  auto app = Start();
  app->OnFileNew();
  ASSERT_EQ(app->WorkflowTemplate().Frames().size(), 1);
  auto* frame = qobject_cast<CChildFrame*>(app->WorkflowTemplate().Frames().first());
  ASSERT_NE(frame, nullptr);
  ASSERT_NE(frame->GetDocument(), nullptr);
  EXPECT_NE(frame->GetDocument()->Databases().processDefinitions.repository, nullptr);
  EXPECT_TRUE(
      app->MainFrame()->windowTitle().startsWith(QStringLiteral("VELK Modeler - New workflow")));
}

// Yes to the question about wrong defaults opens "Modeler Settings"; cancelling
// it leaves the command refused with its own message and nothing opened.
TEST_F(VelkModAppTest, WrongDefaultsOfferTheModelerSettingsAndCancelRefusesEachCommand) {
  auto app = Start();
  const struct {
    void (CVelkModApp::*command)();
    const char* refusal;
  } cases[] = {
      {&CVelkModApp::OnFileNew,
       "Creating a new workflow with wrong default databases is not possible. Creating aborted."},
      {&CVelkModApp::OnFileOpen,
       "Loading the workflow with wrong databases is not possible. Loading aborted."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.refusal);
    MessageBoxWatcher watcher;  // no answers: the question's default, Yes
    QString sheetTitle;
    sheettest::OnNextModal<CDlgSettings>([&](CDlgSettings& sheet) {
      sheetTitle = sheet.windowTitle();
      sheet.reject();
    });
    (app.get()->*c.command)();
    EXPECT_EQ(sheetTitle, QStringLiteral("Modeler Settings"));
    EXPECT_TRUE(watcher.Texts().join('|').contains(
        QStringLiteral("Some workflow databases are not correct:")));
    ASSERT_FALSE(watcher.boxes.empty());
    EXPECT_EQ(watcher.boxes.back().text, QString::fromLatin1(c.refusal));
    EXPECT_TRUE(app->MainFrame()->MdiArea()->subWindowList().isEmpty());
  }
}

TEST_F(VelkModAppTest, OpenClosesTheWindowWhenTheChooserIsCancelledOrLoadingFails) {
  env.WriteDemoRepository();
  std::optional<velk::WorkflowHeaderEntry> choice;
  ShellCollaborators parts = StandardShellCollaborators();
  parts.chooseWorkflow = [&](velk::CProcessDefDb& repository, QWidget*) {
    if (choice) return choice;
    repository.ReadHeaders(false);
    return std::optional(*repository.FindHeaderByName("Order Handling"));
  };
  auto app = Start(parts);
  MessageBoxWatcher watcher;
  choice = velk::WorkflowHeaderEntry{};
  choice->workflowId = "NO-SUCH-WORKFLOW";
  app->OnFileOpen();
  EXPECT_TRUE(app->WorkflowTemplate().Frames().isEmpty());
  EXPECT_FALSE(watcher.boxes.empty()) << "the loader says why";
  choice.reset();
  app->OnFileOpen();
  ASSERT_EQ(app->WorkflowTemplate().Frames().size(), 1);
  auto* frame = qobject_cast<CChildFrame*>(app->WorkflowTemplate().Frames().first());
  EXPECT_EQ(frame->GetDocument()->Header().name, "Order Handling");
}

TEST_F(VelkModAppTest, SplashClosesByTimerClickOrButtonAndAboutHasNoTimer) {
  {
    // Long enough that showing the window on a busy machine does not outlast it.
    QPointer<CSplashWnd> timed = new CSplashWnd(400);
    EXPECT_TRUE(timed->TimerActive());
    timed->show();
    QElapsedTimer t;
    t.start();
    while (timed && t.elapsed() < 5000) ProcessEvents();
    EXPECT_TRUE(timed.isNull());
  }
  {
    QPointer<CSplashWnd> clicked = new CSplashWnd(CSplashWnd::kTimerMs);
    clicked->show();
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(300, 30),
                      clicked->mapToGlobal(QPointF(300, 30)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(clicked, &press);
    ProcessEvents();
    EXPECT_TRUE(clicked.isNull());
  }
  auto app = Start();
  app->OnAppAbout();
  QPointer<CSplashWnd> about = app->Splash();
  ASSERT_FALSE(about.isNull());
  EXPECT_FALSE(about->TimerActive());
  about->PictureButton()->click();
  ProcessEvents();
  EXPECT_TRUE(about.isNull());
}

TEST_F(VelkModAppTest, ExitEmptiesTheInternalClipboard) {
  auto app = Start();
  velk::CWorkflowDoc doc{app->UserInterface()};
  velk::CNode* node = doc.CreateNode({0, 0, 34, -34});
  doc.Session().SelectNode(*node);
  app->InternalClipboard().Copy(doc);
  ASSERT_TRUE(app->InternalClipboard().IsFilled());
  EXPECT_EQ(app->ExitInstance(7), 7);
  EXPECT_FALSE(app->InternalClipboard().IsFilled());
}

}  // namespace
