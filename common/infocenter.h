#pragma once
// The Info Center's entries: what initialisation, loading, saving and the
// consistency check report, grouped by category. The window only shows them.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velk {

// Severity of an Info Center entry.
enum class Severity { Success = 0, Notice = 1, Warning = 2, Error = 3 };

struct InfoEntry {
  std::string category;
  std::string title;
  std::string text;
  int flag = 0;
  Severity severity = Severity::Success;
  // When the entry was added; shown in the window, not part of an entry's identity.
  std::chrono::system_clock::time_point added{};
  bool operator==(const InfoEntry& o) const {
    return category == o.category && title == o.title && text == o.text && flag == o.flag &&
           severity == o.severity;
  }
};

class InfoCenter {
 public:
  // `changed` learns of every change; its argument asks for the window to be shown.
  explicit InfoCenter(std::function<void(bool showWindow)> changed) : changed_(std::move(changed)) {}
  InfoCenter(const InfoCenter&) = delete;
  InfoCenter& operator=(const InfoCenter&) = delete;

  // Ignores an entry equal in every field to one already present. An error entry
  // asks for the window to be shown.
  void addEntry(const std::string& category, const std::string& title, const std::string& text,
                int flag, Severity severity);
  // Operations call this before they report, so only their latest run is listed.
  void clearCategory(const std::string& category);
  // Removes the category's entries with one of the titles, for an operation that
  // runs only some of its checks again and must keep what the others reported.
  void clearEntries(const std::string& category, const std::vector<std::string>& titles);
  void clear();

  // In insertion order.
  const std::vector<InfoEntry>& entries() const { return entries_; }
  std::vector<InfoEntry> entries(const std::string& category) const;
  // Categories in the order of their first entry.
  std::vector<std::string> categories() const;
  // The severity the category's tree item shows; nullopt for an empty category.
  std::optional<Severity> highestSeverity(const std::string& category) const;

 private:
  std::vector<InfoEntry> entries_;
  std::function<void(bool)> changed_;
};

}  // namespace velk
