#pragma once
// The rules of the "Performer" page without its widgets: the order of the type
// drop-down, team settings, the forms of a role argument and what apply stores.

#include <optional>
#include <string>
#include <vector>

#include "model/node.h"

namespace velk {

inline constexpr char kUnknownPerformerTypeText[] = "Unknown Performer Type!";
inline constexpr int kMaxTeamQuantity = 9999;

// "Are you sure, that the <count> selected items should be removed?"
std::string RemoveItemsQuestion(int count);

// "Person", "Workgroup", "Unit", "Role": the drop-down's order, not that of the
// stored performer types (0 person, 1 unit, 2 workgroup, 3 role).
const std::vector<std::string>& PerformerTypeItems();
std::optional<int> PerformerTypeOfPosition(int position);
std::optional<int> PositionOfPerformerType(int type);
inline constexpr int kPersonPosition = 0;
inline constexpr int kWorkgroupPosition = 1;
inline constexpr int kUnitPosition = 2;
inline constexpr int kRolePosition = 3;

// How a workgroup or unit is staffed: a team manager wins over a member count.
enum class TeamMode { Normal, Manager, Count };
TeamMode TeamModeOf(const std::string& manager, int quantity);

// A role argument is empty (simple role), "#" + field name + "#" (a field of a
// form) or anything else (a parameter value).
enum class RoleArgumentForm { Simple, Parameter, Field };
struct RoleArgument {
  RoleArgumentForm form = RoleArgumentForm::Simple;
  std::string value;  // the parameter or the field name
  bool operator==(const RoleArgument&) const = default;
};
RoleArgument ParseRoleArgument(const std::string& argument);
std::string ComposeRoleArgument(const RoleArgument& argument);

struct TeamChoice {
  std::string name;
  TeamMode mode = TeamMode::Normal;
  std::string manager;
  int count = 0;
};

// What the page's controls hold when the sheet closes with OK.
struct PerformerChoice {
  int typePosition = -1;
  std::string person;
  TeamChoice workgroup;
  TeamChoice unit;
  std::string role;
  RoleArgument roleArgument;
  std::vector<std::string> readers;
};

// Only the group of the chosen type is stored (a position outside 0..3 stores
// no performer field); the readers are always replaced.
void ApplyPerformerChoice(const PerformerChoice& choice, NodeAttributes& node);

}  // namespace velk
