#include "repository/noteserror.h"

namespace {

constexpr std::size_t kLongestMessage = 254;

std::string StoreMessage(LNSTATUS status) {
  char buffer[kLongestMessage + 1] = "";
  LNGetErrorMessage(status, buffer, sizeof buffer);
  return buffer;
}

velk::MsgResult ShowExclamation(const std::string& text) {
  velk::MsgResult result =
      velk::services().messageBox(text, velk::MsgIcon::Exclamation, velk::MsgButtons::Ok);
  velk::services().showStatusText({});
  return result;
}

}  // namespace

std::string GetNotesErrorText(LNSTATUS status) {
  return "Document Store Error:\r\n" + StoreMessage(status) + "\r\n";
}

velk::MsgResult ShowNotesError(const std::string& context, LNSTATUS status) {
  return ShowExclamation(GetNotesErrorText(status) + context);
}

std::string GetNotesErrorText(const LNStatusError& error) {
  return "Document Store Error:\r\n" + std::string(error.what()).substr(0, kLongestMessage) +
         "\r\n";
}

velk::MsgResult ShowNotesError(const std::string& context, const LNStatusError& error) {
  return ShowExclamation(GetNotesErrorText(error) + context);
}

velk::MsgResult ShowErrorMessage(const std::string& text) {
  return ShowExclamation("Error: \r\n\r\n" + text);
}

velk::MsgResult ShowInfoMessage(const std::string& text) {
  return velk::services().messageBox(text, velk::MsgIcon::Information, velk::MsgButtons::Ok);
}
