#pragma once
// The two lists "Available:" and "Added:" of the pickers ("Access Control List",
// "Add New Forms") and the moves of their buttons ">", "<" and "<<".

#include <functional>
#include <string>
#include <vector>

namespace velk {

struct TransferEntry {
  std::string name;
  int kind = 0;  // element kind for the picker's icons; unused for forms
  bool operator==(const TransferEntry&) const = default;
};
using TransferEntries = std::vector<TransferEntry>;

inline constexpr char kRemoveFromListQuestion[] =
    "Are you sure that the selected items should be removed from this list?";

class TransferLists {
 public:
  // Whether an entry leaving "Added:" goes back to "Available:" (otherwise it is dropped).
  using Admits = std::function<bool(const TransferEntry&)>;

  TransferEntries available;
  TransferEntries added;

  // ">": the selected rows of "Available:" (any order), from the last to the
  // first, to the top of "Added:", so they keep their order.
  void MoveToAdded(std::vector<int> selected);
  // "<": the selected rows of "Added:" leave it; those admitted go to the top of
  // "Available:" the same way.
  void MoveToAvailable(std::vector<int> selected, const Admits& admits);
  // "<<" once the user agreed.
  void MoveAllToAvailable(const Admits& admits);

  bool CanAdd() const { return !available.empty(); }  // ">"
  bool CanRemove() const { return !added.empty(); }   // "<" and "<<"
};

// "OK" of a picker: the entries of "Added:" go to the top of the target. The
// access picker takes the first entry each time, reversing them; "Add New Forms"
// goes from the last to the first, keeping their order.
enum class CommitOrder { Reversed, Kept };
void CommitToTarget(const TransferEntries& added, CommitOrder order, TransferEntries& target);

}  // namespace velk
