#pragma once
// Documents of a database as JSON, for administration and exchange:
// {"title": T, "replicaId": "XXXXXXXX:XXXXXXXX", "documents": [{"noteId": "000001F2",
//  "unid": "<32 hex>", "form": F, "items": [{"name": N, "type": "text"|"number"|"datetime",
//  "flags": 4, "values": [...]}]}]}
// The "Form" item is carried by "form", not repeated among the items. Keys keep
// this order, so a dump reads the same way every time.

#include <string>

#include <nlohmann/json.hpp>

#include "repository/store/lnnotes.h"

namespace velk {

using Json = nlohmann::ordered_json;

// Every document in note id order, or those of `view` in view order. Store
// failures throw LNStatusError.
Json DumpDatabase(LNDatabase& db, const std::string& view = {});

struct ImportResult {
  int imported = 0;
  std::string error;  // empty on success; nothing is written then
};

// Adds the documents of `dump` in one transaction: all or none. Documents keep the
// note id and universal id they name (assigned when left out); the title and
// replica id are taken over when given. Whatever is wrong (shape, value types, an
// id already in use) comes back in `error`, naming the document and item.
ImportResult ImportDocuments(LNDatabase& db, const Json& dump);

}  // namespace velk
