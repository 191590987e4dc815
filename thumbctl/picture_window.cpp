#include "picture_window.h"

#include "module.h"

namespace twinseek::thumbctl {
namespace {

constexpr const wchar_t* kWindowClass = L"VellmorThumbCtlWindow";

// The class is registered while windows of it live and unregistered after
// the last one, so that a class left behind never points into an unloaded
// copy of the DLL (one left by a window destroyed with its parent is replaced
// at the next registration).
int g_windows = 0;

bool RegisterWindowClass(WNDPROC procedure) {
  if (g_windows > 0) return true;
  UnregisterClassW(kWindowClass, ModuleHandle());
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = ModuleHandle();
  window_class.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  window_class.lpszClassName = kWindowClass;
  return RegisterClassExW(&window_class) != 0;
}

}  // namespace

PictureWindow::~PictureWindow() { Destroy(); }

bool PictureWindow::Create(HWND parent, const RECT& rect) {
  if (window_ != nullptr) return true;
  if (!RegisterWindowClass(&PictureWindow::WindowProc)) return false;
  CreateWindowExW(0, kWindowClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, parent, nullptr, ModuleHandle(), this);
  return window_ != nullptr;
}

void PictureWindow::Destroy() {
  if (window_ == nullptr) return;
  DestroyWindow(window_);
  if (g_windows == 0) UnregisterClassW(kWindowClass, ModuleHandle());
}

void PictureWindow::Move(const RECT& rect) {
  if (window_ == nullptr) return;
  MoveWindow(window_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

void PictureWindow::ShowPicture(std::wstring_view path) {
  picture_.reset();  // the old picture goes before the new file is read
  if (EnsureGdiplus()) picture_ = Picture::Load(path);
  if (window_ != nullptr) InvalidateRect(window_, nullptr, TRUE);
}

LRESULT CALLBACK PictureWindow::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<PictureWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
    ++g_windows;
  }
  auto* self = reinterpret_cast<PictureWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    // Also reached when the parent takes the window down with it.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    --g_windows;
    return DefWindowProcW(window, message, wparam, lparam);
  }
  return self->OnMessage(message, wparam, lparam);
}

LRESULT PictureWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT fills every pixel
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wparam));
      return 0;
    case WM_SIZE:
      InvalidateRect(window_, nullptr, TRUE);
      return 0;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

void PictureWindow::OnPaint() {
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(window_, &paint);
  if (dc != nullptr) Paint(dc);
  EndPaint(window_, &paint);
}

void PictureWindow::Paint(HDC dc) const {
  RECT client{};
  GetClientRect(window_, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (picture_ != nullptr) picture_->Draw(dc, client);
}

}  // namespace twinseek::thumbctl
