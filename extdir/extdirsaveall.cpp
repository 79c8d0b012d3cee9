// Writing the data set back: all of it, one item, and the IRI update of a saved
// workflow. The store is never changed in place: a changed item's document is
// deleted and a new one written. Each save runs in one transaction, so that a
// failure between the deletion and the new document loses nothing.

#include <stdexcept>

#include "common/services.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirrecords.h"
#include "extdir/extdirsavephases.h"
#include "extdir/extdirstore.h"
#include "extdir/extdirtexts.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"

namespace velk {

namespace {

struct ItemState {
  CExtDirItem* item;
  std::string id;
  bool isNew;
  bool modified;
};

std::vector<ItemState> Remember(const std::vector<std::unique_ptr<CExtDirItem>>& items) {
  std::vector<ItemState> states;
  states.reserve(items.size());
  for (const auto& item : items)
    states.push_back({item.get(), item->ID, item->isNew, item->modified});
  return states;
}

// After a rollback the items are as before the save, to be written next time.
void Restore(CExtDirData& data, const std::vector<ItemState>& states) {
  data.IdsChanged();
  for (const ItemState& s : states) {
    s.item->ID = s.id;
    s.item->isNew = s.isNew;
    s.item->modified = s.modified;
    if (auto* request = dynamic_cast<CExtDirItemEIDM*>(s.item)) request->ExtClusterID = s.id;
  }
}

constexpr char kRolledBackTitle[] = "Saving External Directory database";
constexpr char kRolledBackText[] =
    "Nothing was saved: the External Directory database was left as it was. The changed items "
    "keep their changes and are written at the next save.";

const char* SaveStatusOf(const CExtDirItem& item) {
  const StoredDocument* stored = StoredDocumentOf(item.Kind());
  return stored ? stored->statusText : "Saving External Directory Item";
}

}  // namespace

std::string IriDocuments::Delete(const std::string& leafId) {
  if (!open_) {
    db_.GetViewFolder(views::kIriLeaf, &view_);
    view_.Open();
    open_ = true;
  }
  std::string workflowId;
  std::vector<LNDocument> found;
  ViewWalk(view_, leafId).Documents([&](LNDocument& doc) {
    if (found.empty()) workflowId = GetFieldContent(services_, "WorkflowID", doc);
    found.push_back(doc);
    return true;
  });
  for (LNDocument& doc : found) db_.DeleteDocument(&doc);
  return workflowId;
}

IriDocuments& CExtDirData::SavingIri() const {
  if (!iri_) throw std::logic_error("IRI documents are written only by a save");
  return *iri_;
}

CExtDirData::IriScope::IriScope(CExtDirData& data, LNDatabase& db)
    : data_(data), iri_(data.services_, db) {
  data_.iri_ = &iri_;
}

CExtDirData::IriScope::~IriScope() {
  data_.iri_ = nullptr;
}

bool CExtDirData::SaveAll() {
  ForgetLeafView();  // saved leafs get new documents
  StatusScope status(services_, "Saving External Directory database");
  LNDatabase db;
  try {
    OpenDatabase(db);
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, kExtDirSaveCategory, "Opening database", e,
                       extdirtexts::kOpenFailText);
    return false;
  }
  LNThrowAllErrorsScope throwing(db, true);
  const bool saved = SaveAllIn(db);
  db.Close();
  return saved;
}

bool CExtDirData::SaveAllIn(LNDatabase& db) {
  const std::vector<ItemState> before = Remember(items_);
  try {
    LNTransaction transaction(db);
    IriScope iri(*this, db);
    // A failed phase ends the save: what it and the phases before wrote is undone.
    for (const SavePhase* phase : SavePhases()) {
      if (!RunSavePhase(*this, db, *phase)) {
        Restore(*this, before);
        Report(services_, kExtDirSaveCategory, kRolledBackTitle, kRolledBackText, Severity::Error);
        return false;
      }
    }
    transaction.Commit();
  } catch (const LNStatusError& e) {
    Restore(*this, before);
    ReportStoreFailure(services_, kExtDirSaveCategory, kRolledBackTitle, e, kRolledBackText);
    return false;
  }
  // Deleted items have no document left to remove.
  for (const auto& item : items_)
    if (item->deleted) item->isNew = true;
  return true;
}

bool CExtDirData::HasUnsavedChanges() const {
  for (const auto& item : items_) {
    const SavePhase* phase = SavePhaseOf(*item);
    if (!phase) continue;
    if (item->deleted ? !item->isNew : item->modified || (phase->newOnly && item->isNew))
      return true;
  }
  return false;
}

bool CExtDirData::SaveItem(CExtDirItem& item) {
  if (!item.IsShown()) return true;
  ForgetLeafView();
  const char* statusText = SaveStatusOf(item);
  StatusScope status(services_, statusText);
  LNDatabase db;
  try {
    OpenDatabase(db);
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, statusText, "Opening database", e,
                       "The chosen External Directory database could not be opened. Please "
                       "choose another one\nor retry later.");
    return false;
  }
  LNThrowAllErrorsScope throwing(db, true);
  const std::vector<ItemState> before = Remember(items_);
  bool saved = false;
  try {
    LNTransaction transaction(db);
    IriScope iri(*this, db);
    // An item that has a document gets a new one in its place, never a second one.
    if (const SavePhase* phase = SavePhaseOf(item); phase && !item.isNew)
      DeleteStoredDocuments(services_, db, *phase, item.ID);
    saved = item.Save(db);
    if (saved) transaction.Commit();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, statusText, kRolledBackTitle, e, kRolledBackText);
    saved = false;
  }
  if (!saved) Restore(*this, before);
  db.Close();
  return saved;
}

bool CExtDirData::UpdateIriLeaf(const std::string& leafId, const std::string& workflowId) {
  StatusScope status(services_, "Modify IRI Document");
  const char* title = "Opening database";
  const char* text = extdirtexts::kReopenFailText;
  try {
    LNDatabase db;
    OpenDatabase(db);
    LNThrowAllErrorsScope throwing(db, true);
    title = "IRI Leafs: Opening view (Modeler\\IRILeaf)";
    text = extdirtexts::kIriViewMissing;
    LNViewFolder view;
    db.GetViewFolder(views::kIriLeaf, &view);
    view.Open();
    ViewWalk matches(view, leafId);
    if (matches.Empty()) {
      Report(services_, kExtDirLoadCategory, "IRI Leafs",
             "Loading IRI-Leaf \"" + leafId +
                 "\" was unsuccessful, because no leaf was found in the view "
                 "(Modeler\\IRILeafID).",
             Severity::Notice);
      db.Close();
      return false;
    }
    title = "IRI Leafs: Reading Documents";
    text = extdirtexts::kLeafDocument;
    LNTransaction transaction(db);
    matches.Documents([&workflowId](LNDocument& doc) {
      SetFieldContent("WorkflowID", workflowId, doc);
      SetFieldContent("wfID", workflowId, doc);
      doc.Save();
      return true;
    });
    transaction.Commit();
    view.Close();
    db.Close();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, kExtDirLoadCategory, title, e, text);
    return false;
  }
  Report(services_, kExtDirLoadCategory, "IRI Leafs",
         "IRI Leaf Informations have been loaded sucessfully.", Severity::Success);
  return true;
}

}  // namespace velk
