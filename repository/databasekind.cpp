#include "repository/databasekind.h"

#include <stdexcept>

#include "repository/databasetemplates.h"

namespace velk {

namespace {
struct KindInfo {
  const char* view;
  const char* shortName;
};
// Indexed by the kind's code.
constexpr std::array<KindInfo, kDatabaseKindCount + 1> kKinds = {{
    {"", ""},
    {views::kConfiguration, "Application DB"},
    {views::kTracking, "Tracking DB"},
    {views::kHeaderById, "Routing DB"},
    {views::kOrgaAgentLastName, "Organisation DB"},
    {views::kGateway, "Gateway DB"},
    {views::kContentManagement, "External Directory DB"},
}};

const KindInfo& InfoOf(DatabaseKind kind) {
  const int code = static_cast<int>(kind);
  return code >= 0 && code <= kDatabaseKindCount ? kKinds[code] : kKinds[0];
}

std::size_t SlotOf(DatabaseKind kind) {
  const int code = static_cast<int>(kind);
  if (code < 1 || code > kDatabaseKindCount)
    throw std::out_of_range("DatabaseLocations: not a database kind");
  return static_cast<std::size_t>(code - 1);
}
}  // namespace

const char* DesignViewOf(DatabaseKind kind) {
  return InfoOf(kind).view;
}

const char* DatabaseShortName(DatabaseKind kind) {
  return InfoOf(kind).shortName;
}

const std::array<DatabaseKind, kDatabaseKindCount>& KindProbeOrder() {
  static constexpr std::array<DatabaseKind, kDatabaseKindCount> order = {
      DatabaseKind::ApplicationEnvironment,
      DatabaseKind::ProcessDefinitions,
      DatabaseKind::Infrastructure,
      DatabaseKind::ExternalDirectory,
      DatabaseKind::Tracking,
      DatabaseKind::Gateway};
  return order;
}

std::string NormalizeServerName(const std::string& server) {
  return server == "Local" ? std::string() : server;
}

DatabaseLocation& DatabaseLocations::operator[](DatabaseKind kind) {
  return locations_[SlotOf(kind)];
}

const DatabaseLocation& DatabaseLocations::operator[](DatabaseKind kind) const {
  return locations_[SlotOf(kind)];
}

DatabaseKind KindFromViews(const std::function<bool(const std::string& view)>& hasView) {
  for (DatabaseKind kind : KindProbeOrder())
    if (hasView(DesignViewOf(kind))) return kind;
  return DatabaseKind::None;
}

}  // namespace velk
