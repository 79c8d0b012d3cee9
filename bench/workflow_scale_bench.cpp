// How the work on one workflow grows with the workflow and with the database
// around it, each measured against its own baseline in the same run:
//
// - import (the export's JSON read back into a workflow and saved), load, and
//   load with the consistency check ("workflow check"), of 20,000 tasks of the
//   realistic mix against 2,000: the time per task at 20,000 over the time per
//   task at 2,000 (goal: within 1.5, linear);
// - the check's reference step over 20,000 subscribed workflows, each
//   referring to the one before, against 2,000, per node likewise;
// - the load of one 1,000-task workflow in a database beside 20,000 tasks of
//   other workflows against the same workflow alone (goal: within 1.2x).
//
//   workflow_scale_bench [runs]      (default 3)

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/benchsupport.h"
#include "bench/workflowshapes.h"
#include "common/headlessservices.h"
#include "model/consistencycheck.h"
#include "model/workflowdoc.h"
#include "model/workflowjson.h"
#include "model/workflowload.h"
#include "model/workflowsave.h"
#include "repository/databasetemplates.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"

namespace {

using bench::Milliseconds;

using namespace velk;
namespace fs = std::filesystem;

bool ok = true;

void Fail(const std::string& what) {
  std::fprintf(stderr, "%s\n", what.c_str());
  ok = false;
}

// A Process Definitions Database of its own, and workflows stored in it.
class Store {
 public:
  Store(Services& services, LNNotesSession& session, const std::string& path)
      : services_(services),
        session_(session),
        path_(path),
        repository_(services, Create(session, path), path, "", nullptr,
                    velk::HeadersFrom({path, ""})) {}

  std::unique_ptr<CWorkflowDoc> NewWorkflow() {
    auto doc = std::make_unique<CWorkflowDoc>(services_, "CN=Bench/O=Marvelund");
    WorkflowDatabases databases;
    databases.processDefinitions = {{path_, ""}, &repository_};
    doc->SetDatabases(databases);
    return doc;
  }
  bool Save(CWorkflowDoc& doc) { return static_cast<bool>(WriteWorkflow(doc, {nullptr, "C1257A1B:0034F2E1"})); }
  // Loads what `saved` was stored as; the loaded workflow.
  std::unique_ptr<CWorkflowDoc> Load(const CWorkflowDoc& saved) {
    WorkflowHeaderEntry chosen;
    chosen.type = saved.Header().name;
    chosen.workflowId = saved.Header().workflowId;
    chosen.version = saved.Header().version;
    std::unique_ptr<CWorkflowDoc> loaded = NewWorkflow();
    if (!LoadWorkflow(*loaded, chosen, session_) || loaded->NodeCount() != saved.NodeCount())
      Fail("the load of " + saved.Header().name + " failed");
    return loaded;
  }

 private:
  static LNNotesSession& Create(LNNotesSession& session, const std::string& path) {
    LNDatabase created;
    CreateDatabaseOfKind(session, DatabaseKind::ProcessDefinitions, path, "", "", &created);
    return session;
  }
  Services& services_;
  LNNotesSession& session_;
  std::string path_;
  CProcessDefDb repository_;
};

struct Times {
  std::vector<double> import, load, check;
};

void MeasureSize(Services& services, LNNotesSession& session, const fs::path& dir, int tasks,
                 int run, Times& t) {
  Store store(
      services, session,
      (dir / ("mix" + std::to_string(tasks) + "-" + std::to_string(run) + ".nsf")).string());
  std::unique_ptr<CWorkflowDoc> built = store.NewWorkflow();
  bench::BuildMix(*built, tasks);
  const WorkflowJson json = WorkflowToJson(*built);
  std::unique_ptr<CWorkflowDoc> imported = store.NewWorkflow();
  t.import.push_back(Milliseconds([&] {
    WorkflowFromJson(json, *imported);
    if (!store.Save(*imported)) Fail("the import failed");
  }));
  std::unique_ptr<CWorkflowDoc> loaded;
  t.load.push_back(Milliseconds([&] { loaded = store.Load(*imported); }));
  t.check.push_back(Milliseconds([&] {
    loaded = store.Load(*imported);
    RunConsistencyRules(*loaded, NoExternalDirectory());
  }));
}

void Row(const char* what, const std::vector<double>& small, int smallCount,
         const std::vector<double>& large, int largeCount, double goal) {
  const double a = bench::Median(small) / smallCount, b = bench::Median(large) / largeCount;
  std::printf("%-34s %9.1f us/task at %6d  %9.1f us/task at %6d   ratio %5.2f   goal %.1f   %s\n",
              what, 1000 * a, smallCount, 1000 * b, largeCount, b / a, goal,
              b / a <= goal ? "ok" : "MISSED");
}

// A chain of subscribed workflows, each referring to the one before.
std::unique_ptr<CWorkflowDoc> SubscribedChain(Services& services, int count) {
  auto doc = std::make_unique<CWorkflowDoc>(services, "CN=Bench/O=Marvelund");
  std::vector<CNode*> nodes;
  for (int i = 0; i < count; ++i) {
    nodes.push_back(doc->InsertNode(NodeRectAt(40 * (i % 50), -40 * (i / 50)), NodeKind::Extern));
    if (i > 0) {
      doc->CreateArrow(*nodes[i - 1], *nodes[i]);
      doc->ConnectReference(*nodes[i], *nodes[i - 1]);
    }
  }
  return doc;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const std::string dir = bench::ScratchFolder("velkscalebench");
  if (dir.empty()) return 1;
  setenv("VELK_DATA_DIR", dir.c_str(), 1);
  HeadlessServices ui;
  LNNotesSession session;
  session.Init(410);

  Times small, large;
  for (int run = 0; run < runs; ++run) {
    MeasureSize(ui, session, dir, 2000, run, small);
    MeasureSize(ui, session, dir, 20000, run, large);
  }
  Row("import (JSON read and saved)", small.import, 2000, large.import, 20000, 1.5);
  Row("load", small.load, 2000, large.load, 20000, 1.5);
  Row("load and check", small.check, 2000, large.check, 20000, 1.5);

  std::vector<double> fewRefs, manyRefs;
  for (int run = 0; run < runs; ++run) {
    for (auto [count, times] : {std::pair{2000, &fewRefs}, std::pair{20000, &manyRefs}}) {
      std::unique_ptr<CWorkflowDoc> chain = SubscribedChain(ui, count);
      times->push_back(Milliseconds([&] { RunConsistencyRules(*chain, NoExternalDirectory()); }));
    }
  }
  Row("check of subscribed references", fewRefs, 2000, manyRefs, 20000, 1.5);

  // The same workflow alone and beside others.
  std::vector<double> alone, beside;
  Store lonely(ui, session, (fs::path(dir) / "alone.nsf").string());
  Store crowded(ui, session, (fs::path(dir) / "crowded.nsf").string());
  for (int other = 0; other < 20; ++other) {
    std::unique_ptr<CWorkflowDoc> doc = crowded.NewWorkflow();
    bench::BuildMix(*doc, 1000);
    WorkflowHeader h = doc->Header();
    h.name = "Other " + std::to_string(other);
    doc->SetHeader(h);
    if (!crowded.Save(*doc)) Fail("an other workflow was not saved");
  }
  std::unique_ptr<CWorkflowDoc> one = lonely.NewWorkflow(), same = crowded.NewWorkflow();
  bench::BuildMix(*one, 1000);
  bench::BuildMix(*same, 1000);
  if (!lonely.Save(*one) || !crowded.Save(*same)) Fail("the workflow was not saved");
  for (int run = 0; run < std::max(runs, 5); ++run) {
    alone.push_back(Milliseconds([&] { lonely.Load(*one); }));
    beside.push_back(Milliseconds([&] { crowded.Load(*same); }));
  }
  const double a = bench::Median(alone), b = bench::Median(beside);
  std::printf("%-34s %9.1f ms alone  %9.1f ms beside 20,000 tasks   ratio %5.2f   goal 1.2   %s\n",
              "load of 1,000 tasks", a, b, b / a, b / a <= 1.2 ? "ok" : "MISSED");

  std::error_code ignored;
  fs::remove_all(dir, ignored);
  return ok ? 0 : 1;
}
