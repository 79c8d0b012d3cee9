#pragma once
// The rules of the "Task routing" dialog of an arrow, without its widgets: which
// controls each routing option enables, the condition builder and the checks on OK.

#include <optional>
#include <string>
#include <vector>

#include "common/services.h"
#include "dialogs/repositorylists.h"
#include "model/arrow.h"

namespace velk {

inline constexpr char kReenterConditionText[] = "Please reenter condition!";
inline constexpr char kEnterArrowDescriptionText[] = "Please enter Arrow description!";
inline constexpr char kNoApplicationDatabaseText[] =
    "This workflow has no valid application database!";
inline constexpr char kReadingFormsStatus[] = "Reading application forms";
inline constexpr char kReadingFieldsStatus[] = "Reading application form-fields";

// The routing options in the order of the routing kinds 0 to 4.
const std::vector<std::string>& RoutingOptionTexts();
// "=", "<>", "<", ">", ">=", "<=", "&", "|", "!".
const std::vector<std::string>& RoutingOperators();

// The radio button shown for a stored kind; a code outside 0..4 counts as And,
// as it is stored.
int RoutingOptionOf(RoutingKind kind);

struct RoutingEnables {
  bool formula;      // formula box, condition builder and application database
  bool description;  // the "Description" box
};
RoutingEnables RoutingEnablesFor(int option);

// The builder appends a field or operator after one blank.
std::string AppendToFormula(const std::string& formula, const std::string& item);
// A condition is checked by compiling it as the condition of an @if.
std::string RoutingTestFormula(const std::string& formula);

// The checks of OK for the checked option. A formula is compiled whatever the
// option; an empty one is not checked. Shows the message of a failed check and
// gives nothing; else the routing to store (And clears the condition).
std::optional<ArrowRouting> TakeRouting(Services& services, int option,
                                        const std::string& description, const std::string& formula);

// The form names for the "Form" drop-down. Without an application database the
// user is told so and there is nothing.
std::optional<std::vector<std::string>> RoutingFormNames(Services& services,
                                                         const RepositoryLists& lists);
// The field names of the form named exactly so (none when there is no such form).
std::vector<std::string> RoutingFieldNames(Services& services, const RepositoryLists& lists,
                                           const std::string& form);

}  // namespace velk
