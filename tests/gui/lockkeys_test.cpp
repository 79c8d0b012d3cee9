#include "app/ui/lockkeys.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <vector>

#include "app/ui/statusline.h"

namespace {

TEST(LockKeys, NextStatesFollowTheMaskAndTogglesOnPress) {
  const LockStates off, all{true, true, true};
  constexpr unsigned caps = kXLockMask, num = kXMod2Mask;
  struct Case {
    const char* what;
    LockStates current;
    unsigned mask;
    int key;
    bool press, native;
    LockStates expected;
  };
  const std::vector<Case> cases = {
      {"caps press, mask clear", off, 0, Qt::Key_CapsLock, true, true, {true, false, false}},
      {"caps press, mask set", all, caps | num, Qt::Key_CapsLock, true, true, {false, true, true}},
      {"num press, mask set", off, num, Qt::Key_NumLock, true, true, {false, false, false}},
      {"clear mask turns caps and num off", all, 0, Qt::Key_A, false, true, {false, false, true}},
      {"scroll press turns on", off, 0, Qt::Key_ScrollLock, true, false, {false, false, true}},
      {"caps press without mask", all, 0, Qt::Key_CapsLock, true, false, {false, true, true}},
      {"release without mask", all, 0, Qt::Key_CapsLock, false, false, all},
  };
  for (const Case& c : cases) {
    const LockStates got = NextLockStates(c.current, c.mask, c.key, c.press, c.native);
    EXPECT_EQ(got, c.expected) << c.what << ": got " << got.caps << got.num << got.scroll;
  }
}

TEST(LockKeys, ScrollLockClickTogglesTheScrlPaneOnce) {
  CStatusLine line;
  QWidget parent;
  QWidget* target = new QWidget(&parent);  // an ignored press also reaches the parent
  auto* pane = line.findChild<QLabel*>(QStringLiteral("ScrlPane"));
  ASSERT_NE(pane, nullptr);
  ASSERT_FALSE(pane->isEnabled());
  for (bool on : {true, false}) {
    QTest::keyClick(target, Qt::Key_ScrollLock);
    EXPECT_EQ(pane->isEnabled(), on);
    EXPECT_EQ(line.LockState(2), on);
  }
  EXPECT_FALSE(line.LockState(0) || line.LockState(1));
}

}  // namespace
