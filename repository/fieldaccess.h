#pragma once
// Typed access to document items. Every stored value is a text item except
// numbers: integers as "%d" text, flags as "Yes"/"No", lists as multi-valued text.
//
// Getters never let a store failure through: they show it through the services
// they are given (one message per failing
// field, naming the getter and the item) and return an empty value, so a loader
// that meets a damaged document goes on with the next field. A missing item gives
// the empty value without a message. Setters do not catch: a failure reaches the
// saving code as a thrown LNStatusError, or as the returned status while throwing
// is off. No function opens, saves or closes the note.

#include <string>
#include <string_view>
#include <vector>

#include "repository/store/lnnote.h"

namespace velk {
class Services;
}

std::string GetFieldContent(velk::Services& services, std::string_view itemName, LNNote& note);
// Leading blanks and a sign allowed, stops at the first non-digit, no digits
// give 0, values beyond 32 bits are clamped.
int GetFieldIntContent(velk::Services& services, std::string_view itemName, LNNote& note);
// The first number, truncated toward zero (clamped to 32 bits).
int GetFieldNumberContent(velk::Services& services, std::string_view itemName, LNNote& note);
// True exactly for "Yes".
bool GetFieldBoolContent(velk::Services& services, std::string_view itemName, LNNote& note);
// Empties `list`, then appends every element in order.
void GetFieldListContent(velk::Services& services, std::string_view itemName, LNNote& note,
                         std::vector<std::string>& list);

// Each returns the store's status, LNNOERROR on success.
LNSTATUS SetFieldContent(const std::string& itemName, const std::string& text, LNNote& note);
LNSTATUS SetFieldIntContent(const std::string& itemName, int value, LNNote& note);
LNSTATUS SetFieldNumberContent(const std::string& itemName, int value, LNNote& note);
LNSTATUS SetFieldBoolContent(const std::string& itemName, bool flag, LNNote& note);
// An empty list leaves no item of that name in the note.
LNSTATUS SetFieldListContent(const std::string& itemName, LNNote& note,
                             const std::vector<std::string>& list);
// The "$Readers" list of access-restricted documents; empty list as above.
LNSTATUS SetFieldReadersContent(const std::string& itemName, LNNote& note,
                                const std::vector<std::string>& list);
