#include "app/win32/about_box.h"

#include <shellapi.h>

#include <string>

#include "resources/about_box_ids.h"
#include "resources/resource_ids.h"

namespace twinseek {

void AboutBox::Show(HWND owner) {
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT_BOX), owner,
                  &AboutBox::DialogProc, 0);
}

INT_PTR CALLBACK AboutBox::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wparam)) {
    case IDOK:
    case IDCANCEL:
      EndDialog(window, LOWORD(wparam));
      return TRUE;
    case IDC_ABOUT_BUTTON_HOME_PAGE:
      OpenHomePage();
      return TRUE;
    default:
      return FALSE;
  }
}

// The address is loaded afresh each time; a failure is not reported and the
// box stays open.
void AboutBox::OpenHomePage() {
  const wchar_t* address = nullptr;
  const int length = LoadStringW(GetModuleHandleW(nullptr), IDS_HOME_PAGE,
                                 reinterpret_cast<wchar_t*>(&address), 0);
  if (length <= 0) return;
  const std::wstring text(address, static_cast<size_t>(length));
  ShellExecuteW(nullptr, L"OPEN", text.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace twinseek
