#include "app/recentfiles.h"

#include <algorithm>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>

namespace velk {

namespace {

std::string SlotKey(int slot) {
  return "File" + std::to_string(slot + 1);
}

// One JSON array a value: any character of a name survives, and a settings file
// keeps it on one line.
std::string Encode(const RecentWorkflow& e) {
  return nlohmann::json::array({e.workflowId, e.version, e.name, e.database, e.server}).dump();
}

std::optional<RecentWorkflow> Decode(const std::string& text) {
  const nlohmann::json j = nlohmann::json::parse(text, nullptr, /*allow_exceptions=*/false);
  if (!j.is_array() || j.size() != 5 || !j[1].is_number_integer() || j[1].get<long long>() < 0 ||
      j[1].get<long long>() > std::numeric_limits<int>::max())
    return std::nullopt;
  for (int i : {0, 2, 3, 4})
    if (!j[i].is_string()) return std::nullopt;
  return RecentWorkflow{j[0].get<std::string>(), j[1].get<int>(), j[2].get<std::string>(),
                        j[3].get<std::string>(), j[4].get<std::string>()};
}

bool SameWorkflow(const RecentWorkflow& a, const RecentWorkflow& b) {
  return a.name == b.name && a.database == b.database;
}

}  // namespace

void RecentWorkflowList::Load(const SettingsBackend& store) {
  entries_.clear();
  for (int slot = 0; slot < kMaxEntries; ++slot) {
    auto entry = Decode(store.getString(kRecentFileSection, SlotKey(slot), std::string()));
    if (!entry) continue;
    // A hand-edited file may name one workflow twice; the menu shows it once.
    bool known = std::any_of(entries_.begin(), entries_.end(),
                             [&](const RecentWorkflow& e) { return SameWorkflow(e, *entry); });
    if (!known) entries_.push_back(std::move(*entry));
  }
}

void RecentWorkflowList::Save(SettingsBackend& store) const {
  for (int slot = 0; slot < kMaxEntries; ++slot) {
    const auto index = static_cast<std::size_t>(slot);
    store.setString(kRecentFileSection, SlotKey(slot),
                    index < entries_.size() ? Encode(entries_[index]) : std::string());
  }
}

void RecentWorkflowList::Add(const RecentWorkflow& entry) {
  std::erase_if(entries_, [&](const RecentWorkflow& e) { return SameWorkflow(e, entry); });
  entries_.insert(entries_.begin(), entry);
  if (entries_.size() > static_cast<std::size_t>(kMaxEntries)) entries_.resize(kMaxEntries);
}

void RecentWorkflowList::Remove(std::size_t index) {
  if (index < entries_.size())
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string RecentWorkflowList::EntryText(std::size_t index) const {
  if (index >= entries_.size()) return std::string();
  return entries_[index].name + " v" + std::to_string(entries_[index].version);
}

std::string RecentWorkflowList::MenuText(std::size_t index) const {
  if (index >= entries_.size()) return std::string();
  std::string text = "&" + std::to_string(index + 1) + " ";
  for (char c : EntryText(index)) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

}  // namespace velk
