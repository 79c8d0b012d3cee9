#pragma once
// The walk every repository reader makes through one view: open it, visit each
// document in view order, and report an empty view, success or failure to the
// Info Center under the reader's own titles and texts.

#include <functional>

class LNDatabase;
class LNDocument;

namespace velk {

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
bool ReadViewDocuments(LNDatabase& db, const ViewReaderTexts& texts, bool skipCategories,
                       const DocumentVisitor& visit);

}  // namespace velk
