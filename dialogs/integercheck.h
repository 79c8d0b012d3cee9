#pragma once
// The checks of integer edit boxes: a value must parse as an integer and lie in
// its range, else the user is prompted and the page stays in front.

#include <optional>
#include <string>

#include "common/services.h"

namespace velk {

inline constexpr char kEnterIntegerPrompt[] = "Please enter an integer.";

// "Please enter an integer between <min> and <max>."
std::string IntegerRangePrompt(int min, int max);

// The integer an edit box holds: optional sign and decimal digits, blanks around
// allowed. Nothing for anything else, also for values no int can hold.
std::optional<int> ParseInteger(const std::string& text);

struct IntegerCheck {
  std::optional<int> value;  // set when the text passed
  std::string prompt;        // otherwise what the user is told
};
IntegerCheck CheckInteger(const std::string& text, int min, int max);

// CheckInteger, with a failed check's prompt shown in a message box.
std::optional<int> TakeInteger(Services& services, const std::string& text, int min, int max);

}  // namespace velk
