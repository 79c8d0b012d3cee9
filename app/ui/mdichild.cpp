#include "app/ui/mdichild.h"

#include <QCloseEvent>

CMdiChild::CMdiChild(QWidget* parent) : QMdiSubWindow(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
}

CommandTarget* CMdiChild::ViewTarget() const {
  return dynamic_cast<CommandTarget*>(widget());
}

bool CMdiChild::OnCommand(int id) {
  CommandTarget* view = ViewTarget();
  return view && view->OnCommand(id);
}

bool CMdiChild::OnUpdateCommand(int id, CmdUI& ui) {
  CommandTarget* view = ViewTarget();
  return view && view->OnUpdateCommand(id, ui);
}

void CMdiChild::closeEvent(QCloseEvent* event) {
  if (canClose && !canClose()) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}
