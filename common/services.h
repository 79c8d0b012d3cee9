#pragma once
// What the headless core asks of the user interface: message boxes, the status line,
// the progress bar, the wait cursor and the Info Center. Each program makes one in
// its composition root (the modeler a widget implementation, the command-line tool
// and tests HeadlessServices) and passes it at construction to every object that
// reports; free functions take it as their first parameter.

#include <string>

#include "common/infocenter.h"

namespace velk {

enum class MsgIcon { None, Information, Exclamation, Question, Stop };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, AbortRetryIgnore, RetryCancel };
enum class MsgResult { Ok, Cancel, Yes, No, Abort, Retry, Ignore };

class Services {
 public:
  Services() : infoCenter_([this](bool showWindow) { infoCenterChanged(showWindow); }) {}
  virtual ~Services() = default;
  Services(const Services&) = delete;
  Services& operator=(const Services&) = delete;

  virtual MsgResult messageBox(const std::string& text, MsgIcon icon, MsgButtons buttons,
                               const std::string& title = {}) = 0;
  // Empty text restores the idle prompt. Shown at once, even inside a long operation.
  virtual void showStatusText(const std::string& text) = 0;

  virtual void beginProgress(int maximum) = 0;
  virtual void setProgress(int value) = 0;
  virtual void endProgress() = 0;

  virtual void beginWaitCursor() = 0;
  virtual void endWaitCursor() = 0;

  // The Info Center keeps the entries (see InfoCenter); this tells the window to show
  // them, which it does at once for an error entry.
  virtual void infoCenterChanged(bool showWindow) = 0;

  // The program's Info Center, which reports its changes to infoCenterChanged.
  InfoCenter& infoCenter() { return infoCenter_; }
  const InfoCenter& infoCenter() const { return infoCenter_; }

 private:
  InfoCenter infoCenter_;
};

// Status line text for the lifetime of a scope; reset on every exit path.
class StatusScope {
 public:
  StatusScope(Services& services, const std::string& text) : services_(services) {
    services_.showStatusText(text);
  }
  ~StatusScope() { services_.showStatusText({}); }
  StatusScope(const StatusScope&) = delete;
  StatusScope& operator=(const StatusScope&) = delete;

 private:
  Services& services_;
};

class WaitCursor {
 public:
  explicit WaitCursor(Services& services) : services_(services) { services_.beginWaitCursor(); }
  ~WaitCursor() { services_.endWaitCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  Services& services_;
};

}  // namespace velk
