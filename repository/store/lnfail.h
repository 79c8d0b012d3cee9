#pragma once
// Inside the store: every failing call ends in Fail() with the throwing mode and
// failure detail of the handle it was made on; a null handle has neither and
// returns its failures.

#include "repository/store/lnstatus.h"

namespace lnstore {

// Throws LNStatusError (with `detail`'s words when they are about `status`) for an
// error while `throwAll`; otherwise returns `status`. Warnings and LNNOERROR are
// always returned.
LNSTATUS Fail(bool throwAll, const FailureDetail& detail, LNSTATUS status);

}  // namespace lnstore
