// "Help Topics": the manual compiled into the program, one shared help window, and
// its contents list leading to the topics.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>

#include "app/ui/helpwindow.h"

namespace {

QList<CHelpWindow*> HelpWindows() {
  QList<CHelpWindow*> found;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* help = qobject_cast<CHelpWindow*>(w); help && help->isVisible()) found << help;
  return found;
}

TEST(HelpWindowTest, OneSharedWindowWhoseContentsScrollToTheTopic) {
  EXPECT_TRUE(HelpManualText().contains(QStringLiteral("Save Workflow as")));
  QWidget owner;
  ShowHelpTopics(&owner);
  ShowHelpTopics(&owner);
  const QList<CHelpWindow*> windows = HelpWindows();
  ASSERT_EQ(windows.size(), 1);
  CHelpWindow* help = windows.front();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(help));

  QListWidget* contents = help->findChild<QListWidget*>(QStringLiteral("HelpContents"));
  QTextBrowser* text = help->findChild<QTextBrowser*>(QStringLiteral("HelpText"));
  ASSERT_TRUE(contents && text);
  const QList<QListWidgetItem*> saving =
      contents->findItems(QStringLiteral("Saving"), Qt::MatchExactly);
  ASSERT_EQ(saving.size(), 1);
  ASSERT_EQ(text->verticalScrollBar()->value(), 0);

  QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                    contents->visualItemRect(saving.front()).center());
  const int scrolled = text->verticalScrollBar()->value();
  EXPECT_GT(scrolled, 0);
  QTextBlock heading = text->document()->begin();
  while (heading.isValid() && heading.text() != QStringLiteral("Saving")) heading = heading.next();
  ASSERT_TRUE(heading.isValid());
  const QRectF at = text->document()->documentLayout()->blockBoundingRect(heading);
  EXPECT_GE(at.top() - scrolled, -1.0);
  EXPECT_LT(at.bottom() - scrolled, text->viewport()->height());
}

}  // namespace
