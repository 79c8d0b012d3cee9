#include "repository/noteserror.h"

#include <gtest/gtest.h>

#include "common/headlessservices.h"

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
    MsgResult (*show)(velk::Services&);
    std::string text;
    MsgIcon icon;
    bool resetsStatus;
  };
  const Case cases[] = {
      {[](velk::Services& s) { return ShowNotesError(s, "Error in X", LNERR_DISK_IO); },
       "Document Store Error:\r\n" + LNGetErrorMessage(LNERR_DISK_IO) + "\r\nError in X",
       MsgIcon::Exclamation, true},
      {[](velk::Services& s) { return ShowErrorMessage(s, "bad"); }, "Error: \r\n\r\nbad",
       MsgIcon::Exclamation, true},
      {[](velk::Services& s) { return ShowInfoMessage(s, "done"); }, "done", MsgIcon::Information,
       false},
  };
  for (const auto& c : cases) {
    velk::HeadlessServices ui;
    ui.showStatusText("Working...");
    ui.answers.push_back(MsgResult::Cancel);  // whatever the box answers is passed on
    EXPECT_EQ(c.show(ui), MsgResult::Cancel);
    ASSERT_EQ(ui.messages.size(), 1u);
    const velk::HeadlessServices::Message& box = ui.messages[0];
    EXPECT_EQ(std::tie(box.text, box.icon, box.buttons),
              std::tuple(c.text, c.icon, MsgButtons::Ok));
    EXPECT_EQ(ui.currentStatus(), c.resetsStatus ? "" : "Working...");
  }
}

}  // namespace
