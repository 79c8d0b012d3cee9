#include "app/ui/workflowwindows.h"

#include <QMdiArea>
#include <QStyle>
#include <optional>

#include "common/services.h"
#include "app/ui/doctemplate.h"
#include "app/ui/mainframe.h"
#include "app/ui/workflowframe.h"
#include "editor/ui/editor.h"
#include "editor/ui/workflowview.h"
#include "model/consistencycheck.h"
#include "model/workflowdoc.h"

using velk::CWorkflowDoc;

CWorkflowWindows::CWorkflowWindows(CMainFrame& frame, CDocTemplate& workflowTemplate,
                                   CEditor& editor, velk::ChooseSaveName chooseName,
                                   velk::WorkflowSaver& saver)
    : frame_(frame),
      template_(workflowTemplate),
      editor_(editor),
      chooseName_(std::move(chooseName)),
      saver_(saver) {}

namespace {

// The last window opened before `window` that still shows, if any.
std::optional<velk::WindowBox> LastWindowBefore(const QMdiArea& area, const QMdiSubWindow* window) {
  const QList<QMdiSubWindow*> windows = area.subWindowList(QMdiArea::CreationOrder);
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    const QMdiSubWindow* w = *it;
    if (w == window || w->isHidden() || w->isMinimized()) continue;
    return velk::WindowBox{w->x(), w->y(), w->width(), w->height()};
  }
  return std::nullopt;
}

// A workflow needs room: three quarters of the workspace, one title bar
// further than the last window, never partly out of sight.
void PlaceInWorkspace(QMdiArea& area, QMdiSubWindow& window) {
  if (window.isMaximized()) return;
  const QSize workspace = area.viewport()->size();
  const int step = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window) + 4;
  const velk::WindowBox box =
      velk::CascadeBox(LastWindowBefore(area, &window), workspace.width(), workspace.height(),
                       workspace.width() * 3 / 4, workspace.height() * 3 / 4, step);
  window.setGeometry(box.left, box.top, box.width, box.height);
}

}  // namespace

CChildFrame* CWorkflowWindows::AddWindow(std::shared_ptr<CWorkflowDoc> doc) {
  auto* view = new CWorkflowView(editor_, doc);
  auto* window = new CChildFrame(std::move(doc), view);
  window->canClose = [this, window] { return MayClose(*window); };
  template_.AddFrame(frame_.MdiArea(), window);
  PlaceInWorkspace(*frame_.MdiArea(), *window);
  return window;
}

CChildFrame* CWorkflowWindows::OpenTopWindow(std::shared_ptr<CWorkflowDoc> doc) {
  CWorkflowDoc& top = *doc;
  top.SetClusterClosingHandler([this](CWorkflowDoc& cluster) { CloseWindowOf(cluster); });
  return AddWindow(std::move(doc));
}

void CWorkflowWindows::OpenClusterWindow(CWorkflowDoc& from, velk::CNode& clusterNode) {
  CWorkflowDoc* cluster = from.OpenClusterDocument(clusterNode);
  if (CChildFrame* open = FindWindow(*cluster)) {
    ShowWindow(*open);
    return;
  }
  CChildFrame* topWindow = FindWindow(from.Top());
  if (!topWindow) return;
  // The cluster's window keeps the workflow alive; the top document owns the level.
  AddWindow(std::shared_ptr<CWorkflowDoc>(topWindow->Document(), cluster));
}

void CWorkflowWindows::ShowWindow(CChildFrame& window) {
  frame_.MdiArea()->setActiveSubWindow(&window);
  window.showNormal();
  window.raise();
  window.GetView()->update();
}

CChildFrame* CWorkflowWindows::FindWindow(const CWorkflowDoc& doc) const {
  for (CMdiChild* child : template_.Frames()) {
    auto* window = qobject_cast<CChildFrame*>(child);
    if (window && window->GetDocument() == &doc) return window;
  }
  return nullptr;
}

std::vector<CWorkflowDoc*> CWorkflowWindows::TopDocuments() const {
  std::vector<CWorkflowDoc*> docs;
  for (CMdiChild* child : template_.Frames()) {
    auto* window = qobject_cast<CChildFrame*>(child);
    if (window && window->GetDocument() && window->GetDocument()->IsTopDocument())
      docs.push_back(window->GetDocument());
  }
  return docs;
}

CChildFrame* CWorkflowWindows::ActiveWindow() const {
  return qobject_cast<CChildFrame*>(frame_.ActiveChild());
}

bool CWorkflowWindows::SaveActive(bool saveAs) {
  CChildFrame* window = ActiveWindow();
  return window && window->GetDocument() && Save(*window->GetDocument(), saveAs);
}

void CWorkflowWindows::CheckActive() {
  CChildFrame* window = ActiveWindow();
  if (!window || !window->GetDocument()) return;
  velk::CheckConsistency(*window->GetDocument(), saver_.Directory());
  // Asked for, the findings are shown even when all is well.
  frame_.ShowInfoCenter();
}

bool CWorkflowWindows::Save(CWorkflowDoc& doc, bool saveAs) {
  if (!saver_.Save(doc, {saveAs, chooseName_, false, {}})) return false;
  editor_.UpdateAllViews(doc);
  emit workflowStored(doc.Top());
  return true;
}

bool CWorkflowWindows::MayClose(CChildFrame& window) {
  CWorkflowDoc* doc = window.GetDocument();
  if (!doc) return true;
  if (doc->IsClusterDocument()) {
    doc->Top().CloseClusterDocument(*doc);
    return true;
  }
  if (doc->Session().NeedsSaveQuestion()) {
    const velk::MsgResult answer =
        doc->UserInterface().messageBox(doc->Session().SaveChangesQuestion(),
                                        velk::MsgIcon::Question, velk::MsgButtons::YesNoCancel);
    if (answer == velk::MsgResult::Cancel) return false;
    if (answer == velk::MsgResult::Yes) Save(*doc, false);  // closes whatever the outcome
  }
  emit workflowClosing(*doc);
  doc->PrepareClose();
  return true;
}

void CWorkflowWindows::CloseWindowOf(CWorkflowDoc& clusterDocument) {
  CChildFrame* window = FindWindow(clusterDocument);
  if (!window) return;
  // The level goes right after this; its view must not outlive it.
  window->ReleaseDocument();
  window->close();
}
