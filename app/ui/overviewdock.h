#pragma once
// "Overview": a dockable window with the overview of the active workflow
// window's level. It registers its View menu command with the frame.

#include <QDockWidget>

class CMainFrame;
class CMdiChild;
class COverviewWidget;

class COverviewDock : public QDockWidget {
  Q_OBJECT
 public:
  explicit COverviewDock(CMainFrame& frame);
  COverviewWidget* Overview() const { return overview_; }

 private:
  void Follow(CMdiChild* child);

  COverviewWidget* overview_ = nullptr;
};
