#include "support/win32/window_pixels.h"

#include "support/win32/ui_driver.h"

namespace twinseek::testing {
namespace {

BOOL CALLBACK FindUpdate(HWND child, LPARAM found) {
  if (GetUpdateRect(child, nullptr, FALSE)) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

bool NothingToPaint(HWND top) {
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutW(top, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored)) return false;
  if (GetUpdateRect(top, nullptr, FALSE)) return false;
  bool found = false;
  EnumChildWindows(top, &FindUpdate, reinterpret_cast<LPARAM>(&found));
  return !found;
}

// The client area of window, drawn into a bitmap by draw(bitmap's DC).
template <typename Draw>
WindowPixels Pixels(HWND window, Draw draw) {
  WindowPixels result;
  RECT client{};
  GetClientRect(window, &client);
  result.width = client.right;
  result.height = client.bottom;
  if (result.width <= 0 || result.height <= 0) return result;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = result.width;
  info.bmiHeader.biHeight = -result.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC memory = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  draw(memory, result.width, result.height);
  GdiFlush();
  const auto* pixels = static_cast<const uint32_t*>(bits);
  result.pixels.assign(pixels, pixels + static_cast<size_t>(result.width) * result.height);
  for (uint32_t& pixel : result.pixels) pixel &= 0x00ffffff;
  SelectObject(memory, previous);
  DeleteObject(bitmap);
  DeleteDC(memory);
  return result;
}

}  // namespace

WindowPixels ReadPixels(HWND window) {
  return Pixels(window, [&](HDC memory, int width, int height) {
    HDC source = GetDC(window);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    ReleaseDC(window, source);
  });
}

WindowPixels RenderPixels(HWND window) {
  return Pixels(window, [&](HDC memory, int, int) { PrintWindow(window, memory, PW_CLIENTONLY); });
}

bool WaitUntilPainted(HWND top, DWORD timeout_ms) {
  int quiet = 0;
  return WaitUntil([&] { return (quiet = NothingToPaint(top) ? quiet + 1 : 0) >= 2; }, timeout_ms);
}

}  // namespace twinseek::testing
