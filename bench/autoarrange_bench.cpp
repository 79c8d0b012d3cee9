// "Autoarrange Nodes" on levels of 20,000 and 100,000 tasks whose arrows reach
// most tasks again by longer paths (chains of diamonds plus arrows forward by a
// few steps, and a loop back to the start), beside the raw baseline of reading
// the level's tasks into an index and looking up every arrow's target. Goal:
// linear, so the ratio to the baseline stays the same at five times the size.
// (Both sizes are well beyond the processor's caches; a small level that fits
// them would compare cache hits with misses.)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <unordered_map>
#include <vector>

#include "bench/benchsupport.h"
#include "common/headlessservices.h"
#include "editor/autoarrange.h"
#include "model/workflowdoc.h"

namespace {

using Clock = std::chrono::steady_clock;

std::unique_ptr<velk::CWorkflowDoc> BuildLevel(velk::Services& services, int tasks) {
  auto doc = std::make_unique<velk::CWorkflowDoc>(services, "CN=Bench/O=Marvelund", "06.12.2026");
  std::vector<velk::CNode*> nodes;
  for (int i = 0; i < tasks; ++i)
    nodes.push_back(
        doc->InsertNode(velk::NodeRectAt(50 * (i % 40), -50 * (i / 40)), velk::NodeKind::Intern));
  // Diamonds: i -> i+1, i -> i+2, i+1 -> i+2 for every even i.
  for (int i = 0; i + 2 < tasks; i += 2) {
    doc->CreateArrow(*nodes[i], *nodes[i + 1]);
    doc->CreateArrow(*nodes[i], *nodes[i + 2]);
    doc->CreateArrow(*nodes[i + 1], *nodes[i + 2]);
  }
  std::mt19937 random(4711);
  std::uniform_int_distribution<int> from(0, tasks - 1);
  std::uniform_int_distribution<int> span(3, 6);
  for (int made = 0; made < tasks / 2;) {
    const int s = from(random);
    const int t = s + span(random);
    if (t >= tasks) continue;
    doc->CreateArrow(*nodes[s], *nodes[t]);
    ++made;
  }
  doc->CreateArrow(*nodes.back(), *nodes.front());
  return doc;
}

double Ms(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// What any arrangement must do: read the level's tasks into an index and look
// up the target of every arrow.
double BaselineMs(const velk::CWorkflowDoc& doc, long& sink) {
  const auto start = Clock::now();
  const std::vector<velk::CNode*> nodes = doc.LevelNodes();
  std::unordered_map<const velk::CNode*, std::size_t> index;
  for (std::size_t i = 0; i < nodes.size(); ++i) index[nodes[i]] = i;
  for (const velk::CNode* n : nodes)
    for (const velk::CArrow* a : n->OutgoingArrows())
      sink += static_cast<long>(index.at(a->Target())) + a->Target()->GetRect().left;
  return Ms(Clock::now() - start);
}

double RunCase(velk::Services& services, int tasks, int runs) {
  auto doc = BuildLevel(services, tasks);
  std::vector<double> arrange, baseline;
  long sink = 0;
  for (int run = 0; run < runs; ++run) {
    baseline.push_back(BaselineMs(*doc, sink));
    const auto start = Clock::now();
    velk::AutoArrange(*doc, {50, 4});
    arrange.push_back(Ms(Clock::now() - start));
  }
  const double a = bench::Median(arrange);
  const double b = bench::Median(baseline);
  std::printf("%6d tasks: autoarrange %8.2f ms, baseline %7.2f ms, ratio %6.1f (%ld)\n", tasks, a,
              b, a / b, sink % 10);
  return a / b;
}

}  // namespace

int main(int argc, char** argv) {
  velk::HeadlessServices services;
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const double small = RunCase(services, 20000, runs);
  const double large = RunCase(services, 100000, runs);
  const bool linear = large < 1.5 * small;
  std::printf("ratio at 100,000 / ratio at 20,000: %.2f (goal < 1.5: linear)%s\n", large / small,
              linear ? "" : "  MISSED");
  return 0;
}
