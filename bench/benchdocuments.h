#pragma once
// Documents of text items written the plain way, for benchmarks that fill a database.

#include <string>
#include <utility>
#include <vector>

#include "repository/store/lnnotes.h"

namespace bench {

using Texts = std::vector<std::pair<std::string, std::vector<std::string>>>;

inline void AddDocument(LNDatabase& db, const char* form, const Texts& items) {
  LNDocument doc;
  db.CreateDocument(&doc, form);
  for (const auto& [name, values] : items) doc.CreateItem(name, LNText(values));
  doc.Save();
}

}  // namespace bench
