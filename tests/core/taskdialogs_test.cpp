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

TEST(IntegerCheckTest, AcceptsIntegersInRangeAndPromptsWithTheProblemOtherwise) {
  const std::string range = "Please enter an integer between 0 and 9999.";
  const std::tuple<std::string, std::optional<int>, std::string> cases[] = {
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
  for (const auto& [text, value, prompt] : cases) {
    const IntegerCheck check = CheckInteger(text, 0, 9999);
    EXPECT_EQ(std::pair(check.value, check.prompt), std::pair(value, prompt)) << text;
  }
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
  const std::tuple<int, std::string, Strings> cases[] = {
      {2, "Internal Node Properties", {"Basics", "Performer", "Forms", "Activities", "Resources"}},
      {3, "Internal Workflow Cluster Properties", {"Basics"}},
      {8, "External Sub-Workflow Properties", {"Basics", "Ordered Sub-Workflow"}},
      {42, "Task Properties", {"Basics"}},
  };
  for (const auto& [kind, title, captions] : cases) {
    const NodeSheetLayout layout = LayoutForNodeKind(kind);
    EXPECT_EQ(std::pair(layout.title, layout.captions), std::pair(title, captions)) << kind;
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
  // The option, description and formula, whether they are taken, how the message starts.
  const std::tuple<int, std::string, std::string, bool, std::string> cases[] = {
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
  for (const auto& [option, description, formula, accepted, message] : cases) {
    HeadlessServices ui;
    const std::optional<ArrowRouting> routing = TakeRouting(ui, option, description, formula);
    EXPECT_EQ(routing.has_value(), accepted) << option << " " << formula;
    EXPECT_EQ(ui.messages.size(), message.empty() ? 0u : 1u) << option << " " << formula;
    for (const auto& m : ui.messages) {
      EXPECT_TRUE(m.text.starts_with(message)) << m.text;
      if (message.starts_with("Document Store")) {
        EXPECT_NE(m.text.find("Please reenter condition!"), std::string::npos) << m.text;
      }
    }
    if (routing) {
      EXPECT_EQ(
          std::tuple(static_cast<int>(routing->routingKind), routing->condition, routing->formula),
          std::tuple(option, option == 0 ? "" : description, formula));
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
