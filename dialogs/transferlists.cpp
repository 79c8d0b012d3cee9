#include "dialogs/transferlists.h"

#include <algorithm>

namespace velk {

namespace {

// Removes the rows (valid, ascending, unique) from `from`, last first, and gives
// them to `put` in that order.
template <class Put>
void TakeRows(std::vector<int> rows, TransferEntries& from, Put put) {
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
    if (*it < 0 || *it >= static_cast<int>(from.size())) continue;
    TransferEntry entry = std::move(from[static_cast<std::size_t>(*it)]);
    from.erase(from.begin() + *it);
    put(std::move(entry));
  }
}

std::vector<int> AllRows(const TransferEntries& entries) {
  std::vector<int> rows(entries.size());
  for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
  return rows;
}

}  // namespace

void TransferLists::MoveToAdded(std::vector<int> selected) {
  TakeRows(std::move(selected), available,
           [this](TransferEntry e) { added.insert(added.begin(), std::move(e)); });
}

void TransferLists::MoveToAvailable(std::vector<int> selected, const Admits& admits) {
  TakeRows(std::move(selected), added, [&](TransferEntry e) {
    if (!admits || admits(e)) available.insert(available.begin(), std::move(e));
  });
}

void TransferLists::MoveAllToAvailable(const Admits& admits) {
  MoveToAvailable(AllRows(added), admits);
}

void CommitToTarget(const TransferEntries& added, CommitOrder order, TransferEntries& target) {
  if (order == CommitOrder::Reversed) {
    for (const TransferEntry& e : added) target.insert(target.begin(), e);
  } else {
    target.insert(target.begin(), added.begin(), added.end());
  }
}

}  // namespace velk
