#include "repository/viewreader.h"

#include "common/services.h"
#include "repository/repositorydb.h"
#include "repository/store/lnnotes.h"

namespace velk {

ViewWalk::ViewWalk(LNViewFolder& view, Categories categories)
    : view_(view), skipCategories_(categories == Categories::Skip) {
  if (view.GetEntry(&entry_) == LNNOERROR) count_ = view.GetEntryCount();
}

ViewWalk::ViewWalk(LNViewFolder& view, const std::string& key, Categories categories)
    : view_(view), skipCategories_(categories == Categories::Skip) {
  if (view.Find(key, &entry_, &count_) != LNNOERROR) count_ = 0;
}

bool ViewWalk::Entries(const std::function<bool(const LNVFEntry&)>& visit,
                       const std::function<void(const LNStatusError&)>& moveFailed) {
  for (long i = 0; i < count_; ++i) {
    try {
      if (i > 0 && view_.Goto(LNVFNAVIGATE_NEXT, &entry_) != LNNOERROR) break;
    } catch (const LNStatusError& e) {
      if (!moveFailed) throw;
      moveFailed(e);
      continue;
    }
    if (skipCategories_ && entry_.IsCategory()) continue;
    if (!visit(entry_)) return false;
  }
  return true;
}

bool ViewWalk::Documents(const std::function<bool(LNDocument&)>& visit) {
  return Entries([&visit](const LNVFEntry& entry) {
    LNDocument document;
    entry.GetDocument(&document);
    document.Open();
    const bool goOn = visit(document);
    document.Close();
    return goOn;
  });
}

bool ReadViewDocuments(Services& services, LNDatabase& db, const ViewReaderTexts& texts,
                       bool skipCategories, const DocumentVisitor& visit) {
  StatusScope status(services, texts.statusText);
  LNThrowAllErrorsScope throwing(db, true);
  LNViewFolder view;
  try {
    db.GetViewFolder(texts.view, &view);
    view.Open(LNVFOPEN_READ_DOCUMENTS);
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services, texts.category, texts.openFailTitle, e, texts.openFailText);
    return false;
  }
  try {
    if (view.GetEntryCount() == 0) {
      Report(services, texts.category, texts.emptyTitle, texts.emptyText, Severity::Notice);
      view.Close();
      return true;
    }
    const auto categories =
        skipCategories ? ViewWalk::Categories::Skip : ViewWalk::Categories::Visit;
    if (!ViewWalk(view, categories).Documents(visit)) return false;
    view.Close();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services, texts.category, texts.readFailTitle, e, texts.readFailText);
    return false;
  }
  Report(services, texts.category, texts.successTitle, texts.successText, Severity::Success);
  return true;
}

}  // namespace velk
