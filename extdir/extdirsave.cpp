// Each kind of item writes one new document; published leafs also their IRI document.

#include <functional>

#include "common/services.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirrecords.h"
#include "extdir/extdirstore.h"
#include "model/node.h"
#include "model/workflowdoc.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/identity.h"
#include "repository/store/lnnotes.h"

namespace velk {

namespace {

constexpr char kCreateFailText[] =
    "The new document could not be created. Maybe the database is locked or you have wrong "
    "permissions.";

// Creates and saves the item's document; an item without id takes the new
// document's and the document is saved again with it. Throws LNStatusError.
template <class Record>
void WriteDocument(CExtDirItem& item, const Record& record, LNDatabase& db,
                   const StoredDocument& shape, LNDocument& doc) {
  db.CreateDocument(&doc, shape.form);
  if (shape.keyFirst) SetFieldContent(shape.keyItem, item.ID, doc);
  WriteFields(record, doc);
  const bool hadId = !item.ID.empty();
  if (hadId && !shape.keyFirst) SetFieldContent(shape.keyItem, item.ID, doc);
  doc.Save();
  if (!hadId) {
    item.ID = shape.newId == NewId::NoteId ? FormatNoteId(doc.GetNoteID())
                                          : FormatUniversalId(doc.GetUniversalID());
    item.Data().IdsChanged();
    SetFieldContent(shape.keyItem, item.ID, doc);
    doc.Save();
  }
}

// The whole Save of one item: status line, document, flags, or the error entry.
template <class Record>
bool SaveDocument(CExtDirItem& item, const Record& record, LNDatabase& db,
                  const std::function<void(LNDatabase&)>& after = {}) {
  const StoredDocument& shape = *StoredDocumentOf(item.Kind());
  StatusScope status(item.Data().UserInterface(), shape.statusText);
  LNThrowAllErrorsScope throwing(db, true);
  const std::string previousId = item.ID;
  try {
    LNDocument doc;
    WriteDocument(item, record, db, shape, doc);
    doc.Close();
    if (after) after(db);
  } catch (const LNStatusError& e) {
    item.ID = previousId;
    item.Data().IdsChanged();
    ReportStoreFailure(item.Data().UserInterface(), shape.statusText, "Creating document",
                       e, kCreateFailText);
    return false;
  }
  item.isNew = false;
  item.modified = false;
  return true;
}

// The workflow a published leaf's IRI document names: that of its published
// task, else its own, else the one the replaced IRI document named.
std::string IriWorkflowId(const CExtDirItemGRILeaf& leaf, const std::string& stored) {
  if (leaf.publishedTask && leaf.publishedTask->Document())
    return leaf.publishedTask->Document()->Top().Header().workflowId;
  return leaf.workflowId.empty() ? stored : leaf.workflowId;
}

void WriteIriDocument(const CExtDirItemGRILeaf& leaf, LNDatabase& db) {
  const std::string stored = leaf.Data().SavingIri().Delete(leaf.ID);
  const std::string workflow = IriWorkflowId(leaf, stored);
  const ExtDirLinks& links = leaf.Data().Links();
  LNDocument iri;
  db.CreateDocument(&iri, forms::kIriLeaf);
  SetFieldContent("LeafID", leaf.ID, iri);
  SetFieldContent("ApplicationDB", links.officeMail(), iri);
  SetFieldContent("WorkflowID", workflow, iri);
  SetFieldContent("wfID", workflow, iri);
  iri.Save();
  iri.Close();
}

}  // namespace

bool CExtDirItemGRIProcView::Save(LNDatabase& db) {
  return SaveDocument(*this, *this, db);
}

bool CExtDirItemGRILeaf::Save(LNDatabase& db) {
  return SaveDocument(*this, *this, db, [this](LNDatabase& target) {
    if (IsPublished()) WriteIriDocument(*this, target);
  });
}

bool CExtDirItemEIDMOrg::Save(LNDatabase& db) {
  const bool saved = SaveDocument(*this, Fields(), db);
  // One document serves both twins.
  for (CExtDirItemEIDMOrg* twin : {byUsTwin, byPartnersTwin}) {
    if (!saved || !twin || twin == this) continue;
    twin->ID = ID;
    Data().IdsChanged();
    twin->isNew = false;
    twin->modified = false;
  }
  return saved;
}

bool CExtDirItemEIDM::Save(LNDatabase& db) {
  const bool saved = SaveDocument(*this, *this, db);
  if (saved) ExtClusterID = ID;
  return saved;
}

bool CExtDirItemCM::Save(LNDatabase& db) {
  return SaveDocument(*this, *this, db);
}

}  // namespace velk
