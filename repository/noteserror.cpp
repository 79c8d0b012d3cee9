#include "repository/noteserror.h"

#include "common/services.h"

namespace {

std::string StoreMessage(LNSTATUS status) {
  char buffer[255] = "";
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

velk::MsgResult ShowErrorMessage(velk::Services& services, const std::string& text) {
  return ShowExclamation(services, "Error: \r\n\r\n" + text);
}

velk::MsgResult ShowInfoMessage(velk::Services& services, const std::string& text) {
  return services.messageBox(text, velk::MsgIcon::Information, velk::MsgButtons::Ok);
}
