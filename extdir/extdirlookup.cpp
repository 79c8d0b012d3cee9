#include "extdir/extdirlookup.h"

#include "extdir/extdirdata.h"
#include "extdir/extdiritems.h"
#include "model/databaseslots.h"

namespace velk {

CExtDirData* CExtDirLookup::DirectoryOf(const WorkflowDatabases& databases) const {
  return databases.externalDirectory.repository;
}

bool CExtDirLookup::IsShown(const CExtDirData& directory) {
  return !directory.Trees().empty();
}

bool CExtDirLookup::IsRegisteredExternalPerformer(const WorkflowDatabases& databases,
                                                  const std::string& name) const {
  const CExtDirData* directory = databases.externalDirectory.repository;
  if (!directory || name.empty()) return false;
  for (const CExtDirItemExtRegOrg* person : directory->ItemsOf<CExtDirItemExtRegOrg>())
    if (person->FullName == name) return true;
  return false;
}

}  // namespace velk
