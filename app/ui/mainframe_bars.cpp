// Menus, toolbars and the frame's own commands of CMainFrame.
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

#include "app/ui/commandtable.h"
#include "app/ui/infocenterwnd.h"
#include "app/ui/mainframe.h"
#include "app/ui/statusline.h"

namespace {

// Which menus show an entry: with no window open, in a workflow window, in the
// External Directory window.
enum : unsigned { kNoDoc = 1, kWf = 2, kExt = 4, kDocs = kWf | kExt, kAll = 7 };
constexpr int kSeparator = 0;

struct BarSpec {
  const char* objectName;
  const char* title;
  std::initializer_list<int> buttons;  // kSeparator for a bar
};

const BarSpec kBars[CMainFrame::BarCount] = {
    {"Standard",
     "Standard",
     {cmd::FileNew, cmd::FileOpen, cmd::FileSave, kSeparator, cmd::EditCut, cmd::EditCopy,
      cmd::EditPaste, kSeparator, cmd::EditUndo, cmd::EditRedo, kSeparator, cmd::FilePrint,
      cmd::AppAbout}},
    {"Workflowtools",
     "Workflowtools",
     {cmd::ToolSelect, kSeparator, cmd::ToolArrow, kSeparator, cmd::ToolInternalTask,
      cmd::ToolInternalCluster, kSeparator, cmd::ToolExtWfTask, kSeparator, cmd::ToolCentralCluster,
      cmd::ToolExtSubWorkflow, kSeparator, cmd::ToolExtSubscribed, kSeparator, cmd::EditDelete}},
    {"AlignNodes",
     "Align Nodes",
     {cmd::AlignLeft, cmd::AlignRight, cmd::AlignTop, cmd::AlignBottom, cmd::AlignCenterVert,
      cmd::AlignCenterHorz, kSeparator, cmd::ToggleGrid, cmd::AlignGrid, kSeparator,
      cmd::ArrangeLayers}},
    {"ShowTexts",
     "Show Texts",
     {cmd::ShowTaskNames, kSeparator, cmd::ShowTaskMember, cmd::ShowTaskForms,
      cmd::ShowTaskResources, kSeparator, cmd::ShowArrowDescription}},
    {"ExternalDirectory",
     "External Directory",
     {cmd::ExternalDirectory, kSeparator, cmd::ExtDirSave, cmd::ExtDirReload, kSeparator,
      cmd::ExtDirExpandBranch, cmd::ExtDirCollapseBranch, cmd::ExtDirExpandAll,
      cmd::ExtDirCollapseAll}},
};

// The View menu command that shows or hides each bar.
constexpr int kBarCommand[CMainFrame::BarCount] = {cmd::ViewStandardBar, cmd::ViewWorkflowTools,
                                                   cmd::ViewAlignNodes, cmd::ViewShowTexts,
                                                   cmd::ViewExtDirBar};

}  // namespace

void CMainFrame::CreateActions() {
  for (const CommandInfo& info : AllCommands()) {
    if (!IsCommandBuilt(info.id)) continue;
    QString text = QString::fromUtf8(info.menuText);
    QString shortcut;
    if (int tab = text.indexOf(QLatin1Char('\t')); tab >= 0) {
      shortcut = text.mid(tab + 1);
      text.truncate(tab);
    }
    auto* action = new QAction(text, this);
    QList<QKeySequence> keys;
    if (!shortcut.isEmpty()) keys << QKeySequence::fromString(shortcut);
    if (const char* second = SecondShortcut(info.id))
      keys << QKeySequence::fromString(QString::fromLatin1(second));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::ApplicationShortcut);
    action->setToolTip(QString::fromUtf8(info.toolTip));
    action->setStatusTip(QString::fromUtf8(info.prompt));
    action->setCheckable(info.checkable);
    if (*info.icon)
      action->setIcon(QIcon(QStringLiteral(":/toolbar/%1.svg").arg(QLatin1String(info.icon))));
    const int id = info.id;
    connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    addAction(action);  // shortcuts work whether or not a menu shows the entry
    actions_[id] = action;
  }
}

void CMainFrame::CreateToolBars() {
  for (int b = 0; b < BarCount; ++b) {
    auto* bar = new QToolBar(QString::fromLatin1(kBars[b].title), this);
    bar->setObjectName(QString::fromLatin1(kBars[b].objectName));
    bar->setIconSize(QSize(16, 16));
    bar->setAllowedAreas(Qt::AllToolBarAreas);
    for (int id : kBars[b].buttons) {
      if (id == kSeparator)
        bar->addSeparator();
      else if (QAction* action = Action(id))
        bar->addAction(action);
    }
    bars_[b] = bar;
  }
}

void CMainFrame::DockToolBars() {
  addToolBar(Qt::TopToolBarArea, bars_[StandardBar]);
  addToolBarBreak(Qt::TopToolBarArea);
  addToolBar(Qt::TopToolBarArea, bars_[WorkflowToolsBar]);
  DockControlBarLeftOf(bars_[AlignNodesBar], bars_[WorkflowToolsBar]);
  DockControlBarLeftOf(bars_[ShowTextsBar], bars_[AlignNodesBar]);
  DockControlBarLeftOf(bars_[ExtDirBar], bars_[ShowTextsBar]);
}

void CMainFrame::DockControlBarLeftOf(QToolBar* bar, QToolBar* leftBar) {
  // Qt inserts only before a bar: put `bar` before `leftBar`, then move
  // `leftBar` before `bar`, which leaves `bar` directly to its right.
  if (toolBarArea(leftBar) == Qt::NoToolBarArea) addToolBar(leftBar);
  insertToolBar(leftBar, bar);
  insertToolBar(bar, leftBar);
}

QMenu* CMainFrame::AddMenu(const QString& title, unsigned menuSets) {
  QMenu* menu = menuBar()->addMenu(title);
  menus_.emplace_back(menu, menuSets);
  connect(menu, &QMenu::aboutToShow, this, [this, menu] {
    UpdateCommandUI();
    FillMenu(menu);
  });
  return menu;
}

void CMainFrame::AddItems(QMenu* menu, std::initializer_list<std::pair<int, unsigned>> items) {
  for (auto [id, sets] : items)
    if (id == kSeparator || Action(id)) menuEntries_[menu].push_back({id, sets, nullptr});
}

void CMainFrame::AddSubmenu(QMenu* menu, QMenu* submenu, unsigned sets) {
  menuEntries_[menu].push_back({0, sets, submenu});
  connect(submenu, &QMenu::aboutToShow, this, [this, submenu] { FillMenu(submenu); });
}

void CMainFrame::FillMenu(QMenu* menu) {
  menu->clear();
  const unsigned set = CurrentMenuSet();
  bool separatorDue = false;
  auto hasCommands = [this](QMenu* submenu) {
    const std::vector<MenuEntry>& entries = menuEntries_[submenu];
    return std::any_of(entries.begin(), entries.end(),
                       [](const MenuEntry& e) { return e.id != kSeparator || e.submenu; });
  };
  for (const MenuEntry& e : menuEntries_[menu]) {
    if (!(e.sets & set) || (e.submenu && !hasCommands(e.submenu))) continue;
    if (e.id == kSeparator && !e.submenu) {
      separatorDue = !menu->isEmpty();
      continue;
    }
    if (separatorDue) menu->addSeparator();
    separatorDue = false;
    if (e.submenu)
      menu->addMenu(e.submenu);
    else if (e.id == cmd::FileMru && fillRecent_)
      fillRecent_(*menu);
    else
      menu->addAction(Action(e.id));
  }
  if (menu == windowMenu_) FillWindowMenu();
}

void CMainFrame::CreateMenus() {
  QMenu* file = AddMenu(QStringLiteral("&File"), kAll);
  AddItems(file, {{cmd::FileNew, kAll},
                  {cmd::FileOpen, kAll},
                  {cmd::FileClose, kDocs},
                  {cmd::FileSave, kWf},
                  {cmd::FileSaveAs, kWf},
                  {kSeparator, kAll},
                  {cmd::FilePrint, kWf},
                  {cmd::FilePrintPreview, kWf},
                  {cmd::FilePrintSetup, kAll},
                  {kSeparator, kAll},
                  {cmd::FileExport, kWf},
                  {kSeparator, kAll},
                  {cmd::FileImportBpmn, kAll},
                  {cmd::FileExportBpmn, kWf},
                  {kSeparator, kAll},
                  {cmd::FileMru, kAll},
                  {kSeparator, kAll},
                  {cmd::AppExit, kAll}});
  QMenu* edit = AddMenu(QStringLiteral("&Edit"), kWf);
  AddItems(edit, {{cmd::EditUndo, kWf},
                  {cmd::EditRedo, kWf},
                  {kSeparator, kWf},
                  {cmd::EditCut, kWf},
                  {cmd::EditCopy, kWf},
                  {cmd::EditPaste, kWf},
                  {cmd::EditDelete, kWf},
                  {kSeparator, kWf},
                  {cmd::EditSelectAll, kWf},
                  {kSeparator, kWf},
                  {cmd::EditFind, kWf},
                  {cmd::EditFindNext, kWf},
                  {cmd::EditFindPrevious, kWf}});

  QMenu* view = AddMenu(QStringLiteral("&View"), kAll);
  auto* bars = new QMenu(QStringLiteral("&Toolbars"), this);
  for (int id : kBarCommand) AddItems(bars, {{id, kAll}});
  AddSubmenu(view, bars, kAll);
  AddItems(view, {{cmd::ViewStatusBar, kAll},
                  {cmd::InfoCenter, kAll},
                  {cmd::ExternalDirectory, kAll},
                  {kSeparator, kWf},
                  {cmd::ShowTaskNames, kWf},
                  {cmd::ShowTaskMember, kWf},
                  {cmd::ShowTaskForms, kWf},
                  {cmd::ShowTaskResources, kWf},
                  {cmd::ShowArrowDescription, kWf},
                  {kSeparator, kWf},
                  {cmd::ViewZoomIn, kWf},
                  {cmd::ViewZoomOut, kWf},
                  {cmd::ViewZoomFit, kWf},
                  {cmd::ViewZoomSelection, kWf},
                  {cmd::ViewOverview, kWf}});

  QMenu* workflow = AddMenu(QStringLiteral("&Workflow"), kWf);
  AddItems(workflow, {{cmd::WorkflowSettings, kWf},
                      {cmd::ConsistencyCheck, kWf},
                      {kSeparator, kWf},
                      {cmd::Properties, kWf},
                      {cmd::OpenSubWorkflow, kWf},
                      {kSeparator, kWf}});
  auto* align = new QMenu(QStringLiteral("&Align Nodes to ..."), this);
  AddSubmenu(workflow, align, kWf);
  AddItems(align, {{cmd::AlignMenuLeft, kWf},
                   {cmd::AlignMenuRight, kWf},
                   {cmd::AlignMenuTop, kWf},
                   {cmd::AlignMenuBottom, kWf},
                   {cmd::AlignMenuCenterHorz, kWf},
                   {cmd::AlignMenuCenterVert, kWf},
                   {kSeparator, kWf},
                   {cmd::AlignMenuGrid, kWf}});
  AddItems(workflow, {{cmd::AutoArrange, kWf},
                      {cmd::ArrangeLayers, kWf},
                      {cmd::GroupAsCluster, kWf},
                      {kSeparator, kWf},
                      {cmd::VersionHistory, kWf},
                      {cmd::CompareStoredVersion, kWf},
                      {kSeparator, kWf},
                      {cmd::ReloadRepository, kWf}});

  QMenu* directory = AddMenu(QStringLiteral("&Directory"), kExt);
  AddItems(directory, {{cmd::ExtDirNewFolder, kExt},
                       {cmd::ExtDirDelete, kExt},
                       {cmd::ExtDirProperties, kExt},
                       {kSeparator, kExt},
                       {cmd::ExtDirExpandBranch, kExt},
                       {cmd::ExtDirCollapseBranch, kExt},
                       {cmd::ExtDirExpandAll, kExt},
                       {cmd::ExtDirCollapseAll, kExt},
                       {kSeparator, kExt},
                       {cmd::ExtDirSave, kExt},
                       {cmd::ExtDirReload, kExt}});

  QMenu* options = AddMenu(QStringLiteral("&Options"), kAll);
  AddItems(options, {{cmd::Settings, kAll}});
  windowMenu_ = AddMenu(QStringLiteral("&Window"), kDocs);
  AddItems(windowMenu_, {{cmd::WindowCascade, kDocs}, {cmd::WindowTile, kDocs}});
  QMenu* help = AddMenu(QStringLiteral("&Help"), kAll);
  AddItems(help, {{cmd::HelpTopics, kAll}, {kSeparator, kAll}, {cmd::AppAbout, kAll}});
}

unsigned CMainFrame::CurrentMenuSet() const {
  CMdiChild* child = ActiveChild();
  if (!child) return kNoDoc;
  return child->Menus() == CMdiChild::MenuSet::Workflow ? kWf : kExt;
}

void CMainFrame::ApplyMenuSet() {
  const unsigned set = CurrentMenuSet();
  for (auto& [menu, sets] : menus_) menu->menuAction()->setVisible((sets & set) != 0);
  for (auto& entry : menuEntries_) FillMenu(entry.first);
}

void CMainFrame::FillWindowMenu() {
  const QList<QMdiSubWindow*> windows = mdi_->subWindowList();
  if (!windows.isEmpty()) windowMenu_->addSeparator();
  int n = 0;
  for (QMdiSubWindow* w : windows) {
    QString text = QStringLiteral("&%1 %2").arg(++n).arg(w->windowTitle());
    QAction* a = windowMenu_->addAction(text, this, [this, w] { mdi_->setActiveSubWindow(w); });
    a->setCheckable(true);
    a->setChecked(w == mdi_->activeSubWindow());
  }
}

void CMainFrame::ToggleBar(QToolBar* bar) {
  bar->setVisible(bar->isHidden());
  RequestCommandUpdate();
}

void CMainFrame::RegisterFrameCommands() {
  for (int b = 0; b < BarCount; ++b) {
    QToolBar* bar = bars_[b];
    SetCommandHandler(
        kBarCommand[b], [this, bar] { ToggleBar(bar); },
        [bar](CmdUI& ui) { ui.checked = !bar->isHidden(); });
  }
  SetCommandHandler(
      cmd::ViewStatusBar, [this] { status_->setVisible(status_->isHidden()); },
      [this](CmdUI& ui) { ui.checked = !status_->isHidden(); });
  SetCommandHandler(
      cmd::InfoCenter, [this] { ToggleInfoCenter(); },
      [this](CmdUI& ui) { ui.checked = info_ && info_->isVisible(); });
  SetCommandHandler(
      cmd::WindowCascade, [this] { mdi_->cascadeSubWindows(); },
      [this](CmdUI& ui) { ui.enabled = !mdi_->subWindowList().isEmpty(); });
  SetCommandHandler(
      cmd::WindowTile, [this] { mdi_->tileSubWindows(); },
      [this](CmdUI& ui) { ui.enabled = !mdi_->subWindowList().isEmpty(); });
  SetCommandHandler(
      cmd::FileClose, [this] { mdi_->closeActiveSubWindow(); },
      [this](CmdUI& ui) { ui.enabled = ActiveChild() != nullptr; });
  SetCommandHandler(cmd::AppExit, [this] { close(); });
}
