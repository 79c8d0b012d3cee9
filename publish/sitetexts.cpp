#include "publish/sitetexts.h"

#include <algorithm>
#include <array>

#include "dialogs/taskrouting.h"
#include "model/node.h"
#include "repository/vocabulary.h"

namespace velk {

std::string TaskKindText(const CNode& node) {
  static const std::array<const char*, kNodeKindCount> kinds = {
      "Internal task",
      "In Task",
      "Out Task",
      "Internal workflow cluster",
      "Central design and replication",
      "Distributed design and replication",
      "External subscribed workflow",
      "External workflow task",
      "External sub-workflow"};
  const int code = static_cast<int>(node.Kind());
  std::string text = code >= 0 && code < kNodeKindCount ? kinds[code] : "Task";
  if (node.IsClusterStartNode()) text += " (start)";
  if (node.IsClusterEndNode()) text += " (end)";
  return text;
}

std::string DurationUnitText(int unit) {
  static const std::array<const char*, 4> units = {"Hour(s)", "Day(s)", "Week(s)", "Month(s)"};
  return unit >= 0 && unit < static_cast<int>(units.size()) ? units[unit] : "";
}

std::string DurationText(int duration, int unit) {
  if (duration == 0) return {};
  const std::string word = DurationUnitText(unit);
  return std::to_string(duration) + (word.empty() ? "" : " " + word);
}

std::string PerformerText(const CNode& node) {
  const NodeAttributes& a = node.Attributes();
  if (a.member.empty()) return {};
  if (node.Kind() == NodeKind::ExtWFTask) return "External: " + a.member;
  std::string text = OrganisationKindToWord(a.performerType) + ": " + a.member;
  if (!a.roleArgument.empty()) text += " (" + a.roleArgument + ")";
  return text;
}

std::string RoutingText(RoutingKind kind) {
  std::string text = RoutingOptionTexts().at(RoutingOptionOf(kind));
  std::erase(text, '&');
  return text;
}

std::string SafeFilePart(const std::string& text, const std::string& fallback) {
  std::string part;
  for (char c : text)
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
        c == '_')
      part += c;
  if (part.size() > 64) part.resize(64);
  return part.empty() ? fallback : part;
}

}  // namespace velk
