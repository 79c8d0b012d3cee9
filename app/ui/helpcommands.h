#pragma once
// "&Help Topics" and "&About": the help window, and the splash window without its
// timer, closed by a click.

#include <QPointer>
#include <QWidget>
#include <functional>

class CMainFrame;
class CSplashWnd;

class CHelpCommands {
 public:
  // `splash` is the one splash window of the session: the start-up one is raised
  // rather than a second one shown.
  CHelpCommands(CMainFrame& frame, QPointer<CSplashWnd>& splash,
                std::function<void(QWidget* parent)> showHelp);

  void HelpTopics();
  void About();

 private:
  CMainFrame& frame_;
  QPointer<CSplashWnd>& splash_;
  std::function<void(QWidget* parent)> showHelp_;
};
