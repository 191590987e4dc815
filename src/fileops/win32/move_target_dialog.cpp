// The move destination dialog's procedure and commands: the folder chooser
// behind "参照(&B)", and "実行" checking and creating the destination.
#include "fileops/win32/move_target_dialog.h"

#include <string_view>

#include "base/win32/wide_text.h"
#include "fileops/ensure_folder.h"
#include "fileops/file_operation_texts.h"
#include "resources/move_target_dialog_ids.h"

namespace twinseek {

namespace {

constexpr UINT kWarning = MB_OK | MB_ICONWARNING;

// The control's text in code page 932; nothing when a character cannot be
// held.
std::optional<std::string> ControlText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return WideToCp932(text);
}

void SetControlText(HWND control, std::string_view text) {
  SetWindowTextW(control, Cp932ToWide(text).c_str());
}

}  // namespace

std::optional<std::string> MoveTargetDialog::Run(HWND owner) {
  destination_.clear();
  const INT_PTR ended =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_MOVE_TARGET_DIALOG), owner,
                      &MoveTargetDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  dialog_ = nullptr;
  if (ended != IDOK) return std::nullopt;
  return destination_;
}

INT_PTR CALLBACK MoveTargetDialog::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    reinterpret_cast<MoveTargetDialog*>(lparam)->dialog_ = dialog;
    return TRUE;  // the focus goes to the edit box
  }
  auto* self = reinterpret_cast<MoveTargetDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr || message != WM_COMMAND) return FALSE;
  return self->OnCommand(LOWORD(wparam), HIWORD(wparam)) ? TRUE : FALSE;
}

bool MoveTargetDialog::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_MOVE_BUTTON_BROWSE:
      OnBrowse();
      return true;
    case IDOK:
      OnExecute();
      return true;
    case IDCANCEL:
      EndDialog(dialog_, IDCANCEL);
      return true;
    default:
      return false;
  }
}

// The chooser always starts with nothing preselected, whatever was typed.
void MoveTargetDialog::OnBrowse() {
  std::string chosen;
  if (!prompter_.ChooseFolder(dialog_, chosen, kChooseMoveFolderTitle)) return;
  SetControlText(Control(IDC_MOVE_EDIT_FOLDER), chosen);
}

void MoveTargetDialog::OnExecute() {
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
  destination_ = *destination;
  EndDialog(dialog_, IDOK);
}

void MoveTargetDialog::Refuse(const char* message) {
  prompter_.ShowMessage(dialog_, message, {}, kWarning);
  SelectFolderField();
}

// Focus on the edit box with its whole text selected and the caret in view.
void MoveTargetDialog::SelectFolderField() {
  const HWND field = Control(IDC_MOVE_EDIT_FOLDER);
  SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  SendMessageW(field, EM_SETSEL, 0, -1);
  SendMessageW(field, EM_SCROLLCARET, 0, 0);
}

}  // namespace twinseek
