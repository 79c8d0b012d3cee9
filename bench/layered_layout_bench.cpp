// "Arrange as layers" on the levels a user can draw or import that once took
// minutes: a complete DAG of 300 tasks (every task has an arrow to every later
// one), a chain of 20,000 tasks and a fan of 500 (the start has an arrow to
// each of 498 tasks, each of them one to the end). Beside each, in the same
// run, "Autoarrange Nodes" of the same level: the plain breadth-first placement
// that every level gets in moments. Goal: each layout below 5 s.
//
//   layered_layout_bench [runs]      (default 3)

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "bench/benchsupport.h"
#include "common/headlessservices.h"
#include "editor/autoarrange.h"
#include "editor/layeredlayout.h"
#include "model/workflowdoc.h"

namespace {

using Level = std::unique_ptr<velk::CWorkflowDoc>;

std::vector<velk::CNode*> Tasks(velk::CWorkflowDoc& doc, int count) {
  std::vector<velk::CNode*> nodes;
  for (int i = 0; i < count; ++i)
    nodes.push_back(
        doc.InsertNode(velk::NodeRectAt(50 * (i % 40), -50 * (i / 40)), velk::NodeKind::Intern));
  doc.SetStartNode(nodes.front());
  return nodes;
}

Level CompleteDag(velk::Services& services, int count) {
  auto doc = std::make_unique<velk::CWorkflowDoc>(services, "CN=Bench/O=Marvelund", "06.12.2026");
  const std::vector<velk::CNode*> nodes = Tasks(*doc, count);
  for (int s = 0; s < count; ++s)
    for (int t = s + 1; t < count; ++t) doc->CreateArrow(*nodes[s], *nodes[t]);
  return doc;
}

Level Chain(velk::Services& services, int count) {
  auto doc = std::make_unique<velk::CWorkflowDoc>(services, "CN=Bench/O=Marvelund", "06.12.2026");
  const std::vector<velk::CNode*> nodes = Tasks(*doc, count);
  for (int i = 0; i + 1 < count; ++i) doc->CreateArrow(*nodes[i], *nodes[i + 1]);
  return doc;
}

Level Fan(velk::Services& services, int count) {
  auto doc = std::make_unique<velk::CWorkflowDoc>(services, "CN=Bench/O=Marvelund", "06.12.2026");
  const std::vector<velk::CNode*> nodes = Tasks(*doc, count);
  for (int i = 1; i + 1 < count; ++i) {
    doc->CreateArrow(*nodes.front(), *nodes[i],
                     {velk::RoutingKind::Or, "Branch = " + std::to_string(i), ""});
    doc->CreateArrow(*nodes[i], *nodes.back());
  }
  return doc;
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Returns false when the goal was missed or the layout failed.
bool RunCase(const char* name, const std::function<Level()>& build, int runs) {
  std::vector<double> layered, plain;
  const char* engine = "";
  for (int run = 0; run < runs; ++run) {
    Level doc = build();
    plain.push_back(Seconds([&] { velk::AutoArrange(*doc, {50, 4}); }));
    std::vector<velk::CNode*> nodes;
    velk::LayoutResult result;
    layered.push_back(Seconds([&] {
      result = velk::ComputeLayeredLayout(velk::LevelLayoutGraph(*doc, nodes), {50});
      velk::ApplyLayout(*doc, nodes, result);
    }));
    if (!result.ok) {
      std::fprintf(stderr, "%s: the layout failed: %s\n", name, result.error.c_str());
      return false;
    }
    engine = result.engine == velk::LayoutEngine::Dot ? "dot" : "rows";
  }
  const double a = bench::Median(layered), b = bench::Median(plain);
  std::printf("%-26s %9.1f ms (%-4s)   autoarrange %8.2f ms   ratio %6.1f   goal below 5 s   %s\n",
              name, 1000 * a, engine, 1000 * b, a / b, a < 5 ? "ok" : "MISSED");
  return a < 5;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  velk::HeadlessServices ui;
  const std::pair<const char*, std::function<Level()>> cases[] = {
      {"complete DAG of 300 tasks", [&ui] { return CompleteDag(ui, 300); }},
      {"chain of 20,000 tasks", [&ui] { return Chain(ui, 20000); }},
      {"fan of 500 tasks", [&ui] { return Fan(ui, 500); }},
  };
  bool ok = true;
  for (const auto& [name, build] : cases) ok = RunCase(name, build, runs) && ok;
  return ok ? 0 : 1;
}
