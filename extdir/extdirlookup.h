#pragma once
// The consistency check's questions answered from a workflow's External
// Directory data set.

#include "model/consistencycheck.h"

namespace velk {

class CExtDirLookup final : public ExternalDirectoryLookup {
 public:
  // False when the workflow's External Directory is not initialised.
  bool IsRegisteredExternalPerformer(const WorkflowDatabases& databases,
                                     const std::string& name) const override;
};

}  // namespace velk
