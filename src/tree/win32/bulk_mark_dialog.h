// The bulk marking dialog "全てのアイテムのフラグ・マークの変更": which files are
// concerned (all, unmarked, or those of the mark chosen in the drop-down
// list, which is enabled only for "次のアイテム(&L)"), whether only groups
// without a mark are changed, and the new mark. Made afresh for every use,
// so it always opens with its first choices.
#pragma once

#include <windows.h>

#include "tree/bulk_mark.h"

namespace twinseek {

class BulkMarkDialog {
 public:
  // Runs the dialog modally, owned by owner. On OK fills request from the
  // controls (mark positions turned into mark codes) and returns true; on
  // cancel returns false and leaves request alone.
  bool Run(HWND owner, BulkMarkRequest& request);

 private:
  static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
  INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  bool OnCommand(int id, int code);
  void OnInit();
  void EnableChosenMarkList();
  void OnOK();

  HWND dialog_ = nullptr;
  BulkMarkRequest result_;
};

}  // namespace twinseek
