#include "dialogs/tasklistpages.h"

#include "dialogs/listtexts.h"

namespace velk {

std::vector<std::string> SelectResourceChoices(const std::vector<std::string>& repositoryResources,
                                               const std::vector<std::string>& pageResources) {
  std::vector<std::string> choices;
  for (const std::string& resource : NonEmpty(repositoryResources))
    if (FindNoCase(pageResources, resource) < 0 && FindExact(choices, resource) < 0)
      choices.push_back(resource);
  SortNoCase(choices);
  return choices;
}

}  // namespace velk
