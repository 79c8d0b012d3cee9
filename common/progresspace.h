#pragma once
// Paces the counting texts of long loops ("tasks to go"): repainting the status
// line for each of thousands of steps took most of the time of an open or a
// save. The first step is due, then one at most every `interval`.

#include <chrono>

namespace velk {

class ProgressPace {
 public:
  using Clock = std::chrono::steady_clock;
  explicit ProgressPace(std::chrono::milliseconds interval = std::chrono::milliseconds(125))
      : interval_(interval) {}
  bool Due() {
    const Clock::time_point at = Clock::now();
    if (shown_ && at - last_ < interval_) return false;
    shown_ = true;
    last_ = at;
    return true;
  }

 private:
  std::chrono::milliseconds interval_;
  Clock::time_point last_{};
  bool shown_ = false;
};

}  // namespace velk
