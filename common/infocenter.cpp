#include "common/infocenter.h"

#include <algorithm>
#include <iterator>

namespace velk {

void InfoCenter::addEntry(const std::string& category, const std::string& title,
                          const std::string& text, int flag, Severity severity) {
  InfoEntry entry{category, title, text, flag, severity};
  if (std::find(entries_.begin(), entries_.end(), entry) != entries_.end()) return;
  entry.added = std::chrono::system_clock::now();
  entries_.push_back(std::move(entry));
  changed_(severity == Severity::Error);
}

void InfoCenter::clearCategory(const std::string& category) {
  auto removed =
      std::erase_if(entries_, [&](const InfoEntry& e) { return e.category == category; });
  if (removed > 0) changed_(false);
}

void InfoCenter::clearEntries(const std::string& category, const std::vector<std::string>& titles) {
  auto removed = std::erase_if(entries_, [&](const InfoEntry& e) {
    return e.category == category &&
           std::find(titles.begin(), titles.end(), e.title) != titles.end();
  });
  if (removed > 0) changed_(false);
}

void InfoCenter::clear() {
  if (entries_.empty()) return;
  entries_.clear();
  changed_(false);
}

std::vector<InfoEntry> InfoCenter::entries(const std::string& category) const {
  std::vector<InfoEntry> result;
  std::copy_if(entries_.begin(), entries_.end(), std::back_inserter(result),
               [&](const InfoEntry& e) { return e.category == category; });
  return result;
}

std::vector<std::string> InfoCenter::categories() const {
  std::vector<std::string> result;
  for (const InfoEntry& e : entries_) {
    if (std::find(result.begin(), result.end(), e.category) == result.end()) {
      result.push_back(e.category);
    }
  }
  return result;
}

std::optional<Severity> InfoCenter::highestSeverity(const std::string& category) const {
  std::optional<Severity> highest;
  for (const InfoEntry& e : entries_) {
    if (e.category == category && (!highest || e.severity > *highest)) highest = e.severity;
  }
  return highest;
}

}  // namespace velk
