// Leafs are read on demand: those of one header, or one by its id.

#include <cstdio>
#include <unordered_set>

#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirtexts.h"
#include "repository/fieldaccess.h"
#include "repository/noteserror.h"
#include "repository/store/lnnotes.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

std::string Quoted(const char* before, const std::string& id, const char* after) {
  return before + id + after;
}

int Code(void (*parse)(const std::string&, int&), const char* item, LNNote& doc) {
  int code = 0;
  parse(GetFieldContent(item, doc), code);
  return code;
}

std::vector<std::string> List(const char* item, LNNote& doc) {
  std::vector<std::string> list;
  GetFieldListContent(item, doc, list);
  return list;
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
  l.Status = Code(WordToDirectoryEntryStatus, "Status", d);
  l.Version = GetFieldIntContent("Version", d);
  l.Direction = GetFieldContent("Direction", d);
  l.ValidUntil = GetFieldContent("ValidUntil", d);
  l.TrackingAllowed = GetFieldBoolContent("TrackingAllowed", d);
  l.Duration = GetFieldNumberContent("Duration", d);
  l.DurationUnit = Code(WordToDurationUnit, "DurationUnit", d);
  l.PublishTo = Code(WordToPublishingMode, "PublishTo", d);
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

bool CExtDirData::LoadLeafsOfHeader(const std::string& headerId) {
  namespace t = extdirtexts;
  StatusScope status("Reading GRI Leaf Documents");
  LNThrowAllErrorsScope throwing(true);
  LNDatabase db;
  try {
    OpenDatabase(db);
  } catch (const LNStatusError& e) {
    ReportStoreFailure(kExtDirLoadCategory, "GRI Leafs: Opening database", e.GetStatus(),
                       t::kReopenFailText);
    return false;
  }
  LNReadSnapshot snapshot(db);
  LNViewFolder view;
  try {
    db.GetViewFolder(views::kGriLeaf, &view);
    view.Open();
  } catch (const LNStatusError& e) {
    ReportStoreFailure(kExtDirLoadCategory, "GRI Leafs: Opening view (Modeler\\GRILeaf)",
                       e.GetStatus(), t::kLeafViewMissing);
    return false;
  }
  LNVFEntry entry;
  long count = 0;
  if (view.Find(headerId, &entry, &count) != LNNOERROR) {
    Report(kExtDirLoadCategory, "GRI Leafs",
           Quoted("Loading GRI-Leafs of Header \"", headerId,
                  "\" was unsuccessful, because no leafs were found in the view "
                  "(Modeler\\GRILeafs)."),
           Severity::Notice);
    view.Close();
    return true;
  }
  // The ids already listed, so that a header of thousands of leafs is not
  // compared with the whole list once per leaf.
  std::unordered_set<std::string> known;
  for (const auto& item : items_)
    if (!item->ID.empty()) known.insert(item->ID);
  for (long i = 0; i < count; ++i) {
    try {
      if (i > 0) view.Goto(LNVFNAVIGATE_NEXT, &entry);
    } catch (const LNStatusError& e) {
      ShowNotesError("The ViewFolder in extdir database cannot be opened properly.", e.GetStatus());
      continue;
    }
    if (entry.IsCategory()) continue;
    try {
      LNDocument doc;
      entry.GetDocument(&doc);
      doc.Open(0);
      std::unique_ptr<CExtDirItemGRILeaf> leaf = ReadLeaf(*this, doc);
      doc.Close();
      if (known.insert(leaf->ID).second || leaf->ID.empty()) Append(std::move(leaf));
    } catch (const LNStatusError& e) {
      ReportStoreFailure(kExtDirLoadCategory, "GRI Leafs: Reading Document", e.GetStatus(),
                         t::kLeafDocument);
    }
  }
  view.Close();
  Report(kExtDirLoadCategory, "GRI Leafs", t::kLeafsLoaded, Severity::Success);
  return true;
}

CExtDirItemGRILeaf* CExtDirData::LoadLeafById(const std::string& leafId) {
  namespace t = extdirtexts;
  if (CExtDirItem* known = FindItemById(leafId)) return dynamic_cast<CExtDirItemGRILeaf*>(known);
  if (leafId.empty()) return nullptr;
  StatusScope status("Reading GRI Leaf Documents");
  LNThrowAllErrorsScope throwing(true);
  LNDatabase db;
  const char* title = "Opening database";
  const char* text = t::kReopenFailText;
  try {
    OpenDatabase(db);
    title = "Opening view (Modeler\\GRILeafID)";
    text = t::kLeafIdViewMissing;
    LNViewFolder view;
    db.GetViewFolder(views::kGriLeafId, &view);
    view.Open();
    LNVFEntry entry;
    if (view.Find(leafId, &entry) != LNNOERROR) {
      Report(kExtDirLoadCategory, "Loading GRI-Leafs",
             Quoted("Loading GRI-Leaf \"", leafId,
                    "\" was unsuccessful, because no leaf was found in the view "
                    "(Modeler\\GRILeafID)."),
             Severity::Notice);
      return nullptr;
    }
    title = "GRI Leafs: Loading Document";
    text = t::kLeafDocument;
    LNDocument doc;
    entry.GetDocument(&doc);
    doc.Open(0);
    auto& leaf = static_cast<CExtDirItemGRILeaf&>(Append(ReadLeaf(*this, doc)));
    doc.Close();
    Report(kExtDirLoadCategory, "GRI Leafs", t::kLeafsLoaded, Severity::Success);
    return &leaf;
  } catch (const LNStatusError& e) {
    ReportStoreFailure(kExtDirLoadCategory, title, e.GetStatus(), text);
    return nullptr;
  }
}

}  // namespace velk
