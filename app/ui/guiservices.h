#pragma once
// The widget side of velk::Services: message boxes, the status line, the progress
// indicator, the wait cursor and the Info Center window of the main frame.

#include <QPointer>
#include <QString>

#include "common/services.h"

class CMainFrame;
class QDialogButtonBox;

class CGuiServices : public velk::Services {
 public:
  static const char* const kDefaultTitle;  // "VELK Modeler"

  // `frame` may be null (before the main frame exists, or in tests).
  explicit CGuiServices(CMainFrame* frame = nullptr);
  void SetFrame(CMainFrame* frame);

  velk::MsgResult messageBox(const std::string& text, velk::MsgIcon icon, velk::MsgButtons buttons,
                             const std::string& title = {}) override;
  void showStatusText(const std::string& text) override;
  void beginProgress(int maximum) override;
  void setProgress(int value) override;
  void endProgress() override;
  void beginWaitCursor() override;
  void endWaitCursor() override;
  void infoCenterChanged(bool showWindow) override;

  int WaitDepth() const { return waitDepth_; }

 private:
  QPointer<CMainFrame> frame_;
  int waitDepth_ = 0;
};

// Message texts of the store use "\r\n"; Qt wants "\n".
QString DisplayText(const std::string& text);
// Plain dialogs of the program label their cancel button "Abbrechen".
void UseAbbrechen(QDialogButtonBox* buttons);
