#pragma once
// The whole document store API.
#include "repository/store/lndatabase.h"
#include "repository/store/lnformula.h"
#include "repository/store/lnnote.h"
#include "repository/store/lnsession.h"
#include "repository/store/lnstatus.h"
#include "repository/store/lnvalues.h"
