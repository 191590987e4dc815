// The geometry of anchored controls: registration, placements for a new
// client size, and the minimum window size.
#include "base/anchored_layout.h"

#include <algorithm>

namespace twinseek {
namespace {

bool HasFlag(unsigned flags, unsigned flag) { return (flags & flag) != 0; }

ControlPlacement Place(const Anchor& anchor, int dx, int dy) {
  ControlPlacement placement;
  placement.control = anchor.control;
  placement.x = anchor.x + (HasFlag(anchor.flags, kAnchorFollowRight) ? dx : 0);
  placement.y = anchor.y + (HasFlag(anchor.flags, kAnchorFollowBottom) ? dy : 0);
  const int width = anchor.width + (HasFlag(anchor.flags, kAnchorStretchWidth) ? dx : 0);
  const int height = anchor.height + (HasFlag(anchor.flags, kAnchorStretchHeight) ? dy : 0);
  placement.width = std::max(width, 0);
  placement.height = std::max(height, 0);
  placement.moves = HasFlag(anchor.flags, kAnchorFollowRight | kAnchorFollowBottom);
  placement.resizes = HasFlag(anchor.flags, kAnchorStretchWidth | kAnchorStretchHeight);
  return placement;
}

}  // namespace

void AnchoredLayout::Init(const Rect& window, const Rect& client) {
  initial_window_ = window;
  initial_client_ = client;
  initialised_ = true;
}

void AnchoredLayout::Add(ControlKey control, const Rect& rect, unsigned flags) {
  const Anchor anchor{control, rect.left, rect.top, rect.Width(), rect.Height(), flags};
  anchors_.insert(anchors_.begin(), anchor);
}

std::vector<ControlPlacement> AnchoredLayout::Reposition(const Rect& client) const {
  std::vector<ControlPlacement> placements;
  if (!initialised_ || anchors_.empty()) return placements;
  const int dx = client.Width() - initial_client_.Width();
  const int dy = client.Height() - initial_client_.Height();
  placements.reserve(anchors_.size());
  for (const Anchor& anchor : anchors_) placements.push_back(Place(anchor, dx, dy));
  return placements;
}

Rect AnchoredLayout::ClampSize(const Rect& proposed) const {
  Rect clamped = proposed;
  if (!initialised_) return clamped;
  const int min_width = initial_window_.Width();
  const int min_height = initial_window_.Height();
  if (clamped.Width() < min_width) clamped.right = clamped.left + min_width;
  if (clamped.Height() < min_height) clamped.bottom = clamped.top + min_height;
  return clamped;
}

}  // namespace twinseek
