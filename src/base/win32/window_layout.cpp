// Anchored controls moved with one deferred window positioning.
#include "base/win32/window_layout.h"

namespace twinseek {
namespace {

Rect ToRect(const RECT& rect) { return Rect{rect.left, rect.top, rect.right, rect.bottom}; }

}  // namespace

void WindowLayout::Init(HWND owner) {
  owner_ = owner;
  RECT window{};
  RECT client{};
  GetWindowRect(owner, &window);
  GetClientRect(owner, &client);
  geometry_.Init(ToRect(window), ToRect(client));
}

void WindowLayout::Add(HWND control, unsigned flags) {
  RECT screen{};
  GetWindowRect(control, &screen);
  POINT top_left{screen.left, screen.top};
  ScreenToClient(owner_, &top_left);
  const Rect rect{top_left.x, top_left.y, top_left.x + (screen.right - screen.left),
                  top_left.y + (screen.bottom - screen.top)};
  geometry_.Add(reinterpret_cast<ControlKey>(control), rect, flags);
}

void WindowLayout::Reposition() const {
  if (owner_ == nullptr) return;
  RECT client{};
  GetClientRect(owner_, &client);
  const auto placements = geometry_.Reposition(ToRect(client));
  if (placements.empty()) return;
  HDWP batch = BeginDeferWindowPos(static_cast<int>(placements.size()));
  for (const ControlPlacement& placement : placements) {
    if (batch == nullptr) return;
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (!placement.moves) flags |= SWP_NOMOVE;
    if (!placement.resizes) flags |= SWP_NOSIZE;
    batch = DeferWindowPos(batch, reinterpret_cast<HWND>(placement.control), nullptr, placement.x,
                           placement.y, placement.width, placement.height, flags);
  }
  if (batch == nullptr || !EndDeferWindowPos(batch)) return;
  // The owner's own repainting of its grown or shrunk client area can cover
  // controls that were drawn at their new places before it; Wine then
  // leaves them blank until something else redraws them. Each moved control
  // is drawn again once the owner has painted.
  for (const ControlPlacement& placement : placements) {
    RedrawWindow(reinterpret_cast<HWND>(placement.control), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void WindowLayout::ClampSize(RECT& proposed) const {
  const Rect clamped = geometry_.ClampSize(ToRect(proposed));
  proposed.right = clamped.right;
  proposed.bottom = clamped.bottom;
}

}  // namespace twinseek
