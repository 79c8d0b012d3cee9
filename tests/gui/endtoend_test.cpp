// The modeler as a user starts it: composed as main() composes it, on the demo
// repository in a folder of the test's own, driven by mouse and keyboard on the
// widgets a user sees.

#include <QLineEdit>
#include <fstream>
#include <set>

#include "app/ui/commandtable.h"
#include "app/ui/infocenterwnd.h"
#include "app/ui/recoverywriter.h"
#include "model/workflowrecovery.h"
#include "modelerfixture.h"

namespace {

using shelltest::MessageBoxWatcher;
using velk::CNode;

class EndToEndTest : public ModelerTest {};

TEST_F(EndToEndTest, EditSaveCloseAndOpenAgainKeepsEveryChangeAndEveryCommandIsHandled) {
  OpenWorkflow(QStringLiteral("Version 2.0"));
  ASSERT_NE(Active(), nullptr);
  ASSERT_EQ(Doc().Header().version, 2);

  // Drag "Check order" 100 units to the right (grid off: exactly).
  CNode* check = Node("Check order");
  const velk::Rect before = check->GetRect();
  Drag(Centre(*check), Pixel({before.Center().x + 100, before.Center().y}));
  const int movedLeft = check->GetRect().left;
  EXPECT_NEAR(movedLeft - before.left, 100, 2);
  // With a workflow and a task selected every shown command has its handler; the
  // directory's commands belong to its window (tests/gui/extdir_endtoend_test.cpp).
  ASSERT_EQ(Doc().Session().SelectedNodes(), std::vector<CNode*>{check});
  const std::set<int> directoryWindow = {
      cmd::ExtDirSave,           cmd::ExtDirReload,     cmd::ExtDirNewFolder,
      cmd::ExtDirDelete,         cmd::ExtDirProperties, cmd::ExtDirExpandBranch,
      cmd::ExtDirCollapseBranch, cmd::ExtDirExpandAll,  cmd::ExtDirCollapseAll};
  for (const CommandInfo& c : AllCommands()) {
    if (!frame()->Action(c.id) || c.id == cmd::FileMru || directoryWindow.contains(c.id)) continue;
    EXPECT_TRUE(frame()->IsHandled(c.id)) << c.menuText;
  }

  // Insert a task, connect "Check order" to it.
  ClickTool(cmd::ToolInternalTask);
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, Pixel({300, -900}));
  CNode* added = Doc().AllNodes().back();
  ClickTool(cmd::ToolArrow);
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, Centre(*check));
  QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, Centre(*added));
  ClickTool(cmd::ToolSelect);
  ASSERT_EQ(added->IncomingArrows().size(), 1u);

  // Its sheet: a person and a primary form, OK.
  QString person, form;
  sheettest::OnNextModal<CDlgNodeProperty>([&](CDlgNodeProperty& sheet) {
    auto* name = sheet.findChild<QLineEdit*>("name");
    name->setFocus();
    QTest::keyClicks(name, QStringLiteral("Ship order"));
    sheettest::ClickTab(sheet.Tabs(), QStringLiteral("Performer"));
    QTest::keyClicks(sheet.findChild<QComboBox*>("performerType"), QStringLiteral("Person"));
    auto* persons = sheet.findChild<QComboBox*>("person");
    QTest::keyClick(persons, Qt::Key_Down);
    person = persons->currentText();
    sheettest::ClickTab(sheet.Tabs(), QStringLiteral("Forms"));
    auto* primary = sheet.findChild<QComboBox*>("primaryForm");
    primary->setFocus();
    QTest::keyClick(primary, Qt::Key_Down);
    form = primary->currentText();
    ClickOk(sheet);
  });
  DoubleClick(Centre(*added));
  ASSERT_FALSE(person.isEmpty() || form.isEmpty());
  // Undo takes the sheet back, redo brings it again.
  Key(Qt::Key_Z);
  EXPECT_NE(added->Attributes().member, person.toStdString());
  Key(Qt::Key_Y);
  EXPECT_EQ(added->Attributes().member, person.toStdString());

  MessageBoxWatcher watcher;
  Key(Qt::Key_S);
  EXPECT_EQ(watcher.Texts().join("|"), QString());
  EXPECT_EQ(Doc().Header().version, 3) << "stored; an Active workflow counts up";
  Trigger(cmd::FileClose);

  OpenWorkflow(QStringLiteral("Version 3.0"));
  ASSERT_NE(Active(), nullptr);
  EXPECT_EQ(Node("Check order")->GetRect().left, movedLeft);
  const CNode* stored = Node("Ship order");
  ASSERT_TRUE(stored && !stored->Attributes().objects.empty() &&
              stored->IncomingArrows().size() == 1u);
  EXPECT_EQ(stored->Attributes().member, person.toStdString());
  EXPECT_EQ(stored->Attributes().objects.front(), form.toStdString());
  EXPECT_EQ(stored->IncomingArrows().front()->Source()->Name(), "Check order");
  EXPECT_EQ(app->RecentWorkflows().Entries().front().version, 3);
}

// A recent entry opening its workflow is walked from the start panel.
TEST_F(EndToEndTest, AGoneRecentEntryIsRemovedWithAMessage) {
  app.reset();
  velk::QSettingsBackend settings(env.SettingsFile());
  velk::RecentWorkflowList recent;
  recent.Add({"0123456789ABCDEF0123456789ABCDEF", 7, "Gone Workflow", "procdef.nsf", ""});
  recent.Save(settings);
  settings.sync();
  app = StartModeler(env.Options(), StandardShellCollaborators());
  MessageBoxWatcher watcher;
  app->Shell().files.OpenRecent(0);
  shelltest::ProcessEvents();
  ASSERT_EQ(watcher.boxes.size(), 1u);
  EXPECT_TRUE(watcher.boxes[0].text.contains(QStringLiteral("Gone Workflow v7")));
  EXPECT_TRUE(app->RecentWorkflows().Entries().empty());
  EXPECT_TRUE(frame()->MdiArea()->subWindowList().isEmpty());
}

TEST_F(EndToEndTest, AfterACrashTheUnsavedWorkflowIsOfferedAndRestoredAndDamagedCopiesReported) {
  OpenWorkflow(QStringLiteral("Version 2.0"));
  CNode* check = Node("Check order");
  Drag(Centre(*check), Centre(*check) + QPoint(60, 40));
  const velk::Rect moved = check->GetRect();
  app->Shell().recoveryWriter.WriteChanged();
  app->Shell().recoveryWriter.Flush();
  for (QMdiSubWindow* w : frame()->MdiArea()->subWindowList())
    if (auto* c = qobject_cast<CChildFrame*>(w)) c->canClose = {};
  app.reset();  // torn down without closing its windows, as by a crash
  // Beside it a copy that cannot be read: which are damaged is the core's.
  std::ofstream(env.DataDir() + "/recovery/1x1-0.json")
      << R"({"workflowId": "W", "workflow": {"header": {"name": 5}}})";

  MessageBoxWatcher watcher;
  watcher.answers.push_back(QMessageBox::Yes);
  app = StartModeler(env.Options(), StandardShellCollaborators());
  ASSERT_EQ(watcher.boxes.size(), 1u) << "the damaged copy is not offered";
  EXPECT_TRUE(watcher.boxes[0].text.contains(QStringLiteral("\"Order Handling\"")));
  EXPECT_EQ(app->UserInterface().infoCenter().entries(velk::kRecoveryCategory).size(), 1u);
  EXPECT_TRUE(frame()->InfoCenterWindow() && frame()->InfoCenterWindow()->isVisible());
  ASSERT_NE(Active(), nullptr);
  EXPECT_TRUE(Doc().Session().IsModified()) << "restored, not stored yet";
  EXPECT_EQ(Node("Check order")->GetRect(), moved);
  // An edit undone leaves the restored work, which is still not what is stored.
  Drag(Centre(*Node("Check order")), Centre(*Node("Check order")) + QPoint(40, 0));
  Key(Qt::Key_Z);
  EXPECT_EQ(Node("Check order")->GetRect(), moved);
  watcher.answers.push_back(QMessageBox::Cancel);
  Trigger(cmd::FileClose);
  ASSERT_EQ(watcher.boxes.size(), 2u) << "closing asks";
  EXPECT_EQ(watcher.boxes[1].text, QStringLiteral("Save changes in Order Handling v2 (Active) "));
  ASSERT_NE(Active(), nullptr) << "Cancel keeps the window";

  Key(Qt::Key_S);
  EXPECT_EQ(Doc().Header().version, 3) << "saved as the workflow it was loaded as";
  app.reset();
  app = StartModeler(env.Options(), StandardShellCollaborators());
  EXPECT_TRUE(frame()->MdiArea()->subWindowList().isEmpty()) << "the save removed the copy";
}

}  // namespace
