// Keeps Wine's desktop open while the Windows tests run. Wine closes the
// desktop, and ends the process that draws it, about a second after the last
// program on it has ended; a test program that starts in that moment cannot
// create a window. scripts/test starts this program before the tests and
// ends it with the wineserver after them: its hidden window keeps the desktop
// in use. It prints "ready" once the window exists, or "no desktop" and exits
// with 1 when none could be created.
#include <windows.h>

#include <cstdio>

namespace {

HWND CreateHiddenWindow() {
  return CreateWindowExW(0, L"STATIC", L"desktop keeper", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// Waits (a minute at most) until the process drawing the closing desktop has
// ended; the next window then opens a new desktop.
void WaitForTheClosingDesktop() {
  DWORD drawer = 0;
  GetWindowThreadProcessId(GetDesktopWindow(), &drawer);
  if (drawer == 0 || drawer == GetCurrentProcessId()) return;
  if (HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, drawer)) {
    WaitForSingleObject(process, 60'000);
    CloseHandle(process);
  }
}

}  // namespace

int main() {
  HWND window = CreateHiddenWindow();
  if (window == nullptr) {
    WaitForTheClosingDesktop();
    window = CreateHiddenWindow();
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
