// The geometry of anchored controls in a resizable window: which controls
// follow the window's right and bottom edges or stretch with its client area,
// and the smallest size the window may be dragged to.
//
// Plain geometry, no windows: the window's side records the window and client
// rectangles once, registers each control with its rectangle in client
// coordinates, and then, on every resize, applies the placements computed here
// (in one batched update) and passes every proposed sizing rectangle through
// ClampSize. Every placement is computed from the geometry recorded at
// registration, so resizes never drift and shrinking back to the opening size
// restores every control exactly. Controls that are not registered never move.
#pragma once

#include <cstdint>
#include <vector>

namespace twinseek {

// A rectangle with exclusive right and bottom edges.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }

  friend bool operator==(const Rect&, const Rect&) = default;
};

// Anchor flags; combinable.
// The width grows and shrinks with the owner's client width.
inline constexpr unsigned kAnchorStretchWidth = 1;
// The height grows and shrinks with the owner's client height.
inline constexpr unsigned kAnchorStretchHeight = 2;
// x moves with the right edge: the distance to the right edge stays.
inline constexpr unsigned kAnchorFollowRight = 4;
// y moves with the bottom edge: the distance to the bottom edge stays.
inline constexpr unsigned kAnchorFollowBottom = 8;

// The caller's name for a control: a window handle turned into an integer, a
// control id, anything it can map back. The layout only hands it back.
using ControlKey = std::uintptr_t;

// One registered control, as it was at registration.
struct Anchor {
  ControlKey control = 0;
  int x = 0;  // top-left corner in the owner's client coordinates
  int y = 0;
  int width = 0;
  int height = 0;
  unsigned flags = 0;
};

// Where one control goes for one client size. `moves` is false when the
// control follows neither the right nor the bottom edge (its position is to be
// left alone), `resizes` is false when it stretches in neither direction (its
// size is to be left alone); a control with neither is not to be touched.
struct ControlPlacement {
  ControlKey control = 0;
  int x = 0;
  int y = 0;
  int width = 0;  // never below 0
  int height = 0;
  bool moves = false;
  bool resizes = false;

  friend bool operator==(const ControlPlacement&, const ControlPlacement&) = default;
};

class AnchoredLayout {
 public:
  // Records the owner's whole window rectangle (screen coordinates, frame
  // included) and its client rectangle, both as they are when the owner
  // opens. Called once, before the controls are added; until then Reposition
  // gives nothing and ClampSize changes nothing.
  void Init(const Rect& window, const Rect& client);

  const Rect& initial_window() const { return initial_window_; }
  const Rect& initial_client() const { return initial_client_; }

  // Registers a control with its rectangle in the owner's client coordinates
  // and its anchor flags. The newest anchor comes first in anchors().
  void Add(ControlKey control, const Rect& rect, unsigned flags);

  const std::vector<Anchor>& anchors() const { return anchors_; }
  int count() const { return static_cast<int>(anchors_.size()); }

  // The placement of every anchored control, in the order of anchors(), for
  // the owner's current client rectangle. Each control starts from its
  // registered rectangle, changed by the differences dx, dy between the
  // current and the initial client width and height: stretching adds them to
  // the size, following an edge adds them to the position. A size that would
  // fall below 0 (a minimised owner has an empty client area) is given as 0.
  // Empty before Init or when no control is anchored.
  std::vector<ControlPlacement> Reposition(const Rect& client) const;

  // A proposed window rectangle (screen coordinates, as the sizing drag gives
  // it) made at least as wide and as high as the initial window rectangle.
  // The left and top edges stay: a rectangle that is too narrow gets its
  // right edge at left + the initial width, one that is too low gets its
  // bottom edge at top + the initial height, whichever edge is being dragged.
  // Unchanged before Init.
  Rect ClampSize(const Rect& proposed) const;

 private:
  bool initialised_ = false;
  Rect initial_window_;
  Rect initial_client_;
  std::vector<Anchor> anchors_;
};

}  // namespace twinseek
