#include "repository/noteserror.h"

#include "common/services.h"

namespace {

std::string StoreMessage(LNSTATUS status) {
  char buffer[255] = "";
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

velk::MsgResult ShowErrorMessage(const std::string& text) {
  return ShowExclamation("Error: \r\n\r\n" + text);
}

velk::MsgResult ShowInfoMessage(const std::string& text) {
  return velk::services().messageBox(text, velk::MsgIcon::Information, velk::MsgButtons::Ok);
}
