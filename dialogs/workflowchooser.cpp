#include "dialogs/workflowchooser.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <numeric>

#include "common/services.h"
#include "model/workflowdoc.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

constexpr int kNormal = 0;
constexpr int kIcdr = 1;
constexpr int kCddr = 2;

void AddVersion(std::vector<ChooserCategory>& tree, const std::string& category,
                ChooserVersion version) {
  auto it = std::ranges::find(tree, category, &ChooserCategory::name);
  if (it == tree.end()) it = tree.insert(tree.end(), ChooserCategory{category, {}});
  it->versions.push_back(std::move(version));
}

// Puts the versions of one workflow together where its name first occurs,
// lowest version first; `place` gives an item's place in `headers`.
template <class Item, class Place>
void SortVersions(std::vector<Item>& items, const std::vector<WorkflowHeaderEntry>& headers,
                  Place place) {
  std::map<std::string, std::size_t> firstSeen;
  for (std::size_t i = 0; i < items.size(); ++i)
    firstSeen.emplace(headers[place(items[i])].type, i);
  std::ranges::stable_sort(items, {}, [&](const Item& item) {
    const WorkflowHeaderEntry& h = headers[place(item)];
    return std::pair(firstSeen.at(h.type), h.version);
  });
}

}  // namespace

std::vector<std::size_t> VersionOrder(const std::vector<WorkflowHeaderEntry>& headers) {
  std::vector<std::size_t> order(headers.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  SortVersions(order, headers, [](std::size_t i) { return i; });
  return order;
}

std::string HeaderDisplayText(const WorkflowHeaderEntry& header) {
  const std::string status = WorkflowStatusToWord(header.status);
  std::vector<char> text(header.type.size() + status.size() + 64);
  std::snprintf(text.data(), text.size(), "%s (Version %3.1f) (%s)", header.type.c_str(),
                static_cast<double>(header.version), status.c_str());
  return text.data();
}

const WorkflowHeaderEntry* FindByDisplayText(const std::vector<WorkflowHeaderEntry>& headers,
                                             const std::string& text) {
  for (const WorkflowHeaderEntry& h : headers)
    if (HeaderDisplayText(h) == text) return &h;
  return nullptr;
}

const std::vector<std::string>& ChooserFilterTexts() {
  static const std::vector<std::string> texts = {"Show all workflows",
                                                 "Show design",
                                                 "Show active",
                                                 "Show freeze",
                                                 "Show template",
                                                 "Show testing",
                                                 "Show subworkflows with ICDR/CDDR"};
  return texts;
}

std::vector<ChooserCategory> BuildChooserTree(const std::vector<WorkflowHeaderEntry>& headers,
                                              ChooserFilter filter) {
  const int f = static_cast<int>(filter);
  std::vector<ChooserCategory> tree;
  for (std::size_t i = 0; i < headers.size(); ++i) {
    const WorkflowHeaderEntry& h = headers[i];
    if (h.wfType == kNormal && (f == 0 || f == h.status + 1)) {
      AddVersion(tree, h.category.empty() ? kNotCategorized : h.category,
                 {HeaderDisplayText(h), h.status + 2, i});
    } else if ((h.wfType == kIcdr || h.wfType == kCddr) &&
               (filter == ChooserFilter::All || filter == ChooserFilter::SubWorkflows)) {
      AddVersion(tree, kSubWorkflowCategory, {HeaderDisplayText(h), h.wfType == kIcdr ? 5 : 6, i});
    }
  }
  for (ChooserCategory& category : tree)
    SortVersions(category.versions, headers, [](const ChooserVersion& v) { return v.header; });
  return tree;
}

// ---- Load workflow ----

LoadWorkflowChooser::LoadWorkflowChooser(CProcessDefDb& repository) : repository_(repository) {}

void LoadWorkflowChooser::Open() {
  filter_ = ChooserFilter::All;
  repository_.ReadHeaders(true);
  tree_ = BuildChooserTree(repository_.Headers(), filter_);
}

void LoadWorkflowChooser::SetFilter(ChooserFilter filter) {
  filter_ = filter;
  tree_ = BuildChooserTree(repository_.Headers(), filter_);
}

std::string LoadWorkflowChooser::DatabaseName() const {
  return repository_.HeaderLocation().fileName;
}

LoadWorkflowChooser::Outcome LoadWorkflowChooser::Accept(
    const std::optional<std::string>& versionText, WorkflowHeaderEntry& chosen) {
  if (!versionText) {
    repository_.UserInterface().messageBox(kNoWorkflowSelectedText, MsgIcon::Exclamation,
                                           MsgButtons::Ok);
    return Outcome::NothingChosen;
  }
  repository_.ReadHeaders(true);
  if (const WorkflowHeaderEntry* h = FindByDisplayText(repository_.Headers(), *versionText)) {
    chosen = *h;
    return Outcome::Chosen;
  }
  tree_ = BuildChooserTree(repository_.Headers(), filter_);
  return Outcome::Gone;
}

// ---- Save Workflow as ----

SaveWorkflowAsChooser::SaveWorkflowAsChooser(Services& services, CWorkflowDoc* doc)
    : services_(services), doc_(doc) {}

bool SaveWorkflowAsChooser::Open() {
  if (!doc_) {
    services_.messageBox(kWorkflowPointerNotSetText, MsgIcon::Exclamation, MsgButtons::Ok);
    return false;
  }
  repository_ = doc_->Databases().processDefinitions.repository;
  entries_.clear();
  if (repository_) {
    repository_->ReadHeaders(true);
    const std::vector<WorkflowHeaderEntry>& headers = repository_->Headers();
    for (std::size_t i : VersionOrder(headers))
      entries_.push_back(
          {HeaderDisplayText(headers[i]), headers[i].status <= 2 ? headers[i].status : -1});
  }
  name_ = doc_->Header().name;
  return true;
}

std::string SaveWorkflowAsChooser::DatabaseName() const {
  return repository_ ? repository_->HeaderLocation().fileName : std::string();
}

void SaveWorkflowAsChooser::Select(std::size_t index) {
  if (!repository_ || index >= entries_.size()) return;
  if (const WorkflowHeaderEntry* h =
          FindByDisplayText(repository_->Headers(), entries_[index].text))
    name_ = h->type;
}

void SaveWorkflowAsChooser::Accept() {
  if (!doc_) return;
  WorkflowHeader h = doc_->Header();
  h.name = name_;
  doc_->SetHeader(h);
}

}  // namespace velk
