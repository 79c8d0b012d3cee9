#include "app/ui/helpcommands.h"

#include "app/ui/mainframe.h"
#include "app/ui/splashwnd.h"

CHelpCommands::CHelpCommands(CMainFrame& frame, QPointer<CSplashWnd>& splash,
                             std::function<void(QWidget* parent)> showHelp)
    : frame_(frame), splash_(splash), showHelp_(std::move(showHelp)) {}

void CHelpCommands::HelpTopics() {
  showHelp_(&frame_);
}

void CHelpCommands::About() {
  if (splash_) {
    splash_->raise();
    return;
  }
  splash_ = new CSplashWnd(0, &frame_);
  splash_->setAttribute(Qt::WA_QuitOnClose, false);
  splash_->show();
  splash_->repaint();
}
