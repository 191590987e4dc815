#include "app/win32/about_box.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "app/version_text.h"
#include "base/win32/wide_text.h"
#include "resources/about_box_ids.h"
#include "resources/resource_ids.h"

namespace twinseek {
namespace {

// The version of the program's VERSIONINFO resource; empty when it has none.
std::string ProgramVersion() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<char> block(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!GetFileVersionInfoW(path.c_str(), 0, size, block.data()) ||
      !VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length) ||
      length < sizeof *info) {
    return {};
  }
  return VersionText(info->dwProductVersionMS, info->dwProductVersionLS);
}

// The text block with the program's version in it.
void PutVersion(HWND window) {
  HWND text = GetDlgItem(window, IDC_ABOUT_TEXT);
  std::wstring wide(static_cast<size_t>(GetWindowTextLengthW(text)) + 1, L'\0');
  wide.resize(static_cast<size_t>(GetWindowTextW(text, wide.data(), static_cast<int>(wide.size()))));
  const std::string filled = WithVersion(WideToCp932Lossy(wide), ProgramVersion());
  SetWindowTextW(text, Cp932ToWide(filled).c_str());
}

}  // namespace

void AboutBox::Show(HWND owner) {
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ABOUT_BOX), owner,
                  &AboutBox::DialogProc, 0);
}

INT_PTR CALLBACK AboutBox::DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) {
    PutVersion(window);
    return TRUE;
  }
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
