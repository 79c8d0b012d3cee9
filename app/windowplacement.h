#pragma once
// A window's placement as kept in "GUI Settings": the text
// "flags,show,minX,minY,maxX,maxY,left,top,right,bottom" (ten numbers).

#include <optional>
#include <string>

namespace velk {

class SettingsBackend;

struct WindowPlacement {
  static constexpr unsigned kRestoreToMaximized = 2;  // flag: un-minimise to maximised
  enum ShowCommand : unsigned { Hide = 0, Normal = 1, Minimized = 2, Maximized = 3 };

  unsigned flags = 0;
  unsigned showCmd = Normal;
  int minX = -1, minY = -1;  // minimised and maximised positions (kept, not used)
  int maxX = -1, maxY = -1;
  int left = 0, top = 0, right = 0, bottom = 0;  // the normal (restored) rectangle

  // The window should open maximised.
  bool maximized() const {
    return showCmd == Maximized || (showCmd == Minimized && (flags & kRestoreToMaximized));
  }
  bool operator==(const WindowPlacement&) const = default;
};

// Exactly ten integers separated by commas (blanks around them allowed); anything
// else, including an empty text, is no placement.
std::optional<WindowPlacement> ParseWindowPlacement(const std::string& text);
std::string FormatWindowPlacement(const WindowPlacement& placement);

// A child window's place in the workspace, in pixels from its top-left corner.
struct WindowBox {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const WindowBox&) const = default;
};
// Where a new child window of `width` x `height` goes in a workspace of
// `areaWidth` x `areaHeight`: one `step` right and down from `previous` (the
// last window opened), or the top-left corner when there is none or the step
// would take it out of the workspace. It always lies inside the workspace; a
// window larger than the workspace is cut to its size.
WindowBox CascadeBox(const std::optional<WindowBox>& previous, int areaWidth, int areaHeight,
                     int width, int height, int step);

std::optional<WindowPlacement> ReadWindowPlacement(const SettingsBackend& backend,
                                                   const std::string& valueName);
void WriteWindowPlacement(SettingsBackend& backend, const std::string& valueName,
                          const WindowPlacement& placement);

}  // namespace velk
