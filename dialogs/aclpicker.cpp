#include "dialogs/aclpicker.h"

#include <algorithm>

namespace velk {

const std::vector<std::string>& AclFilterTexts() {
  static const std::vector<std::string> texts = {
      "Show all",        "Show only persons",   "Show only workgroups",     "Show only units",
      "Show only roles", "Show only positions", "Show only software agents"};
  return texts;
}

AclPicker::AclPicker(const RepositoryLists& lists, TransferEntries target)
    : repository_(lists), target_(std::move(target)) {
  SetFilter(0);
}

bool AclPicker::Standing(const TransferEntry& element) const {
  const auto same = [&](const TransferEntry& e) { return e == element; };
  return std::any_of(lists_.added.begin(), lists_.added.end(), same) ||
         std::any_of(target_.begin(), target_.end(), same);
}

void AclPicker::SetFilter(int position) {
  filter_ = position;
  lists_.available.clear();
  for (int kind = 0; kind < kElementKindCount; ++kind) {
    if (!Admits(kind)) continue;
    for (std::string& name : ElementsOfKind(repository_, static_cast<ElementKind>(kind))) {
      TransferEntry element{std::move(name), kind};
      if (!Standing(element)) lists_.available.push_back(std::move(element));
    }
  }
}

TransferLists::Admits AclPicker::AdmitsEntry() const {
  return [this](const TransferEntry& e) { return Admits(e.kind); };
}

void AclPicker::MoveToAvailable(const std::vector<int>& selected) {
  lists_.MoveToAvailable(selected, AdmitsEntry());
}

void AclPicker::MoveAllToAvailable() {
  lists_.MoveAllToAvailable(AdmitsEntry());
}

}  // namespace velk
