// publish_bench: "velkmod-cli publish" of a large repository. Stores N
// workflows of T tasks (the realistic mix of workflow_bench: segments, Or/Else
// branches, clusters two levels deep) in one Process Definitions Database,
// then in the same run times loading every version with the modeler's loader
// (the floor: the site needs every workflow loaded) and publishing the site
// with the same loader. Prints both, the ratio and the site's size.
//   publish_bench [WORKFLOWS [TASKS]]     default 500 workflows of 200 tasks

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "bench/benchsupport.h"
#include "bench/workflowshapes.h"
#include "common/headlessservices.h"
#include "model/workflowdoc.h"
#include "model/workflowload.h"
#include "model/workflowsave.h"
#include "publish/publisher.h"
#include "repository/databasetemplates.h"
#include "repository/store/lnnotes.h"

using namespace velk;
namespace fs = std::filesystem;

namespace {

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Texts 6 units a character; pictures of one byte: the drawing library's share
// is not what is measured here.
PublishTools BenchTools() {
  PublishTools tools;
  tools.font.width = [](std::string_view s) { return 6.0 * static_cast<double>(s.size()); };
  tools.font.italicWidth = tools.font.width;
  tools.picturePng = [](int, bool) { return std::string("P"); };
  return tools;
}

std::uintmax_t FolderBytes(const fs::path& dir) {
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    if (entry.is_regular_file()) bytes += entry.file_size();
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  const int workflows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
  const int tasks = argc > 2 ? std::max(10, std::atoi(argv[2])) : 200;
  const std::string dir = bench::ScratchFolder("velkpublishbench");
  if (dir.empty()) return 1;
  setenv("VELK_DATA_DIR", dir.c_str(), 1);
  HeadlessServices ui;
  LNNotesSession session;
  session.Init(410);
  const std::string path = (fs::path(dir) / "procdef.nsf").string();
  LNDatabase created;
  CreateDatabaseOfKind(session, DatabaseKind::ProcessDefinitions, path, "Bench", "", &created);
  CProcessDefDb repository(ui, session, path, "", nullptr, HeadersFrom({path, ""}));
  WorkflowDatabases databases;
  databases.processDefinitions = {{path, ""}, &repository};
  const double stored = Seconds([&] {
    for (int i = 0; i < workflows; ++i) {
      CWorkflowDoc doc(ui, "CN=Bench/O=Marvelund");
      doc.SetDatabases(databases);
      bench::BuildMix(doc, tasks);
      WorkflowHeader h = doc.Header();
      h.name = "Bench " + std::to_string(i);
      h.category = "Category " + std::to_string(i % 12);
      doc.SetHeader(h);
      if (!WriteWorkflow(doc, {nullptr, "C1257A1B:0034F2E1"})) {
        std::fprintf(stderr, "workflow %d could not be stored\n", i);
        std::exit(1);
      }
    }
  });
  repository.ReadHeaders(true);
  const auto load = [&](const WorkflowHeaderEntry& header) {
    auto doc = std::make_unique<CWorkflowDoc>(ui, "CN=Bench/O=Marvelund");
    doc->SetDatabases(databases);
    if (!LoadWorkflow(*doc, header, session)) doc.reset();
    return doc;
  };
  std::size_t loaded = 0;
  const double loading = Seconds([&] {
    for (const WorkflowHeaderEntry& h : repository.Headers()) loaded += load(h) != nullptr;
  });
  const PublishSource source{"Bench", repository.Headers(), load, {}, nullptr, "none"};
  PublishResult result;
  const fs::path site = fs::path(dir) / "site";
  const double publishing = Seconds([&] { result = PublishSite(source, {}, site.string(), BenchTools()); });
  std::printf("%d workflows of %d tasks (stored in %.1f s)\n", workflows, tasks, stored);
  std::printf("load all %7.2f s   publish %7.2f s   ratio %.2f   pages %zu   site %.1f MB\n", loading,
              publishing, publishing / loading, result.pages,
              static_cast<double>(FolderBytes(site)) / 1e6);
  const bool ok = publishing < 20.0;
  std::printf("goal: publish under 20 s: %s\n", ok ? "OK" : "MISSED");
  fs::remove_all(dir);
  return loaded == result.pages && result.failed.empty() ? 0 : 1;
}
