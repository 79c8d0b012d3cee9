#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
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

TEST_F(InfoCenterWndTest, OnlyAnErrorEntryOpensTheWindowWhichOkEscapeAndAMessageHide) {
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

  // OK, Escape and the hide message hide the window without destroying it.
  const std::vector<std::pair<const char*, std::function<void(CInfoCenterWnd*)>>> ways = {
      {"OK", [](CInfoCenterWnd* w) { w->OkButton()->click(); }},
      {"Escape", [](CInfoCenterWnd* w) { QTest::keyClick(w->Tree(), Qt::Key_Escape); }},
      {"message 35000",
       [this](CInfoCenterWnd*) {
         QEvent message(CInfoCenterWnd::kHideMessage);
         QApplication::sendEvent(frame_.get(), &message);
       }},
  };
  for (const auto& [name, hide] : ways) {
    QPointer<CInfoCenterWnd> window = OpenWindow();
    ASSERT_TRUE(window->isVisible()) << name;
    hide(window);
    shelltest::ProcessEvents();
    ASSERT_FALSE(window.isNull()) << name;
    EXPECT_FALSE(window->isVisible()) << name;
    EXPECT_FALSE(CommandChecked()) << name;
    EXPECT_EQ(Window(), window.data()) << name;
    EXPECT_EQ(Titles(kInfra), QStringList({"Missing view", "another notice", "second error"}))
        << name;
  }
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
  // Four pictures that load and differ.
  for (int i = 0; i < category->childCount(); ++i) {
    const QImage picture = category->child(i)->icon(0).pixmap(16, 16).toImage();
    EXPECT_FALSE(picture.isNull()) << i;
    EXPECT_EQ(category->child(i)->icon(0).cacheKey(), SeverityIcon(added[i]).cacheKey()) << i;
    for (int j = 0; j < i; ++j)
      EXPECT_NE(picture, category->child(j)->icon(0).pixmap(16, 16).toImage()) << i << j;
  }
  // Clearing the category lets the image fall back with the new entries.
  services_.infoCenter().clearCategory(kInit);
  Add(kInit, "again", Severity::Notice);
  EXPECT_EQ(ShownSeverity(Window()->CategoryItem(kInit)), Severity::Notice);
}

// Copying the selection as text, resetting the tree from the stored entries and
// clearing a category, on one set of entries: clearing keeps the selected entry
// or category and the collapsed categories.
TEST_F(InfoCenterWndTest, SelectionCopiesAsTextResetRebuildsAndClearingKeepsTheUsersChoices) {
  const char* const kCheck = "Consistency Check";
  Add(kInit, "a", Severity::Success);
  Add(kInfra, "b", Severity::Warning, "Role without name skipped.\r\nDocument 0000012A");
  Add(kInfra, "c", Severity::Error, "the error");
  Add(kCheck, "d", Severity::Notice);
  CInfoCenterWnd* w = OpenWindow();
  QTreeWidgetItem* b = w->CategoryItem(kInfra)->child(0);
  w->Tree()->setCurrentItem(b);
  EXPECT_EQ(w->SelectionText(), "[Warning] " + b->text(CInfoCenterWnd::TimeColumn) +
                                    "  b\n    Role without name skipped.\n    Document 0000012A");
  w->Tree()->setCurrentItem(w->CategoryItem(kInit));
  EXPECT_TRUE(w->Description()->toPlainText().isEmpty());
  EXPECT_TRUE(w->SelectionText().startsWith(QString(kInit) + "\n[Success] "));

  w->CategoryItem(kInit)->setExpanded(false);
  delete w->CategoryItem(kInfra);  // the tree no longer matches the entries
  w->ResetButton()->click();
  ASSERT_EQ(w->Tree()->topLevelItemCount(), 3);
  EXPECT_EQ(w->Tree()->topLevelItem(0)->text(0), kInit);
  EXPECT_EQ(Titles(kInfra), QStringList({"b", "c"}));
  EXPECT_TRUE(w->CategoryItem(kInit)->isExpanded());
  EXPECT_EQ(Selection(), "c | the error") << "the newest error";
  EXPECT_EQ(ShownSeverity(w->CategoryItem(kInfra)), Severity::Error);

  w->CategoryItem(kCheck)->setExpanded(false);
  w->Tree()->setCurrentItem(w->CategoryItem(kInfra)->child(0));
  services_.infoCenter().clearCategory(kInit);
  EXPECT_EQ(w->CategoryItem(kInit), nullptr);
  EXPECT_FALSE(w->CategoryItem(kCheck)->isExpanded());
  EXPECT_EQ(Selection(), "b | Role without name skipped.\nDocument 0000012A");
  EXPECT_EQ(w->Summary()->text(), "3 entries: 1 error, 1 warning, 1 notice");
  w->Tree()->setCurrentItem(w->CategoryItem(kCheck));
  services_.infoCenter().clearCategory(kInfra);
  EXPECT_EQ(Selection(), "Consistency Check | ");
}

}  // namespace
