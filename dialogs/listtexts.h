#pragma once
// Text comparisons and list rules the dialogs share. Sorted lists and drop-downs
// order their entries without regard to case, and "find the entry" searches of
// list boxes ignore case too, while repository look-ups compare exactly.

#include <string>
#include <vector>

namespace velk {

bool EqualsNoCase(const std::string& a, const std::string& b);
// Case-insensitive order; ties broken by the exact text so that the order is total.
bool LessNoCase(const std::string& a, const std::string& b);
// The position at which a sorted list takes `text` (after equal entries).
std::size_t SortedPosition(const std::vector<std::string>& sorted, const std::string& text);
void SortNoCase(std::vector<std::string>& texts);

// Index of the first entry equal to `text` (exactly / ignoring case), or -1.
int FindExact(const std::vector<std::string>& texts, const std::string& text);
int FindNoCase(const std::vector<std::string>& texts, const std::string& text);

// The entries that are not empty, in order.
std::vector<std::string> NonEmpty(const std::vector<std::string>& texts);

}  // namespace velk
