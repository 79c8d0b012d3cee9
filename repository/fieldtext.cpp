#include "repository/fieldtext.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>

namespace {
constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();
constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
}  // namespace

int ParseFieldInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::int64_t magnitude = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > kIntMax + 1) magnitude = kIntMax + 1;  // saturate, keep scanning
  }
  std::int64_t value = negative ? -magnitude : magnitude;
  return static_cast<int>(value > kIntMax ? kIntMax : value);
}

int TruncateToInt(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(kIntMax)) return static_cast<int>(kIntMax);
  if (value <= static_cast<double>(kIntMin)) return static_cast<int>(kIntMin);
  return static_cast<int>(value);  // truncates toward zero
}
