#include "dialogs/integercheck.h"

#include <cctype>
#include <charconv>

#include "common/services.h"

namespace velk {

namespace {

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

std::string IntegerRangePrompt(int min, int max) {
  return "Please enter an integer between " + std::to_string(min) + " and " + std::to_string(max) +
         ".";
}

std::optional<int> ParseInteger(const std::string& text) {
  std::string digits = Trimmed(text);
  // from_chars takes a minus sign but no plus sign; one sign at most.
  if (!digits.empty() && digits[0] == '+') {
    digits.erase(0, 1);
    if (digits.empty() || !std::isdigit(static_cast<unsigned char>(digits[0]))) return std::nullopt;
  }
  int value = 0;
  const char* end = digits.data() + digits.size();
  const auto [ptr, error] = std::from_chars(digits.data(), end, value);
  if (error != std::errc() || ptr != end) return std::nullopt;
  return value;
}

IntegerCheck CheckInteger(const std::string& text, int min, int max) {
  const std::optional<int> value = ParseInteger(text);
  if (!value) return {std::nullopt, kEnterIntegerPrompt};
  if (*value < min || *value > max) return {std::nullopt, IntegerRangePrompt(min, max)};
  return {value, {}};
}

std::optional<int> TakeInteger(Services& services, const std::string& text, int min, int max) {
  IntegerCheck check = CheckInteger(text, min, max);
  if (!check.value) services.messageBox(check.prompt, MsgIcon::Exclamation, MsgButtons::Ok);
  return check.value;
}

}  // namespace velk
