#pragma once
// The rules of the "Resources" and "Activities" pages without their widgets.

#include <string>
#include <vector>

namespace velk {

inline constexpr char kNewActivity[] = "New Activity";
inline constexpr char kItemChangingStatus[] = "ItemChanging";
inline constexpr char kItemChangedStatus[] = "ItemChanged";

// What "Select Resource" offers: the non-empty resources of the repository that
// the page's list does not hold yet (ignoring case), sorted as its drop-down
// shows them; the first one is preselected.
std::vector<std::string> SelectResourceChoices(const std::vector<std::string>& repositoryResources,
                                               const std::vector<std::string>& pageResources);

}  // namespace velk
