#include "editor/ui/layoutcommands.h"

#include <QApplication>
#include <QProgressDialog>
#include <optional>

#include "common/services.h"
#include "app/settings.h"
#include "editor/alignment.h"
#include "editor/autoarrange.h"
#include "editor/clustergroup.h"
#include "editor/layeredlayout.h"
#include "editor/ui/editor.h"
#include "editor/ui/workflowview.h"
#include "model/workflowdoc.h"
#include "repository/noteserror.h"

using velk::AlignKind;

namespace {

std::optional<AlignKind> AlignmentOf(int id) {
  switch (id) {
    case cmd::AlignLeft:
    case cmd::AlignMenuLeft:
      return AlignKind::Left;
    case cmd::AlignRight:
    case cmd::AlignMenuRight:
      return AlignKind::Right;
    case cmd::AlignTop:
    case cmd::AlignMenuTop:
      return AlignKind::Top;
    case cmd::AlignBottom:
    case cmd::AlignMenuBottom:
      return AlignKind::Bottom;
    case cmd::AlignCenterHorz:
    case cmd::AlignMenuCenterHorz:
      return AlignKind::CenterHorizontally;
    case cmd::AlignCenterVert:
    case cmd::AlignMenuCenterVert:
      return AlignKind::CenterVertically;
    default:
      return std::nullopt;
  }
}

bool IsLayoutCommand(int id) {
  return AlignmentOf(id) || id == cmd::AlignGrid || id == cmd::AlignMenuGrid ||
         id == cmd::AutoArrange || id == cmd::ArrangeLayers || id == cmd::GroupAsCluster;
}

// How long a layout runs before it shows its progress and can be cancelled.
constexpr int kQuietMs = 400;

}  // namespace

bool CLayoutCommands::OnCommand(int id) {
  if (!IsLayoutCommand(id)) return false;
  CWorkflowDoc& doc = *view_.Document();
  const velk::ModelerSettings& settings = view_.Editor().Settings();
  const velk::GridSettings grid{settings.gridSize, settings.gridMagnetic};
  bool changed = false;
  if (const std::optional<AlignKind> kind = AlignmentOf(id)) {
    if (doc.Session().SelectedNodes().size() > 1)
      changed = velk::AlignSelectedNodes(doc, *kind, grid);
  } else if (id == cmd::AlignGrid || id == cmd::AlignMenuGrid) {
    changed = velk::AlignNodesToGrid(doc, grid);
  } else if (id == cmd::AutoArrange) {
    changed = velk::AutoArrange(doc, {settings.gridSize, settings.autoArrangeFactor});
  } else if (id == cmd::ArrangeLayers) {
    changed = ArrangeAsLayers();
  } else if (id == cmd::GroupAsCluster) {
    changed = velk::GroupSelectionAsCluster(doc) != nullptr;
  }
  if (changed) doc.Session().SetModified();
  view_.Editor().UpdateAllViews(doc);
  return true;
}

// The layout runs beside the window; past a moment it shows its progress, and
// Cancel leaves the level as it was.
bool CLayoutCommands::ArrangeAsLayers() {
  CWorkflowDoc& doc = *view_.Document();
  velk::StatusScope status(view_.Editor().UserInterface(), "Arranging the level as layers...");
  std::vector<velk::CNode*> nodes;
  velk::LayeredLayoutTask task(velk::LevelLayoutGraph(doc, nodes),
                               {view_.Editor().Settings().gridSize});
  QProgressDialog progress(QStringLiteral("Arranging the level as layers..."),
                           QStringLiteral("Cancel"), 0, 0, &view_);
  progress.setWindowTitle(QStringLiteral("Arrange as layers"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(kQuietMs);
  while (!task.WaitFor(std::chrono::milliseconds(20))) {
    // Until the dialog shows, the user's input waits, so the level cannot change
    // under the layout; after that the dialog is modal.
    QApplication::processEvents(progress.isVisible() ? QEventLoop::AllEvents
                                                     : QEventLoop::ExcludeUserInputEvents);
    if (progress.wasCanceled()) return false;
  }
  const velk::LayoutResult result = task.Take();
  if (!result.ok) {
    ShowErrorMessage(view_.Editor().UserInterface(), result.error);
    return false;
  }
  return velk::ApplyLayout(doc, nodes, result);
}

bool CLayoutCommands::OnUpdateCommand(int id, CmdUI& ui) {
  if (!IsLayoutCommand(id)) return false;
  const CWorkflowDoc& doc = *view_.Document();
  const std::size_t selected = doc.Session().SelectedNodes().size();
  if (AlignmentOf(id) || id == cmd::GroupAsCluster)
    ui.enabled = selected > 1;
  else if (id == cmd::AlignGrid || id == cmd::AlignMenuGrid)
    ui.enabled = view_.Editor().Settings().gridMagnetic;
  else
    ui.enabled = !doc.LevelNodes().empty();
  return true;
}
