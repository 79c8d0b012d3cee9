#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTreeWidget>
#include <functional>

#include "app/infocenter.h"
#include "app/settings.h"
#include "app/ui/guiservices.h"
#include "app/ui/infocenterwnd.h"
#include "app/ui/mainframe.h"
#include "app/ui/severityicons.h"
#include "shellfixture.h"

namespace {

using velk::Severity;
const char* const kInit = "Initializing Databases";
const char* const kInfra = "Infrastructure";

// A main frame with the GUI services installed, so entries reach its Info Center
// window as they do in the program; the Info Center starts and ends empty.
class InfoCenterWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    velk::InfoCenter::instance().clear();
    frame_ = std::make_unique<CMainFrame>(store_);
    ASSERT_TRUE(frame_->Create());
    services_.SetFrame(frame_.get());
    velk::setServices(&services_);
    frame_->show();
  }
  void TearDown() override {
    velk::setServices(nullptr);
    velk::InfoCenter::instance().clear();
  }

  static void Add(const char* category, const char* title, Severity severity,
                  const char* text = "") {
    velk::InfoCenter::instance().addEntry(category, title, text, 0, severity);
  }
  CInfoCenterWnd* Window() const { return frame_->InfoCenterWindow(); }
  CInfoCenterWnd* OpenWindow() {
    if (!Window() || !Window()->isVisible()) frame_->RouteCommand(cmd::InfoCenter);
    return Window();
  }
  bool CommandChecked() const { return frame_->QueryCommand(cmd::InfoCenter).checked; }
  QStringList Titles(const char* category) const {
    QStringList titles;
    if (QTreeWidgetItem* item = Window()->CategoryItem(category))
      for (int i = 0; i < item->childCount(); ++i) titles << item->child(i)->text(0);
    return titles;
  }
  static Severity ShownSeverity(const QTreeWidgetItem* item) {
    return static_cast<Severity>(item->data(0, CInfoCenterWnd::SeverityRole).toInt());
  }

  velk::MemorySettingsBackend store_;
  std::unique_ptr<CMainFrame> frame_;
  CGuiServices services_;
};

TEST_F(InfoCenterWndTest, OnlyAnErrorEntryOpensTheWindowAndSelectsThatEntry) {
  Add(kInit, "fine", Severity::Success);
  Add(kInit, "empty view", Severity::Notice);
  Add(kInit, "skipped document", Severity::Warning);
  EXPECT_EQ(Window(), nullptr);
  Add(kInfra, "Missing view", Severity::Error, "View (Modeler\\Roles) not found.\r\nChoose another database.");
  ASSERT_NE(Window(), nullptr);
  EXPECT_TRUE(Window()->isVisible());
  EXPECT_TRUE(CommandChecked());
  EXPECT_EQ(Window()->Tree()->currentItem()->text(0), "Missing view");
  EXPECT_EQ(Window()->Description()->toPlainText(),
            "View (Modeler\\Roles) not found.\nChoose another database.");

  // Once hidden, the next error shows it again; other entries leave it hidden.
  Window()->close();
  EXPECT_FALSE(Window()->isVisible());
  Add(kInfra, "another notice", Severity::Notice);
  EXPECT_FALSE(Window()->isVisible());
  Add(kInfra, "second error", Severity::Error);
  EXPECT_TRUE(Window()->isVisible());
  EXPECT_EQ(Window()->Tree()->currentItem()->text(0), "second error");
}

TEST_F(InfoCenterWndTest, AnEntryAddedTwiceShowsOnce) {
  OpenWindow();
  Add(kInit, "Initializing Infrastructure Database", Severity::Success, "ok");
  Add(kInit, "Initializing Infrastructure Database", Severity::Success, "ok");
  Add(kInit, "Initializing Infrastructure Database", Severity::Warning, "ok");  // differs
  EXPECT_EQ(Titles(kInit), QStringList({"Initializing Infrastructure Database",
                                        "Initializing Infrastructure Database"}));
  EXPECT_EQ(Window()->Shown().size(), 2u);
  EXPECT_EQ(Window()->Tree()->topLevelItemCount(), 1);
}

TEST_F(InfoCenterWndTest, CategoryImageFollowsTheHighestSeverityBelowIt) {
  struct Case {
    std::vector<Severity> added;
    Severity shown;
  };
  const std::vector<Case> cases = {
      {{Severity::Success}, Severity::Success},
      {{Severity::Success, Severity::Notice}, Severity::Notice},
      {{Severity::Warning, Severity::Success, Severity::Notice}, Severity::Warning},
      {{Severity::Notice, Severity::Error, Severity::Warning, Severity::Success}, Severity::Error},
  };
  OpenWindow();
  for (const Case& c : cases) {
    velk::InfoCenter::instance().clear();
    int n = 0;
    for (Severity s : c.added) Add(kInit, std::to_string(n++).c_str(), s);
    QTreeWidgetItem* category = Window()->CategoryItem(kInit);
    ASSERT_NE(category, nullptr);
    EXPECT_EQ(ShownSeverity(category), c.shown) << c.added.size();
    EXPECT_EQ(category->icon(0).cacheKey(), SeverityIcon(c.shown).cacheKey()) << c.added.size();
    for (int i = 0; i < category->childCount(); ++i)
      EXPECT_EQ(category->child(i)->icon(0).cacheKey(), SeverityIcon(c.added[i]).cacheKey());
  }
  // Clearing the category lets the image fall back with the new entries.
  velk::InfoCenter::instance().clearCategory(kInit);
  Add(kInit, "again", Severity::Notice);
  EXPECT_EQ(ShownSeverity(Window()->CategoryItem(kInit)), Severity::Notice);
}

TEST(SeverityIcons, FourDifferentPicturesThatLoad) {
  std::vector<QImage> pictures;
  for (int s = 0; s < 4; ++s) {
    const QImage picture = SeverityIcon(static_cast<Severity>(s)).pixmap(16, 16).toImage();
    ASSERT_FALSE(picture.isNull()) << s;
    for (const QImage& other : pictures) EXPECT_NE(picture, other) << s;
    pictures.push_back(picture);
  }
}

TEST_F(InfoCenterWndTest, OkAbbrechenEscapeAndClosingHideTheWindowWithoutDestroyingIt) {
  const std::vector<std::pair<const char*, std::function<void(CInfoCenterWnd*)>>> ways = {
      {"OK", [](CInfoCenterWnd* w) { w->OkButton()->click(); }},
      {"Abbrechen", [](CInfoCenterWnd* w) { w->CancelButton()->click(); }},
      {"Escape",
       [](CInfoCenterWnd* w) {
         QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
         QApplication::sendEvent(w->Tree(), &key);
       }},
      {"close", [](CInfoCenterWnd* w) { w->close(); }},
      {"message 35000",
       [this](CInfoCenterWnd*) {
         QEvent message(CInfoCenterWnd::kHideMessage);
         QApplication::sendEvent(frame_.get(), &message);
       }},
  };
  Add(kInit, "kept", Severity::Warning, "still here");
  for (const auto& [name, hide] : ways) {
    QPointer<CInfoCenterWnd> window = OpenWindow();
    ASSERT_TRUE(window->isVisible()) << name;
    EXPECT_EQ(window->OkButton()->text(), "&OK");
    EXPECT_EQ(window->CancelButton()->text(), "&Abbrechen");
    hide(window);
    shelltest::ProcessEvents();
    ASSERT_FALSE(window.isNull()) << name;
    EXPECT_FALSE(window->isVisible()) << name;
    EXPECT_FALSE(CommandChecked()) << name;
    EXPECT_EQ(Window(), window.data()) << name;
    EXPECT_EQ(Titles(kInit), QStringList{"kept"}) << name;
  }
}

TEST_F(InfoCenterWndTest, ResetRebuildsTheTreeFromTheStoredEntries) {
  Add(kInit, "a", Severity::Success);
  Add(kInfra, "b", Severity::Warning);
  Add(kInfra, "c", Severity::Error, "the error");
  Add(kInit, "d", Severity::Notice);
  CInfoCenterWnd* w = OpenWindow();
  w->CategoryItem(kInit)->setExpanded(false);
  w->Tree()->setCurrentItem(w->CategoryItem(kInit)->child(0));
  delete w->CategoryItem(kInfra);  // the tree no longer matches the entries
  w->ResetButton()->click();
  ASSERT_EQ(w->Tree()->topLevelItemCount(), 2);
  EXPECT_EQ(w->Tree()->topLevelItem(0)->text(0), kInit);
  EXPECT_EQ(Titles(kInit), QStringList({"a", "d"}));
  EXPECT_EQ(Titles(kInfra), QStringList({"b", "c"}));
  EXPECT_TRUE(w->CategoryItem(kInit)->isExpanded());
  EXPECT_EQ(w->Tree()->currentItem()->text(0), "c");  // the newest error
  EXPECT_EQ(w->Description()->toPlainText(), "the error");
  EXPECT_EQ(ShownSeverity(w->CategoryItem(kInfra)), Severity::Error);
}

TEST_F(InfoCenterWndTest, ClearingACategoryKeepsTheSelectionAndCollapsedCategories) {
  const char* const kCheck = "Consistency Check";
  struct Case {
    std::function<QTreeWidgetItem*(CInfoCenterWnd*)> select;
    QString selected;
    QString description;
  };
  const std::vector<Case> cases = {
      {[](CInfoCenterWnd* w) { return w->CategoryItem(kInfra)->child(0); }, "b", "text of b"},
      {[kCheck](CInfoCenterWnd* w) { return w->CategoryItem(kCheck); }, kCheck, ""},
  };
  for (const Case& c : cases) {
    velk::InfoCenter::instance().clear();
    Add(kInit, "a", Severity::Success);
    Add(kInfra, "b", Severity::Notice, "text of b");
    Add(kCheck, "c", Severity::Warning);
    CInfoCenterWnd* w = OpenWindow();
    w->CategoryItem(kCheck)->setExpanded(false);
    w->Tree()->setCurrentItem(c.select(w));
    velk::InfoCenter::instance().clearCategory(kInit);
    EXPECT_EQ(w->CategoryItem(kInit), nullptr);
    EXPECT_FALSE(w->CategoryItem(kCheck)->isExpanded());
    ASSERT_NE(w->Tree()->currentItem(), nullptr) << c.selected.toStdString();
    EXPECT_EQ(w->Tree()->currentItem()->text(0), c.selected);
    EXPECT_EQ(w->Description()->toPlainText(), c.description);
    EXPECT_EQ(w->Summary()->text(), "2 entries: 1 warning, 1 notice");
  }
}

TEST_F(InfoCenterWndTest, ArrowKeysWalkTheTreeAndTheDescriptionFollows) {
  Add(kInit, "a", Severity::Success, "text a");
  Add(kInfra, "b", Severity::Warning, "");
  CInfoCenterWnd* w = OpenWindow();
  w->Tree()->setCurrentItem(w->CategoryItem(kInit));
  EXPECT_EQ(w->Description()->placeholderText(),
            "1 entry, all successful.\nSelect an entry to read its message.");
  const auto press = [w](Qt::Key key) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w->Tree(), &event);
    return w->Tree()->currentItem()->text(0);
  };
  EXPECT_EQ(press(Qt::Key_Down), "a");
  EXPECT_EQ(w->Description()->toPlainText(), "text a");
  EXPECT_EQ(press(Qt::Key_Down), kInfra);
  EXPECT_TRUE(w->Description()->toPlainText().isEmpty());
  EXPECT_EQ(press(Qt::Key_Down), "b");
  EXPECT_EQ(w->Description()->placeholderText(), "This entry has no further text.");
  press(Qt::Key_Home);
  press(Qt::Key_Left);  // collapses the first category
  EXPECT_FALSE(w->CategoryItem(kInit)->isExpanded());
  EXPECT_EQ(press(Qt::Key_Down), kInfra);
}

TEST_F(InfoCenterWndTest, PlacementIsRestoredFromInfoWindowPos) {
  struct Case {
    std::string stored;
    bool applied;
  };
  const std::vector<Case> cases = {
      {"0,1,-1,-1,-1,-1,120,130,720,630", true},
      {"0,1,-1,-1,-1,-1,120,130,720", false},
      {"", false},
  };
  for (const Case& c : cases) {
    velk::MemorySettingsBackend store;
    if (!c.stored.empty()) store.setString(velk::kGuiSettingsSection, "InfoWindowPos", c.stored);
    CMainFrame frame(store);
    ASSERT_TRUE(frame.Create());
    frame.show();
    frame.RouteCommand(cmd::InfoCenter);
    ASSERT_NE(frame.InfoCenterWindow(), nullptr);
    if (c.applied)
      EXPECT_EQ(frame.InfoCenterWindow()->geometry(), QRect(120, 130, 600, 500)) << c.stored;
    else
      EXPECT_NE(frame.InfoCenterWindow()->geometry().topLeft(), QPoint(120, 130)) << c.stored;
  }
}

TEST_F(InfoCenterWndTest, EntriesShowTimeTitleAndCopyAsText) {
  Add(kInit, "Initializing Tracking Database", Severity::Success,
      "The Tracking Database is initialized successfully.");
  Add(kInfra, "Reading roles", Severity::Warning, "Role without name skipped.\r\nDocument 0000012A");
  CInfoCenterWnd* w = OpenWindow();
  const velk::InfoEntry& first = velk::InfoCenter::instance().entries()[0];
  const QString time =
      QDateTime::fromMSecsSinceEpoch(std::chrono::duration_cast<std::chrono::milliseconds>(
                                         first.added.time_since_epoch()).count())
          .toString("HH:mm:ss");
  QTreeWidgetItem* item = w->CategoryItem(kInit)->child(0);
  EXPECT_EQ(item->text(CInfoCenterWnd::TimeColumn), time);
  EXPECT_EQ(w->Summary()->text(), "2 entries: 1 warning");

  w->Tree()->setCurrentItem(w->CategoryItem(kInfra)->child(0));
  EXPECT_EQ(w->SelectionText(),
            "[Warning] " + w->CategoryItem(kInfra)->child(0)->text(1) +
                "  Reading roles\n    Role without name skipped.\n    Document 0000012A");
  w->Tree()->setCurrentItem(w->CategoryItem(kInit));
  EXPECT_TRUE(w->Description()->toPlainText().isEmpty());
  EXPECT_TRUE(w->SelectionText().startsWith(QString(kInit) + "\n[Success] "));
}

}  // namespace
