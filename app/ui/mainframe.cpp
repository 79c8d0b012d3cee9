#include "app/ui/mainframe.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusTipEvent>
#include <QTimer>
#include <QToolBar>
#include <algorithm>

#include "app/settings.h"
#include "app/ui/infocenterwnd.h"
#include "app/ui/placement.h"
#include "app/ui/statusline.h"
#include "editor/ui/workflowview.h"

const char* const CMainFrame::kTitle = "VELK Modeler";
const char* const CMainFrame::kBarStateSection = "General-Summary";

namespace {
constexpr int kBarStateVersion = 1;
constexpr const char* kWindowPos = "WindowPos";
constexpr const char* kInfoWindowPos = "InfoWindowPos";

// The zoom pane shows the view of the current workflow window and follows its
// zoom changes; views of other windows may zoom without touching it.
void FollowZoom(CStatusLine& status, QMdiArea& mdi, QMdiSubWindow* window) {
  if (!window) window = mdi.currentSubWindow();
  CWorkflowView* view = window ? window->findChild<CWorkflowView*>() : nullptr;
  status.SetZoom(view ? std::optional<double>(view->Zoom()) : std::nullopt);
  if (!view || view->property("followedByZoomPane").toBool()) return;
  view->setProperty("followedByZoomPane", true);
  QObject::connect(view, &CWorkflowView::zoomChanged, &status, [&status, &mdi, view](double zoom) {
    QMdiSubWindow* current = mdi.currentSubWindow();
    if (current && current->isAncestorOf(view)) status.SetZoom(zoom);
  });
}
}  // namespace

CMainFrame::CMainFrame(const velk::InfoCenter& infoCenter, velk::SettingsBackend& store,
                       QWidget* parent)
    : QMainWindow(parent), infoCenter_(infoCenter), store_(store) {
  setObjectName(QStringLiteral("MainFrame"));
  setWindowTitle(QString::fromLatin1(kTitle));
  setWindowIcon(QIcon(QStringLiteral(":/velkmod/velkmod.svg")));
}

CMainFrame::~CMainFrame() {
  // Destroying the children moves focus and activation; this half-destroyed frame
  // must not hear about it.
  disconnect(qApp, nullptr, this, nullptr);
  if (mdi_) {
    disconnect(mdi_, nullptr, this, nullptr);
    mdi_->viewport()->removeEventFilter(this);
  }
}

bool CMainFrame::Create() {
  mdi_ = new QMdiArea(this);
  mdi_->setObjectName(QStringLiteral("MdiArea"));
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(mdi_);
  connect(mdi_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnChildActivated);
  start_ = new CStartPanel(mdi_->viewport());
  // Windows come and go as children of the viewport, whether or not they are
  // ever activated.
  mdi_->viewport()->installEventFilter(this);

  if (auto p = ReadWindowPlacement(kWindowPos))
    ApplyPlacement(this, *p);
  else
    resize(1024, 720);

  CreateActions();
  CreateToolBars();
  status_ = new CStatusLine(this);
  setStatusBar(status_);
  CreateMenus();
  RegisterFrameCommands();

  setDockOptions(dockOptions() | QMainWindow::AnimatedDocks);
  DockToolBars();
  RestoreBarState();
  ApplyMenuSet();
  UpdateCommandUI();
  UpdateStartPanel();
  connect(qApp, &QApplication::focusChanged, this, &CMainFrame::RequestCommandUpdate);
  return true;
}

void CMainFrame::SetRecentLinks(std::function<std::vector<CStartPanel::Link>()> links) {
  recentLinks_ = std::move(links);
  start_->hide();  // its links are made anew
  UpdateStartPanel();
}

void CMainFrame::UpdateStartPanel() {
  const QList<QMdiSubWindow*> windows = mdi_->subWindowList();
  if (std::any_of(windows.begin(), windows.end(),
                  [](QMdiSubWindow* w) { return !w->isHidden(); })) {
    start_->hide();
    return;
  }
  if (!start_->isHidden()) return;
  // The recent workflows may have changed while windows were open.
  start_->SetLinks({{QStringLiteral("New workflow"), [this] { RouteCommand(cmd::FileNew); }},
                    {QStringLiteral("Open workflow..."), [this] { RouteCommand(cmd::FileOpen); }}},
                   recentLinks_ ? recentLinks_() : std::vector<CStartPanel::Link>());
  start_->show();
}

QAction* CMainFrame::Action(int id) const {
  auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

CMdiChild* CMainFrame::ActiveChild() const {
  return mdi_ ? qobject_cast<CMdiChild*>(mdi_->activeSubWindow()) : nullptr;
}

bool CMainFrame::RouteCommand(int id) {
  bool done = false;
  if (CMdiChild* child = ActiveChild()) done = child->OnCommand(id);
  if (!done) {
    auto it = handlers_.find(id);
    if (it != handlers_.end() && it->second.run) {
      it->second.run();
      done = true;
    }
  }
  RequestCommandUpdate();
  return done;
}

CmdUI CMainFrame::QueryCommand(int id) const {
  CmdUI ui;
  if (CMdiChild* child = ActiveChild(); child && child->OnUpdateCommand(id, ui)) return ui;
  auto it = handlers_.find(id);
  if (it == handlers_.end()) {
    ui.enabled = false;  // nobody handles it (yet)
    return ui;
  }
  if (it->second.update) it->second.update(ui);
  return ui;
}

bool CMainFrame::IsHandled(int id) const {
  CmdUI ui;
  if (CMdiChild* child = ActiveChild(); child && child->OnUpdateCommand(id, ui)) return true;
  return handlers_.contains(id);
}

void CMainFrame::SetCommandHandler(int id, CommandRun run, CommandUpdate update) {
  handlers_[id] = Handler{std::move(run), std::move(update)};
  RequestCommandUpdate();
}

void CMainFrame::UpdateCommandUI() {
  updatePending_ = false;
  for (auto& [id, action] : actions_) {
    const CmdUI ui = QueryCommand(id);
    action->setEnabled(ui.enabled);
    if (action->isCheckable()) action->setChecked(ui.checked || ui.indeterminate);
    if (!ui.text.isEmpty()) action->setText(ui.text);
  }
}

void CMainFrame::RequestCommandUpdate() {
  if (updatePending_) return;
  updatePending_ = true;
  QTimer::singleShot(0, this, &CMainFrame::UpdateCommandUI);
}

void CMainFrame::SetProgress(int position) {
  if (status_) status_->SetProgress(position);
}

std::optional<velk::WindowPlacement> CMainFrame::ReadWindowPlacement(const char* valueName) const {
  return velk::ReadWindowPlacement(store_, valueName);
}

void CMainFrame::WriteWindowPlacement(const char* valueName, const velk::WindowPlacement& p) {
  velk::WriteWindowPlacement(store_, valueName, p);
}

CInfoCenterWnd* CMainFrame::InfoCenterWindow() const {
  return info_;
}

void CMainFrame::ShowInfoCenter() {
  if (!info_) {
    info_ = new CInfoCenterWnd(infoCenter_, this);
    info_->Refresh();
    if (auto p = ReadWindowPlacement(kInfoWindowPos)) ApplyPlacement(info_, *p);
  }
  info_->show();
  info_->raise();
  RequestCommandUpdate();
}

void CMainFrame::HideInfoCenter() {
  if (info_) info_->hide();
  RequestCommandUpdate();
}

void CMainFrame::ToggleInfoCenter() {
  if (info_ && info_->isVisible())
    HideInfoCenter();
  else
    ShowInfoCenter();
}

bool CMainFrame::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    // Into the message pane: the status bar's own temporary message would be
    // drawn beside the pane's text.
    if (status_) status_->ShowTip(static_cast<QStatusTipEvent*>(event)->tip());
    return true;
  }
  if (event->type() != CInfoCenterWnd::kHideMessage) return QMainWindow::event(event);
  HideInfoCenter();
  return true;
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (mdi_ && watched == mdi_->viewport()) {
    if (type == QEvent::ChildAdded &&
        qobject_cast<QMdiSubWindow*>(static_cast<QChildEvent*>(event)->child()))
      start_->hide();
    // A window that goes is still in the area's list while it is taken apart.
    if (type == QEvent::ChildRemoved) QTimer::singleShot(0, this, &CMainFrame::UpdateStartPanel);
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::OnInfoCenterChanged(bool show) {
  if (info_) info_->Refresh();
  if (show) ShowInfoCenter();
}

bool CMainFrame::CloseAllChildren() {
  mdi_->closeAllSubWindows();
  for (QMdiSubWindow* w : mdi_->subWindowList())
    if (!w->isHidden()) return false;  // a window refused to close
  return true;
}

void CMainFrame::SaveLayout() {
  store_.setString(kBarStateSection, "State", saveState(kBarStateVersion).toBase64().toStdString());
  store_.setInt(kBarStateSection, "StatusBar", status_ && !status_->isHidden() ? 1 : 0);
  WriteWindowPlacement(kWindowPos, PlacementOf(this));
  if (info_) WriteWindowPlacement(kInfoWindowPos, PlacementOf(info_));
  store_.sync();
}

void CMainFrame::RestoreBarState() {
  const std::string state = store_.getString(kBarStateSection, "State", {});
  if (!state.empty())
    restoreState(QByteArray::fromBase64(QByteArray::fromStdString(state)), kBarStateVersion);
  if (store_.getInt(kBarStateSection, "StatusBar", 1) == 0) status_->hide();
  // A bar whose commands are not in the program yet stays out of sight.
  for (QToolBar* bar : bars_) {
    const QList<QAction*> actions = bar->actions();
    if (std::none_of(actions.begin(), actions.end(), [](QAction* a) { return !a->isSeparator(); }))
      bar->hide();
  }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!CloseAllChildren()) {
    event->ignore();
    return;
  }
  SaveLayout();
  QMainWindow::closeEvent(event);
  emit frameClosed();
}

void CMainFrame::UpdateFrameTitle() {
  QString title = QString::fromLatin1(kTitle);
  if (QMdiSubWindow* window = mdi_->activeSubWindow())
    title += QStringLiteral(" - ") + window->windowTitle();
  setWindowTitle(title);
}

void CMainFrame::OnChildActivated(QMdiSubWindow* window) {
  if (window)
    connect(window, &QWidget::windowTitleChanged, this, &CMainFrame::UpdateFrameTitle,
            Qt::UniqueConnection);
  UpdateFrameTitle();
  ApplyMenuSet();
  FollowZoom(*status_, *mdi_, window);
  RequestCommandUpdate();
  emit activeChildChanged(qobject_cast<CMdiChild*>(window));
}
