#pragma once
// Inside saving: document lookups shared by the item savers and SaveAll.

#include <string>

#include "repository/store/lndatabase.h"

namespace velk {

class Services;

// The IRI documents of the leafs one save writes. Their view is opened once for
// the save, not once per leaf: it shows the store as of that opening, which is
// enough, since a save writes each leaf once.
class IriDocuments {
 public:
  IriDocuments(Services& services, LNDatabase& db) : services_(services), db_(db) {}
  IriDocuments(const IriDocuments&) = delete;
  IriDocuments& operator=(const IriDocuments&) = delete;

  // Deletes every IRI document of the leaf; returns the workflow id the first of
  // them named (empty when there was none). Throws LNStatusError.
  std::string Delete(const std::string& leafId);

 private:
  Services& services_;
  LNDatabase& db_;
  LNViewFolder view_;
  bool open_ = false;
};

}  // namespace velk
