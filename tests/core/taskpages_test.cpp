// The rules of the task sheet, its basics page, the "Task routing" dialog, the
// performer, forms, activities and resources pages and the pickers they open.
#include <gtest/gtest.h>

#include <tuple>

#include "common/headlessservices.h"
#include "dialogs/aclpicker.h"
#include "dialogs/integercheck.h"
#include "dialogs/listtexts.h"
#include "dialogs/nodesheet.h"
#include "dialogs/performer.h"
#include "dialogs/taskforms.h"
#include "dialogs/tasklistpages.h"
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

TEST(TaskRoutingTest, BuilderAppendsAfterOneBlankAndTheFormListNeedsAnApplicationDatabase) {
  EXPECT_EQ(RoutingOptionOf(static_cast<RoutingKind>(9)), 0);
  EXPECT_EQ(RoutingOptionOf(RoutingKind::Else), 4);
  EXPECT_EQ(AppendToFormula(AppendToFormula("", "Amount"), "="), " Amount =");
  EXPECT_EQ(AppendToFormula("a", ">="), "a >=");
  // The form list needs an application database and shows a status while reading.
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

// ---- Task pages ----

RepositoryLists Organisation() {
  RepositoryLists lists;
  lists.persons = {"Ann Lee", "Bob Stone", "Clerk"};
  lists.workgroups = {"Audit"};
  lists.units = {"Sales/North"};
  lists.roles = {{"Clerk", {"A", "", "B"}}, {"Boss", {}}};
  lists.forms = {
      {"Order", {"Amount", "Customer"}}, {"Invoice", {"Customer", "Total"}}, {"Memo", {}}};
  return lists;
}

TEST(PerformerRulesTest, TypeDropDownOrderDiffersFromStoredCodesAndAManagerWinsOverACount) {
  EXPECT_EQ(PerformerTypeItems(), (Strings{"Person", "Workgroup", "Unit", "Role"}));
  for (const auto& [position, type] : {std::pair{0, 0}, {1, 2}, {2, 1}, {3, 3}}) {
    EXPECT_EQ(PerformerTypeOfPosition(position), type);
    EXPECT_EQ(PositionOfPerformerType(type), position);
  }
  EXPECT_EQ(PerformerTypeOfPosition(4), std::nullopt);
  EXPECT_EQ(PerformerTypeOfPosition(-1), std::nullopt);
  EXPECT_EQ(PositionOfPerformerType(7), std::nullopt);
  // A team manager wins over a count.
  EXPECT_EQ(TeamModeOf("Ann", 3), TeamMode::Manager);
  EXPECT_EQ(TeamModeOf("", 3), TeamMode::Count);
  EXPECT_EQ(TeamModeOf("", 0), TeamMode::Normal);
  EXPECT_EQ(TeamModeOf("", -2), TeamMode::Normal);
}

TEST(PerformerRulesTest, RoleArgumentsRoundTripAndApplyStoresOnlyTheChosenTypesGroup) {
  // As stored, as read, and as stored again.
  const std::tuple<std::string, RoleArgument, std::string> cases[] = {
      {"", {RoleArgumentForm::Simple, ""}, ""},
      {"Region", {RoleArgumentForm::Parameter, "Region"}, "Region"},
      {"A#b#", {RoleArgumentForm::Parameter, "A#b#"}, "A#b#"},
      {"#Customer#", {RoleArgumentForm::Field, "Customer"}, "#Customer#"},
      {"##", {RoleArgumentForm::Field, ""}, "##"},
      {"#", {RoleArgumentForm::Field, ""}, "##"},
      {"#Cust", {RoleArgumentForm::Field, "Cus"}, "#Cus#"},
  };
  for (const auto& [stored, parsed, composed] : cases) {
    EXPECT_EQ(ParseRoleArgument(stored), parsed) << stored;
    EXPECT_EQ(ComposeRoleArgument(parsed), composed) << stored;
  }
  // Applying stores only the chosen type's group, and always the readers.
  NodeAttributes stored;
  stored.performerType = 2;
  stored.member = "Audit";
  stored.teamManager = "Ann Lee";
  stored.roleArgument = "Region";
  stored.readers = {"old"};

  PerformerChoice choice;
  choice.person = "Bob Stone";
  choice.workgroup = {"Audit", TeamMode::Count, "Ann Lee", 3};
  choice.unit = {"Sales/North", TeamMode::Manager, "Bob Stone", 7};
  choice.role = "Clerk";
  choice.roleArgument = {RoleArgumentForm::Field, "Customer"};
  choice.readers = {"Ann Lee", "Audit"};

  using Stored = std::tuple<int, std::string, std::string, int, std::string>;
  const std::pair<int, Stored> positions[] = {
      // A person keeps the team fields as they were.
      {0, {0, "Bob Stone", "Ann Lee", 0, "Region"}},
      {1, {2, "Audit", "", 3, "Region"}},
      {2, {1, "Sales/North", "Bob Stone", 0, "Region"}},
      {3, {3, "Clerk", "Ann Lee", 0, "#Customer#"}},
      {-1, {2, "Audit", "Ann Lee", 0, "Region"}},
  };
  for (const auto& [position, expected] : positions) {
    NodeAttributes n = stored;
    choice.typePosition = position;
    ApplyPerformerChoice(choice, n);
    EXPECT_EQ(Stored(n.performerType, n.member, n.teamManager, n.teamQuantity, n.roleArgument),
              expected)
        << position;
    EXPECT_EQ(n.readers, choice.readers) << position;
  }
}

TEST(ElementKindTest, FirstListHoldingTheNameExactlyGivesTheKindAndFormsAreOfferedOnce) {
  const RepositoryLists lists = Organisation();
  EXPECT_EQ(LookupElementKind(lists, "Audit"), ElementKind::Workgroup);
  EXPECT_EQ(LookupElementKind(lists, "Sales/North"), ElementKind::Unit);
  EXPECT_EQ(LookupElementKind(lists, "Boss"), ElementKind::Role);
  EXPECT_EQ(LookupElementKind(lists, "Clerk"), ElementKind::Person);  // persons come first
  EXPECT_EQ(LookupElementKind(lists, "audit"), ElementKind::Person);  // unknown: a person
  EXPECT_TRUE(ElementsOfKind(lists, ElementKind::Position).empty());
  EXPECT_EQ(RoleParameters(lists.roles, "Clerk"), (Strings{"A", "B"}));
  EXPECT_EQ(FindFormWithField(lists.forms, "Customer")->name, "Order");
  EXPECT_EQ(FindFormWithField(lists.forms, "customer"), nullptr);
  // The primary form is offered among forms neither secondary nor additional.
  EXPECT_EQ(PrimaryCandidates(lists.forms, {"Invoice"}, {"memo"}), (Strings{"Order", "Memo"}));
  EXPECT_EQ(PrimaryCandidates(lists.forms, {}, {"Memo", "Order"}), Strings{"Invoice"});
  EXPECT_EQ(AddFormsCandidates({"A", "B", "C"}, 1), (Strings{"A", "C"}));
  EXPECT_EQ(AddFormsCandidates({"A", "B"}, -1), (Strings{"A", "B"}));
}

TEST(AclPickerTest, OffersWhatIsNeitherAddedNorInTheTargetAndItsListsCommitInOrder) {
  const RepositoryLists lists = Organisation();
  AclPicker picker(lists, {{"Ann Lee", 0}, {"Clerk", 0}});
  // The role "Clerk" is offered: only the person of that name is a reader.
  EXPECT_EQ(picker.Lists().available,
            (TransferEntries{
                {"Bob Stone", 0}, {"Audit", 1}, {"Sales/North", 2}, {"Clerk", 3}, {"Boss", 3}}));
  EXPECT_TRUE(picker.Lists().CanAdd());
  EXPECT_FALSE(picker.Lists().CanRemove());

  picker.MoveToAdded({3, 0});
  EXPECT_EQ(picker.Lists().added, (TransferEntries{{"Bob Stone", 0}, {"Clerk", 3}}));
  picker.SetFilter(4);  // "Show only roles"
  EXPECT_EQ(picker.Lists().available, (TransferEntries{{"Boss", 3}}));
  picker.MoveToAvailable({0, 1});  // the person is dropped, the role returns
  EXPECT_EQ(picker.Lists().available, (TransferEntries{{"Clerk", 3}, {"Boss", 3}}));
  EXPECT_TRUE(picker.Lists().added.empty());
  picker.SetFilter(5);
  EXPECT_FALSE(picker.Lists().CanAdd());
  // The transfer lists under it: remove all, and commit in either order.
  TransferLists transfer;
  transfer.available = {{"a"}, {"b"}, {"c"}};
  transfer.MoveToAdded({0, 2});
  EXPECT_EQ(transfer.added, (TransferEntries{{"a"}, {"c"}}));
  transfer.MoveAllToAvailable(nullptr);
  EXPECT_EQ(transfer.available, (TransferEntries{{"a"}, {"c"}, {"b"}}));

  TransferEntries reversed = {{"x"}};
  CommitToTarget({{"a"}, {"c"}}, CommitOrder::Reversed, reversed);
  EXPECT_EQ(reversed, (TransferEntries{{"c"}, {"a"}, {"x"}}));
  TransferEntries kept = {{"x"}};
  CommitToTarget({{"a"}, {"c"}}, CommitOrder::Kept, kept);
  EXPECT_EQ(kept, (TransferEntries{{"a"}, {"c"}, {"x"}}));
}

auto Fields(const FormsSelection& f) {
  return std::tuple(f.primary, f.secondary, f.allAdditional, f.additional);
}

TEST(FormsRulesTest, OpeningReadsPrimarySecondaryAndAdditionalFormsApplyingStoresThem) {
  NodeAttributes node;
  node.objects = {"Order", "Invoice", "Memo"};
  node.folderObjects = {"All", "Memo"};
  EXPECT_EQ(Fields(ReadFormsSelection(node, false)),
            Fields({"Order", {"Invoice", "Memo"}, true, {}}));
  node.folderObjects = {"all", "Memo"};  // "All" is matched exactly
  EXPECT_EQ(Fields(ReadFormsSelection(node, false)),
            Fields({"Order", {"Invoice", "Memo"}, false, {"all", "Memo"}}));
  EXPECT_EQ(Fields(ReadFormsSelection(node, true)), Fields({"Order", {}, false, {}}));

  // Applying stores the primary form first and "All" alone; the selection, and
  // the forms and folder forms stored.
  const std::tuple<FormsSelection, Strings, Strings> cases[] = {
      {{"Order", {"Invoice", ""}, true, {"Memo"}}, {"Order", "Invoice"}, {"All"}},
      {{"", {"Invoice"}, false, {}}, {"Invoice"}, {}},
      {{"Order", {}, false, {"Memo", ""}}, {"Order"}, {"Memo"}},
  };
  for (const auto& [selection, objects, folder] : cases) {
    NodeAttributes stored;
    stored.folderObjects = {"stale"};
    ApplyFormsSelection(selection, stored);
    EXPECT_EQ(std::pair(stored.objects, stored.folderObjects), std::pair(objects, folder));
  }
}

TEST(ListRulesTest, ResourcesOfferedAndListTextsSortAndSearchIgnoringCase) {
  EXPECT_EQ(SelectResourceChoices({"Projector", "", "car", "Beamer", "Room"}, {"room"}),
            (Strings{"Beamer", "car", "Projector"}));
  EXPECT_TRUE(SelectResourceChoices({"A"}, {"a"}).empty());
  // The list helpers sort and search without regard to case.
  Strings texts = {"b", "A", "a", "C"};
  SortNoCase(texts);
  EXPECT_EQ(texts, (Strings{"A", "a", "b", "C"}));
  EXPECT_EQ(SortedPosition(texts, "B"), 2u);
  EXPECT_EQ(FindNoCase(texts, "c"), 3);
  EXPECT_EQ(FindExact(texts, "c"), -1);
  EXPECT_EQ(NonEmpty({"", "x", ""}), Strings{"x"});
}

}  // namespace
}  // namespace velk
