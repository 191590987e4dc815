// Which positions of a long run a progress bar shows: a position is shown
// when it has moved by at least one step since the last one shown (a step is
// what one pixel of the bar stands for), or by anything once the interval has
// passed; either way never sooner than the gap after the last one shown. The
// first position is always shown, and so is the last one given (Finish).
// Under Wine a message to another thread's bar costs it a repaint, about a
// millisecond: a bar told of every pixel of a run of a few thousand files
// would cost the run more than its work.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace twinseek {

class ProgressThrottle {
 public:
  // Milliseconds from any fixed point.
  using Clock = std::function<uint64_t()>;
  static constexpr uint64_t kDefaultIntervalMs = 50;
  static constexpr uint64_t kDefaultGapMs = 30;

  // total: the end of the range; pixels: the bar's width (at least 1 used).
  ProgressThrottle(size_t total, int pixels, Clock clock, uint64_t interval_ms = kDefaultIntervalMs,
                   uint64_t gap_ms = kDefaultGapMs);

  // True when position is to be shown now (it then counts as shown).
  bool Show(size_t position);
  // The last position given to Show, when it was not shown.
  std::optional<size_t> Finish() const;

 private:
  size_t step_;
  Clock clock_;
  uint64_t interval_ms_;
  uint64_t gap_ms_;
  std::optional<size_t> shown_;
  uint64_t shown_at_ = 0;
  std::optional<size_t> last_;
};

}  // namespace twinseek
