#pragma once
// What a check of a local database file finds beyond SQLite's own integrity
// check, which looks at the file's structure but not at the values in it.

#include <string>
#include <vector>

namespace lnstore {

struct StoredValueFinding {
  bool error = true;  // false for a notice
  std::string title;
  std::string text;
};

// Reads every note of the file read-only: values that no longer match the
// checksum written with them, items whose note is gone, texts that are not
// UTF-8, values that cannot be read, and a file cut short inside a page.
std::vector<StoredValueFinding> CheckStoredValues(const std::string& file);

}  // namespace lnstore
