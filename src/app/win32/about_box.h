// The About box "バージョン情報及び使用許諾条件": the icon, the program's name
// and version, its release dates and rights notice, "OK", and "ホームページ",
// which opens the home page address of the string table.
#pragma once

#include <windows.h>

namespace twinseek {

class AboutBox {
 public:
  // Shows the box modally, owned by owner.
  static void Show(HWND owner);

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static void OpenHomePage();
};

}  // namespace twinseek
