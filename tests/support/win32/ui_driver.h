// Driving real windows from a test thread: a thread that runs a window (a
// modal dialog runs its own message loop there), waiting for a dialog of
// that thread to appear, and reading and changing controls. Texts are code
// page 932. Every wait polls every 10 ms and gives up after its timeout.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace twinseek::testing {

// A thread running body, for a window under test; the test thread drives it.
class UiThread {
 public:
  explicit UiThread(std::function<void()> body);
  // Waits for the body to end (up to 30 s).
  ~UiThread();
  UiThread(const UiThread&) = delete;
  UiThread& operator=(const UiThread&) = delete;

  DWORD id() const { return id_; }
  // True once the body has returned, waiting up to timeout_ms.
  bool Join(DWORD timeout_ms = 30000);

 private:
  static DWORD WINAPI Run(void* self);

  std::function<void()> body_;
  HANDLE thread_ = nullptr;
  DWORD id_ = 0;
};

// Waits until condition holds; false after timeout_ms.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms = 30000);

// A visible top-level dialog (class "#32770") of the thread whose caption is
// caption; null after timeout_ms.
HWND WaitForDialog(DWORD thread, std::string_view caption, DWORD timeout_ms = 30000);
// The same, without waiting.
HWND FindDialog(DWORD thread, std::string_view caption);

std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, std::string_view text);
bool ControlEnabled(HWND dialog, int id);
bool ControlVisible(HWND dialog, int id);
bool ControlChecked(HWND dialog, int id);
// Clicks a button by posting BM_CLICK: the test thread does not wait for
// what the click starts (it may open a modal window).
void Click(HWND dialog, int id);
// Posts WM_COMMAND with id to the window, as a menu item or an accelerator
// would.
void PostCommand(HWND window, int id);
// Makes a resizable window larger as dragging its bottom right corner does:
// the sizing check (WM_SIZING), then the new size, inside the moving loop's
// messages. Returns once the window has its new size.
void DragBorder(HWND window, int grow_x, int grow_y);

}  // namespace twinseek::testing
