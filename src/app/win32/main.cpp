// The program's entry point. Until the main window is built, Twinseek shows a
// small window that says this is an early build and what it can do so far.
#include <windows.h>

#include <string>

#include "base/crc32.h"
#include "base/win32/wide_text.h"
#include "resources/early_build_ids.h"

namespace twinseek {
namespace {

// The text of the window, in code page 932 as every text of the program.
std::string EarlyBuildText() {
  char line[160];
  // "123456789" has the check value CBF43926: the checksum is in place.
  wsprintfA(line, "この版は開発の初期段階のもので、まだ重複ファイルを検索できません。\r\n"
                  "CRC-32 検査値: %08lX",
            static_cast<unsigned long>(Checksum("123456789", 9)));
  return line;
}

INT_PTR CALLBACK EarlyBuildProc(HWND window, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      SetDlgItemTextW(window, IDC_EARLY_BUILD_TEXT, Cp932ToWide(EarlyBuildText()).c_str());
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) {
        EndDialog(window, LOWORD(wparam));
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace
}  // namespace twinseek

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_EARLY_BUILD), nullptr, twinseek::EarlyBuildProc, 0);
  return 0;
}
