#pragma once
// The commands of velkmod-cli. Each returns the process exit code and throws
// UsageError for wrong arguments.

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cliargs.h"
#include "common/headlessservices.h"
#include "model/workflowjson.h"
#include "repository/databasekind.h"
#include "repository/processdefdb.h"

class LNNotesSession;
class LNDatabase;

namespace velk {
class CWorkflowDoc;
class Services;
class CExtDirData;
struct WorkflowDiff;
struct PublishTools;
class WorkflowSaver;
}

namespace velkcli {

struct Context {
  LNNotesSession& session;
  std::ostream& out;
  std::ostream& err;
  // What the core reports while a command runs: message boxes recorded, not shown.
  velk::HeadlessServices& services;
};

int dbCommand(Context& ctx, const std::vector<std::string>& words);
// "db create" and "db info": the databases' design by kind.
int dbDesignCommand(Context& ctx, const std::string& sub, const std::vector<std::string>& words);
// "db check": what the modeler sees of a database, and what loading it reported.
int dbCheckCommand(Context& ctx, const std::vector<std::string>& words);

int demoCommand(Context& ctx, const std::vector<std::string>& words);

// "extdir tree": the External Directory as its window shows it.
int extdirCommand(Context& ctx, const std::vector<std::string>& words);

// "workflow list", "workflow export", "workflow import" and "workflow render":
// stored workflows.
int workflowCommand(Context& ctx, const std::vector<std::string>& words);
// "workflow check": the consistency check of a stored workflow or a JSON file;
// kFailed when the workflow would be refused in its (or the given) status.
int workflowCheckCommand(Context& ctx, const std::vector<std::string>& words);

// A workflow file named on the command line: an existing file ending in .json,
// .bpmn or .xml.
bool IsWorkflowFile(const std::string& name);
// The whole text of a workflow file; one far larger than any workflow is refused
// before it is read. Throws std::runtime_error naming the file.
std::string ReadText(const std::string& file);
// A BPMN file by its extension, else by its content; anything else is JSON.
bool IsBpmnFile(const std::string& file, const std::string& text);
// The parsed text of a JSON workflow file; throws std::runtime_error naming it.
velk::WorkflowJson ReadJson(const std::string& file, const std::string& text);
// The workflow of a JSON or BPMN file, not stored; throws std::runtime_error
// naming the file.
std::unique_ptr<velk::CWorkflowDoc> FromFile(velk::Services& services, const std::string& file);
// "workflow diff": exit 0 when the two versions are equal, 1 when they differ.
int workflowDiffCommand(Context& ctx, const std::vector<std::string>& words);

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
// "workflow render --diff A B": the two versions' top levels side by side, the
// changes of `diff` coloured.
int workflowRenderDiff(Context& ctx, const Args& args);
int renderComparison(Context& ctx, const velk::CWorkflowDoc& older, const velk::CWorkflowDoc& newer,
                     const velk::WorkflowDiff& diff, const RenderRequest& request);

// What "db check" shows of a loaded External Directory: identity, sections with
// counts, catalogues and every item with its class name, ID and label.
nlohmann::ordered_json ExtDirToJson(const velk::CExtDirData& data);

// Loads the stored workflow the arguments name (as "workflow export" does) and
// runs `use` on it while its databases are open; kFailed when loading failed.
int withStoredWorkflow(Context& ctx, const Args& args,
                       const std::function<int(velk::CWorkflowDoc&)>& use);
// The stored versions of the Process Definitions Database the arguments name,
// and a loader that loads one as the modeler does (null, its reports printed,
// when that fails).
struct StoredWorkflows {
  velk::DatabaseLocation procdef;
  std::string title;
  std::vector<velk::WorkflowHeaderEntry> headers;
  std::function<std::unique_ptr<velk::CWorkflowDoc>(const velk::WorkflowHeaderEntry&)> load;
};
int withStoredWorkflows(Context& ctx, const Args& args,
                        const std::function<int(StoredWorkflows&)>& use);

// "publish": a static web site of the stored workflows.
int publishCommand(Context& ctx, const std::vector<std::string>& words);
// The modeler's drawing font and node pictures for the site; throws UsageError
// in a build without the GUI library. Starts that library without a display.
velk::PublishTools publishTools(velk::Services& services);

// The modeler's save for a command: the databases a workflow does not name are
// those of the settings, with --procdef and --appenv put in. Must outlive the
// workflows it saves, which keep its databases.
class CommandSaver {
 public:
  CommandSaver(Context& ctx, const Args& args);
  ~CommandSaver();
  velk::WorkflowSaver& get() { return *saver_; }

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  std::unique_ptr<velk::WorkflowSaver> saver_;
};
// "workflow layout": "Arrange as layers" on a stored workflow, printed or stored.
int workflowLayout(Context& ctx, const Args& args);

// Writes `json` indented, one line after it. Throws std::runtime_error saying
// what (`what`, e.g. "the workflow") cannot be written and where a text that is
// not UTF-8 stands, instead of the JSON library's own words.
void printJson(std::ostream& out, const nlohmann::ordered_json& json, const std::string& what);

// Opens the database at `path` (relative to the data directory unless absolute).
// Throws std::runtime_error naming the path and the store's reason.
LNDatabase openDatabase(Context& ctx, const std::string& path, const std::string& server = {});
// Copies a database of one of the kinds with its design, title, replica id and
// documents under their ids (for instance onto a server); returns the documents
// copied. Failures throw, and leave no destination database behind.
std::size_t copyDatabase(Context& ctx, const velk::DatabaseLocation& from,
                         const velk::DatabaseLocation& to);

// Exit codes.
inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;  // the operation failed; the message says why
inline constexpr int kUsage = 2;

}  // namespace velkcli
