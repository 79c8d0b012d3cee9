// "publish" in a build without the GUI library: the command exists but says
// why it cannot draw.

#include "../commands.h"
#include "publish/publisher.h"

namespace velkcli {

velk::PublishTools publishTools(velk::Services&) {
  throw UsageError("publish is not available: velkmod-cli was built without the modeler's GUI");
}

}  // namespace velkcli
