// Loading the sections of an External Directory Database.

#include <algorithm>
#include <cstdio>

#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirsection.h"
#include "extdir/extdirtexts.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/identity.h"
#include "repository/store/lnnotes.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

std::vector<std::string> List(const char* item, LNNote& doc) {
  std::vector<std::string> list;
  GetFieldListContent(item, doc, list);
  return list;
}

template <void (*Parse)(const std::string&, int&)>
int Word(const char* item, LNNote& doc) {
  int code = 0;
  Parse(GetFieldContent(item, doc), code);
  return code;
}

std::string Format(const char* pattern, const std::string& value) {
  std::string text(std::snprintf(nullptr, 0, pattern, value.c_str()), '\0');
  std::snprintf(text.data(), text.size() + 1, pattern, value.c_str());
  return text;
}

void ReadEidmFields(CExtDirItemEIDM& r, LNDocument& d) {
  r.ExtClusterName = GetFieldContent("ExtClusterName", d);
  r.ExtClusterGoal = GetFieldContent("ExtClusterGoal", d);
  r.ExtClusterInput = GetFieldContent("ExtClusterInput", d);
  r.ExtClusterOutput = GetFieldContent("ExtClusterOutput", d);
  r.ExtClusterID = GetFieldContent("ExtClusterID", d);
  r.ID = r.ExtClusterID;
  r.ExtClusterFormat = GetFieldContent("ExtClusterFormat", d);
  r.ExtClusterStatus = Word<WordToEidmState>("ExtClusterStatus", d);
  r.ExtClusterVersion = GetFieldIntContent("ExtClusterVersion", d);
  r.MasterWorkflowID = GetFieldContent("MasterWorkflowID", d);
  r.MasterEngineAddress = GetFieldContent("MasterEngineAddress", d);
  r.MasterTrackingAddress = GetFieldContent("MasterTrackingAddress", d);
  r.ExtClusterRequiredDate = GetFieldContent("ExtClusterRequiredDate", d);
  r.ExtClusterExpectedDuration = GetFieldNumberContent("ExtClusterExpectedDuration", d);
  r.ExtClusterExpectedDurationUnit = Word<WordToDurationUnit>("ExtClusterExpectedDurationUnit", d);
  r.ExtClusterDesigner = GetFieldContent("ExtClusterDesigner", d);
  r.ExtClusterAppID = GetFieldContent("ExtClusterAppID", d);
  r.ExtClusterMail = GetFieldContent("ExtClusterMail", d);
  r.ExtClusterWorkflowID = GetFieldContent("ExtClusterWorkflowID", d);
  r.ExtClusterStartDate = GetFieldContent("ExtClusterStartDate", d);
  r.ExtClusterConfirmedDuration = GetFieldNumberContent("ExtClusterConfirmedDuration", d);
  r.ExtClusterConfirmedDurationUnit =
      Word<WordToDurationUnit>("ExtClusterConfirmedDurationUnit", d);
  r.Readers = List("$Readers", d);
  r.ExtClusterResponsible = List("ExtClusterResponsible", d);
  r.MasterOrg = GetFieldContent("MasterOrg", d);
  r.ExtClusterOrg = GetFieldContent("ExtClusterOrg", d);
}

// Loaded items have a document and no changes.
template <class Item>
Item& Loaded(Item& item) {
  item.isNew = false;
  item.modified = false;
  item.deleted = false;
  return item;
}

}  // namespace

std::unique_ptr<CExtDirItemGRILeaf> ReadLeaf(CExtDirData& data, LNDocument& d) {
  auto leaf = std::make_unique<CExtDirItemGRILeaf>(data);
  CExtDirItemGRILeaf& l = *leaf;
  l.isNew = false;
  l.ID = GetFieldContent("LeafID", d);
  l.LeafName = GetFieldContent("LeafName", d);
  const std::size_t slash = l.LeafName.rfind('/');
  l.displayName = slash == std::string::npos ? l.LeafName : l.LeafName.substr(slash + 1);
  l.Description2 = GetFieldContent("Description2", d);
  l.Status = Word<WordToDirectoryEntryStatus>("Status", d);
  l.Version = GetFieldIntContent("Version", d);
  l.Direction = GetFieldContent("Direction", d);
  l.ValidUntil = GetFieldContent("ValidUntil", d);
  l.TrackingAllowed = GetFieldBoolContent("TrackingAllowed", d);
  l.Duration = GetFieldNumberContent("Duration", d);
  l.DurationUnit = Word<WordToDurationUnit>("DurationUnit", d);
  l.PublishTo = Word<WordToPublishingMode>("PublishTo", d);
  l.PublishReader = List("PublishReader", d);
  l.InputFields = SplitFieldEntries(List("InputFields", d));
  l.InputDocTypeID = GetFieldContent("InputDocTypeID", d);
  l.OutputFields = SplitFieldEntries(List("OutputFields", d));
  l.OutputDocTypeID = GetFieldContent("OutputDocTypeID", d);
  l.FormatServer = GetFieldContent("FormatServer", d);
  l.HeaderID = GetFieldContent("HeaderID", d);
  l.ReferencedByWFNode = List("ReferencedByWFNode", d);
  return leaf;
}

void CExtDirData::ReadContentBlocks(LNDatabase& db, const char* category) {
  ReadExtDirSection(db, category, extdirtexts::kContentBlocks, [this](LNDocument& d) {
    ContentBlockRecord& b = contentBlocks_.emplace_back();
    b.Name = GetFieldContent("Name", d);
    b.ContentBlockID = GetFieldContent("ContentBlockID", d);
    b.Status = GetFieldContent("Status", d);
    b.Version = GetFieldIntContent("Version", d);
    b.HaveSubform = GetFieldBoolContent("HaveSubform", d);
    b.Freetext = GetFieldContent("Freetext", d);
    b.ContentFieldList = SplitFieldEntries(List("ContentFieldList", d));
    b.IsInDocumentType = List("IsInDocumentType", d);
  });
}

void CExtDirData::ReadContentManagement(LNDatabase& db, const char* category) {
  ReadExtDirSection(db, category, extdirtexts::kContentManagement, [this](LNDocument& d) {
    auto& cm = Loaded(Append<CExtDirItemCM>());
    cm.ContentManagementName = GetFieldContent("ContentManagementName", d);
    cm.ID = GetFieldContent("ContentManagementID", d);
    cm.FreeText = GetFieldContent("FreeText", d);
    cm.ContentManagement = List("ContentManagement", d);
  });
}

void CExtDirData::ReadDocumentTypes(LNDatabase& db, const char* category) {
  ReadExtDirSection(db, category, extdirtexts::kDocumentTypes, [this](LNDocument& d) {
    DocumentTypeRecord& t = documentTypes_.emplace_back();
    t.Name = GetFieldContent("Name", d);
    t.DocumentTypeID = GetFieldContent("DocumentTypeID", d);
    t.DocumentCategory = GetFieldContent("DocumentCategory", d);
    t.Status = GetFieldContent("Status", d);
    t.Version = GetFieldIntContent("Version", d);
    t.Freetext = GetFieldContent("Freetext", d);
    t.ContentBlockIDList = List("ContentBlockIDList", d);
    t.FreeFieldList = SplitFieldEntries(List("FreeFieldList", d));
  });
}

void CExtDirData::ReadPersons(LNDatabase& db, const char* category) {
  ReadExtDirSection(db, category, extdirtexts::kPersons, [this](LNDocument& d) {
    auto& p = Loaded(Append<CExtDirItemExtRegOrg>());
    p.FullName = LNNotesSession::AbbreviateName(GetFieldContent("FullName", d));
    p.CompanyName = GetFieldContent("CompanyName", d);
    p.Department = GetFieldContent("Department", d);
    p.HTTPPassword = GetFieldContent("HTTPPassword", d);
    p.MailAddress = GetFieldContent("MailAddress", d);
    p.OfficeStreetAddress = GetFieldContent("OfficeStreetAddress", d);
    p.OfficeCity = GetFieldContent("OfficeCity", d);
    p.OfficeState = GetFieldContent("OfficeState", d);
    p.OfficeZIP = GetFieldContent("OfficeZIP", d);
    p.OfficeCountry = GetFieldContent("OfficeCountry", d);
    p.OfficeNumber = GetFieldContent("OfficeNumber", d);
    p.WebSite = GetFieldContent("WebSite", d);
  });
}

void CExtDirData::ReadEidmRequests(LNDatabase& db, const char* category) {
  std::vector<CExtDirItemEIDM*> read;
  ReadExtDirSection(db, category, extdirtexts::kEidmRequests, [this, &read](LNDocument& d) {
    auto& request = Loaded(Append<CExtDirItemEIDM>());
    ReadEidmFields(request, d);
    read.push_back(&request);
  });
  if (read.empty()) return;
  const std::vector<std::string> stored = links_.storedWorkflowIds();
  for (CExtDirItemEIDM* request : read)
    request->orderedByUs =
        request->MasterWorkflowID.empty() ||
        std::find(stored.begin(), stored.end(), request->MasterWorkflowID) != stored.end();
}

void CExtDirData::ReadEidmOrganisations(LNDatabase& db, const char* category) {
  ReadExtDirSection(db, category, extdirtexts::kEidmOrganisations, [this](LNDocument& d) {
    auto& byUs = Loaded(Append<CExtDirItemEIDMOrg>());
    byUs.ExtOrganization = GetFieldContent("ExtOrganization", d);
    byUs.ExtOrgReader = GetFieldContent("ExtOrgReader", d);
    byUs.ExtOrgResponsible = List("ExtOrgResponsible", d);
    byUs.ID = GetFieldContent("ExtOrgID", d);
    byUs.orderedByUs = true;
    auto& byPartners = Loaded(static_cast<CExtDirItemEIDMOrg&>(
        Append(std::make_unique<CExtDirItemEIDMOrg>(*this, byUs))));
    byPartners.ID = byUs.ID;
    byPartners.orderedByUs = false;
    for (CExtDirItemEIDMOrg* twin : {&byUs, &byPartners}) {
      twin->byUsTwin = &byUs;
      twin->byPartnersTwin = &byPartners;
    }
  });
}

void CExtDirData::ReadHeaders(LNDatabase& db, const char* category) {
  ReadExtDirSection(db, category, extdirtexts::kHeaders, [this, category](LNDocument& d) {
    auto report = [category](const char* pattern, const std::string& name, Severity severity) {
      Report(category, "GRI Header: Reading Document", Format(pattern, name), severity);
    };
    auto header = std::make_unique<CExtDirItemGRIProcView>(*this);
    CExtDirItemGRIProcView& h = Loaded(*header);
    h.ID = GetFieldContent("HeaderID", d);
    h.Direction = GetFieldContent("Direction", d);
    h.OrgName = GetFieldContent("OrgName", d);
    h.ProcViewName = GetFieldContent("ProcViewName", d);
    h.GatewayDB = GetFieldContent("GatewayDB", d);
    if (h.ProcViewName.empty()) return;
    if (h.Direction != kPublished && h.Direction != kOffered) {
      report(extdirtexts::kNoDirection, h.ProcViewName, Severity::Notice);
      h.Direction = kPublished;
    }
    if (h.Direction == kPublished) {
      if (h.ID.empty()) {
        report(extdirtexts::kPublishedNoId, h.ProcViewName, Severity::Notice);
        h.ID = FormatNoteId(d.GetNoteID());
      }
      if (h.OrgName.empty()) report(extdirtexts::kPublishedNoOrg, h.ProcViewName, Severity::Notice);
    } else if (h.ID.empty()) {
      report(extdirtexts::kOfferedNoId, h.ProcViewName, Severity::Error);
      return;
    } else if (h.OrgName.empty()) {
      report(extdirtexts::kOfferedNoOrg, h.ProcViewName, Severity::Notice);
    }
    h.leafsLoaded = false;
    Append(std::move(header));
  });
}

}  // namespace velk
