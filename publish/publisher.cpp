#include "publish/publisher.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <stdexcept>

#include <nlohmann/json.hpp>

#include "dialogs/workflowchooser.h"
#include "model/node.h"
#include "model/workflowdoc.h"
#include "publish/catalogue.h"
#include "publish/sitefiles.h"
#include "publish/sitetemplates.h"
#include "publish/sitetexts.h"
#include "publish/workflowpage.h"
#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, std::string_view content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string() + ": " + std::strerror(errno));
}

// The listed versions: the chooser's tree over the headers of the chosen
// statuses, each version with the file of its page.
struct Listing {
  std::vector<WorkflowHeaderEntry> headers;
  std::vector<ChooserCategory> tree;
  std::vector<std::string> pages;  // by header
};

Listing ListVersions(const std::vector<WorkflowHeaderEntry>& all,
                     const std::vector<int>& statuses) {
  Listing listing;
  for (const WorkflowHeaderEntry& h : all)
    if (statuses.empty() || std::ranges::find(statuses, h.status) != statuses.end())
      listing.headers.push_back(h);
  listing.tree = BuildChooserTree(listing.headers, ChooserFilter::All);
  listing.pages.resize(listing.headers.size());
  std::set<std::string> taken;
  for (const ChooserCategory& category : listing.tree)
    for (const ChooserVersion& v : category.versions) {
      const std::string stem =
          "wf-" + SafeFilePart(listing.headers[v.header].workflowId, std::to_string(v.header));
      std::string page = stem + ".html";
      for (int n = 2; !taken.insert(page).second; ++n)
        page = stem + "-" + std::to_string(n) + ".html";
      listing.pages[v.header] = page;
    }
  return listing;
}

// An ICDR or CDDR task's workflow: the one it names by id, else the highest
// listed version of the name its creation gave it.
std::string SubWorkflowPage(const Listing& listing, const CNode& node) {
  const WorkflowHeaderEntry* best = nullptr;
  std::string bestPage;
  const std::string name =
      std::string(node.Kind() == NodeKind::ICDR ? "ICDR: " : "CDDR: ") + node.Name();
  for (std::size_t i = 0; i < listing.headers.size(); ++i) {
    const WorkflowHeaderEntry& h = listing.headers[i];
    if (listing.pages[i].empty()) continue;
    if (!node.SubWorkflowId().empty() && h.workflowId == node.SubWorkflowId())
      return listing.pages[i];
    if (h.type == name && (!best || h.version >= best->version)) {
      best = &h;
      bestPage = listing.pages[i];
    }
  }
  return bestPage;
}

void WriteAssets(const fs::path& out, const PublishTools& tools) {
  fs::create_directories(out / "assets");
  for (const SiteFile& file : SiteFiles())
    if (file.name.starts_with("assets/")) WriteFile(out / std::string(file.name), file.text);
  for (int i = 0; i < kNodePictureCount; ++i) {
    WriteFile(out / "assets" / ("node-" + std::to_string(i) + ".png"), tools.picturePng(i, false));
    WriteFile(out / "assets" / ("node-" + std::to_string(i) + "-selected.png"),
              tools.picturePng(i, true));
  }
}

void WriteSearchIndex(const fs::path& out, const std::vector<SearchEntry>& entries) {
  nlohmann::json index = nlohmann::json::array();
  for (const SearchEntry& e : entries)
    index.push_back({e.task, e.performer, e.forms, e.workflow, e.level, e.href});
  // A script, not a data file: browsers do not let a page read files next to
  // it when it is opened from disk.
  WriteFile(out / "assets" / "search-index.js",
            "window.VELK_SEARCH = " +
                index.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + ";\n");
}

void SetSiteValues(PageDictionary& dict, const std::string& siteTitle) {
  dict.SetTemplateGlobalValue("SITE_TITLE", siteTitle);
  Include(dict, "HEAD", "head.tpl");
  Include(dict, "HEADER", "header.tpl");
}

struct IndexRow {
  std::string supervisor;
  bool published = false;
};

void FillIndex(PageDictionary& dict, const Listing& listing, const std::vector<IndexRow>& rows,
               const PublishSource& source) {
  dict.SetValue("DATABASE", source.title);
  dict.SetValue("PUBLISHED", TodayText());
  if (listing.tree.empty()) dict.ShowSection("NO_WORKFLOWS");
  for (const ChooserCategory& category : listing.tree) {
    PageDictionary* c = dict.AddSectionDictionary("CATEGORY");
    c->SetValue("NAME", category.name);
    // A workflow's versions stand together, lowest first: the last is current.
    for (std::size_t i = 0; i < category.versions.size(); ++i) {
      const ChooserVersion& v = category.versions[i];
      const WorkflowHeaderEntry& h = listing.headers[v.header];
      const bool last = i + 1 == category.versions.size() ||
                        listing.headers[category.versions[i + 1].header].type != h.type;
      if (!last) continue;
      PageDictionary* w = c->AddSectionDictionary("WORKFLOW");
      PageDictionary* name =
          w->AddSectionDictionary(rows[v.header].published ? "LINKED" : "UNLINKED");
      name->SetValue("PAGE", listing.pages[v.header]);
      name->SetValue("TEXT", v.text);
      w->SetValue("STATUS", WorkflowStatusToWord(h.status));
      w->SetValue("SUPERVISOR", rows[v.header].supervisor);
      auto change = source.lastChanges.find(h.workflowId);
      w->SetValue("LAST_CHANGE", change == source.lastChanges.end() ? "" : change->second);
      for (std::size_t j = i;
           j-- > 0 && listing.headers[category.versions[j].header].type == h.type;) {
        const ChooserVersion& older = category.versions[j];
        if (!rows[older.header].published) continue;
        PageDictionary* o = w->AddSectionDictionary("OTHER");
        o->SetValue("PAGE", listing.pages[older.header]);
        o->SetValue("TEXT", older.text);
      }
    }
  }
}

}  // namespace

PublishResult PublishSite(const PublishSource& source, const std::vector<int>& statuses,
                          const std::string& outDir, const PublishTools& tools) {
  const fs::path out(outDir);
  std::error_code error;
  fs::create_directories(out, error);
  if (error) throw std::runtime_error("cannot make the folder " + outDir + ": " + error.message());
  const SiteTemplates templates;
  const std::string siteTitle = source.title.empty() ? "Workflows" : source.title;
  WriteAssets(out, tools);

  // The catalogue first: it reads the leafs that tasks refer to.
  PageDictionary catalogue("extdir");
  SetSiteValues(catalogue, siteTitle);
  FillCataloguePage(catalogue, source.directory, source.directoryProblem);
  WriteFile(out / "extdir.html", templates.Expand("extdir.html.tpl", catalogue));

  const Listing listing = ListVersions(source.headers, statuses);
  const WorkflowLinks links{
      [&listing](const CNode& node) { return SubWorkflowPage(listing, node); },
      [&source](const std::string& id) { return CatalogueEntry(source.directory, id); }};
  PublishResult result;
  std::vector<IndexRow> rows(listing.headers.size());
  std::vector<SearchEntry> search;
  for (std::size_t i = 0; i < listing.headers.size(); ++i) {
    if (listing.pages[i].empty()) continue;  // not listed by the chooser either
    const std::unique_ptr<CWorkflowDoc> doc = source.load(listing.headers[i]);
    if (!doc) {
      result.failed.push_back(HeaderDisplayText(listing.headers[i]));
      continue;
    }
    const auto change = source.lastChanges.find(listing.headers[i].workflowId);
    PageDictionary dict("workflow");
    SetSiteValues(dict, siteTitle);
    FillWorkflowPage(dict, *doc, listing.pages[i],
                     change == source.lastChanges.end() ? "" : change->second, tools.font, links,
                     search);
    WriteFile(out / listing.pages[i], templates.Expand("workflow.html.tpl", dict));
    rows[i] = {doc->Header().supervisor, true};
    ++result.pages;
  }
  PageDictionary index("index");
  SetSiteValues(index, siteTitle);
  FillIndex(index, listing, rows, source);
  WriteFile(out / "index.html", templates.Expand("index.html.tpl", index));
  WriteSearchIndex(out, search);
  return result;
}

std::map<std::string, std::string> ReadLastChanges(Services& services, LNDatabase& procdef) {
  std::map<std::string, std::string> changes;
  LNReadSnapshot snapshot(procdef);
  LNViewFolder view;
  procdef.GetViewFolder(views::kHeaderById, &view);
  view.Open(LNVFOPEN_READ_DOCUMENTS);
  auto read = [&changes, &services](LNDocument& doc) {
    std::vector<std::string> when, who;
    if (doc.HasItem("LastModify")) GetFieldListContent(services, "LastModify", doc, when);
    if (doc.HasItem("User")) GetFieldListContent(services, "User", doc, who);
    std::string text = when.empty() ? "" : when.back();
    if (!who.empty()) text += (text.empty() ? "" : " by ") + who.back();
    changes[GetFieldContent(services, "WorkflowID", doc)] = text;
    return true;
  };
  if (view.GetEntryCount() > 0) ViewWalk(view).Documents(read);
  view.Close();
  return changes;
}

}  // namespace velk
