#pragma once
// Inside the store: every failing call ends in Fail(), which throws or returns
// according to the throwing mode.

#include "repository/store/lnstatus.h"

namespace lnstore {

// Throws LNStatusError for an error while throwing is on; otherwise returns `status`.
// Warnings and LNNOERROR are always returned.
LNSTATUS Fail(LNSTATUS status);

}  // namespace lnstore
