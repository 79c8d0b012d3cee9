#pragma once
// The walk every repository reader makes through one view: open it, visit each
// document in view order, and report an empty view, success or failure to the
// Info Center under the reader's own titles and texts.

#include <functional>
#include <string>

#include "common/services.h"
#include "repository/store/lndatabase.h"

class LNDocument;
class LNStatusError;

namespace velk {

// The entries of an open view in view order: every one from the current entry
// (the first after Open), or those of one key.
// Store failures throw LNStatusError while the database throws (LNThrowAllErrorsScope):
// the constructor's (the first entry, the key's search) apart from the walk's.
// An empty view has no first entry, a failure as with LNViewFolder::GetEntry:
// walks that accept one look at GetEntryCount first.
class ViewWalk {
 public:
  enum class Categories { Skip, Visit };
  explicit ViewWalk(LNViewFolder& view, Categories categories = Categories::Skip);
  ViewWalk(LNViewFolder& view, const std::string& key, Categories categories = Categories::Skip);

  // An empty view, or no entry under the key.
  bool Empty() const { return count_ == 0; }
  // The entries to visit, category rows included.
  long Count() const { return count_; }
  // Calls `visit` per entry until it returns false; false when it did. A failed
  // move to the next entry is thrown, or given to `moveFailed` and the walk goes on.
  bool Entries(const std::function<bool(const LNVFEntry&)>& visit,
               const std::function<void(const LNStatusError&)>& moveFailed = {});
  // The same with each entry's document, open while `visit` runs.
  bool Documents(const std::function<bool(LNDocument&)>& visit);

 private:
  LNViewFolder& view_;
  LNVFEntry entry_;
  long count_ = 0;
  bool skipCategories_;
};

struct ViewReaderTexts {
  const char* category;
  const char* statusText;  // status line while the view is read
  const char* view;
  const char* emptyTitle;  // an empty view: a notice, and the reader succeeds
  const char* emptyText;
  const char* successTitle;
  const char* successText;
  const char* openFailTitle;  // the view cannot be opened
  const char* openFailText;
  const char* readFailTitle;  // a document cannot be read
  const char* readFailText;
};

// Called with each open document; returns false to end the reader as failed,
// after it has reported why.
using DocumentVisitor = std::function<bool(LNDocument& document)>;

// True when the view was read to its end or was empty. Store failures are
// reported (the store's message, then the fixed text) and give false; whatever
// the visitor kept so far stays. Category rows are skipped when `skipCategories`.
bool ReadViewDocuments(Services& services, LNDatabase& db, const ViewReaderTexts& texts,
                       bool skipCategories, const DocumentVisitor& visit);

}  // namespace velk
