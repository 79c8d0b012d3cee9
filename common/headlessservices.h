#pragma once
// Services without a screen: records everything, optionally echoes messages to
// stderr, and answers every question with a preset answer.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "common/services.h"

namespace velk {

class HeadlessServices : public Services {
 public:
  struct Message {
    std::string text;
    MsgIcon icon;
    MsgButtons buttons;
    std::string title;
  };

  MsgResult messageBox(const std::string& text, MsgIcon icon, MsgButtons buttons,
                       const std::string& title = {}) override;
  void showStatusText(const std::string& text) override;
  void beginProgress(int maximum) override;
  void setProgress(int value) override;
  void endProgress() override;
  void beginWaitCursor() override { ++waitDepth; }
  void endWaitCursor() override { --waitDepth; }
  void infoCenterChanged(bool showWindow) override {
    infoWindowShown = infoWindowShown || showWindow;
  }

  // Answers queued by a test are used first, then the default answer. Without
  // either, a question gets its first button (Ok, Yes or Abort).
  std::deque<MsgResult> answers;
  std::optional<MsgResult> defaultAnswer;
  bool echo = false;  // print messages and status texts to stderr

  std::vector<Message> messages;
  std::vector<std::string> statusTexts;  // every text shown; "" for the idle prompt
  std::vector<int> progressValues;
  int progressMaximum = 0;
  bool progressActive = false;
  int waitDepth = 0;
  bool infoWindowShown = false;

  std::string currentStatus() const {
    return statusTexts.empty() ? std::string() : statusTexts.back();
  }
};

}  // namespace velk
