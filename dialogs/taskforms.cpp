#include "dialogs/taskforms.h"

#include <algorithm>

#include "dialogs/listtexts.h"

namespace velk {

FormsSelection ReadFormsSelection(const NodeAttributes& node, bool onlyPrimary) {
  FormsSelection selection;
  if (!node.objects.empty()) selection.primary = node.objects.front();
  if (onlyPrimary) return selection;
  if (!node.objects.empty())
    selection.secondary.assign(node.objects.begin() + 1, node.objects.end());
  if (!node.folderObjects.empty()) {
    if (node.folderObjects.front() == kAllForms)
      selection.allAdditional = true;
    else
      selection.additional = node.folderObjects;
  }
  return selection;
}

void ApplyFormsSelection(const FormsSelection& selection, NodeAttributes& node) {
  node.objects.clear();
  if (!selection.primary.empty()) node.objects.push_back(selection.primary);
  for (const std::string& form : NonEmpty(selection.secondary)) node.objects.push_back(form);
  if (selection.allAdditional)
    node.folderObjects = {kAllForms};
  else
    node.folderObjects = NonEmpty(selection.additional);
}

std::vector<std::string> PrimaryCandidates(const std::vector<FormRecord>& forms,
                                           const std::vector<std::string>& secondary,
                                           const std::vector<std::string>& additional) {
  std::vector<std::string> names;
  for (const FormRecord& form : forms)
    if (FindExact(secondary, form.name) < 0 && FindExact(additional, form.name) < 0)
      names.push_back(form.name);
  return names;
}

std::vector<std::string> AddFormsCandidates(const std::vector<std::string>& dropDown,
                                            int selected) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < dropDown.size(); ++i)
    if (static_cast<int>(i) != selected) names.push_back(dropDown[i]);
  return names;
}

}  // namespace velk
