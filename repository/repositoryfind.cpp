#include "repository/repositoryfind.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <utility>

#include "repository/databasetemplates.h"
#include "repository/fieldaccess.h"
#include "repository/store/lnnotes.h"
#include "repository/viewreader.h"
#include "repository/vocabulary.h"

namespace velk {

namespace {

void FoldInto(std::string_view text, std::string& out) {
  for (char c : text) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Every document of a view, in view order; an empty view has none.
void EachDocument(LNDatabase& db, const char* viewName,
                  const std::function<void(LNDocument&)>& visit) {
  LNViewFolder view;
  db.GetViewFolder(viewName, &view);
  view.Open(LNVFOPEN_READ_DOCUMENTS);
  if (view.GetEntryCount() > 0)
    ViewWalk(view).Documents([&visit](LNDocument& doc) {
      visit(doc);
      return true;
    });
  view.Close();
}

}  // namespace

RepositoryFindIndex::RepositoryFindIndex(Services& services, LNDatabase& procdef) {
  // One snapshot: a save in between cannot pair a header with other tasks.
  LNReadSnapshot snapshot(procdef);
  ReadHeaders(services, procdef);
  ReadTasks(services, procdef);
  // Grouped by workflow, so that a workflow's hits come together.
  std::ranges::stable_sort(entries_, {}, [](const Entry& e) { return e.hit.workflow; });
}

void RepositoryFindIndex::ReadHeaders(Services& services, LNDatabase& procdef) {
  EachDocument(procdef, views::kHeaderById, [this, &services](LNDocument& doc) {
    StoredWorkflow w{GetFieldContent(services, "WorkflowID", doc),
                     GetFieldContent(services, "Type", doc),
                     GetFieldIntContent(services, "Version", doc), 0};
    WordToWorkflowStatus(GetFieldContent(services, "Status", doc), w.status);
    workflows_.push_back(std::move(w));
    Add(workflows_.back().name, {workflows_.size() - 1, {}, FoundIn::Name});
  });
}

void RepositoryFindIndex::ReadTasks(Services& services, LNDatabase& procdef) {
  std::map<std::pair<std::string, int>, std::size_t> byVersion;
  for (std::size_t i = 0; i < workflows_.size(); ++i)
    byVersion.emplace(std::pair(workflows_[i].workflowId, workflows_[i].version), i);
  std::vector<std::string> forms;
  EachDocument(procdef, views::kWorkflowStructure, [&](LNDocument& doc) {
    const auto found = byVersion.find(std::pair(GetFieldContent(services, "WorkflowID", doc),
                                                GetFieldIntContent(services, "Version", doc)));
    if (found == byVersion.end()) return;
    const std::string task = GetFieldContent(services, "Task", doc);
    Add(task, {found->second, task, FoundIn::Name});
    Add(GetFieldContent(services, "Member", doc), {found->second, task, FoundIn::Performer});
    forms.clear();
    if (doc.HasItem("Object")) GetFieldListContent(services, "Object", doc, forms);
    for (const std::string& form : forms)
      Add(std::string_view(form).substr(0, form.find('|')), {found->second, task, FoundIn::Form});
  });
}

void RepositoryFindIndex::Add(std::string_view text, RepositoryHit hit) {
  if (text.empty()) return;
  // The forms of one task are one entry: a task is listed once per kind of text.
  if (!entries_.empty()) {
    Entry& last = entries_.back();
    if (last.hit.workflow == hit.workflow && last.hit.in == hit.in && last.hit.task == hit.task &&
        hit.in == FoundIn::Form) {
      last.folded += '\n';
      FoldInto(text, last.folded);
      return;
    }
  }
  Entry& entry = entries_.emplace_back();
  FoldInto(text, entry.folded);
  entry.hit = std::move(hit);
}

std::vector<RepositoryHit> RepositoryFindIndex::Find(std::string_view text) const {
  std::vector<RepositoryHit> found;
  if (text.empty()) return found;
  std::string needle;
  FoldInto(text, needle);
  for (const Entry& entry : entries_)
    if (entry.folded.find(needle) != std::string::npos) found.push_back(entry.hit);
  return found;
}

std::string RepositoryFindIndex::Describe(const RepositoryHit& hit) const {
  const StoredWorkflow& w = workflows_.at(hit.workflow);
  std::string text =
      w.name + " v" + std::to_string(w.version) + " (" + WorkflowStatusToWord(w.status) + ")";
  if (!hit.task.empty()) text += ": task '" + hit.task + "'";
  return text + " (" + FoundInWord(hit.in) + ")";
}

}  // namespace velk
