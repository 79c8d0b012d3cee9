#include "app/recentfiles.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace velk {

namespace {

constexpr std::size_t kFieldCount = 5;

std::string SlotKey(int slot) {
  return "File" + std::to_string(slot + 1);
}

// Tabs separate the fields, so tabs, line breaks (which a settings file may not
// keep) and the escape character itself are escaped inside a field.
void AppendEscaped(std::string& out, const std::string& field) {
  for (char c : field) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
}

std::string Encode(const RecentWorkflow& entry) {
  std::string out;
  AppendEscaped(out, entry.workflowId);
  out += '\t' + std::to_string(entry.version);
  for (const std::string* field : {&entry.name, &entry.database, &entry.server}) {
    out += '\t';
    AppendEscaped(out, *field);
  }
  return out;
}

// Splits at unescaped tabs and undoes the escapes; nullopt for an unknown or
// dangling escape.
std::optional<std::vector<std::string>> SplitFields(const std::string& text) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\t') {
      fields.emplace_back();
      continue;
    }
    if (c == '\\') {
      if (++i == text.size()) return std::nullopt;
      switch (text[i]) {
        case '\\':
          c = '\\';
          break;
        case 't':
          c = '\t';
          break;
        case 'n':
          c = '\n';
          break;
        case 'r':
          c = '\r';
          break;
        default:
          return std::nullopt;
      }
    }
    fields.back() += c;
  }
  return fields;
}

std::optional<RecentWorkflow> Decode(const std::string& text) {
  auto fields = SplitFields(text);
  if (!fields || fields->size() != kFieldCount) return std::nullopt;
  const std::string& versionText = (*fields)[1];
  int version = 0;
  const char* end = versionText.data() + versionText.size();
  auto [stop, ec] = std::from_chars(versionText.data(), end, version);
  if (versionText.empty() || ec != std::errc() || stop != end || version < 0) return std::nullopt;
  return RecentWorkflow{(*fields)[0], version, (*fields)[2], (*fields)[3], (*fields)[4]};
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

std::string RecentWorkflowList::MenuText(std::size_t index) const {
  if (index >= entries_.size()) return std::string();
  const RecentWorkflow& entry = entries_[index];
  std::string text = "&" + std::to_string(index + 1) + " ";
  for (char c : entry.name) {
    if (c == '&') text += '&';
    text += c;
  }
  return text + " v" + std::to_string(entry.version);
}

}  // namespace velk
