// Comparing two versions of a 5,000-task workflow with 500 changes (renamed and
// reassigned tasks, moved tasks, new tasks, changed arrow conditions), against
// loading both versions from the store in the same run. Goal: below 100 ms.
//
//   workflow_diff_bench [runs]   (default 5)

#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "bench/benchsupport.h"
#include "bench/workflowshapes.h"
#include "common/headlessservices.h"
#include "model/arrow.h"
#include "model/workflowdiff.h"
#include "model/workflowload.h"
#include "model/workflowsave.h"
#include "repository/databasetemplates.h"
#include "repository/processdefdb.h"
#include "repository/store/lnnotes.h"

namespace {

using bench::Milliseconds;

using namespace velk;

constexpr int kTasks = 5000;

// 500 changes spread over the workflow.
void Edit(CWorkflowDoc& doc) {
  std::vector<CNode*> nodes(doc.AllNodes().begin(), doc.AllNodes().end());
  for (std::size_t i = 0; i < 400; ++i) {
    CNode& node = *nodes[i * nodes.size() / 400];
    if (i % 4 == 0) {
      doc.MoveNode(node, 20, 0);
      continue;
    }
    NodeAttributes a = node.Attributes();
    (i % 4 == 1 ? a.name : a.member) += " (changed)";
    doc.SetNodeAttributes(node, a);
  }
  bench::Generator g(doc);
  for (int i = 0; i < 50; ++i) g.Task();
  int conditions = 0;
  for (CArrow* arrow : doc.AllArrows()) {
    if (arrow->Kind() != RoutingKind::Or || conditions == 50) continue;
    ArrowRouting routing = arrow->Routing();
    routing.condition += " AND Checked";
    doc.SetArrowRouting(*arrow, routing);
    ++conditions;
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const std::string dir = bench::ScratchFolder("velkdiffbench");
  if (dir.empty()) return 1;
  setenv("VELK_DATA_DIR", dir.c_str(), 1);
  HeadlessServices ui;
  LNNotesSession session;
  session.Init(410);
  const std::string path = dir + "/procdef.nsf";
  LNDatabase created;
  CreateDatabaseOfKind(session, DatabaseKind::ProcessDefinitions, path, "", "", &created);
  CProcessDefDb repository(ui, session, path, "", nullptr, HeadersFrom({path, ""}));
  WorkflowDatabases databases;
  databases.processDefinitions = {{path, ""}, &repository};
  CWorkflowDoc original(ui, "CN=Bench/O=Marvelund");
  original.SetDatabases(databases);
  bench::BuildMix(original, kTasks);
  if (!WriteWorkflow(original, {nullptr, "C1257A1B:0034F2E1"})) {
    std::fprintf(stderr, "the workflow could not be stored\n");
    return 1;
  }
  WorkflowHeaderEntry chosen;
  chosen.type = original.Header().name;
  chosen.workflowId = original.Header().workflowId;
  std::vector<double> loads, diffs;
  std::size_t changes = 0;
  for (int run = 0; run < runs; ++run) {
    CWorkflowDoc older(ui), newer(ui);
    older.SetDatabases(databases);
    newer.SetDatabases(databases);
    loads.push_back(Milliseconds([&] {
      LoadWorkflow(older, chosen, session);
      LoadWorkflow(newer, chosen, session);
    }));
    Edit(newer);
    diffs.push_back(Milliseconds([&] { changes = DiffWorkflows(older, newer).changes.size(); }));
  }
  const double diff = bench::Median(diffs), load = bench::Median(loads);
  std::printf("Diff of two %d-task versions, %zu changes   %8.1f ms   loading both %8.1f ms   "
              "ratio %5.2f   goal below 100 ms   %s\n",
              kTasks, changes, diff, load, diff / load, diff < 100 ? "ok" : "MISSED");
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return 0;
}
