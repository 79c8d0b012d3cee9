#pragma once
// "velkmod-cli publish": a static web site of the stored workflows that works
// from files and from any web server, with no script from elsewhere. An index
// by category, a page per workflow version, the External Directory catalogue
// and a search over an index the site carries along.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "publish/leveldrawing.h"
#include "repository/processdefdb.h"

namespace velk {

class Services;

class CExtDirData;
class CWorkflowDoc;

// What the site takes from the drawing library.
struct PublishTools {
  DrawingFont font;
  // Node picture `index` as a PNG file's bytes, the selected look when asked.
  std::function<std::string(int index, bool selected)> picturePng;
};

// What is published.
struct PublishSource {
  std::string title;  // of the Process Definitions Database
  std::vector<WorkflowHeaderEntry> headers;
  // A stored version loaded as the modeler loads it; null when that failed
  // (the loader has said why).
  std::function<std::unique_ptr<CWorkflowDoc>(const WorkflowHeaderEntry&)> load;
  // The last save of each workflow id, as the header records it.
  std::map<std::string, std::string> lastChanges;
  // The External Directory with every leaf read; null when there is none,
  // `directoryProblem` then says why.
  CExtDirData* directory = nullptr;
  std::string directoryProblem;
};

struct PublishResult {
  std::size_t pages = 0;            // workflow pages written
  std::vector<std::string> failed;  // versions that could not be loaded
};

// Writes the site into `outDir` (made when missing; other files in it stay).
// Only versions of the status codes in `statuses` are published, every status
// when it is empty. Throws std::runtime_error when a file cannot be written.
PublishResult PublishSite(const PublishSource& source, const std::vector<int>& statuses,
                          const std::string& outDir, const PublishTools& tools);

// "Date by user" of the header documents' last "LastModify" and "User"
// entries, by workflow id. Throws the store's errors.
std::map<std::string, std::string> ReadLastChanges(Services& services, LNDatabase& procdef);

}  // namespace velk
