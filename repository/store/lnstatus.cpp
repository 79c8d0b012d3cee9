#include "repository/store/lnstatus.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "repository/store/lnfail.h"

namespace {

const char* messageOf(LNSTATUS status) {
  switch (status) {
    case LNNOERROR:
      return "";
    case LNERR_NO_SESSION:
      return "The document store session has not been initialized";
    case LNERR_INVALID_ARGUMENT:
      return "Invalid argument";
    case LNERR_FILE_NOT_FOUND:
      return "File does not exist";
    case LNERR_FILE_EXISTS:
      return "A file of that name already exists";
    case LNERR_NOT_A_DATABASE:
      return "File is not a database";
    case LNERR_DATABASE_DAMAGED:
      return "Database is damaged";
    case LNERR_DATABASE_NOT_OPEN:
      return "Database is not open";
    case LNERR_DATABASE_BUSY:
      return "Database is in use by another program";
    case LNERR_DISK_IO:
      return "Disk read or write error";
    case LNERR_PERMISSION_DENIED:
      return "You are not authorized to access this file";
    case LNERR_SERVER_NOT_RESPONDING:
      return "Server not responding";
    case LNERR_VIEW_NOT_FOUND:
      return "View not found in the database";
    case LNERR_VIEW_NOT_OPEN:
      return "View is not open";
    case LNERR_NO_CURRENT_ENTRY:
      return "No current entry in the view";
    case LNERR_ENTRY_IS_CATEGORY:
      return "The view entry is a category and has no document";
    case LNERR_DOCUMENT_NOT_FOUND:
      return "Document not found";
    case LNERR_DOCUMENT_DELETED:
      return "Document has been deleted";
    case LNERR_DOCUMENT_NOT_OPEN:
      return "Document is not open";
    case LNERR_ITEM_NOT_FOUND:
      return "Item not found in the document";
    case LNERR_ITEM_TYPE_MISMATCH:
      return "Item has a different data type";
    case LNERR_FORMULA_SYNTAX:
      return "Formula syntax error";
    case LNERR_TRANSACTION:
      return "Transaction could not be started, committed or rolled back";
    case LNERR_INTERNAL:
      return "Internal error in the document store";
    case LNERR_NOTE_EXISTS:
      return "A document with that note id or universal id already exists";
    case LNERR_DISK_FULL:
      return "The disk is full";
    case LNERR_CANNOT_OPEN:
      return "The file cannot be opened: it or its folder does not exist or is not accessible";
    case LNERR_NAME_TOO_LONG:
      return "The file name or path is too long";
    case LNERR_NOT_A_FOLDER:
      return "A part of the path is not a folder";
    case LNERR_NOTE_ID_TOO_HIGH:
      return "Note id too high: the ids above 7FFFFFFF are kept for new documents";
    case LNWARN_NOT_FOUND:
      return "Entry not found";
    default:
      return "";
  }
}

constexpr LNSTATUS kSystemErrnoMask = 0xfff;

}  // namespace

LNSTATUS LNSystemError(int error) {
  return LNERR_SYSTEM | (error > 0 && error <= kSystemErrnoMask ? error : 0);
}

LNStatusError::LNStatusError(LNSTATUS status)
    : std::runtime_error(LNGetErrorMessage(status)), status_(status) {}

LNStatusError::LNStatusError(LNSTATUS status, const std::string& message)
    : std::runtime_error(message), status_(status) {}

std::size_t LNGetErrorMessage(LNSTATUS status, char* buffer, std::size_t size) {
  if (!buffer || size == 0) return 0;
  const std::string text = LNGetErrorMessage(status);
  std::size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return n;
}

std::string LNGetErrorMessage(LNSTATUS status) {
  if ((status & ~kSystemErrnoMask) == LNERR_SYSTEM) {
    std::string text = "The file could not be accessed";
    if (int error = status & kSystemErrnoMask)
      text += ": " + std::generic_category().message(error);
    return text;
  }
  return messageOf(status);
}

namespace lnstore {

std::string FailureDetail::Message(LNSTATUS failed) const {
  std::string message = LNGetErrorMessage(failed);
  if (failed == status && !text.empty() && failed != LNNOERROR) message += ": " + text;
  return message;
}

LNSTATUS Fail(bool throwAll, const FailureDetail& detail, LNSTATUS status) {
  if (throwAll && status != LNNOERROR && !LNIsWarning(status))
    throw LNStatusError(status, detail.Message(status));
  return status;
}

}  // namespace lnstore
