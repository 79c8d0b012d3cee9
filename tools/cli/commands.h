#pragma once
// The commands of velkmod-cli. Each returns the process exit code and throws
// UsageError for wrong arguments.

#include <iosfwd>
#include <string>
#include <vector>

#include "cliargs.h"

class LNNotesSession;
class LNDatabase;

namespace velk {
class CWorkflowDoc;
}

namespace velkcli {

struct Context {
  LNNotesSession& session;
  std::ostream& out;
  std::ostream& err;
};

int dbCommand(Context& ctx, const std::vector<std::string>& words);
// "db create" and "db info": the databases' design by kind.
int dbDesignCommand(Context& ctx, const std::string& sub, const std::vector<std::string>& words);
// "db check": what the modeler sees of a database, and what loading it reported.
int dbCheckCommand(Context& ctx, const std::vector<std::string>& words);

int demoCommand(Context& ctx, const std::vector<std::string>& words);

// "workflow list", "workflow export", "workflow import" and "workflow render":
// stored workflows.
int workflowCommand(Context& ctx, const std::vector<std::string>& words);

// "workflow render": what to draw where, checked before the workflow is loaded.
struct RenderRequest {
  std::string format;  // "png", "svg" or "pdf"
  std::string output;
  bool allLevels = false;
};
// Throws UsageError for a missing output, an unknown format or level.
RenderRequest renderRequest(const Args& args);
// Draws the loaded workflow as the modeler's view does; kFailed when the file
// cannot be written. Starts the GUI library without a display.
int renderWorkflow(Context& ctx, const velk::CWorkflowDoc& doc, const RenderRequest& request);

// Opens the database at `path` (relative to the data directory unless absolute).
// Throws std::runtime_error naming the path and the store's reason.
LNDatabase openDatabase(Context& ctx, const std::string& path, const std::string& server = {});

// Exit codes.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;  // the operation failed; the message says why
inline constexpr int kUsage = 2;

}  // namespace velkcli
