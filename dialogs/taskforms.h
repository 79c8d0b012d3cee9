#pragma once
// The rules of the "Forms" page and its "Add New Forms" picker without their
// widgets: what the page shows of a node, which forms the primary drop-down
// offers, and what apply stores.

#include <string>
#include <vector>

#include "dialogs/repositorylists.h"
#include "model/node.h"

namespace velk {

// The single folder-objects entry standing for every form.
inline constexpr char kAllForms[] = "All";

struct FormsSelection {
  std::string primary;  // empty: no primary form
  std::vector<std::string> secondary;
  bool allAdditional = false;
  std::vector<std::string> additional;
};

// What the page shows when it opens. An external WWW step has only a primary form.
FormsSelection ReadFormsSelection(const NodeAttributes& node, bool onlyPrimary);
// The primary form is stored first; empty secondary and additional entries are
// skipped; a checked "&All Additional Forms" stores "All" whatever the list holds.
void ApplyFormsSelection(const FormsSelection& selection, NodeAttributes& node);

// The forms offered as primary form: all application forms, in list order, that
// are neither secondary nor additional (compared exactly).
std::vector<std::string> PrimaryCandidates(const std::vector<FormRecord>& forms,
                                           const std::vector<std::string>& secondary,
                                           const std::vector<std::string>& additional);

// "Available:" of "Add New Forms": the primary drop-down's entries but the
// selected one (-1: none selected), in drop-down order.
std::vector<std::string> AddFormsCandidates(const std::vector<std::string>& dropDown, int selected);

}  // namespace velk
