// Keeps Wine's desktop open while the Windows tests run. Wine closes the
// desktop, and ends the process that draws it, about a second after the last
// program on it has ended; a test program that starts in that moment cannot
// create a window. scripts/test starts this program before the tests and
// ends it with the wineserver after them: its hidden window keeps the desktop
// in use. It prints "ready" once the window exists, or "no desktop" and exits
// with 1 when none could be created within a minute.
#include <windows.h>

#include <cstdio>

int main() {
  HWND window = nullptr;
  for (int attempt = 0; window == nullptr && attempt < 600; ++attempt) {
    window = CreateWindowExW(0, L"STATIC", L"desktop keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) Sleep(100);  // the desktop was closing; the next try opens a new one
  }
  std::puts(window != nullptr ? "ready" : "no desktop");
  std::fflush(stdout);
  if (window == nullptr) return 1;
  // Messages sent to every window (setting changes, shell notifications)
  // must not wait for this one.
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
