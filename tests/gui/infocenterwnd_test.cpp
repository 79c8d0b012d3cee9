#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTreeWidget>
#include <functional>

#include "app/ui/guiservices.h"
#include "app/ui/infocenterwnd.h"
#include "app/ui/mainframe.h"
#include "app/ui/severityicons.h"
#include "common/infocenter.h"
#include "common/services.h"
#include "shellfixture.h"

namespace {

using velk::Severity;
const char* const kInit = "Initializing Databases";
const char* const kInfra = "Infrastructure";

// A main frame with GUI services of the test's own, so entries reach its Info
// Center window as they do in the program.
class InfoCenterWndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame_ = std::make_unique<CMainFrame>(services_.infoCenter(), store_);
    ASSERT_TRUE(frame_->Create());
    services_.SetFrame(frame_.get());
    frame_->show();
  }

  void Add(const char* category, const char* title, Severity severity, const char* text = "") {
    services_.infoCenter().addEntry(category, title, text, 0, severity);
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
  // The selected entry's title and the description shown beside it.
  QString Selection() const {
    QTreeWidgetItem* item = Window()->Tree()->currentItem();
    return (item ? item->text(0) : "none") + " | " + Window()->Description()->toPlainText();
  }
  static Severity ShownSeverity(const QTreeWidgetItem* item) {
    return static_cast<Severity>(item->data(0, CInfoCenterWnd::SeverityRole).toInt());
  }

  velk::MemorySettingsBackend store_;
  std::unique_ptr<CMainFrame> frame_;
  CGuiServices services_;
};

TEST_F(InfoCenterWndTest, OnlyAnErrorEntryOpensTheWindowAndSelectsThatEntry) {
  for (Severity s : {Severity::Success, Severity::Notice, Severity::Warning})
    Add(kInit, "not an error", s);
  EXPECT_EQ(Window(), nullptr);
  Add(kInfra, "Missing view", Severity::Error,
      "View (Modeler\\Roles) not found.\r\nChoose another database.");
  ASSERT_TRUE(Window() && Window()->isVisible());
  EXPECT_TRUE(CommandChecked());
  EXPECT_EQ(Selection(),
            "Missing view | View (Modeler\\Roles) not found.\nChoose another database.");

  // Once hidden, the next error shows it again; other entries leave it hidden.
  Window()->close();
  Add(kInfra, "another notice", Severity::Notice);
  EXPECT_FALSE(Window()->isVisible());
  Add(kInfra, "second error", Severity::Error);
  EXPECT_TRUE(Window()->isVisible());
  EXPECT_EQ(Selection(), "second error | ");
}

// Which severity is the highest is the core's; here the pictures that show it.
TEST_F(InfoCenterWndTest, CategoryImageFollowsTheHighestSeverityBelowIt) {
  const Severity added[] = {Severity::Notice, Severity::Error, Severity::Warning,
                            Severity::Success};
  OpenWindow();
  for (Severity s : added) Add(kInit, std::to_string(static_cast<int>(s)).c_str(), s);
  QTreeWidgetItem* category = Window()->CategoryItem(kInit);
  ASSERT_NE(category, nullptr);
  EXPECT_EQ(ShownSeverity(category), Severity::Error);
  EXPECT_EQ(category->icon(0).cacheKey(), SeverityIcon(Severity::Error).cacheKey());
  for (int i = 0; i < category->childCount(); ++i)
    EXPECT_EQ(category->child(i)->icon(0).cacheKey(), SeverityIcon(added[i]).cacheKey()) << i;
  // Clearing the category lets the image fall back with the new entries.
  services_.infoCenter().clearCategory(kInit);
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

TEST_F(InfoCenterWndTest, OkEscapeAndTheHideMessageHideTheWindowWithoutDestroyingIt) {
  const std::vector<std::pair<const char*, std::function<void(CInfoCenterWnd*)>>> ways = {
      {"OK", [](CInfoCenterWnd* w) { w->OkButton()->click(); }},
      {"Escape",
       [](CInfoCenterWnd* w) {
         QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
         QApplication::sendEvent(w->Tree(), &key);
       }},
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
  EXPECT_EQ(Selection(), "c | the error") << "the newest error";
  EXPECT_EQ(ShownSeverity(w->CategoryItem(kInfra)), Severity::Error);
}

TEST_F(InfoCenterWndTest, ClearingACategoryKeepsTheSelectionAndCollapsedCategories) {
  const char* const kCheck = "Consistency Check";
  for (bool entry : {true, false}) {  // an entry selected, or a category
    services_.infoCenter().clear();
    Add(kInit, "a", Severity::Success);
    Add(kInfra, "b", Severity::Notice, "text of b");
    Add(kCheck, "c", Severity::Warning);
    CInfoCenterWnd* w = OpenWindow();
    w->CategoryItem(kCheck)->setExpanded(false);
    QTreeWidgetItem* category = w->CategoryItem(entry ? kInfra : kCheck);
    w->Tree()->setCurrentItem(entry ? category->child(0) : category);
    services_.infoCenter().clearCategory(kInit);
    EXPECT_EQ(w->CategoryItem(kInit), nullptr);
    EXPECT_FALSE(w->CategoryItem(kCheck)->isExpanded());
    EXPECT_EQ(Selection(), entry ? "b | text of b" : "Consistency Check | ");
    EXPECT_EQ(w->Summary()->text(), "2 entries: 1 warning, 1 notice");
  }
}

TEST_F(InfoCenterWndTest, SelectionCopiesAsIndentedText) {
  Add(kInit, "Initializing Tracking Database", Severity::Success, "ok");
  Add(kInfra, "Reading roles", Severity::Warning,
      "Role without name skipped.\r\nDocument 0000012A");
  CInfoCenterWnd* w = OpenWindow();
  QTreeWidgetItem* item = w->CategoryItem(kInfra)->child(0);
  w->Tree()->setCurrentItem(item);
  EXPECT_EQ(w->SelectionText(),
            "[Warning] " + item->text(CInfoCenterWnd::TimeColumn) +
                "  Reading roles\n    Role without name skipped.\n    Document 0000012A");
  w->Tree()->setCurrentItem(w->CategoryItem(kInit));
  EXPECT_TRUE(w->Description()->toPlainText().isEmpty());
  EXPECT_TRUE(w->SelectionText().startsWith(QString(kInit) + "\n[Success] "));
}

}  // namespace
