#pragma once
// The words the published pages use for a task's and an arrow's values: those
// the modeler's sheets and chooser show, so a reader and a designer name things
// alike.

#include <string>

#include "model/kinds.h"

namespace velk {

class CNode;
class CArrow;

// "Internal task", "In Task", ... "External sub-workflow"; start and end tasks
// of a level say so ("Internal task (start)").
std::string TaskKindText(const CNode& node);
// "Hour(s)", "Day(s)", "Week(s)", "Month(s)"; empty for an unknown code.
std::string DurationUnitText(int unit);
// "3 Day(s)"; empty for no duration.
std::string DurationText(int duration, int unit);
// "Person: Ann Lee", "Role: Clerk (Sales)", "External: Acme"; empty without one.
std::string PerformerText(const CNode& node);
// The routing options of the arrow dialog: "Always", "Choose multiple",
// "Choose exclusive", "Condition", "Else".
std::string RoutingText(RoutingKind kind);
// A file name part made of letters, digits, '-' and '_' only; `fallback` when
// nothing of `text` is left.
std::string SafeFilePart(const std::string& text, const std::string& fallback);

}  // namespace velk
