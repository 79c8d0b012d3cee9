#pragma once
// Records with every described field set apart from its default.

#include <string>
#include <variant>
#include <vector>

#include "model/workflowrecords.h"

namespace velk::testing {

// A value unlike the default for every described field of `r`, each field's own.
template <class Record>
inline void Fill(const RecordFields<Record>& fields, Record& r, int seed) {
  const Record defaults{};
  for (const RecordField<Record>& f : fields) {
    if (!f.set) continue;
    const int n = ++seed;
    const std::string tag = std::to_string(n);
    switch (f.type) {
      case ItemType::Text:
      case ItemType::Key:
        f.set(r, "t" + tag);
        break;
      case ItemType::Integer:
      case ItemType::Number:
        f.set(r, 100 + n);
        break;
      case ItemType::Flag:
        f.set(r, !std::get<bool>(f.get(defaults)));
        break;
      case ItemType::List:
        f.set(r, std::vector<std::string>{"a" + tag, "b" + tag});
        break;
      case ItemType::Word: {
        const int count = static_cast<int>(f.words->words().size());
        f.set(r, (std::get<int>(f.get(defaults)) + 1 + n % (count - 1)) % count);
        break;
      }
      case ItemType::Computed:
        break;
    }
  }
}

}  // namespace velk::testing
