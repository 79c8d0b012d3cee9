#include "dialogs/performer.h"

namespace velk {

namespace {

constexpr int kTypeOfPosition[] = {0, 2, 1, 3};

void ApplyTeam(const TeamChoice& team, int type, NodeAttributes& node) {
  node.performerType = type;
  node.member = team.name;
  node.teamManager = team.mode == TeamMode::Manager ? team.manager : std::string();
  node.teamQuantity = team.mode == TeamMode::Count ? team.count : 0;
}

}  // namespace

std::string RemoveItemsQuestion(int count) {
  return "Are you sure, that the " + std::to_string(count) + " selected items should be removed?";
}

const std::vector<std::string>& PerformerTypeItems() {
  static const std::vector<std::string> items = {"Person", "Workgroup", "Unit", "Role"};
  return items;
}

std::optional<int> PerformerTypeOfPosition(int position) {
  if (position < 0 || position > 3) return std::nullopt;
  return kTypeOfPosition[position];
}

std::optional<int> PositionOfPerformerType(int type) {
  for (int position = 0; position < 4; ++position)
    if (kTypeOfPosition[position] == type) return position;
  return std::nullopt;
}

TeamMode TeamModeOf(const std::string& manager, int quantity) {
  if (!manager.empty()) return TeamMode::Manager;
  return quantity >= 1 ? TeamMode::Count : TeamMode::Normal;
}

RoleArgument ParseRoleArgument(const std::string& argument) {
  if (argument.empty()) return {};
  if (argument[0] == '#') {
    // Strip the first and the last character, also when the closing "#" is missing.
    const std::string field =
        argument.size() > 2 ? argument.substr(1, argument.size() - 2) : std::string();
    return {RoleArgumentForm::Field, field};
  }
  return {RoleArgumentForm::Parameter, argument};
}

std::string ComposeRoleArgument(const RoleArgument& argument) {
  switch (argument.form) {
    case RoleArgumentForm::Simple:
      return {};
    case RoleArgumentForm::Parameter:
      return argument.value;
    case RoleArgumentForm::Field:
      return "#" + argument.value + "#";
  }
  return {};
}

void ApplyPerformerChoice(const PerformerChoice& choice, NodeAttributes& node) {
  switch (choice.typePosition) {
    case kPersonPosition:
      node.performerType = 0;
      node.member = choice.person;
      break;
    case kWorkgroupPosition:
      ApplyTeam(choice.workgroup, 2, node);
      break;
    case kUnitPosition:
      ApplyTeam(choice.unit, 1, node);
      break;
    case kRolePosition:
      node.performerType = 3;
      node.member = choice.role;
      node.roleArgument = ComposeRoleArgument(choice.roleArgument);
      break;
    default:
      break;
  }
  node.readers = choice.readers;
}

}  // namespace velk
