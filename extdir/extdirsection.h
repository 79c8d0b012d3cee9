#pragma once
// Inside loading: the walk through one section's view with its status text and
// Info Center entries.

#include <functional>

class LNDatabase;
class LNDocument;

namespace velk {

class Services;

struct ExtDirSectionTexts {
  const char* statusText;
  const char* view;
  const char* title;  // success, and no documents unless emptyTitle is set
  const char* emptyTitle;
  const char* emptyWords;  // "... holds no informations about " + words
  const char* successText;
  const char* noViewTitle;  // the view cannot be got or opened
  const char* noViewText;
  const char* noFolderTitle;  // its first entry cannot be read
  const char* noFolderText;
  const char* documentTitle;  // a document cannot be read
  const char* documentText;
  bool skipBadDocuments;  // go on with the next document instead of ending
};

// Builds one item or record from an open document.
using ExtDirDocumentReader = std::function<void(LNDocument& document)>;

// Reads the section's view; every failure is reported under `category` and ends
// the section (or, with skipBadDocuments, only that document). False on failure.
bool ReadExtDirSection(Services& services, LNDatabase& db, const char* category,
                       const ExtDirSectionTexts& texts, const ExtDirDocumentReader& read);

}  // namespace velk
