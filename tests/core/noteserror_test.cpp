#include "repository/noteserror.h"

#include <gtest/gtest.h>

#include "common/headlessservices.h"
#include "tests/support/installedservices.h"

namespace {

using velk::MsgButtons;
using velk::MsgIcon;
using velk::MsgResult;

TEST(NotesError, NotesErrorTextJoinsTheStoreMessage) {
  EXPECT_EQ(GetNotesErrorText(LNERR_DOCUMENT_DELETED),
            "Document Store Error:\r\n" + LNGetErrorMessage(LNERR_DOCUMENT_DELETED) + "\r\n");
  EXPECT_EQ(GetNotesErrorText(LNNOERROR), "Document Store Error:\r\n\r\n");
  EXPECT_EQ(GetNotesErrorText(0x3FFF), "Document Store Error:\r\n\r\n");  // unknown status
}

TEST(NotesError, BoxesHaveTheirTextIconAndButtonAndResetTheStatusLine) {
  struct Case {
    MsgResult (*show)();
    std::string text;
    MsgIcon icon;
    bool resetsStatus;
  };
  const Case cases[] = {
      {[] { return ShowNotesError(velk::services(), "Error in X", LNERR_DISK_IO); },
       "Document Store Error:\r\n" + LNGetErrorMessage(LNERR_DISK_IO) + "\r\nError in X",
       MsgIcon::Exclamation, true},
      {[] { return ShowErrorMessage(velk::services(), "bad"); }, "Error: \r\n\r\nbad", MsgIcon::Exclamation, true},
      {[] { return ShowInfoMessage(velk::services(), "done"); }, "done", MsgIcon::Information, false},
  };
  for (const auto& c : cases) {
    velk::ScopedHeadlessServices ui;
    ui->showStatusText("Working...");
    ui->answers.push_back(MsgResult::Cancel);  // whatever the box answers is passed on
    EXPECT_EQ(c.show(), MsgResult::Cancel);
    ASSERT_EQ(ui->messages.size(), 1u);
    EXPECT_EQ(ui->messages[0].text, c.text);
    EXPECT_EQ(ui->messages[0].icon, c.icon);
    EXPECT_EQ(ui->messages[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(ui->currentStatus(), c.resetsStatus ? "" : "Working...");
  }
}

}  // namespace
