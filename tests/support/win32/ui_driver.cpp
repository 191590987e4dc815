#include "support/win32/ui_driver.h"

#include "base/win32/wide_text.h"

namespace twinseek::testing {

UiThread::UiThread(std::function<void()> body) : body_(std::move(body)) {
  thread_ = CreateThread(nullptr, 0, &UiThread::Run, this, 0, &id_);
}

UiThread::~UiThread() {
  if (thread_ == nullptr) return;
  WaitForSingleObject(thread_, 30000);
  CloseHandle(thread_);
}

DWORD WINAPI UiThread::Run(void* self) {
  static_cast<UiThread*>(self)->body_();
  return 0;
}

bool UiThread::Join(DWORD timeout_ms) {
  return thread_ != nullptr && WaitForSingleObject(thread_, timeout_ms) == WAIT_OBJECT_0;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > timeout_ms) return false;
    Sleep(10);
  }
  return true;
}

namespace {

struct DialogSearch {
  std::wstring caption;
  HWND found = nullptr;
};

BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (std::wstring_view(class_name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  const int length = GetWindowTextLengthW(window);
  std::wstring caption(static_cast<size_t>(length) + 1, L'\0');
  GetWindowTextW(window, caption.data(), length + 1);
  caption.resize(static_cast<size_t>(length));
  if (caption != search->caption) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindDialog(DWORD thread, std::string_view caption) {
  DialogSearch search{Cp932ToWide(caption)};
  EnumThreadWindows(thread, &MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForDialog(DWORD thread, std::string_view caption, DWORD timeout_ms) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindDialog(thread, caption)) != nullptr; }, timeout_ms);
  return found;
}

std::string WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(window, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied));
  return WideToCp932Lossy(text);
}

std::string ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void SetControlText(HWND dialog, int id, std::string_view text) {
  SetDlgItemTextW(dialog, id, Cp932ToWide(text).c_str());
}

bool ControlEnabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != 0; }

bool ControlVisible(HWND dialog, int id) {
  return (GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

bool ControlChecked(HWND dialog, int id) {
  return SendDlgItemMessageW(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Click(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

void PostCommand(HWND window, int id) { PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

void DragBorder(HWND window, int grow_x, int grow_y) {
  RECT frame{};
  GetWindowRect(window, &frame);
  RECT dragged{frame.left, frame.top, frame.right + grow_x, frame.bottom + grow_y};
  SendMessageW(window, WM_ENTERSIZEMOVE, 0, 0);
  SendMessageW(window, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&dragged));
  SetWindowPos(window, nullptr, 0, 0, dragged.right - dragged.left, dragged.bottom - dragged.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
}

}  // namespace twinseek::testing
