#include "repository/store/lnvalues.h"

#include <cctype>
#include <ctime>

namespace {

bool Digits(const std::string& text, std::size_t from, std::size_t count) {
  for (std::size_t i = from; i < from + count; ++i) {
    if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  }
  return true;
}

}  // namespace

std::string LNDatetime::GetDateText() const {
  // "YYYY-MM-DD" at the start; anything else has no date to show.
  if (text_.size() < 10 || !Digits(text_, 0, 4) || text_[4] != '-' || !Digits(text_, 5, 2) ||
      text_[7] != '-' || !Digits(text_, 8, 2)) {
    return {};
  }
  return text_.substr(8, 2) + "." + text_.substr(5, 2) + "." + text_.substr(0, 4);
}

LNDatetime LNDatetime::Now() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%S", &local);
  return LNDatetime(buffer);
}
