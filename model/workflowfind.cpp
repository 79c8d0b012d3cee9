#include "model/workflowfind.h"

#include <algorithm>
#include <cctype>

#include "model/arrow.h"
#include "model/clusterlevels.h"
#include "model/node.h"
#include "model/workflowdoc.h"

namespace velk {

namespace {

void FoldInto(std::string_view text, std::string& out) {
  out.reserve(out.size() + text.size());
  for (char c : text) out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// A form is stored as "Title|Form name"; the title is what the designer reads.
std::string_view FormTitle(std::string_view form) {
  return form.substr(0, form.find('|'));
}

}  // namespace

const char* FoundInWord(FoundIn in) {
  switch (in) {
    case FoundIn::Performer:
      return "performer";
    case FoundIn::Form:
      return "form";
    case FoundIn::Resource:
      return "resource";
    case FoundIn::Description:
      return "description";
    case FoundIn::Condition:
      return "condition";
    case FoundIn::Name:
      break;
  }
  return "name";
}

std::string DescribeResult(const FindResult& r) {
  std::string text = r.level.empty() ? "" : r.level + ": ";
  if (r.arrow)
    text += "arrow '" + r.arrow->Source()->Name() + "' -> '" + r.arrow->Target()->Name() + "'";
  else
    text += std::string(r.node->IsClusterNode() ? "cluster" : "task") + " '" + r.node->Name() + "'";
  return text + " (" + FoundInWord(r.in) + ")";
}

WorkflowFindIndex::WorkflowFindIndex(const CWorkflowDoc& doc) {
  const CWorkflowDoc& top = doc.Top();
  const LevelNames levels(top);
  for (const CNode* node : top.AllNodes()) {
    const NodeAttributes& a = node->Attributes();
    FindResult r{node, nullptr, levels.Of(*node), FoundIn::Name};
    Add(a.name, r);
    r.in = FoundIn::Performer;
    Add(a.member, r);
    r.in = FoundIn::Form;
    for (const std::string& form : a.objects) Add(FormTitle(form), r);
    r.in = FoundIn::Resource;
    for (const std::string& resource : a.resources) Add(resource, r);
    r.in = FoundIn::Description;
    Add(a.freeText, r);
    for (const CArrow* arrow : node->OutgoingArrows()) {
      FindResult ar{node, arrow, r.level, FoundIn::Condition};
      Add(arrow->Condition(), ar);
      Add(arrow->Formula(), ar);
    }
  }
}

void WorkflowFindIndex::Add(std::string_view text, const FindResult& result) {
  if (text.empty()) return;
  // One entry per element and kind of text: the texts of a list are kept together.
  if (!entries_.empty()) {
    Entry& last = entries_.back();
    if (last.result.node == result.node && last.result.arrow == result.arrow &&
        last.result.in == result.in) {
      last.folded += '\n';
      FoldInto(text, last.folded);
      return;
    }
  }
  Entry& entry = entries_.emplace_back();
  FoldInto(text, entry.folded);
  entry.result = result;
}

std::vector<FindResult> WorkflowFindIndex::Find(std::string_view text) const {
  std::vector<FindResult> found;
  if (text.empty()) return found;
  std::string needle;
  FoldInto(text, needle);
  for (const Entry& entry : entries_)
    if (entry.folded.find(needle) != std::string::npos) found.push_back(entry.result);
  return found;
}

}  // namespace velk
