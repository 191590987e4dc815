// The anchored layout of one resizable window: the geometry of AnchoredLayout
// applied to real controls. The owner calls Init once its controls stand at
// their template positions, Add for each anchored control, Reposition on
// every WM_SIZE (after the default handling) and ClampSize on every
// WM_SIZING (before it). All moves of one resize are one deferred window
// positioning, so the window repaints once.
#pragma once

#include <windows.h>

#include "base/anchored_layout.h"

namespace twinseek {

class WindowLayout {
 public:
  // Records the owner's window rectangle (screen) and client rectangle.
  void Init(HWND owner);
  // Registers a child control of the owner with its current rectangle.
  void Add(HWND control, unsigned flags);
  // Lays the anchored controls out for the owner's current client size.
  // Nothing before Init or without anchors.
  void Reposition() const;
  // Makes a proposed window rectangle at least as large as the opening one.
  void ClampSize(RECT& proposed) const;

 private:
  HWND owner_ = nullptr;
  AnchoredLayout geometry_;
};

}  // namespace twinseek
