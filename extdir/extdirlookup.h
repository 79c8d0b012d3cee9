#pragma once
// The consistency check's questions answered from a workflow's External
// Directory data set, and the data set itself for the task pages.

#include "model/consistencycheck.h"

namespace velk {

class CExtDirData;

class CExtDirLookup final : public ExternalDirectoryLookup {
 public:
  // The workflow's External Directory; null when it is not initialised.
  CExtDirData* DirectoryOf(const WorkflowDatabases& databases) const;
  // Whether a window shows the directory.
  static bool IsShown(const CExtDirData& directory);

  // False when the workflow's External Directory is not initialised.
  bool IsRegisteredExternalPerformer(const WorkflowDatabases& databases,
                                     const std::string& name) const override;
};

}  // namespace velk
