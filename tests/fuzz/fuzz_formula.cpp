// The formula syntax checker reads whatever a designer types into a condition.
#include <cstddef>
#include <cstdint>
#include <string>

#include "repository/store/lnnotes.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  LNFormula formula;
  std::string error;
  long offset = 0;
  const std::string text(reinterpret_cast<const char*>(data), size);
  if (formula.SetText(text, &error, &offset) == LNNOERROR) {
    if (formula.GetText() != text || offset != -1) __builtin_trap();
  } else if (offset < 0 || static_cast<std::size_t>(offset) > size || error.empty()) {
    __builtin_trap();  // an error must say what and point into the text
  }
  return 0;
}
