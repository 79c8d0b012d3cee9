#include "repository/noteserror.h"

#include "common/services.h"

namespace {

constexpr std::size_t kLongestMessage = 254;

std::string StoreMessage(LNSTATUS status) {
  char buffer[kLongestMessage + 1] = "";
  LNGetErrorMessage(status, buffer, sizeof buffer);
  return buffer;
}

velk::MsgResult ShowExclamation(velk::Services& services, const std::string& text) {
  velk::MsgResult result =
      services.messageBox(text, velk::MsgIcon::Exclamation, velk::MsgButtons::Ok);
  services.showStatusText({});
  return result;
}

}  // namespace

std::string GetNotesErrorText(LNSTATUS status) {
  return "Document Store Error:\r\n" + StoreMessage(status) + "\r\n";
}

velk::MsgResult ShowNotesError(velk::Services& services, const std::string& context,
                               LNSTATUS status) {
  return ShowExclamation(services, GetNotesErrorText(status) + context);
}

std::string GetNotesErrorText(const LNStatusError& error) {
  return "Document Store Error:\r\n" + std::string(error.what()).substr(0, kLongestMessage) +
         "\r\n";
}

velk::MsgResult ShowNotesError(velk::Services& services, const std::string& context,
                               const LNStatusError& error) {
  return ShowExclamation(services, GetNotesErrorText(error) + context);
}

velk::MsgResult ShowErrorMessage(velk::Services& services, const std::string& text) {
  return ShowExclamation(services, "Error: \r\n\r\n" + text);
}

velk::MsgResult ShowInfoMessage(velk::Services& services, const std::string& text) {
  return services.messageBox(text, velk::MsgIcon::Information, velk::MsgButtons::Ok);
}
