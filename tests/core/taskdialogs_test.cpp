// The rules of the task sheet, its basics page and the "Task routing" dialog.
#include <gtest/gtest.h>

#include <tuple>

#include "common/headlessservices.h"
#include "dialogs/integercheck.h"
#include "dialogs/nodesheet.h"
#include "dialogs/taskrouting.h"

namespace velk {
namespace {

using Strings = std::vector<std::string>;

TEST(IntegerCheckTest, AcceptsIntegersInRangeAndNamesTheProblemOtherwise) {
  struct Case {
    std::string text;
    std::optional<int> value;
    std::string prompt;
  };
  const std::string range = "Please enter an integer between 0 and 9999.";
  const std::vector<Case> cases = {
      {"0", 0, ""},
      {"9999", 9999, ""},
      {" 42 ", 42, ""},
      {"+7", 7, ""},
      {"10000", {}, range},
      {"-1", {}, range},
      {"", {}, kEnterIntegerPrompt},
      {"12a", {}, kEnterIntegerPrompt},
      {"1.5", {}, kEnterIntegerPrompt},
      {"+-3", {}, kEnterIntegerPrompt},
      {"99999999999999999999", {}, kEnterIntegerPrompt},
  };
  for (const Case& c : cases) {
    const IntegerCheck check = CheckInteger(c.text, 0, 9999);
    EXPECT_EQ(check.value, c.value) << c.text;
    EXPECT_EQ(check.prompt, c.prompt) << c.text;
  }
}

TEST(IntegerCheckTest, TakeIntegerPromptsOnlyOnFailure) {
  HeadlessServices ui;
  EXPECT_EQ(TakeInteger(ui, "5", 0, 9), 5);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(TakeInteger(ui, "10", 0, 9), std::nullopt);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Please enter an integer between 0 and 9.");
  EXPECT_EQ(ui.messages[0].icon, MsgIcon::Exclamation);
}

// The common kinds are checked on the sheet itself; these are the rest.
TEST(NodeSheetLayoutTest, PagesTitlesAndTabCaptionsFollowTheNodeKind) {
  struct Case {
    int kind;
    std::string title;
    Strings captions;
  };
  const std::vector<Case> cases = {
      {2, "Internal Node Properties", {"Basics", "Performer", "Forms", "Activities", "Resources"}},
      {3, "Internal Workflow Cluster Properties", {"Basics"}},
      {8, "External Sub-Workflow Properties", {"Basics", "Ordered Sub-Workflow"}},
      {42, "Task Properties", {"Basics"}},
  };
  for (const Case& c : cases) {
    const NodeSheetLayout layout = LayoutForNodeKind(c.kind);
    EXPECT_EQ(layout.title, c.title) << c.kind;
    EXPECT_EQ(layout.captions, c.captions) << c.kind;
    EXPECT_EQ(layout.pages.size(), layout.captions.size());
  }
  // The content-management pages edit the "out" fields first.
  EXPECT_EQ(LayoutForNodeKind(6).pages[1], NodePage::ContentManagementOut);
  EXPECT_EQ(LayoutForNodeKind(6).pages[2], NodePage::ContentManagementIn);
  EXPECT_EQ(LayoutForNodeKind(1).pages[3], NodePage::ContentManagementOut);
  EXPECT_EQ(LayoutForNodeKind(4, "Caller").title, "Caller");
}

TEST(TaskRoutingTest, BuilderAppendsEachItemAfterOneBlankAndUnknownKindsAreAlways) {
  EXPECT_EQ(RoutingOptionOf(static_cast<RoutingKind>(9)), 0);
  EXPECT_EQ(RoutingOptionOf(RoutingKind::Else), 4);
  EXPECT_EQ(AppendToFormula(AppendToFormula("", "Amount"), "="), " Amount =");
  EXPECT_EQ(AppendToFormula("a", ">="), "a >=");
}

TEST(TaskRoutingTest, OkChecksFormulaThenDescription) {
  struct Case {
    int option;
    std::string description;
    std::string formula;
    bool accepted;
    std::string message;  // start of the message shown
  };
  const std::vector<Case> cases = {
      {3, "big order", "Amount > 1000", true, ""},
      {3, "big order", "(Amount > 1000", false, "Document Store Error:"},
      {3, "d", "(a = 1", false, "Document Store Error:"},
      {1, "", "", false, "Error: \r\n\r\nPlease enter Arrow description!"},
      {0, "", "", true, ""},
      {0, "old text", "", true, ""},
      // A formula kept from an earlier Condition is still checked.
      {2, "x", "1 +", false, "Document Store Error:"},
      {4, "otherwise", "", true, ""},
  };
  for (const Case& c : cases) {
    HeadlessServices ui;
    const std::optional<ArrowRouting> routing = TakeRouting(ui, c.option, c.description, c.formula);
    EXPECT_EQ(routing.has_value(), c.accepted) << c.option << " " << c.formula;
    EXPECT_EQ(ui.messages.size(), c.message.empty() ? 0u : 1u) << c.option << " " << c.formula;
    for (const auto& m : ui.messages) {
      EXPECT_TRUE(m.text.starts_with(c.message)) << m.text;
      if (c.message.starts_with("Document Store")) {
        EXPECT_NE(m.text.find("Please reenter condition!"), std::string::npos) << m.text;
      }
    }
    if (routing) {
      EXPECT_EQ(std::tuple(static_cast<int>(routing->routingKind), routing->condition,
                           routing->formula),
                std::tuple(c.option, c.option == 0 ? "" : c.description, c.formula));
    }
  }
}

TEST(TaskRoutingTest, FormListNeedsAnApplicationDatabaseAndShowsStatusWhileReading) {
  HeadlessServices ui;
  RepositoryLists lists;
  EXPECT_EQ(RoutingFormNames(ui, lists), std::nullopt);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "Error: \r\n\r\nThis workflow has no valid application database!");

  ui.statusTexts.clear();
  lists.hasApplicationDatabase = true;
  lists.forms = {{"Order", {"Amount", "Customer"}}, {"order", {"x"}}};
  EXPECT_EQ(RoutingFormNames(ui, lists), (Strings{"Order", "order"}));
  EXPECT_EQ(RoutingFieldNames(ui, lists, "order"), Strings{"x"});
  EXPECT_EQ(RoutingFieldNames(ui, lists, "ORDER"), Strings{});
  EXPECT_EQ(ui.statusTexts,
            (Strings{kReadingFormsStatus, "", kReadingFieldsStatus, "", kReadingFieldsStatus, ""}));
}

}  // namespace
}  // namespace velk
