#include "base/progress_throttle.h"

#include <utility>

namespace twinseek {

ProgressThrottle::ProgressThrottle(size_t total, int pixels, Clock clock, uint64_t interval_ms,
                                   uint64_t gap_ms)
    : step_(pixels > 0 ? total / static_cast<size_t>(pixels) : total),
      clock_(std::move(clock)),
      interval_ms_(interval_ms),
      gap_ms_(gap_ms) {
  if (step_ == 0) step_ = 1;
}

bool ProgressThrottle::Show(size_t position) {
  last_ = position;
  if (shown_ == position) return false;
  const uint64_t now = clock_();
  if (shown_) {
    const uint64_t since = now - shown_at_;
    const bool moved = (position > *shown_ ? position - *shown_ : *shown_ - position) >= step_;
    if (since < gap_ms_ || (!moved && since < interval_ms_)) return false;
  }
  shown_ = position;
  shown_at_ = now;
  return true;
}

std::optional<size_t> ProgressThrottle::Finish() const {
  if (!last_ || last_ == shown_) return std::nullopt;
  return last_;
}

}  // namespace twinseek
