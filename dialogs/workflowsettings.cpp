#include "dialogs/workflowsettings.h"

#include "dialogs/integercheck.h"
#include "dialogs/listtexts.h"
#include "repository/applicationenvdb.h"
#include "repository/gatewaydb.h"
#include "repository/infrastructuredb.h"
#include "repository/processdefdb.h"
#include "repository/trackingdb.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

// The path a repository object was read from; its requested file name while it
// never could open the database, and for a slot not initialised.
template <class Repository>
std::string PathOf(const DatabaseSlot<Repository>& slot) {
  if (slot.repository && !slot.repository->Path().empty()) return slot.repository->Path();
  return slot.location.fileName;
}

// Sub-workflows with central or distributed design are replicated to partners.
bool IsReplicated(WorkflowType type) {
  return type == WorkflowType::ICDR || type == WorkflowType::CDDR;
}

bool BeginsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

std::vector<WorkflowSheetPage> WorkflowSheetPages(WorkflowType type) {
  std::vector<WorkflowSheetPage> pages = {{WorkflowPage::Basics, "Basics"},
                                          {WorkflowPage::DesignInformation, "Design Information"},
                                          {WorkflowPage::Initiator, "Initiator"}};
  if (IsReplicated(type)) pages.push_back({WorkflowPage::Replication, "Replication"});
  pages.push_back({WorkflowPage::Tracking, "Tracking"});
  return pages;
}

bool WorkflowHasCategory(WorkflowType type) {
  return !IsReplicated(type);
}

const std::array<const char*, kStatusCount>& StatusRadioTexts() {
  static constexpr std::array<const char*, kStatusCount> texts = {
      "Design", "Operational - Active", "Disable and Archive", "Template - free to copied",
      "Testing - adminitrator can start it"};
  return texts;
}

std::optional<int> StatusRadioOf(int status) {
  if (status < 0 || status >= kStatusCount) return std::nullopt;
  return status;
}

std::optional<WorkflowStatus> StatusFromRadios(const std::array<bool, kStatusCount>& checked) {
  static constexpr std::array<WorkflowStatus, kStatusCount> order = {
      WorkflowStatus::Design, WorkflowStatus::Active, WorkflowStatus::Template,
      WorkflowStatus::Testing, WorkflowStatus::Freeze};
  for (WorkflowStatus status : order)
    if (checked[static_cast<std::size_t>(status)]) return status;
  return std::nullopt;
}

std::string TrackingTypeText(int code) {
  return TrackingModeToWord(code);
}

int TrackingTypeCode(const std::string& text) {
  int code = 0;
  WordToTrackingMode(text, code);
  return code;
}

std::optional<int> ParseUnsigned(const std::string& text) {
  if (text.find('-') != std::string::npos) return std::nullopt;
  return ParseInteger(text);
}

int SupervisorEntry(const std::vector<std::string>& entries, const std::string& supervisor) {
  if (supervisor.empty()) return -1;
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (BeginsWithNoCase(entries[i], supervisor)) return static_cast<int>(i);
  return -1;
}

std::array<std::string, 6> WorkflowDatabasePaths(const WorkflowDatabases& databases) {
  return {PathOf(databases.applicationEnvironment),
          PathOf(databases.processDefinitions),
          PathOf(databases.infrastructure),
          databases.externalDirectory.location.fileName,
          PathOf(databases.tracking),
          PathOf(databases.gateway)};
}

}  // namespace velk
