// The rules of the performer, forms, activities and resources pages and of the
// pickers they open.
#include <gtest/gtest.h>

#include <tuple>

#include "dialogs/aclpicker.h"
#include "dialogs/listtexts.h"
#include "dialogs/performer.h"
#include "dialogs/taskforms.h"
#include "dialogs/tasklistpages.h"

namespace velk {
namespace {

using Strings = std::vector<std::string>;

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

TEST(PerformerRulesTest, TypeDropDownOrderDiffersFromStoredCodes) {
  EXPECT_EQ(PerformerTypeItems(), (Strings{"Person", "Workgroup", "Unit", "Role"}));
  const std::vector<std::pair<int, int>> positionToType = {{0, 0}, {1, 2}, {2, 1}, {3, 3}};
  for (const auto& [position, type] : positionToType) {
    EXPECT_EQ(PerformerTypeOfPosition(position), type);
    EXPECT_EQ(PositionOfPerformerType(type), position);
  }
  EXPECT_EQ(PerformerTypeOfPosition(4), std::nullopt);
  EXPECT_EQ(PerformerTypeOfPosition(-1), std::nullopt);
  EXPECT_EQ(PositionOfPerformerType(7), std::nullopt);
}

TEST(PerformerRulesTest, TeamManagerWinsOverCount) {
  EXPECT_EQ(TeamModeOf("Ann", 3), TeamMode::Manager);
  EXPECT_EQ(TeamModeOf("", 3), TeamMode::Count);
  EXPECT_EQ(TeamModeOf("", 0), TeamMode::Normal);
  EXPECT_EQ(TeamModeOf("", -2), TeamMode::Normal);
}

TEST(PerformerRulesTest, RoleArgumentFormsRoundTrip) {
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
}

TEST(PerformerRulesTest, ApplyStoresOnlyTheChosenTypesGroupAndAlwaysTheReaders) {
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
  const std::pair<int, Stored> cases[] = {
      // A person keeps the team fields as they were.
      {0, {0, "Bob Stone", "Ann Lee", 0, "Region"}},
      {1, {2, "Audit", "", 3, "Region"}},
      {2, {1, "Sales/North", "Bob Stone", 0, "Region"}},
      {3, {3, "Clerk", "Ann Lee", 0, "#Customer#"}},
      {-1, {2, "Audit", "Ann Lee", 0, "Region"}},
  };
  for (const auto& [position, expected] : cases) {
    NodeAttributes n = stored;
    choice.typePosition = position;
    ApplyPerformerChoice(choice, n);
    EXPECT_EQ(Stored(n.performerType, n.member, n.teamManager, n.teamQuantity, n.roleArgument),
              expected)
        << position;
    EXPECT_EQ(n.readers, choice.readers) << position;
  }
}

TEST(ElementKindTest, FirstListHoldingTheNameExactlyGivesTheKind) {
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
}

TEST(AclPickerTest, OffersWhatIsNeitherAddedNorInTheTargetByNameAndKind) {
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
}

TEST(TransferListsTest, RemoveAllAndCommitOrders) {
  TransferLists lists;
  lists.available = {{"a"}, {"b"}, {"c"}};
  lists.MoveToAdded({0, 2});
  EXPECT_EQ(lists.added, (TransferEntries{{"a"}, {"c"}}));
  lists.MoveAllToAvailable(nullptr);
  EXPECT_EQ(lists.available, (TransferEntries{{"a"}, {"c"}, {"b"}}));

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

TEST(FormsRulesTest, OpeningReadsPrimarySecondaryAndAdditionalForms) {
  NodeAttributes node;
  node.objects = {"Order", "Invoice", "Memo"};
  node.folderObjects = {"All", "Memo"};
  EXPECT_EQ(Fields(ReadFormsSelection(node, false)),
            Fields({"Order", {"Invoice", "Memo"}, true, {}}));
  node.folderObjects = {"all", "Memo"};  // "All" is matched exactly
  EXPECT_EQ(Fields(ReadFormsSelection(node, false)),
            Fields({"Order", {"Invoice", "Memo"}, false, {"all", "Memo"}}));
  EXPECT_EQ(Fields(ReadFormsSelection(node, true)), Fields({"Order", {}, false, {}}));
}

TEST(FormsRulesTest, ApplyStoresPrimaryFirstAndAllAlone) {
  // The selection, and the forms and folder forms stored.
  const std::tuple<FormsSelection, Strings, Strings> cases[] = {
      {{"Order", {"Invoice", ""}, true, {"Memo"}}, {"Order", "Invoice"}, {"All"}},
      {{"", {"Invoice"}, false, {}}, {"Invoice"}, {}},
      {{"Order", {}, false, {"Memo", ""}}, {"Order"}, {"Memo"}},
  };
  for (const auto& [selection, objects, folder] : cases) {
    NodeAttributes node;
    node.folderObjects = {"stale"};
    ApplyFormsSelection(selection, node);
    EXPECT_EQ(std::pair(node.objects, node.folderObjects), std::pair(objects, folder));
  }
}

TEST(FormsRulesTest, PrimaryOffersFormsNeitherSecondaryNorAdditional) {
  const RepositoryLists lists = Organisation();
  EXPECT_EQ(PrimaryCandidates(lists.forms, {"Invoice"}, {"memo"}), (Strings{"Order", "Memo"}));
  EXPECT_EQ(PrimaryCandidates(lists.forms, {}, {"Memo", "Order"}), Strings{"Invoice"});
  EXPECT_EQ(AddFormsCandidates({"A", "B", "C"}, 1), (Strings{"A", "C"}));
  EXPECT_EQ(AddFormsCandidates({"A", "B"}, -1), (Strings{"A", "B"}));
}

TEST(ResourceRulesTest, SelectResourceOffersMissingNonEmptyResourcesSorted) {
  EXPECT_EQ(SelectResourceChoices({"Projector", "", "car", "Beamer", "Room"}, {"room"}),
            (Strings{"Beamer", "car", "Projector"}));
  EXPECT_TRUE(SelectResourceChoices({"A"}, {"a"}).empty());
}

TEST(ListTextsTest, SortingAndSearchesIgnoreCase) {
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
