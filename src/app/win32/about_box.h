// The About box "バージョン情報及び使用許諾条件": the icon, the program's name
// and version, its release dates and rights notice, "OK", and "ホームページ",
// which opens the home page address of the string table.
#pragma once

#include <windows.h>

#include "base/win32/dialog.h"

namespace twinseek {

class AboutBox final : public Dialog {
 public:
  // Shows the box modally, owned by owner; prompter tells of a failure
  // inside it.
  static void Show(HWND owner, Prompter& prompter);

 private:
  explicit AboutBox(Prompter& prompter);
  bool OnInit() override;
  bool OnButton(int id) override;
};

}  // namespace twinseek
