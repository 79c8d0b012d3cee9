#pragma once
// The modeler started through its composition root on the demo repository, and
// the steps every end-to-end test takes with real input: open a stored workflow,
// find its tasks, press a shortcut.

#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include <functional>
#include <memory>
#include <string>

#include "app/ui/composition.h"
#include "app/ui/workflowframe.h"
#include "common/infocenter.h"
#include "common/services.h"
#include "dialogs/ui/workflowchooserdialogs.h"
#include "editor/ui/workflowview.h"
#include "model/workflowdoc.h"
#include "sheetfixture.h"
#include "shellfixture.h"

class ModelerTest : public ::testing::Test {
 protected:
  // `adjust` changes the standard collaborators before the start.
  explicit ModelerTest(const std::function<void(ShellCollaborators&)>& adjust = {}) {
    env.WriteDemoRepository();
    ShellCollaborators parts = StandardShellCollaborators();
    if (adjust) adjust(parts);
    app = StartModeler(env.Options(), std::move(parts));
    frame()->resize(1280, 900);
    shelltest::ProcessEvents();
  }
  ~ModelerTest() override {
    for (QMdiSubWindow* w : frame()->MdiArea()->subWindowList())
      if (auto* c = qobject_cast<CChildFrame*>(w)) c->canClose = {};
    app.reset();
  }
  CMainFrame* frame() const { return app->MainFrame(); }
  CChildFrame* Active() const { return qobject_cast<CChildFrame*>(frame()->ActiveChild()); }
  CWorkflowView* View() const { return static_cast<CWorkflowView*>(Active()->GetView()); }
  velk::CWorkflowDoc& Doc() const { return *Active()->GetDocument(); }

  // File Open with Ctrl+O (or `open`), then the stored version whose entry holds
  // `text`, and OK.
  void OpenWorkflow(const QString& text, const std::function<void()>& open = {}) {
    sheettest::OnNextModal<CDlgLoadWorkflow>([text](CDlgLoadWorkflow& dialog) {
      QTreeWidget* tree = dialog.Tree();
      tree->expandAll();
      for (QTreeWidgetItemIterator it(tree); *it; ++it)
        if ((*it)->text(0).contains(text)) shelltest::ClickItem(tree, *it);
      ClickOk(dialog);
    });
    open ? open() : Key(Qt::Key_O);
  }
  // CTRL + `key` on the main window, as a user presses it.
  void Key(Qt::Key key) {
    frame()->activateWindow();
    shelltest::ProcessEvents();
    QTest::keyClick(frame(), key, Qt::ControlModifier);
    shelltest::ProcessEvents();
  }
  static void ClickOk(QWidget& dialog) {
    auto* box = dialog.findChild<QDialogButtonBox*>();
    QTest::mouseClick(box->button(QDialogButtonBox::Ok), Qt::LeftButton);
  }
  // Types into whatever has the keyboard, as a user does.
  static void Type(const QString& text) {
    QTest::keyClicks(QApplication::focusWidget(), text);
    shelltest::ProcessEvents();
  }
  // A key on whatever has the keyboard, else on the active window's drawing.
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : View(), key, modifiers);
    shelltest::ProcessEvents();
  }
  QPoint Pixel(velk::Point p) const { return View()->ToViewport(p); }
  // The button of `command` on the toolbar `bar`.
  void ClickTool(int command, CMainFrame::Bar bar = CMainFrame::WorkflowToolsBar) {
    QTest::mouseClick(frame()->ToolBar(bar)->widgetForAction(frame()->Action(command)),
                      Qt::LeftButton);
    shelltest::ProcessEvents();
  }
  // The menu entry of `command`, as a click on it.
  void Trigger(int command) {
    shelltest::ProcessEvents();
    frame()->Action(command)->trigger();
    shelltest::ProcessEvents();
  }
  // Clicks the menu bar's `title`, then its entry `entry`, which must be enabled.
  void ChooseMenu(const QString& title, const QString& entry) {
    frame()->activateWindow();
    shelltest::ProcessEvents();
    QMenuBar* bar = frame()->menuBar();
    for (QAction* m : bar->actions()) {
      if (m->text() != title || !m->isVisible()) continue;
      QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(m).center());
      shelltest::ProcessEvents();
      for (QAction* a : m->menu()->actions()) {
        if (a->text().section('\t', 0, 0) != entry) continue;
        ASSERT_TRUE(m->menu()->isVisible() && a->isEnabled()) << entry.toStdString();
        QTest::mouseClick(m->menu(), Qt::LeftButton, {}, m->menu()->actionGeometry(a).center());
        shelltest::ProcessEvents();
        return;
      }
    }
    FAIL() << "no entry " << title.toStdString() << " > " << entry.toStdString();
  }
  // Press and release, then the second press as a double click.
  void DoubleClick(QPoint at) {
    QTest::mouseClick(View()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(View()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(View()->viewport(), Qt::LeftButton, {}, at);
    shelltest::ProcessEvents();
  }
  // Answers the next popup menu: reads its entries ("text", "-text" when
  // disabled, "|" for separators) and triggers the first enabled one whose text
  // starts with `choose` (none: the menu is closed).
  static std::shared_ptr<QStringList> OnNextPopup(const QString& choose) {
    auto seen = std::make_shared<QStringList>();
    QTimer::singleShot(50, [seen, choose] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      QAction* chosen = nullptr;
      for (QAction* a : menu->actions()) {
        *seen << (a->isSeparator() ? QStringLiteral("|") : (a->isEnabled() ? "" : "-") + a->text());
        if (!chosen && !choose.isEmpty() && a->isEnabled() && a->text().startsWith(choose))
          chosen = a;
      }
      if (chosen) menu->setActiveAction(chosen);
      QTest::keyClick(menu, chosen ? Qt::Key_Return : Qt::Key_Escape);
    });
    return seen;
  }
  // Right-clicks the drawing at `at` and picks `entry` of the menu that opens.
  void ContextMenu(QPoint at, const QString& entry) {
    OnNextPopup(entry);
    QTest::mouseClick(View()->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, View()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(View()->viewport(), &event);
    shelltest::ProcessEvents();
  }
  velk::CNode* Node(const std::string& name) const {
    for (velk::CNode* n : Doc().AllNodes())
      if (n->Name() == name) return n;
    return nullptr;
  }
  QPoint Centre(const velk::CNode& n) const { return View()->ToViewport(n.GetRect().Center()); }
  // Press, a first move that starts the drag, the move to `to` and release.
  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(View()->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(View()->viewport(), from + (to - from) / 2);
    QTest::mouseMove(View()->viewport(), to);
    QTest::mouseRelease(View()->viewport(), Qt::LeftButton, {}, to);
  }

  shelltest::ShellEnvironment env;
  std::unique_ptr<CVelkModApp> app;
};
