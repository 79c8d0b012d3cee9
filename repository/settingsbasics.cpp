#include "repository/settingsbasics.h"

#include <algorithm>

namespace velk {

namespace {
constexpr int kFirstFactor = 2;

int Clamped(int value, const std::vector<std::string>& entries) {
  return std::clamp(value, 0, static_cast<int>(entries.size()) - 1);
}
}  // namespace

const std::vector<std::string>& ArrowSizeTexts() {
  static const std::vector<std::string> texts = {"Small", "Middle", "Large"};
  return texts;
}

int ArrowSizeEntry(int arrowSize) {
  return Clamped(arrowSize, ArrowSizeTexts());
}

const std::vector<std::string>& AutoArrangeFactorTexts() {
  static const std::vector<std::string> texts = {"2", "3", "4", "5", "6"};
  return texts;
}

int AutoArrangeFactorEntry(int factor) {
  return Clamped(factor - kFirstFactor, AutoArrangeFactorTexts());
}

int AutoArrangeFactorOfEntry(int entry) {
  return kFirstFactor + Clamped(entry, AutoArrangeFactorTexts());
}

}  // namespace velk
