#include "app/ui/overviewdock.h"

#include "app/ui/commands.h"
#include "app/ui/mainframe.h"
#include "app/ui/workflowframe.h"
#include "editor/ui/overviewwidget.h"
#include "editor/ui/workflowview.h"

COverviewDock::COverviewDock(CMainFrame& frame)
    : QDockWidget(QStringLiteral("Overview"), &frame), overview_(new COverviewWidget(this)) {
  setObjectName(QStringLiteral("OverviewDock"));
  setWidget(overview_);
  overview_->setMinimumSize(200, 150);
  frame.addDockWidget(Qt::RightDockWidgetArea, this);
  hide();
  connect(&frame, &CMainFrame::activeChildChanged, this, &COverviewDock::Follow);
  connect(this, &QDockWidget::visibilityChanged, &frame,
          [&frame] { frame.RequestCommandUpdate(); });
  frame.SetCommandHandler(
      cmd::ViewOverview,
      [this, &frame] {
        setVisible(isHidden());
        if (isVisible()) Follow(frame.ActiveChild());
      },
      [this](CmdUI& ui) { ui.checked = !isHidden(); });
  Follow(frame.ActiveChild());
}

void COverviewDock::Follow(CMdiChild* child) {
  // The External Directory window and an empty workspace have no drawing.
  auto* window = qobject_cast<CChildFrame*>(child);
  overview_->SetView(window ? qobject_cast<CWorkflowView*>(window->GetView()) : nullptr);
}
