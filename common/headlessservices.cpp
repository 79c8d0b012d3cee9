#include "common/headlessservices.h"

#include <iostream>

namespace velk {

namespace {
MsgResult firstButton(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
      return MsgResult::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel:
      return MsgResult::Yes;
    case MsgButtons::AbortRetryIgnore:
      return MsgResult::Abort;
    case MsgButtons::RetryCancel:
      return MsgResult::Retry;
  }
  return MsgResult::Ok;
}
}  // namespace

MsgResult HeadlessServices::messageBox(const std::string& text, MsgIcon icon, MsgButtons buttons,
                                       const std::string& title) {
  messages.push_back({text, icon, buttons, title});
  if (echo) std::cerr << text << '\n';
  if (!answers.empty()) {
    MsgResult r = answers.front();
    answers.pop_front();
    return r;
  }
  return defaultAnswer.value_or(firstButton(buttons));
}

void HeadlessServices::showStatusText(const std::string& text) {
  statusTexts.push_back(text);
  if (echo && !text.empty()) std::cerr << text << '\n';
}

void HeadlessServices::beginProgress(int maximum) {
  progressActive = true;
  progressMaximum = maximum;
  progressValues.clear();
}

void HeadlessServices::setProgress(int value) {
  progressValues.push_back(value);
}

void HeadlessServices::endProgress() {
  progressActive = false;
}

}  // namespace velk
