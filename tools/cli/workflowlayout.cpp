// "workflow layout": "Arrange as layers" on a stored workflow without a window.

#include <chrono>
#include <cmath>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <vector>

#include "common/headlessservices.h"
#include "app/qsettings/qsettingsbackend.h"
#include "app/settings.h"
#include "commands.h"
#include "editor/layeredlayout.h"
#include "model/clusterlevels.h"
#include "model/workflowdoc.h"
#include "model/workflowsaver.h"

namespace velkcli {

namespace {

std::vector<velk::CWorkflowDoc*> ChosenLevels(velk::CWorkflowDoc& top, bool all) {
  return all ? velk::WorkflowLevels(top) : std::vector<velk::CWorkflowDoc*>{&top};
}

std::string Position(const velk::Rect& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")";
}

using Clock = std::chrono::steady_clock;

// "--timeout SECONDS": how long all levels together may take; none without it.
std::optional<Clock::time_point> Deadline(const Args& args) {
  const std::optional<std::string> text = args.option("timeout");
  if (!text) return std::nullopt;
  std::size_t used = 0;
  double seconds = 0;
  try {
    seconds = std::stod(*text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text->size() || !std::isfinite(seconds) || seconds <= 0 || seconds > 86400)
    throw UsageError("--timeout is a number of seconds above 0 and up to 86400");
  return Clock::now() +
         std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
}

// Lays out one level and prints every node that moved; the number moved.
int LayOut(Context& ctx, velk::CWorkflowDoc& level, int gridSize,
           std::optional<Clock::time_point> deadline) {
  std::vector<velk::CNode*> nodes;
  velk::LayeredLayoutTask task(velk::LevelLayoutGraph(level, nodes), {gridSize});
  if (!deadline) {
    while (!task.WaitFor(std::chrono::hours(1))) {
    }
  } else if (!task.WaitFor(std::max(
                 std::chrono::duration_cast<std::chrono::milliseconds>(*deadline - Clock::now()),
                 std::chrono::milliseconds(0)))) {
    throw std::runtime_error("arranging level " + std::to_string(level.Level()) +
                             " took longer than --timeout allows; nothing was changed");
  }
  const velk::LayoutResult result = task.Take();
  if (!result.ok) throw std::runtime_error(result.error);
  std::vector<velk::Rect> before;
  for (const velk::CNode* n : nodes) before.push_back(n->GetRect());
  velk::ApplyLayout(level, nodes, result);
  int moved = 0;
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    if (nodes[i]->GetRect() == before[i]) continue;
    ++moved;
    ctx.out << "level " << level.Level() << "  \"" << nodes[i]->Name() << "\"  "
            << Position(before[i]) << " -> " << Position(nodes[i]->GetRect()) << '\n';
  }
  return moved;
}

// Stores the arranged workflow as the modeler's Save does for a stored one.
void Store(Context& ctx, velk::WorkflowSaver& saver, velk::CWorkflowDoc& doc) {
  if (doc.Header().status == velk::WorkflowStatus::Freeze)
    throw std::runtime_error(
        "a frozen workflow is saved under a new name: open it in the modeler and use Save As");
  if (!saver.Save(doc, {false, {}, false, doc.Header().applicationReplicaId}))
    throw std::runtime_error("the arranged workflow was not stored");
  const velk::WorkflowHeader& h = doc.Header();
  ctx.out << "Stored \"" << h.name << "\" version " << h.version << " as " << h.workflowId << '\n';
}

}  // namespace

int workflowLayout(Context& ctx, const Args& args) {
  const std::string level = args.option("level").value_or("top");
  if (level != "top" && level != "all") throw UsageError("--level is top or all");
  auto backend = velk::OpenSettingsBackend();
  velk::ModelerSettings settings;
  settings.load(*backend);
  const std::optional<Clock::time_point> deadline = Deadline(args);
  CommandSaver saver(ctx, args);
  return withStoredWorkflow(ctx, args, [&](velk::CWorkflowDoc& doc) {
    int moved = 0;
    std::size_t count = 0;
    for (velk::CWorkflowDoc* l : ChosenLevels(doc, level == "all")) {
      moved += LayOut(ctx, *l, settings.gridSize, deadline);
      count += l->LevelNodes().size();
    }
    ctx.out << moved << " of " << count << " tasks moved\n";
    if (args.flag("save") && moved > 0) Store(ctx, saver.get(), doc);
    return kOk;
  });
}

}  // namespace velkcli
