// What a window looks like on the screen, for tests of painting: the pixels
// of a control read back from its own device context (BitBlt from the DC of
// the window, which under Wine reads the top-level window's surface, so a
// control the program failed to paint reads as whatever covers it), and a
// wait until a window and all its children have nothing left to paint.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace twinseek::testing {

struct WindowPixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first

  friend bool operator==(const WindowPixels&, const WindowPixels&) = default;
};

// The client area of window as it stands on the screen; nothing is painted
// for the reading.
WindowPixels ReadPixels(HWND window);

// The client area of window as the window draws it when asked to
// (PrintWindow): the look it should have on the screen.
WindowPixels RenderPixels(HWND window);

// Waits until the thread of the top-level window has carried out every
// message sent to it and neither the window nor any of its descendants has
// an update region left, twice in a row; false after timeout_ms.
bool WaitUntilPainted(HWND top, DWORD timeout_ms = 20000);

}  // namespace twinseek::testing
