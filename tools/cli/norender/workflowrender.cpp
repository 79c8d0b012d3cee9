// "workflow render" in a build without the GUI library: the command exists but
// says why it cannot draw.

#include <ostream>

#include "../commands.h"

namespace velkcli {

RenderRequest renderRequest(const Args&) {
  throw UsageError("render is not available: velkmod-cli was built without the modeler's GUI");
}

int renderWorkflow(Context&, const velk::CWorkflowDoc&, const RenderRequest&) {
  return kFailed;
}

int renderComparison(Context&, const velk::CWorkflowDoc&, const velk::CWorkflowDoc&,
                     const velk::WorkflowDiff&, const RenderRequest&) {
  return kFailed;
}

}  // namespace velkcli
