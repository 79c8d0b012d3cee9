#pragma once
// Base of the MDI child frames: hands commands to the view it holds, and knows
// which menu the main frame shows while it is active.

#include <QMdiSubWindow>
#include <functional>

#include "app/ui/commands.h"

class CMdiChild : public QMdiSubWindow, public CommandTarget {
  Q_OBJECT
 public:
  // The menus shown while the window is active: the workflow or the External
  // Directory menus.
  enum class MenuSet { Workflow, ExternalDirectory };

  explicit CMdiChild(QWidget* parent = nullptr);

  virtual MenuSet Menus() const = 0;
  // The view, if it handles commands.
  CommandTarget* ViewTarget() const;

  // Asked before the window closes; false keeps it open. Unset: closes.
  std::function<bool()> canClose;

  bool OnCommand(int id) override;
  bool OnUpdateCommand(int id, CmdUI& ui) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
};
