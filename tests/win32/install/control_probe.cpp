// A probe for the installation test: creates the image preview control the
// way the file information window does (by its class identifier, through
// the image preview host) in a window of its own, and says whether that
// worked. Exit 0 when the registered control was created and answers its
// method, 1 when not.
#include <windows.h>
#include <ole2.h>

#include <cstdio>

#include "report/win32/image_preview_host.h"

int main() {
  if (FAILED(OleInitialize(nullptr))) return 1;
  bool created = false;
  {
    HWND parent = CreateWindowExW(0, L"STATIC", L"probe", WS_POPUP, 0, 0, 200, 200, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    twinseek::ImagePreviewHost host;
    created = parent != nullptr && host.Create(parent, RECT{0, 0, 200, 200});
    if (created) host.ShowPicture("");
    if (parent != nullptr) DestroyWindow(parent);
  }
  OleUninitialize();
  std::puts(created ? "VellmorThumbCtl: created" : "VellmorThumbCtl: not created");
  return created ? 0 : 1;
}
