#pragma once
// The "Access Control List" picker without its widgets: the filter, which
// elements of the organisation it offers, and its two lists.

#include <string>
#include <vector>

#include "dialogs/repositorylists.h"
#include "dialogs/transferlists.h"

namespace velk {

// "Show all", then one entry per element kind in kind order.
const std::vector<std::string>& AclFilterTexts();

class AclPicker {
 public:
  // `target`: the names and kinds of the calling page's list; nothing standing
  // there is offered.
  AclPicker(const RepositoryLists& lists, TransferEntries target);

  int Filter() const { return filter_; }
  // Empties "Available:" and fills it again for the filter position.
  void SetFilter(int position);
  bool Admits(int kind) const { return filter_ == 0 || filter_ - 1 == kind; }

  TransferLists& Lists() { return lists_; }
  const TransferLists& Lists() const { return lists_; }
  void MoveToAdded(const std::vector<int>& selected) { lists_.MoveToAdded(selected); }
  void MoveToAvailable(const std::vector<int>& selected);
  void MoveAllToAvailable();

 private:
  bool Standing(const TransferEntry& element) const;
  TransferLists::Admits AdmitsEntry() const;

  const RepositoryLists& repository_;
  TransferEntries target_;
  TransferLists lists_;
  int filter_ = 0;
};

}  // namespace velk
