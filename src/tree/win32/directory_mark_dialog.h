// The folder marking dialog "指定ディレクトリの検索": the folder (typed, or
// chosen through "参照(&B)"), whether subfolders count, whether only files
// marked duplicate are examined, and the mark to give. Made afresh for every
// use, so it always opens empty with its first choices.
#pragma once

#include <windows.h>

#include "base/win32/dialog.h"
#include "base/win32/prompter.h"
#include "tree/folder_marking.h"

namespace twinseek {

// The folder chooser's title of "参照(&B)".
inline constexpr const char* kDirectoryMarkChooserTitle = "削除する重複ファイルのある基底ディレクトリの指定";

// The refusal of OK when the folder field holds a character that code page
// 932 cannot hold: such a folder could never match a path of the tree.
inline constexpr const char* kDirectoryMarkFolderCharsMessage =
    "フォルダ名に使用できない文字が含まれています。";

// Run(owner, request): on OK fills request from the controls (the folder not
// validated, the mark position turned into a mark code) and returns true; on
// cancel returns false and leaves request alone. OK with a folder text that
// code page 932 cannot hold shows kDirectoryMarkFolderCharsMessage through
// the prompter and keeps the dialog open with the field selected. "参照(&B)"
// runs the prompter's folder chooser, owned by the dialog, with the field's
// folder preselected.
class DirectoryMarkDialog final : public RequestDialog<DirectoryMarkRequest> {
 public:
  explicit DirectoryMarkDialog(Prompter& prompter);

 private:
  bool OnInit() override;
  bool OnButton(int id) override;
  void OnOK() override;
  void OnBrowse();
  // Reads the controls into values; false when the folder text holds a
  // character that code page 932 cannot hold (values.folder is then empty).
  bool ReadControls(DirectoryMarkRequest& values) const;
  void FillControls(const DirectoryMarkRequest& values);

  Prompter& prompter_;
};

}  // namespace twinseek
