#pragma once
// The "Workflow Settings" sheet without its widgets: which pages a workflow
// gets, the status radio buttons, the tracking type drop-down, the check of the
// unsigned tracking values, the supervisor shown and the database lines.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/databaseslots.h"
#include "model/kinds.h"

namespace velk {

enum class WorkflowPage { Basics, DesignInformation, Initiator, Replication, Tracking };

struct WorkflowSheetPage {
  WorkflowPage page;
  const char* caption;
};
// In tab order; "Replication" only for ICDR and CDDR workflows.
std::vector<WorkflowSheetPage> WorkflowSheetPages(WorkflowType type);
// ICDR and CDDR workflows have no category.
bool WorkflowHasCategory(WorkflowType type);

inline constexpr int kStatusCount = 5;
// The radio button texts, indexed by status code.
const std::array<const char*, kStatusCount>& StatusRadioTexts();
// The radio button to check for a stored status; none outside 0..4.
std::optional<int> StatusRadioOf(int status);
// The status of the checked radio buttons (indexed by status code), the first
// checked in the order Design, Active, Template, Testing, Freeze; none checked:
// nothing, and the stored status stays.
std::optional<WorkflowStatus> StatusFromRadios(const std::array<bool, kStatusCount>& checked);

// "Never", "Send", "Self", "Mix" for the codes; any other code "Never".
std::string TrackingTypeText(int code);
// The code of the drop-down's text, compared exactly; any other text 0.
int TrackingTypeCode(const std::string& text);

inline constexpr char kPositiveIntegerPrompt[] = "Please enter a positive integer.";
// An unsigned value as an edit holds it (no sign); nothing for anything else,
// also for values the workflow cannot keep.
std::optional<int> ParseUnsigned(const std::string& text);

// The entry of the supervisor drop-down to select: the first that begins with
// the stored name, ignoring case; -1 when none does or no name is stored.
int SupervisorEntry(const std::vector<std::string>& entries, const std::string& supervisor);

// The path of each database as its repository holds it (its requested file name
// while it has none), in the order of the "Basics" page's lines: Application
// Environment, Process Definitions, Infrastructure, External Directory,
// Tracking, Gateway.
std::array<std::string, 6> WorkflowDatabasePaths(const WorkflowDatabases& databases);

}  // namespace velk
