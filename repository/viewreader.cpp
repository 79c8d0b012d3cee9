#include "repository/viewreader.h"

#include "app/services.h"
#include "repository/repositorydb.h"
#include "repository/store/lnnotes.h"

namespace velk {

namespace {

// Visits every document of an open, non-empty view; false when the visitor
// stopped the walk. Throws LNStatusError.
bool VisitDocuments(LNViewFolder& view, bool skipCategories, const DocumentVisitor& visit) {
  LNVFEntry entry;
  for (LNSTATUS status = view.GetEntry(&entry); status == LNNOERROR;
       status = view.Goto(LNVFNAVIGATE_NEXT, &entry)) {
    if (skipCategories && entry.IsCategory()) continue;
    LNDocument document;
    entry.GetDocument(&document);
    document.Open();
    const bool goOn = visit(document);
    document.Close();
    if (!goOn) return false;
  }
  return true;
}

}  // namespace

bool ReadViewDocuments(LNDatabase& db, const ViewReaderTexts& texts, bool skipCategories,
                       const DocumentVisitor& visit) {
  StatusScope status(texts.statusText);
  LNThrowAllErrorsScope throwing(true);
  LNViewFolder view;
  try {
    db.GetViewFolder(texts.view, &view);
    view.Open(LNVFOPEN_READ_DOCUMENTS);
  } catch (const LNStatusError& e) {
    ReportStoreFailure(texts.category, texts.openFailTitle, e.GetStatus(), texts.openFailText);
    return false;
  }
  try {
    if (view.GetEntryCount() == 0) {
      Report(texts.category, texts.emptyTitle, texts.emptyText, Severity::Notice);
      view.Close();
      return true;
    }
    if (!VisitDocuments(view, skipCategories, visit)) return false;
    view.Close();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(texts.category, texts.readFailTitle, e.GetStatus(), texts.readFailText);
    return false;
  }
  Report(texts.category, texts.successTitle, texts.successText, Severity::Success);
  return true;
}

}  // namespace velk
