#pragma once
// Status codes of the document store. Every call returns a status; a handle whose
// throwing mode is on (the session, a database and what is made from it) throws an
// error status as LNStatusError instead. Warnings (end of a view walk, no match) are
// always returned. The mode is the handle's, so one caller's mode never leaks into
// another's database.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

using LNSTATUS = std::int32_t;

inline constexpr LNSTATUS LNWARN_BIT = 0x4000;
// A system error the store has no status of its own for: LNERR_SYSTEM plus errno
// (LNSystemError); its message carries the system's own text.
inline constexpr LNSTATUS LNERR_SYSTEM = 0x1000;

enum : LNSTATUS {
  LNNOERROR = 0,
  LNERR_NO_SESSION = 0x0101,          // session not initialised
  LNERR_INVALID_ARGUMENT,             // empty name, unbound object, wrong value
  LNERR_FILE_NOT_FOUND,               // database file does not exist
  LNERR_FILE_EXISTS,                  // create: a file is already there
  LNERR_NOT_A_DATABASE,               // file is not a database of ours
  LNERR_DATABASE_DAMAGED,             // a database of ours, but its contents are corrupt
  LNERR_DATABASE_NOT_OPEN,            // call needs an open database
  LNERR_DATABASE_BUSY,                // locked by another process
  LNERR_DISK_IO,                      // read or write failed
  LNERR_PERMISSION_DENIED,            // file or folder not accessible
  LNERR_SERVER_NOT_RESPONDING,        // named server cannot be reached
  LNERR_VIEW_NOT_FOUND,               // no design view of that name
  LNERR_VIEW_NOT_OPEN,                // call needs an open view
  LNERR_NO_CURRENT_ENTRY,             // view walk has no current entry
  LNERR_ENTRY_IS_CATEGORY,            // category rows have no document
  LNERR_DOCUMENT_NOT_FOUND,           // no document with that id
  LNERR_DOCUMENT_DELETED,             // the document was deleted meanwhile
  LNERR_DOCUMENT_NOT_OPEN,            // call needs an open document
  LNERR_ITEM_NOT_FOUND,               // document has no item of that name
  LNERR_ITEM_TYPE_MISMATCH,           // item holds another type than asked for
  LNERR_FORMULA_SYNTAX,               // formula does not compile
  LNERR_TRANSACTION,                  // nested, missing or failed transaction
  LNERR_INTERNAL,                     // unexpected failure inside the store
  LNERR_NOTE_EXISTS,                  // a note with that note id or universal id exists
  LNERR_DISK_FULL,                    // no space left on the disk
  LNERR_CANNOT_OPEN,                  // the file cannot be opened, reason unknown
  LNERR_NAME_TOO_LONG,                // a file or folder name is too long
  LNERR_NOT_A_FOLDER,                 // a part of the path is a file, not a folder
  LNERR_NOTE_ID_TOO_HIGH,             // note id above LNNOTEID_MAX_GIVEN
  LNWARN_NOT_FOUND = LNWARN_BIT | 1,  // no match, or moved past the last entry
};

inline bool LNIsWarning(LNSTATUS status) {
  return (status & LNWARN_BIT) != 0;
}

// The status of a system error (errno) without a status of its own.
LNSTATUS LNSystemError(int error);

class LNStatusError : public std::runtime_error {
 public:
  explicit LNStatusError(LNSTATUS status);
  // `message` as the handle that failed had it: it stays right whatever fails later.
  LNStatusError(LNSTATUS status, const std::string& message);
  LNSTATUS GetStatus() const { return status_; }

 private:
  LNSTATUS status_;
};

// Copies the fixed message of `status` into `buffer` (at most size-1 bytes, always
// terminated); a status without text leaves the buffer empty. Returns the length.
// A server's own words are the failed handle's (ErrorMessage) or the thrown error's.
std::size_t LNGetErrorMessage(LNSTATUS status, char* buffer, std::size_t size);
std::string LNGetErrorMessage(LNSTATUS status);

namespace lnstore {

// A server's own words for the last failure of one handle, shown after the fixed
// text of that status until another failure of the handle replaces them.
struct FailureDetail {
  LNSTATUS status = LNNOERROR;
  std::string text;

  void Set(LNSTATUS failed, std::string words) {
    status = failed;
    text = std::move(words);
  }
  void Clear() { Set(LNNOERROR, {}); }
  std::string Message(LNSTATUS failed) const;
};

}  // namespace lnstore
