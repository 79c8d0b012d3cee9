#pragma once
// Tests of the task property dialogs: a workflow with one task, repository lists
// of a small organisation, headless services that record the messages (and
// answer questions), and helpers that act on a dialog shown modally.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <type_traits>

#include "common/headlessservices.h"
#include "dialogs/repositorylists.h"
#include "dialogs/ui/nodeproperty.h"
#include "extdir/extdirlookup.h"
#include "model/workflowdoc.h"

namespace sheettest {

// Clicks the tab of that title.
inline void ClickTab(QTabWidget* tabs, const QString& title) {
  for (int i = 0; i < tabs->count(); ++i)
    if (tabs->tabText(i) == title)
      QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(i).center());
  ASSERT_EQ(tabs->tabText(tabs->currentIndex()), title);
}

inline velk::RepositoryLists SmallOrganisation() {
  velk::RepositoryLists lists;
  lists.persons = {"Ann Lee", "Bob Stone", "Carla Diaz"};
  lists.workgroups = {"Audit", "Board"};
  lists.units = {"Sales/North", "Sales/South"};
  lists.roles = {{"Clerk", {"Region", "Branch"}}, {"Approver", {}}};
  lists.hasApplicationDatabase = true;
  lists.applicationDatabaseTitle = "VELK Application Environment";
  lists.forms = {{"Order|GF_Order", {"Customer", "Amount"}},
                 {"Invoice|GF_Invoice", {"Total", "Customer", "Amount"}},
                 {"Memo|GF_Memo", {"Subject"}}};
  lists.resources = {"Projector", "Company Car", "Meeting Room A"};
  return lists;
}

// The texts of the messages shown.
inline std::vector<std::string> Texts(const velk::HeadlessServices& ui) {
  std::vector<std::string> texts;
  for (const auto& m : ui.messages) texts.push_back(m.text);
  return texts;
}

class SheetTest : public ::testing::Test {
 protected:
  velk::HeadlessServices ui;
  velk::CWorkflowDoc doc{ui, "CN=Test Designer/O=Marvelund", "06.12.2026"};
  velk::RepositoryLists lists = SmallOrganisation();
  velk::CExtDirLookup directory;

  velk::CNode* AddTask(velk::NodeKind kind,
                       const std::function<void(velk::NodeAttributes&)>& fill = {}) {
    velk::CNode* node = doc.InsertNode({0, 0, 34, -34}, kind);
    velk::NodeAttributes a = node->Attributes();
    a.name = "Check order";
    if (fill) fill(a);
    doc.SetNodeAttributes(*node, a);
    return node;
  }

  // The task's sheet shown, on the page of that title when one is given.
  std::unique_ptr<CDlgNodeProperty> OpenSheet(velk::CNode* node, const QString& tab = {}) {
    auto sheet = std::make_unique<CDlgNodeProperty>(QStringLiteral("Task Properties"), doc, *node,
                                                    lists, directory);
    sheet->show();
    if (!tab.isEmpty()) ClickTab(sheet->Tabs(), tab);
    return sheet;
  }

  std::vector<std::string> MessageTexts() const { return Texts(ui); }
};

// Runs `act` on the next modal dialog once it is shown (a dialog the code under
// test opens with exec()).
template <class Dialog>
void OnNextModal(std::function<void(Dialog&)> act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(*dialog);
  });
  timer->start(5);
}

// Runs `act` on the Dialog that `open` shows modally and closes it if `act` left
// it open; fails when no such dialog was shown.
template <class Dialog>
void WithModal(const std::function<void()>& open, const std::function<void(Dialog&)>& act) {
  bool ran = false;
  OnNextModal<Dialog>([&](Dialog& dialog) {
    ran = true;
    act(dialog);
    if (dialog.isVisible()) dialog.reject();
  });
  open();
  EXPECT_TRUE(ran) << Dialog::staticMetaObject.className();
}

// The entries of a combo box or list, in their order.
template <class W>
std::vector<std::string> Texts(const W* w) {
  std::vector<std::string> texts;
  for (int i = 0; i < w->count(); ++i) {
    if constexpr (std::is_base_of_v<QComboBox, W>)
      texts.push_back(w->itemText(i).toStdString());
    else
      texts.push_back(w->item(i)->text().toStdString());
  }
  return texts;
}

// Selects the entries of the list showing these texts.
inline void Select(QListWidget* list, const std::vector<std::string>& texts) {
  list->clearSelection();
  for (int i = 0; i < list->count(); ++i)
    for (const std::string& t : texts)
      if (list->item(i)->text().toStdString() == t) list->item(i)->setSelected(true);
}

// The child widget of that object name.
template <class W>
W* Find(const QWidget* in, const char* name) {
  W* w = in->findChild<W*>(QLatin1String(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

// Chooses an entry as the user does: it becomes current and the combo reports it.
inline void Choose(QComboBox* combo, const QString& text) {
  const int index = combo->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  ASSERT_GE(index, 0) << text.toStdString();
  combo->setCurrentIndex(index);
  emit combo->activated(index);
}

}  // namespace sheettest
