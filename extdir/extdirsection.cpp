#include "extdir/extdirsection.h"

#include <optional>
#include <string>

#include "common/services.h"
#include "repository/repositorydb.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"

namespace velk {

namespace {

// Reads the current entry's document; a failure is reported and, unless bad
// documents are skipped, thrown on.
bool ReadEntry(Services& services, const LNVFEntry& entry, const char* category,
               const ExtDirSectionTexts& texts, const ExtDirDocumentReader& read) {
  try {
    LNDocument document;
    entry.GetDocument(&document);
    document.Open(0);
    read(document);
    document.Close();
    return true;
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services, category, texts.documentTitle, e, texts.documentText);
    return texts.skipBadDocuments;
  }
}

}  // namespace

bool ReadExtDirSection(Services& services, LNDatabase& db, const char* category,
                       const ExtDirSectionTexts& texts, const ExtDirDocumentReader& read) {
  StatusScope status(services, texts.statusText);
  LNThrowAllErrorsScope throwing(db, true);
  LNViewFolder view;
  try {
    db.GetViewFolder(texts.view, &view);
    view.Open(LNVFOPEN_READ_DOCUMENTS);
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services, category, texts.noViewTitle, e, texts.noViewText);
    return false;
  }
  if (view.GetEntryCount() == 0) {
    Report(services, category, texts.emptyTitle ? texts.emptyTitle : texts.title,
           std::string("The selected External Directory database holds no informations about ") +
               texts.emptyWords + ".\r\n",
           Severity::Notice);
    view.Close();
    return true;
  }
  std::optional<ViewWalk> entries;
  try {
    entries.emplace(view);
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services, category, texts.noFolderTitle, e, texts.noFolderText);
    view.Close();
    return false;
  }
  bool complete = false;
  try {
    complete = entries->Entries(
        [&](const LNVFEntry& entry) { return ReadEntry(services, entry, category, texts, read); });
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services, category, texts.documentTitle, e, texts.documentText);
  }
  view.Close();
  if (!complete) return false;
  Report(services, category, texts.title, texts.successText, Severity::Success);
  return true;
}

}  // namespace velk
