#pragma once
// The program's MDI main window: menus, five dockable toolbars, the status line
// with its progress indicator, the Info Center window, and the stored placement
// of itself, the Info Center and the toolbars.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <map>
#include <optional>

#include "app/ui/commands.h"
#include "app/ui/mdichild.h"
#include "app/ui/startpanel.h"
#include "app/windowplacement.h"
#include "common/infocenter.h"

class CInfoCenterWnd;
class CStatusLine;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

namespace velk {
class SettingsBackend;
}

class CMainFrame : public QMainWindow {
  Q_OBJECT
 public:
  enum Bar { StandardBar, WorkflowToolsBar, AlignNodesBar, ShowTextsBar, ExtDirBar, BarCount };
  static const char* const kTitle;  // "VELK Modeler"
  // Stored layout of the toolbars (the framework's bar state "General").
  static const char* const kBarStateSection;

  // `store` keeps "GUI Settings" and the bar state; it must outlive the frame.
  // The Info Center window shows the entries of `infoCenter`.
  CMainFrame(const velk::InfoCenter& infoCenter, velk::SettingsBackend& store,
             QWidget* parent = nullptr);
  ~CMainFrame() override;

  // Window creation: placement, toolbars, status bar, docking, saved bar state.
  bool Create();

  QMdiArea* MdiArea() const { return mdi_; }
  CStatusLine* StatusLine() const { return status_; }
  QToolBar* ToolBar(Bar bar) const { return bars_[bar]; }
  // The action of a command (shared by its menu entry and toolbar button).
  QAction* Action(int id) const;
  // The active child window, if any.
  CMdiChild* ActiveChild() const;

  // Runs a command through the active view, its frame and the handlers here;
  // false when nobody handled it.
  bool RouteCommand(int id);
  // State of a command; disabled when nobody handles it.
  CmdUI QueryCommand(int id) const;
  // Whether the active window or a handler here takes the command now.
  bool IsHandled(int id) const;
  using CommandRun = std::function<void()>;
  using CommandUpdate = std::function<void(CmdUI&)>;
  // Handlers for commands that no view takes, e.g. File New of the application.
  void SetCommandHandler(int id, CommandRun run, CommandUpdate update = {});
  // Fills in the recent list where the File menu has it.
  void SetRecentList(std::function<void(QMenu&)> fill) { fillRecent_ = std::move(fill); }
  // The recent workflows as the empty workspace offers them.
  void SetRecentLinks(std::function<std::vector<CStartPanel::Link>()> links);
  // What the empty workspace shows; hidden while a window is open.
  CStartPanel* StartPanel() const { return start_; }
  // Brings every menu entry and button up to date now / at the next idle moment.
  void UpdateCommandUI();
  void RequestCommandUpdate();

  // Progress indicator in the second status pane, 0..100 unless a range is set.
  void SetProgress(int position);
  // Docks `bar` on the same row as `leftBar`, directly to its right.
  void DockControlBarLeftOf(QToolBar* bar, QToolBar* leftBar);

  std::optional<velk::WindowPlacement> ReadWindowPlacement(const char* valueName) const;
  void WriteWindowPlacement(const char* valueName, const velk::WindowPlacement& p);

  // The Info Center window; nullptr until first shown.
  CInfoCenterWnd* InfoCenterWindow() const;
  void ToggleInfoCenter();
  void ShowInfoCenter();
  void HideInfoCenter();
  // The Info Center's entries changed; `show` asks for the window.
  void OnInfoCenterChanged(bool show);

 signals:
  void activeChildChanged(CMdiChild* child);
  // The frame closed; the program ends.
  void frameClosed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Takes the Info Center's private message that hides it, and the status tips
  // of menus and buttons.
  bool event(QEvent* event) override;
  // Follows the windows of the workspace for the start panel.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Handler {
    CommandRun run;
    CommandUpdate update;
  };
  void CreateActions();
  void CreateMenus();
  void CreateToolBars();
  void DockToolBars();
  struct MenuEntry {
    int id;          // 0 for a separator
    unsigned sets;   // menu sets (bit mask) that show the entry
    QMenu* submenu;  // a submenu instead of a command
  };
  QMenu* AddMenu(const QString& title, unsigned menuSets);
  void AddItems(QMenu* menu, std::initializer_list<std::pair<int, unsigned>> items);
  void AddSubmenu(QMenu* menu, QMenu* submenu, unsigned sets);
  void FillMenu(QMenu* menu);
  void FillWindowMenu();
  unsigned CurrentMenuSet() const;
  void ApplyMenuSet();
  void OnChildActivated(QMdiSubWindow* window);
  void UpdateFrameTitle();
  // Shows the start panel, with the links of now, when no window is open.
  void UpdateStartPanel();
  void RegisterFrameCommands();
  void ToggleBar(QToolBar* bar);
  void SaveLayout();
  void RestoreBarState();
  bool CloseAllChildren();

  const velk::InfoCenter& infoCenter_;
  velk::SettingsBackend& store_;
  QMdiArea* mdi_ = nullptr;
  CStatusLine* status_ = nullptr;
  std::array<QToolBar*, BarCount> bars_{};
  std::map<int, QAction*> actions_;
  std::map<int, Handler> handlers_;
  // The top-level menus and the entries of every menu, with their menu sets. A
  // menu is filled for the active window each time it opens.
  std::vector<std::pair<QMenu*, unsigned>> menus_;
  std::map<QMenu*, std::vector<MenuEntry>> menuEntries_;
  QMenu* windowMenu_ = nullptr;
  QPointer<CInfoCenterWnd> info_;
  bool updatePending_ = false;
  std::function<void(QMenu&)> fillRecent_;
  CStartPanel* start_ = nullptr;
  std::function<std::vector<CStartPanel::Link>()> recentLinks_;
};
