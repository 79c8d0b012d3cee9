#pragma once
// Item values of the document store.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

using LNString = std::string;

enum class LNItemType : std::uint8_t { Text = 1, Numbers = 2, Datetimes = 3 };

using LNITEMFLAGS = std::uint32_t;
inline constexpr LNITEMFLAGS LNITEMFLAGS_SIGN = 0x0001;
inline constexpr LNITEMFLAGS LNITEMFLAGS_SUMMARY = 0x0004;
inline constexpr LNITEMFLAGS LNITEMFLAGS_AUTHORS = 0x0020;
inline constexpr LNITEMFLAGS LNITEMFLAGS_NAMES = 0x0040;
inline constexpr LNITEMFLAGS LNITEMFLAGS_READERS = 0x0400;

// Both options leave exactly one item of a name. REPLACE keeps the item's place
// among the document's items; DELETE_APPEND moves it to the end.
using LNITEMOPTION = int;
inline constexpr LNITEMOPTION LNITEMOPTION_REPLACE = 0;
inline constexpr LNITEMOPTION LNITEMOPTION_DELETE_APPEND = 1;

class LNText {
 public:
  LNText() = default;
  explicit LNText(std::string value) { values_.push_back(std::move(value)); }
  LNText(std::initializer_list<std::string> values) : values_(values) {}
  explicit LNText(std::vector<std::string> values) : values_(std::move(values)) {}

  std::size_t GetCount() const { return values_.size(); }
  const std::string& operator[](std::size_t i) const { return values_.at(i); }
  void Append(std::string value) { values_.push_back(std::move(value)); }
  void SetValue(std::string value) { values_.assign(1, std::move(value)); }
  // Reuses the storage of the current values (reading many items into one LNText).
  void SetValues(const std::vector<std::string>& values) { values_ = values; }
  void DeleteAll() { values_.clear(); }
  const std::vector<std::string>& Values() const { return values_; }
  bool operator==(const LNText&) const = default;

 private:
  std::vector<std::string> values_;
};

class LNNumbers {
 public:
  LNNumbers() = default;
  explicit LNNumbers(double value) { values_.push_back(value); }
  LNNumbers(std::initializer_list<double> values) : values_(values) {}
  explicit LNNumbers(std::vector<double> values) : values_(std::move(values)) {}

  std::size_t GetCount() const { return values_.size(); }
  double operator[](std::size_t i) const { return values_.at(i); }
  void Append(double value) { values_.push_back(value); }
  void SetValue(double value) { values_.assign(1, value); }
  void DeleteAll() { values_.clear(); }
  const std::vector<double>& Values() const { return values_; }
  bool operator==(const LNNumbers&) const = default;

 private:
  std::vector<double> values_;
};

// A point in time kept as ISO 8601 text "YYYY-MM-DDTHH:MM:SS" (local time).
class LNDatetime {
 public:
  LNDatetime() = default;
  explicit LNDatetime(std::string text) : text_(std::move(text)) {}
  const std::string& GetText() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }
  // "%d.%m.%Y", the form stored dates take in items.
  std::string GetDateText() const;
  static LNDatetime Now();
  bool operator==(const LNDatetime&) const = default;

 private:
  std::string text_;
};

// One named item with everything it holds, for generic access (dump, import, copy).
// Datetimes are held as their texts in `texts`.
struct LNItem {
  std::string name;
  LNItemType type = LNItemType::Text;
  LNITEMFLAGS flags = LNITEMFLAGS_SUMMARY;
  std::vector<std::string> texts;
  std::vector<double> numbers;
  bool operator==(const LNItem&) const = default;
};
