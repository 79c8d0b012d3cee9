#pragma once
// How failures of the document store and other errors reach the user.

#include <string>

#include "common/services.h"
#include "repository/store/lnstatus.h"

// "Document Store Error:\r\n" + the store's message + "\r\n" + context, in a box with
// an exclamation icon and an OK button; then the status line's idle prompt.
velk::MsgResult ShowNotesError(velk::Services& services, const std::string& context,
                               LNSTATUS status);
// "Document Store Error:\r\n" + the store's message + "\r\n", for callers that add
// their own context and show it elsewhere (Info Center).
std::string GetNotesErrorText(LNSTATUS status);
// The same for a caught error: its message carries the server's own words.
velk::MsgResult ShowNotesError(velk::Services& services, const std::string& context,
                               const LNStatusError& error);
std::string GetNotesErrorText(const LNStatusError& error);
// "Error: \r\n\r\n" + text, exclamation icon, OK; then the idle prompt.
velk::MsgResult ShowErrorMessage(velk::Services& services, const std::string& text);
// The text as it is, information icon, OK; the status line is left alone.
velk::MsgResult ShowInfoMessage(velk::Services& services, const std::string& text);
