#include "extdir/extdirsavephases.h"

#include <algorithm>
#include <optional>

#include "common/services.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritem.h"
#include "extdir/extdirrecords.h"
#include "extdir/extdirstore.h"
#include "extdir/extdirtexts.h"
#include "repository/fieldaccess.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"

namespace velk {

namespace {

#define VELK_PHASE_TEXTS(prefix, view)                                                     \
  prefix ": Opening Document", VELK_DOCUMENT_IN_VIEW(view), prefix ": Opening view " view, \
      VELK_GRI_VIEW("no view", view), prefix ": Opening viewfolder " view,                 \
      VELK_GRI_VIEW("no valid viewfolder", view)

const SavePhase kHeaders{"Remove Deleted GRI Header Documents",
                         views::kGriHeader,
                         ExtDirKind::GRIProcView,
                         "GRI-Header",
                         "GRI Headers",
                         "GRI Header",
                         "GRI Header Informations have been loaded sucessfully.",
                         VELK_PHASE_TEXTS("GRI-Header", "(Modeler\\GRIHeader)"),
                         false};

// Walks the leafs by their id: the entries name the items, so that the thousands of
// unchanged leafs are not read.
const SavePhase kLeafs{"Remove Deleted GRI Leaf Documents",
                       views::kGriLeafId,
                       ExtDirKind::GRILeaf,
                       "GRI-Leafs",
                       "GRI Leafs",
                       "GRI-Leafs",
                       "GRI Header Informations have been saved sucessfully.",
                       VELK_PHASE_TEXTS("GRI-Leafs", "(Modeler\\GRILeafID)"),
                       false,
                       true};

const SavePhase kContentManagement{
    "Remove Deleted EIDM Documents",
    views::kContentManagement,
    ExtDirKind::CM,
    "Content Management",
    "Content Management Blocks",
    "Content Management",
    "Content Management Informations have been saved sucessfully.",
    VELK_PHASE_TEXTS("Content Management", "(Modeler\\ContentManagement)"),
    false};

const SavePhase kEidmOrganisations{"Remove Deleted EIDM Organization Documents",
                                   views::kEidmOrg,
                                   ExtDirKind::EIDMOrg,
                                   nullptr,
                                   nullptr,
                                   "EIDM Organizations",
                                   "EIDM Organization Informations have been saved sucessfully.",
                                   VELK_PHASE_TEXTS("EIDM Organizations", "(Modeler\\EIDMOrg)"),
                                   false};

const SavePhase kEidmRequests{"Remove Deleted EIDM Documents",
                              views::kEidm,
                              ExtDirKind::EIDM,
                              nullptr,
                              nullptr,
                              "EIDM",
                              "EIDM Informations have been saved sucessfully.",
                              VELK_PHASE_TEXTS("EIDM", "(Modeler\\EIDM)"),
                              true};

#undef VELK_PHASE_TEXTS

const char* KeyItemOf(const SavePhase& phase) {
  return StoredDocumentOf(phase.kind)->keyItem;
}

bool IsOfPhase(const CExtDirItem* item, const SavePhase& phase) {
  return item && item->Kind() == phase.kind;
}

// One document of the view: gone with its deleted item, replaced for a changed
// one. False when the new document could not be written. Throws LNStatusError.
bool ReviseDocument(CExtDirData& data, LNDatabase& db, const LNVFEntry& entry,
                    const SavePhase& phase) {
  LNDocument doc;
  std::string read;  // the key of a view that is not sorted by it
  if (!phase.keyedById) {
    entry.GetDocument(&doc);
    doc.Open();
    read = GetFieldContent(data.UserInterface(), KeyItemOf(phase), doc);
    doc.Close();
  }
  const std::string& key = phase.keyedById ? entry.GetKey() : read;
  CExtDirItem* item = data.FindItemById(key);
  if (!IsOfPhase(item, phase) || !(item->deleted || item->modified)) return true;
  if (phase.keyedById) entry.GetDocument(&doc);  // only now: most documents stay
  db.DeleteDocument(&doc);
  if (!item->deleted) return item->Save(db);
  // A leaf that goes takes its IRI documents along; one that is rewritten keeps
  // them for its Save, which replaces them and keeps the workflow they name.
  if (&phase == &kLeafs) data.SavingIri().Delete(key);
  return true;
}

// The view's documents; false after reporting a failure.
bool ReviseView(CExtDirData& data, LNDatabase& db, LNViewFolder& view, const SavePhase& phase) {
  if (view.GetEntryCount() == 0) {
    if (phase.emptyTitle)
      Report(data.UserInterface(), kExtDirSaveCategory, phase.emptyTitle,
             std::string("The selected External Directory database holds no informations about ") +
                 phase.emptyWords + ".\r\n",
             Severity::Notice);
    return true;
  }
  // Without a changed item of the phase, or a deleted one that has a document
  // left, no document is touched.
  const bool revising =
      std::any_of(data.Items().begin(), data.Items().end(), [&phase](const auto& item) {
        return IsOfPhase(item.get(), phase) && (item->deleted ? !item->isNew : item->modified);
      });
  if (!revising) return true;
  std::optional<ViewWalk> entries;
  try {
    entries.emplace(view);
  } catch (const LNStatusError& e) {
    ReportStoreFailure(data.UserInterface(), kExtDirSaveCategory, phase.folderTitle, e,
                       phase.folderText);
    return false;
  }
  try {
    return entries->Entries(
        [&](const LNVFEntry& entry) { return ReviseDocument(data, db, entry, phase); });
  } catch (const LNStatusError& e) {
    ReportStoreFailure(data.UserInterface(), kExtDirSaveCategory, phase.documentTitle, e,
                       phase.documentText);
    return false;
  }
}

}  // namespace

const std::vector<const SavePhase*>& SavePhases() {
  static const std::vector<const SavePhase*> phases{&kHeaders, &kLeafs, &kContentManagement,
                                                    &kEidmOrganisations, &kEidmRequests};
  return phases;
}

const SavePhase* SavePhaseOf(const CExtDirItem& item) {
  for (const SavePhase* phase : SavePhases())
    if (IsOfPhase(&item, *phase)) return phase;
  return nullptr;
}

bool RunSavePhase(CExtDirData& data, LNDatabase& db, const SavePhase& phase) {
  StatusScope status(data.UserInterface(), phase.statusText);
  LNThrowAllErrorsScope throwing(db, true);
  LNViewFolder view;
  try {
    db.GetViewFolder(phase.view, &view);
    view.Open();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(data.UserInterface(), kExtDirSaveCategory, phase.viewTitle, e,
                       phase.viewText);
    return false;
  }
  const bool revised = ReviseView(data, db, view, phase);
  view.Close();
  if (!revised) return false;
  std::vector<CExtDirItem*> pending;
  for (const auto& item : data.Items())
    if (IsOfPhase(item.get(), phase) && !item->deleted &&
        (phase.newOnly ? item->isNew : item->modified))
      pending.push_back(item.get());
  for (CExtDirItem* item : pending)
    if (!item->Save(db)) return false;
  Report(data.UserInterface(), kExtDirSaveCategory, phase.successTitle, phase.successText,
         Severity::Success);
  return true;
}

void DeleteStoredDocuments(Services& services, LNDatabase& db, const SavePhase& phase,
                           const std::string& id) {
  if (id.empty()) return;
  LNViewFolder view;
  db.GetViewFolder(phase.view, &view);
  view.Open();
  std::vector<LNDocument> doomed;
  if (phase.keyedById) {
    ViewWalk(view, id).Entries([&doomed](const LNVFEntry& entry) {
      entry.GetDocument(&doomed.emplace_back());
      return true;
    });
  } else {
    ViewWalk(view).Documents([&](LNDocument& doc) {
      if (GetFieldContent(services, KeyItemOf(phase), doc) == id) doomed.push_back(doc);
      return true;
    });
  }
  view.Close();
  for (LNDocument& doc : doomed) db.DeleteDocument(&doc);  // the item's Save replaces its IRI
}

}  // namespace velk
