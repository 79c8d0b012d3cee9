// Loading the sections of an External Directory Database.

#include <algorithm>
#include <cstdio>

#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirrecords.h"
#include "extdir/extdirsection.h"
#include "extdir/extdirtexts.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/identity.h"
#include "repository/store/lnnotes.h"

namespace velk {

namespace {

std::string Format(const char* pattern, const std::string& value) {
  std::string text(std::snprintf(nullptr, 0, pattern, value.c_str()), '\0');
  std::snprintf(text.data(), text.size() + 1, pattern, value.c_str());
  return text;
}

// The item's ID from its key item, then its stored fields.
template <class Item>
void ReadItem(Services& services, Item& item, LNDocument& d) {
  item.ID = GetFieldContent(services, StoredDocumentOf(item.Kind())->keyItem, d);
  ReadFields(services, item, d);
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
  ReadItem(data.UserInterface(), l, d);
  const std::size_t slash = l.LeafName.rfind('/');
  l.displayName = slash == std::string::npos ? l.LeafName : l.LeafName.substr(slash + 1);
  return leaf;
}

void CExtDirData::ReadContentBlocks(LNDatabase& db, const char* category) {
  ReadExtDirSection(services_, db, category, extdirtexts::kContentBlocks, [this](LNDocument& d) {
    ReadFields(services_, contentBlocks_.emplace_back(), d);
  });
}

void CExtDirData::ReadContentManagement(LNDatabase& db, const char* category) {
  ReadExtDirSection(
      services_, db, category, extdirtexts::kContentManagement,
      [this](LNDocument& d) { ReadItem(services_, Loaded(Append<CExtDirItemCM>()), d); });
}

void CExtDirData::ReadDocumentTypes(LNDatabase& db, const char* category) {
  ReadExtDirSection(services_, db, category, extdirtexts::kDocumentTypes, [this](LNDocument& d) {
    ReadFields(services_, documentTypes_.emplace_back(), d);
  });
}

void CExtDirData::ReadPersons(LNDatabase& db, const char* category) {
  ReadExtDirSection(services_, db, category, extdirtexts::kPersons, [this](LNDocument& d) {
    auto& p = Loaded(Append<CExtDirItemExtRegOrg>());
    ReadFields(services_, p, d);
    p.FullName = LNNotesSession::AbbreviateName(p.FullName);
  });
}

void CExtDirData::ReadEidmRequests(LNDatabase& db, const char* category) {
  std::vector<CExtDirItemEIDM*> read;
  ReadExtDirSection(services_, db, category, extdirtexts::kEidmRequests,
                    [this, &read](LNDocument& d) {
                      auto& request = Loaded(Append<CExtDirItemEIDM>());
                      ReadItem(services_, request, d);
                      request.ExtClusterID = request.ID;
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
  ReadExtDirSection(
      services_, db, category, extdirtexts::kEidmOrganisations, [this](LNDocument& d) {
        auto& byUs = Loaded(Append<CExtDirItemEIDMOrg>());
        byUs.ID = GetFieldContent(services_, StoredDocumentOf(byUs.Kind())->keyItem, d);
        ReadFields(services_, byUs.Fields(), d);
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
  ReadExtDirSection(services_, db, category, extdirtexts::kHeaders,
                    [this, category](LNDocument& d) {
                      auto report = [this, category](const char* pattern, const std::string& name,
                                                     Severity severity) {
                        Report(services_, category, "GRI Header: Reading Document",
                               Format(pattern, name), severity);
                      };
                      auto header = std::make_unique<CExtDirItemGRIProcView>(*this);
                      CExtDirItemGRIProcView& h = Loaded(*header);
                      ReadItem(services_, h, d);
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
                        if (h.OrgName.empty())
                          report(extdirtexts::kPublishedNoOrg, h.ProcViewName, Severity::Notice);
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
