// The move destination dialog "ファイルの移動": the folder the files marked
// for deletion are moved into, typed or chosen through "参照(&B)", and created
// (with its missing levels) when "実行" is pressed. Made afresh for every use,
// so it always opens with an empty destination.
//
// Contract:
// - "参照(&B)" runs the prompter's folder chooser, owned by the dialog, with
//   nothing preselected and the title "移動先のフォルダを指定してください"; a
//   chosen folder replaces the text of the edit box, a cancel changes nothing.
// - "実行" with an empty edit box shows "移動先を指定してください" (OK, warning
//   icon, the application title) and the dialog stays. Otherwise the folder
//   is made to exist (EnsureFolder): on success the dialog closes with that
//   destination; when it cannot be made, or the text holds a character code
//   page 932 cannot hold, "フォルダの指定が不正か、作成できません" (OK, warning
//   icon, the application title) is shown and the dialog stays with the text
//   selected.
// - "ｷｬﾝｾﾙ" (Escape, the close box) closes it with nothing.
// - Every message box and the chooser go through the prompter.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "base/file_system.h"
#include "base/win32/dialog.h"
#include "base/win32/prompter.h"

namespace twinseek {

// Run(owner): runs the dialog modally, owned by owner, on the calling
// thread. The destination (code page 932, an existing folder) when "実行"
// succeeded; nothing when the user cancelled.
class MoveTargetDialog final : public RequestDialog<std::string> {
 public:
  // Both must outlive the dialog; folders are created through file_system.
  MoveTargetDialog(Prompter& prompter, FileSystem& file_system);

 private:
  bool OnButton(int id) override;
  // "実行".
  void OnOK() override;
  void OnBrowse();
  void Refuse(const char* message);

  Prompter& prompter_;
  FileSystem& file_system_;
};

}  // namespace twinseek
