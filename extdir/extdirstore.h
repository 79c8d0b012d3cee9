#pragma once
// Inside saving: document lookups shared by the item savers and SaveAll.

#include <string>

class LNDatabase;

namespace velk {

// Deletes every IRI document of the leaf; returns the workflow id the first of
// them named (empty when there was none). Throws LNStatusError.
std::string DeleteIriDocuments(LNDatabase& db, const std::string& leafId);

}  // namespace velk
