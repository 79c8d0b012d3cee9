// Leafs are read on demand: those of one header, or one by its id (ReadLeaf, with the
// other document readers, is in extdirload.cpp).

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

#include "common/services.h"
#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "extdir/extdirtexts.h"
#include "repository/fieldaccess.h"
#include "repository/noteserror.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"

namespace velk {

namespace {

std::string Quoted(const char* before, const std::string& id, const char* after) {
  return before + id + after;
}

bool IsGone(LNSTATUS status) {
  return status == LNERR_DOCUMENT_NOT_FOUND || status == LNERR_DOCUMENT_DELETED;
}

void ReportNoLeafs(Services& services, const std::string& headerId) {
  Report(services, kExtDirLoadCategory, "GRI Leafs",
         Quoted("Loading GRI-Leafs of Header \"", headerId,
                "\" was unsuccessful, because no leafs were found in the view "
                "(Modeler\\GRILeafs)."),
         Severity::Notice);
}

void ReportLeafFailure(Services& services, const LNStatusError& e) {
  ReportStoreFailure(services, kExtDirLoadCategory, "GRI Leafs: Reading Document", e,
                     extdirtexts::kLeafDocument);
}

}  // namespace

// The leaf view stays open between double-clicks: opening it sorts every leaf of
// the database, many times the work of reading one header's leafs. It shows the
// store as of its opening; our own saves, a refresh and closing the window drop
// it, and a leaf that has gone meanwhile makes it open afresh.
void CExtDirData::PrepareLeafs() {
  OpenLeafView(true);
}

CExtDirData::LeafView* CExtDirData::OpenLeafView(bool quiet) {
  namespace t = extdirtexts;
  if (leafView_) return leafView_.get();
  auto opened = std::make_unique<LeafView>();
  try {
    OpenDatabase(opened->db);
    opened->db.SetThrowAllErrors(true);  // every reader of the leaf view takes failures as thrown
  } catch (const LNStatusError& e) {
    if (quiet) return nullptr;
    ReportStoreFailure(services_, kExtDirLoadCategory, "GRI Leafs: Opening database", e,
                       t::kReopenFailText);
    return nullptr;
  }
  try {
    opened->db.GetViewFolder(views::kGriLeaf, &opened->view);
    opened->view.Open();
  } catch (const LNStatusError& e) {
    if (quiet) return nullptr;
    ReportStoreFailure(services_, kExtDirLoadCategory, "GRI Leafs: Opening view (Modeler\\GRILeaf)",
                       e, t::kLeafViewMissing);
    return nullptr;
  }
  leafView_ = std::move(opened);
  return leafView_.get();
}

void CExtDirData::ForgetLeafView() {
  leafView_.reset();
}

bool CExtDirData::LoadLeafsOfHeader(const std::string& headerId) {
  return LoadLeafsOfHeaders({headerId});
}

bool CExtDirData::LoadLeafsOfHeaders(const std::vector<std::string>& headerIds,
                                     std::vector<CExtDirItemGRILeaf*>* leafs) {
  StatusScope status(services_, "Reading GRI Leaf Documents");
  LeafRead read;
  if (headerIds.size() > 1) {  // many headers: one scan
    LeafView* view = OpenLeafView();
    if (!view) return false;
    ReadLeafsOfHeaders(*view, headerIds, read);
  }
  for (int attempt = 0; attempt < 2 && headerIds.size() == 1; ++attempt) {
    LeafView* view = OpenLeafView();
    if (!view) return false;
    LNReadSnapshot snapshot(view->db);
    bool gone = false;
    read.seen.clear();
    ReadLeafsOfHeader(*view, headerIds.front(), read, gone);
    if (!gone) break;
    ForgetLeafView();
  }
  Report(services_, kExtDirLoadCategory, "GRI Leafs", extdirtexts::kLeafsLoaded, Severity::Success);
  if (leafs) *leafs = std::move(read.leafs);
  return true;
}

void CExtDirData::AddReadLeaf(std::unique_ptr<CExtDirItemGRILeaf> leaf, LeafRead& read) {
  if (leaf->ID.empty()) {
    read.leafs.push_back(&static_cast<CExtDirItemGRILeaf&>(Append(std::move(leaf))));
    return;
  }
  const bool again = !read.seen.insert(leaf->ID).second;
  CExtDirItem* listed = FindItemById(leaf->ID);
  auto* listedLeaf = dynamic_cast<CExtDirItemGRILeaf*>(listed);
  // Its own document read before (by id, or the header read once more) adds nothing.
  if (!again && listedLeaf && listedLeaf->HeaderID == leaf->HeaderID) {
    read.leafs.push_back(listedLeaf);
    return;
  }
  if (!again && !listed) {
    read.leafs.push_back(&static_cast<CExtDirItemGRILeaf&>(Append(std::move(leaf))));
    return;
  }
  Report(services_, kExtDirLoadCategory, "GRI Leafs: Reading Document",
         "The GRI-Leaf \"" + leaf->LeafName +
             "\" is not shown, because another document of the External Directory has its "
             "LeafID \"" +
             leaf->ID + "\". Please inform your database administrator!",
         Severity::Error);
}

// Stops at a leaf of the kept view that is no longer stored (`gone`): the view
// is out of date.
void CExtDirData::ReadLeafsOfHeader(LeafView& leafs, const std::string& headerId, LeafRead& read,
                                    bool& gone) {
  ViewWalk matches(leafs.view, headerId);
  if (matches.Empty()) {
    ReportNoLeafs(services_, headerId);
    return;
  }
  auto readLeaf = [&](const LNVFEntry& entry) {
    try {
      LNDocument doc;
      entry.GetDocument(&doc);
      doc.Open(0);
      std::unique_ptr<CExtDirItemGRILeaf> leaf = ReadLeaf(*this, doc);
      doc.Close();
      AddReadLeaf(std::move(leaf), read);
    } catch (const LNStatusError& e) {
      if (IsGone(e.GetStatus()) && !gone) {
        gone = true;
        return false;
      }
      ReportLeafFailure(services_, e);
    }
    return true;
  };
  matches.Entries(readLeaf, [this](const LNStatusError& e) {
    ShowNotesError(services_, "The ViewFolder in extdir database cannot be opened properly.",
                   e);
  });
}

// The leaf documents are taken apart as the scan hands them over, not held for a
// walk of the view; a header's leafs keep the view's order (by note id).
void CExtDirData::ReadLeafsOfHeaders(LeafView& leafs, const std::vector<std::string>& headerIds,
                                     LeafRead& read) {
  using Read = std::pair<LNNOTEID, std::unique_ptr<CExtDirItemGRILeaf>>;
  std::unordered_map<std::string, std::vector<Read>> byHeader;
  for (const std::string& headerId : headerIds) byHeader[headerId];
  try {
    leafs.view.ReadEachDocument([&](LNDocument& doc) {
      try {
        std::unique_ptr<CExtDirItemGRILeaf> leaf = ReadLeaf(*this, doc);
        if (auto header = byHeader.find(leaf->HeaderID); header != byHeader.end())
          header->second.emplace_back(doc.GetNoteID(), std::move(leaf));
      } catch (const LNStatusError& e) {
        ReportLeafFailure(services_, e);
      }
    });
  } catch (const LNStatusError& e) {
    ReportLeafFailure(services_, e);
  }
  for (const std::string& headerId : headerIds) {
    auto header = byHeader.find(headerId);
    if (header == byHeader.end()) continue;  // asked for twice
    std::vector<Read>& found = header->second;
    if (found.empty()) ReportNoLeafs(services_, headerId);
    std::sort(found.begin(), found.end(),
              [](const Read& a, const Read& b) { return a.first < b.first; });
    for (auto& [id, leaf] : found) AddReadLeaf(std::move(leaf), read);
    byHeader.erase(header);
  }
}

CExtDirItemGRILeaf* CExtDirData::LoadLeafById(const std::string& leafId) {
  namespace t = extdirtexts;
  if (CExtDirItem* known = FindItemById(leafId)) return dynamic_cast<CExtDirItemGRILeaf*>(known);
  if (leafId.empty()) return nullptr;
  StatusScope status(services_, "Reading GRI Leaf Documents");
  LNDatabase db;
  const char* title = "Opening database";
  const char* text = t::kReopenFailText;
  try {
    OpenDatabase(db);
    LNThrowAllErrorsScope throwing(db, true);
    title = "Opening view (Modeler\\GRILeafID)";
    text = t::kLeafIdViewMissing;
    LNViewFolder view;
    db.GetViewFolder(views::kGriLeafId, &view);
    view.Open();
    ViewWalk matches(view, leafId, ViewWalk::Categories::Visit);
    if (matches.Empty()) {
      Report(services_, kExtDirLoadCategory, "Loading GRI-Leafs",
             Quoted("Loading GRI-Leaf \"", leafId,
                    "\" was unsuccessful, because no leaf was found in the view "
                    "(Modeler\\GRILeafID)."),
             Severity::Notice);
      return nullptr;
    }
    title = "GRI Leafs: Loading Document";
    text = t::kLeafDocument;
    CExtDirItemGRILeaf* leaf = nullptr;
    matches.Documents([&](LNDocument& doc) {  // the first
      leaf = &static_cast<CExtDirItemGRILeaf&>(Append(ReadLeaf(*this, doc)));
      return false;
    });
    Report(services_, kExtDirLoadCategory, "GRI Leafs", t::kLeafsLoaded, Severity::Success);
    return leaf;
  } catch (const LNStatusError& e) {
    ReportStoreFailure(services_, kExtDirLoadCategory, title, e, text);
    return nullptr;
  }
}

}  // namespace velk
