#pragma once
// Inside the store: every failing call ends in Fail(), which throws or returns
// according to the throwing mode.

#include <string>

#include "repository/store/lnstatus.h"

namespace lnstore {

// Throws LNStatusError for an error while throwing is on; otherwise returns `status`.
// Warnings and LNNOERROR are always returned.
LNSTATUS Fail(LNSTATUS status);

// A server's own words for a failure: LNGetErrorMessage appends them to the text of
// `status` until another failure replaces them. Local failures clear them first.
void SetFailureDetail(LNSTATUS status, std::string detail);
void ClearFailureDetail();

}  // namespace lnstore
