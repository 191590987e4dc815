// The move destination dialog's commands: the folder chooser behind
// "参照(&B)", and "実行" checking and creating the destination.
#include "fileops/win32/move_target_dialog.h"

#include "base/win32/dialog_controls.h"
#include "fileops/ensure_folder.h"
#include "fileops/file_operation_texts.h"
#include "resources/move_target_dialog_ids.h"

namespace twinseek {

namespace {

constexpr UINT kWarning = MB_OK | MB_ICONWARNING;

}  // namespace

MoveTargetDialog::MoveTargetDialog(Prompter& prompter, FileSystem& file_system)
    : RequestDialog(IDD_MOVE_TARGET_DIALOG, &prompter), prompter_(prompter), file_system_(file_system) {}

bool MoveTargetDialog::OnButton(int id) {
  if (id != IDC_MOVE_BUTTON_BROWSE) return Dialog::OnButton(id);
  OnBrowse();
  return true;
}

// The chooser always starts with nothing preselected, whatever was typed.
void MoveTargetDialog::OnBrowse() {
  std::string chosen;
  if (!prompter_.ChooseFolder(window(), chosen, kChooseMoveFolderTitle)) return;
  SetControlText(Control(IDC_MOVE_EDIT_FOLDER), chosen);
}

void MoveTargetDialog::OnOK() {
  const HWND field = Control(IDC_MOVE_EDIT_FOLDER);
  if (GetWindowTextLengthW(field) == 0) {
    Refuse(kNoDestinationMessage);
    return;
  }
  const std::optional<std::string> destination = ControlText(field);
  if (!destination || !EnsureFolder(file_system_, *destination)) {
    Refuse(kBadFolderMessage);
    return;
  }
  result_ = *destination;
  End(IDOK);
}

void MoveTargetDialog::Refuse(const char* message) {
  prompter_.ShowMessage(window(), message, {}, kWarning);
  SelectField(IDC_MOVE_EDIT_FOLDER);
}

}  // namespace twinseek
