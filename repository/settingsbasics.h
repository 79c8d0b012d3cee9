#pragma once
// The "Basics" page of "Modeler Settings" without its widgets: the entries of
// its two drop-down lists and how they map to the settings.

#include <string>
#include <vector>

namespace velk {

inline constexpr int kMinGridSize = 1;
inline constexpr int kMaxGridSize = 250;

// "Small", "Middle", "Large": the arrow size is the entry's index.
const std::vector<std::string>& ArrowSizeTexts();
// The entry shown for an arrow size; sizes outside the list show the nearest.
int ArrowSizeEntry(int arrowSize);

// "2" to "6", followed by the label "x Gridsize".
const std::vector<std::string>& AutoArrangeFactorTexts();
// Arrangement multiplies the grid size by the factor itself, so the entry shows
// that factor and choosing it stores it; factors outside the list show the
// nearest entry.
int AutoArrangeFactorEntry(int factor);
int AutoArrangeFactorOfEntry(int entry);

}  // namespace velk
