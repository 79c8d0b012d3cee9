// Each kind of item writes one new document; published leafs also their IRI document.

#include <functional>

#include "app/services.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirstore.h"
#include "model/node.h"
#include "model/workflowdoc.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/identity.h"
#include "repository/store/lnnotes.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

enum class NewId { NoteId, UniversalId };

struct DocumentShape {
  const char* form;
  const char* statusText;  // also the category of its errors
  const char* idItem;
  NewId newId;
  bool idFirst;  // the id item leads the items (written even while empty)
};

constexpr char kCreateFailText[] =
    "The new document could not be created. Maybe the database is locked or you have wrong "
    "permissions.";

// Creates and saves the item's document; an item without id takes the new
// document's and the document is saved again with it. Throws LNStatusError.
void WriteDocument(CExtDirItem& item, LNDatabase& db, const DocumentShape& shape,
                   const std::function<void(LNDocument&)>& write, LNDocument& doc) {
  db.CreateDocument(&doc, shape.form);
  if (shape.idFirst) SetFieldContent(shape.idItem, item.ID, doc);
  write(doc);
  const bool hadId = !item.ID.empty();
  if (hadId && !shape.idFirst) SetFieldContent(shape.idItem, item.ID, doc);
  doc.Save();
  if (!hadId) {
    item.ID = shape.newId == NewId::NoteId ? FormatNoteId(doc.GetNoteID())
                                          : FormatUniversalId(doc.GetUniversalID());
    item.Data().IdsChanged();
    SetFieldContent(shape.idItem, item.ID, doc);
    doc.Save();
  }
}

// The whole Save of one item: status line, document, flags, or the error entry.
bool SaveDocument(CExtDirItem& item, LNDatabase& db, const DocumentShape& shape,
                  const std::function<void(LNDocument&)>& write,
                  const std::function<void(LNDatabase&)>& after = {}) {
  StatusScope status(shape.statusText);
  LNThrowAllErrorsScope throwing(true);
  const std::string previousId = item.ID;
  try {
    LNDocument doc;
    WriteDocument(item, db, shape, write, doc);
    doc.Close();
    if (after) after(db);
  } catch (const LNStatusError& e) {
    item.ID = previousId;
    item.Data().IdsChanged();
    ReportStoreFailure(shape.statusText, "Creating document", e.GetStatus(), kCreateFailText);
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
  return SaveDocument(*this, db,
                      {forms::kGriHeader, "Saving GRI Header", "HeaderID", NewId::NoteId, true},
                      [this](LNDocument& d) {
                        SetFieldContent("Direction", Direction, d);
                        SetFieldContent("OrgName", OrgName, d);
                        SetFieldContent("ProcViewName", ProcViewName, d);
                        SetFieldContent("GatewayDB", GatewayDB, d);
                      });
}

bool CExtDirItemGRILeaf::Save(LNDatabase& db) {
  auto write = [this](LNDocument& d) {
    SetFieldContent("LeafName", LeafName, d);
    SetFieldContent("Description2", Description2, d);
    SetFieldContent("Status", DirectoryEntryStatusToWord(Status), d);
    SetFieldIntContent("Version", Version, d);
    SetFieldContent("Direction", Direction, d);
    SetFieldContent("ValidUntil", ValidUntil, d);
    SetFieldBoolContent("TrackingAllowed", TrackingAllowed, d);
    SetFieldNumberContent("Duration", Duration, d);
    SetFieldContent("DurationUnit", DurationUnitToWord(DurationUnit), d);
    SetFieldContent("PublishTo", PublishingModeToWord(PublishTo), d);
    SetFieldListContent("PublishReader", d, PublishReader);
    SetFieldContent("InputDocTypeID", InputDocTypeID, d);
    SetFieldListContent("InputFields", d, JoinFieldEntries(InputFields));
    SetFieldContent("OutputDocTypeID", OutputDocTypeID, d);
    SetFieldListContent("OutputFields", d, JoinFieldEntries(OutputFields));
    SetFieldContent("FormatServer", FormatServer, d);
    SetFieldContent("HeaderID", HeaderID, d);
    SetFieldListContent("ReferencedByWFNode", d, ReferencedByWFNode);
  };
  auto iri = [this](LNDatabase& target) {
    if (IsPublished()) WriteIriDocument(*this, target);
  };
  return SaveDocument(*this, db,
                      {forms::kGriLeaf, "Saving GRI Leaf", "LeafID", NewId::UniversalId, false},
                      write, iri);
}

bool CExtDirItemEIDMOrg::Save(LNDatabase& db) {
  const bool saved = SaveDocument(
      *this, db,
      {forms::kExtOrganization, "Saving EIDM Organization", "ExtOrgID", NewId::UniversalId, false},
      [this](LNDocument& d) {
        SetFieldContent("ExtOrganization", ExtOrganization, d);
        SetFieldContent("ExtOrgReader", ExtOrgReader, d);
        SetFieldListContent("ExtOrgResponsible", d, ExtOrgResponsible);
      });
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
  const bool saved = SaveDocument(
      *this, db, {forms::kExtClusterSpec, "Saving EIDM", "ExtClusterID", NewId::UniversalId, false},
      [this](LNDocument& d) {
        SetFieldContent("ExtClusterName", ExtClusterName, d);
        SetFieldContent("ExtClusterGoal", ExtClusterGoal, d);
        SetFieldContent("ExtClusterInput", ExtClusterInput, d);
        SetFieldContent("ExtClusterOutput", ExtClusterOutput, d);
        SetFieldContent("ExtClusterFormat", ExtClusterFormat, d);
        SetFieldContent("ExtClusterStatus", EidmStateToWord(ExtClusterStatus), d);
        SetFieldIntContent("ExtClusterVersion", ExtClusterVersion, d);
        SetFieldContent("MasterWorkflowID", MasterWorkflowID, d);
        SetFieldContent("MasterEngineAddress", MasterEngineAddress, d);
        SetFieldContent("MasterTrackingAddress", MasterTrackingAddress, d);
        SetFieldContent("ExtClusterRequiredDate", ExtClusterRequiredDate, d);
        SetFieldNumberContent("ExtClusterExpectedDuration", ExtClusterExpectedDuration, d);
        SetFieldContent("ExtClusterExpectedDurationUnit",
                        DurationUnitToWord(ExtClusterExpectedDurationUnit), d);
        SetFieldListContent("ExtClusterResponsible", d, ExtClusterResponsible);
        SetFieldReadersContent("$Readers", d, Readers);
        SetFieldContent("MasterOrg", MasterOrg, d);
        SetFieldContent("ExtClusterOrg", ExtClusterOrg, d);
        SetFieldContent("ExtClusterDesigner", ExtClusterDesigner, d);
        SetFieldContent("ExtClusterAppID", ExtClusterAppID, d);
        SetFieldContent("ExtClusterMail", ExtClusterMail, d);
        SetFieldContent("ExtClusterWorkflowID", ExtClusterWorkflowID, d);
        SetFieldContent("ExtClusterStartDate", ExtClusterStartDate, d);
        SetFieldNumberContent("ExtClusterConfirmedDuration", ExtClusterConfirmedDuration, d);
        SetFieldContent("ExtClusterConfirmedDurationUnit",
                        DurationUnitToWord(ExtClusterConfirmedDurationUnit), d);
      });
  if (saved) ExtClusterID = ID;
  return saved;
}

bool CExtDirItemCM::Save(LNDatabase& db) {
  return SaveDocument(*this, db,
                      {forms::kContentManagement, "Saving Content Management",
                       "ContentManagementID", NewId::NoteId, true},
                      [this](LNDocument& d) {
                        SetFieldContent("ContentManagementName", ContentManagementName, d);
                        SetFieldContent("FreeText", FreeText, d);
                        SetFieldListContent("ContentManagement", d, ContentManagement);
                      });
}

}  // namespace velk
