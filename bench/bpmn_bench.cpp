// BPMN export and import of a workflow of 5,000 tasks of the realistic mix
// (bench/workflowshapes.h), each against a goal of 500 ms, and beside them in
// the same run bpmn-moddle's toXML and fromXML of the same file (through Node,
// when node and tests/bpmn-moddle/node_modules are there): its figures and the
// ratios are printed too.
//
//   bpmn_bench [runs] [tasks]      (default 5 runs, 5,000 tasks)

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench/benchsupport.h"
#include "bench/workflowshapes.h"
#include "common/headlessservices.h"
#include "model/bpmn.h"
#include "model/workflowdoc.h"
#include "model/workflowjson.h"

namespace {

namespace fs = std::filesystem;
constexpr double kGoalMs = 500;

// bpmn-moddle's medians, by name ("fromXML", "toXML"); empty without Node or the module.
std::map<std::string, double> ModdleFigures(const std::string& file, int runs) {
  const fs::path source = fs::path(VELK_SOURCE_DIR);
  if (!fs::exists(source / "tests/bpmn-moddle/node_modules/bpmn-moddle") ||
      std::system("node --version > /dev/null 2>&1") != 0)
    return {};
  const std::string command = "node '" + (source / "bench/bpmn_moddle.mjs").string() + "' '" +
                              file + "' " + std::to_string(runs);
  std::map<std::string, double> figures;
  if (FILE* out = popen(command.c_str(), "r")) {
    char name[32];
    double ms = 0;
    while (std::fscanf(out, "%31s %lf", name, &ms) == 2) figures[name] = ms;
    pclose(out);
  }
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const int tasks = argc > 2 ? std::max(10, std::atoi(argv[2])) : 5000;
  velk::HeadlessServices services;
  velk::CWorkflowDoc doc(services, "CN=Bench/O=Marvelund");
  bench::BuildMix(doc, tasks);

  std::string xml;
  std::vector<double> exports, imports;
  bool same = true;
  for (int i = 0; i < runs; ++i) {
    exports.push_back(bench::Milliseconds([&] { xml = velk::WorkflowToBpmn(doc); }));
    velk::CWorkflowDoc back(services, "CN=Bench/O=Marvelund");
    imports.push_back(bench::Milliseconds([&] { velk::WorkflowFromBpmn(xml, back); }));
    same = same && back.NodeCount() == doc.NodeCount();
  }
  const std::string dir = bench::ScratchFolder("velk-bpmn-bench");
  const std::string file = dir + "/workflow.bpmn";
  std::ofstream(file) << xml;
  const std::map<std::string, double> moddle = ModdleFigures(file, runs);
  fs::remove_all(dir);

  const double exportMs = bench::Median(exports), importMs = bench::Median(imports);
  std::printf("%d tasks, %zu KB of BPMN, medians of %d runs\n", static_cast<int>(doc.NodeCount()),
              xml.size() / 1024, runs);
  auto line = [&](const char* what, double ms, const char* theirs) {
    std::printf("  %-7s %8.1f ms%s", what, ms, ms > kGoalMs ? "  MISSED (goal 500 ms)" : "");
    if (auto it = moddle.find(theirs); it != moddle.end())
      std::printf("   bpmn-moddle %s %8.1f ms   ratio %.2f", theirs, it->second, ms / it->second);
    std::printf("\n");
  };
  line("export", exportMs, "toXML");
  line("import", importMs, "fromXML");
  if (moddle.empty()) std::printf("  (bpmn-moddle not run: no node or no tests/bpmn-moddle/node_modules)\n");
  if (!same) std::fprintf(stderr, "the import did not give back every task\n");
  return same ? 0 : 1;
}
