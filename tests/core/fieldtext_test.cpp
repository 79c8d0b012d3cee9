#include "repository/fieldtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr int kMax = std::numeric_limits<int>::max();
constexpr int kMin = std::numeric_limits<int>::min();

TEST(FieldText, IntegerTextsFollowTheDecimalReadingRule) {
  const std::pair<const char*, int> cases[] = {
      {"", 0},     {"12abc", 12}, {"abc", 0},  {"  -7", -7}, {"\t 5", 5}, {"+3", 3},
      {"-", 0},    {"+-3", 0},    {"- 3", 0},  {"0042", 42}, {"3.9", 3},
      {"2147483647", kMax},   {"2147483648", kMax},  {"99999999999", kMax},
      {"-2147483648", kMin},  {"-99999999999", kMin},
      {"123456789012345678901234567890", kMax},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(ParseFieldInt(text), expected) << text;
}

TEST(FieldText, NumbersTruncateTowardZeroAndClamp) {
  const std::pair<double, int> cases[] = {
      {2.9, 2},          {-2.9, -2},
      {0.0, 0},          {-0.5, 0},
      {7.0, 7},          {1e12, kMax},
      {-1e12, kMin},     {std::numeric_limits<double>::infinity(), kMax},
      {std::nan(""), 0},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(TruncateToInt(value), expected) << value;
}

}  // namespace
