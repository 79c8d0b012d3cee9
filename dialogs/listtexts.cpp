#include "dialogs/listtexts.h"

#include <algorithm>
#include <cctype>

namespace velk {

namespace {

int CompareNoCase(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int ca = std::tolower(static_cast<unsigned char>(a[i]));
    const int cb = std::tolower(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace

bool EqualsNoCase(const std::string& a, const std::string& b) {
  return CompareNoCase(a, b) == 0;
}

bool LessNoCase(const std::string& a, const std::string& b) {
  const int c = CompareNoCase(a, b);
  return c != 0 ? c < 0 : a < b;
}

std::size_t SortedPosition(const std::vector<std::string>& sorted, const std::string& text) {
  return static_cast<std::size_t>(std::upper_bound(sorted.begin(), sorted.end(), text, LessNoCase) -
                                  sorted.begin());
}

void SortNoCase(std::vector<std::string>& texts) {
  std::stable_sort(texts.begin(), texts.end(), LessNoCase);
}

int FindExact(const std::vector<std::string>& texts, const std::string& text) {
  const auto it = std::find(texts.begin(), texts.end(), text);
  return it == texts.end() ? -1 : static_cast<int>(it - texts.begin());
}

int FindNoCase(const std::vector<std::string>& texts, const std::string& text) {
  for (std::size_t i = 0; i < texts.size(); ++i)
    if (EqualsNoCase(texts[i], text)) return static_cast<int>(i);
  return -1;
}

std::vector<std::string> NonEmpty(const std::vector<std::string>& texts) {
  std::vector<std::string> result;
  for (const std::string& t : texts)
    if (!t.empty()) result.push_back(t);
  return result;
}

}  // namespace velk
