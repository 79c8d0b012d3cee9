// Saving and loading a workflow of 5,000 tasks (the realistic mix) in the
// modeler as shipped, started through its composition root with its main
// window and status line shown, against the same save and load headless, in
// the same run, alternating which goes first. The status line counts the
// tasks as they go. Goal: within 1.2x.
//
//   workflow_window_bench [runs]      (default 5)

#include <QApplication>
#include <QDir>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/composition.h"
#include "app/ui/mainframe.h"
#include "app/ui/statusline.h"
#include "bench/benchsupport.h"
#include "bench/workflowshapes.h"
#include "common/headlessservices.h"
#include "model/workflowdoc.h"
#include "model/workflowload.h"
#include "model/workflowsave.h"
#include "repository/databasetemplates.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"

namespace {

using bench::Milliseconds;

using namespace velk;

void Row(const char* what, const std::vector<double>& shown, const std::vector<double>& headless) {
  const double a = bench::Median(shown), b = bench::Median(headless);
  std::printf("%-28s %8.1f ms   headless %8.1f ms   ratio %5.2f   goal 1.2   %s\n", what, a, b,
              a / b, a / b <= 1.2 ? "ok" : "MISSED");
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string dir = bench::ScratchFolder("velkwindowbench");
  if (dir.empty()) return 1;
  setenv("VELK_DATA_DIR", dir.c_str(), 1);
  CVelkModApp::Options options;
  options.settingsFile = dir + "/settings.ini";
  options.showSplash = false;
  std::unique_ptr<CVelkModApp> app = StartModeler(options, StandardShellCollaborators());
  if (!app) return 1;
  app->MainFrame()->resize(1280, 900);
  app->MainFrame()->show();
  qt.processEvents();
  Services& shown = app->UserInterface();  // the modeler's own, with its status line
  HeadlessServices headless;

  LNNotesSession session;
  session.Init(410);
  const std::string path = dir + "/procdef.nsf";
  LNDatabase created;
  CreateDatabaseOfKind(session, DatabaseKind::ProcessDefinitions, path, "", "", &created);
  CProcessDefDb repository(shown, session, path, "", nullptr, HeadersFrom({path, ""}));
  WorkflowDatabases databases;
  databases.processDefinitions = {{path, ""}, &repository};
  // One workflow for each way of reporting, as a workflow reports through its own.
  Services* reporting[2] = {&shown, &headless};
  std::unique_ptr<CWorkflowDoc> docs[2];
  for (int mode = 0; mode < 2; ++mode) {
    docs[mode] = std::make_unique<CWorkflowDoc>(*reporting[mode], "CN=Bench/O=Marvelund");
    docs[mode]->SetDatabases(databases);
    bench::BuildMix(*docs[mode], 5000);
  }

  std::vector<double> save[2], load[2];  // [0] shown, [1] headless
  bool ok = true;
  for (int run = 0; run < runs; ++run) {
    for (int step = 0; step < 2; ++step) {
      const int mode = (run + step) % 2;  // each first in every other run
      CWorkflowDoc& doc = *docs[mode];
      save[mode].push_back(Milliseconds([&] {
        ok = WriteWorkflow(doc, {nullptr, "C1257A1B:0034F2E1"}) && ok;
      }));
      WorkflowHeaderEntry chosen;
      chosen.type = doc.Header().name;
      chosen.workflowId = doc.Header().workflowId;
      CWorkflowDoc loaded{*reporting[mode]};
      loaded.SetDatabases(databases);
      load[mode].push_back(Milliseconds([&] { ok = LoadWorkflow(loaded, chosen, session) && ok; }));
      ok = ok && loaded.NodeCount() == doc.NodeCount();
    }
  }
  if (!ok) std::fprintf(stderr, "a save or load failed\n");
  Row("save of 5,000 tasks", save[0], save[1]);
  Row("load of 5,000 tasks", load[0], load[1]);
  app.reset();
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return ok ? 0 : 1;
}
