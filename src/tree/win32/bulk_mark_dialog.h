// The bulk marking dialog "全てのアイテムのフラグ・マークの変更": which files are
// concerned (all, unmarked, or those of the mark chosen in the drop-down
// list, which is enabled only for "次のアイテム(&L)"), whether only groups
// without a mark are changed, and the new mark. Made afresh for every use,
// so it always opens with its first choices.
#pragma once

#include <windows.h>

#include "base/win32/dialog.h"
#include "tree/bulk_mark.h"

namespace twinseek {

// Run(owner, request): on OK fills request from the controls (mark positions
// turned into mark codes) and returns true; on cancel returns false and
// leaves request alone.
class BulkMarkDialog final : public RequestDialog<BulkMarkRequest> {
 public:
  // prompter, when given, tells of a failure inside the dialog.
  explicit BulkMarkDialog(Prompter* prompter = nullptr);

 private:
  bool OnInit() override;
  bool OnButton(int id) override;
  void OnOK() override;
  void EnableChosenMarkList();
};

}  // namespace twinseek
