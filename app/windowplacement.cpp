#include "app/windowplacement.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <limits>
#include <vector>

#include "app/settings.h"

namespace velk {

namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

std::optional<std::int64_t> parseNumber(std::string_view field) {
  field = trimmed(field);
  if (field.empty()) return std::nullopt;
  std::int64_t value = 0;
  auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (ec != std::errc() || end != field.data() + field.size()) return std::nullopt;
  return value;
}

bool fitsInt(std::int64_t v) {
  return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

}  // namespace

std::optional<WindowPlacement> ParseWindowPlacement(const std::string& text) {
  std::vector<std::int64_t> numbers;
  std::string_view rest(text);
  if (trimmed(rest).empty()) return std::nullopt;
  while (true) {
    auto comma = rest.find(',');
    auto number = parseNumber(rest.substr(0, comma));
    if (!number) return std::nullopt;
    numbers.push_back(*number);
    if (comma == std::string_view::npos || numbers.size() > 10) break;
    rest.remove_prefix(comma + 1);
  }
  if (numbers.size() != 10) return std::nullopt;
  for (int i = 0; i < 2; ++i)
    if (numbers[i] < 0 || numbers[i] > std::numeric_limits<unsigned>::max()) return std::nullopt;
  for (int i = 2; i < 10; ++i)
    if (!fitsInt(numbers[i])) return std::nullopt;
  WindowPlacement p;
  p.flags = static_cast<unsigned>(numbers[0]);
  p.showCmd = static_cast<unsigned>(numbers[1]);
  int* fields[] = {&p.minX, &p.minY, &p.maxX, &p.maxY, &p.left, &p.top, &p.right, &p.bottom};
  for (int i = 0; i < 8; ++i) *fields[i] = static_cast<int>(numbers[i + 2]);
  return p;
}

std::string FormatWindowPlacement(const WindowPlacement& p) {
  std::string text = std::to_string(p.flags) + ',' + std::to_string(p.showCmd);
  for (int v : {p.minX, p.minY, p.maxX, p.maxY, p.left, p.top, p.right, p.bottom})
    text += ',' + std::to_string(v);
  return text;
}

std::optional<WindowPlacement> ReadWindowPlacement(const SettingsBackend& backend,
                                                   const std::string& valueName) {
  return ParseWindowPlacement(backend.getString(kGuiSettingsSection, valueName, {}));
}

void WriteWindowPlacement(SettingsBackend& backend, const std::string& valueName,
                          const WindowPlacement& placement) {
  backend.setString(kGuiSettingsSection, valueName, FormatWindowPlacement(placement));
}

WindowBox CascadeBox(const std::optional<WindowBox>& previous, int areaWidth, int areaHeight,
                     int width, int height, int step) {
  WindowBox box{0, 0, std::clamp(width, 0, std::max(areaWidth, 0)),
                std::clamp(height, 0, std::max(areaHeight, 0))};
  if (!previous) return box;
  const int left = std::max(previous->left, 0) + step;
  const int top = std::max(previous->top, 0) + step;
  if (left + box.width <= areaWidth && top + box.height <= areaHeight) {
    box.left = left;
    box.top = top;
  }
  return box;
}

}  // namespace velk
