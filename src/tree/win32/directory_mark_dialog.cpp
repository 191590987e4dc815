// The folder marking dialog's procedure and commands: the folder chooser
// behind "参照(&B)", and OK reading the four values back with the mark
// position turned into a mark code.
#include "tree/win32/directory_mark_dialog.h"

#include <optional>
#include <string>

#include "base/win32/wide_text.h"
#include "resources/directory_mark_dialog_ids.h"
#include "tree/marks.h"

namespace twinseek {

namespace {

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// The position of the checked radio among the consecutive ids first..last;
// -1 when none is checked.
int CheckedPosition(HWND dialog, int first, int last) {
  for (int id = first; id <= last; ++id) {
    if (Checked(dialog, id)) return id - first;
  }
  return -1;
}

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

bool DirectoryMarkDialog::Run(HWND owner, DirectoryMarkRequest& request) {
  result_ = DirectoryMarkRequest{};
  const INT_PTR ended =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DIRECTORY_MARK_DIALOG), owner,
                      &DirectoryMarkDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  dialog_ = nullptr;
  if (ended != IDOK) return false;
  request = result_;
  return true;
}

INT_PTR CALLBACK DirectoryMarkDialog::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    reinterpret_cast<DirectoryMarkDialog*>(lparam)->dialog_ = dialog;
  }
  auto* self = reinterpret_cast<DirectoryMarkDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr) return FALSE;
  return self->HandleMessage(message, wparam, lparam);
}

INT_PTR DirectoryMarkDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;  // the focus goes to the folder field
    case WM_COMMAND:
      return OnCommand(LOWORD(wparam), HIWORD(wparam)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

bool DirectoryMarkDialog::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_DIRMARK_BUTTON_BROWSE:
      OnBrowse();
      return true;
    case IDOK:
      OnOK();
      return true;
    case IDCANCEL:
      EndDialog(dialog_, IDCANCEL);
      return true;
    default:
      return false;
  }
}

void DirectoryMarkDialog::OnInit() { FillControls(result_); }

// A folder text that code page 932 cannot hold is not offered to the chooser
// and stays in the field unless a folder is chosen.
void DirectoryMarkDialog::OnBrowse() {
  DirectoryMarkRequest values;
  const bool folder_readable = ReadControls(values);
  const std::string typed = values.folder;
  if (prompter_.ChooseFolder(dialog_, values.folder, kDirectoryMarkChooserTitle)) {
    FillControls(values);
    return;
  }
  values.folder = typed;  // a cancelled chooser leaves the folder as it was
  if (folder_readable) FillControls(values);
}

void DirectoryMarkDialog::OnOK() {
  DirectoryMarkRequest values;
  if (!ReadControls(values)) {
    prompter_.ShowMessage(dialog_, kDirectoryMarkFolderCharsMessage, {}, MB_OK | MB_ICONEXCLAMATION);
    SelectFolderField();
    return;
  }
  result_ = values;
  EndDialog(dialog_, IDOK);
}

bool DirectoryMarkDialog::ReadControls(DirectoryMarkRequest& values) const {
  const std::optional<std::string> folder = ControlText(GetDlgItem(dialog_, IDC_DIRMARK_EDIT_FOLDER));
  values.folder = folder.value_or(std::string());
  values.include_subfolders = Checked(dialog_, IDC_DIRMARK_CHECK_SUBFOLDERS);
  values.mark = MarkFromIndex(CheckedPosition(dialog_, IDC_DIRMARK_RADIO_MARK_0, IDC_DIRMARK_RADIO_MARK_4));
  values.only_duplicates = Checked(dialog_, IDC_DIRMARK_CHECK_ONLY_DUPLICATES);
  return folder.has_value();
}

void DirectoryMarkDialog::FillControls(const DirectoryMarkRequest& values) {
  SetControlText(GetDlgItem(dialog_, IDC_DIRMARK_EDIT_FOLDER), values.folder);
  CheckDlgButton(dialog_, IDC_DIRMARK_CHECK_SUBFOLDERS, values.include_subfolders ? BST_CHECKED : BST_UNCHECKED);
  const int position = MarkIndexOf(values.mark);
  CheckRadioButton(dialog_, IDC_DIRMARK_RADIO_MARK_0, IDC_DIRMARK_RADIO_MARK_4,
                   IDC_DIRMARK_RADIO_MARK_0 + (position < 0 ? 0 : position));
  CheckDlgButton(dialog_, IDC_DIRMARK_CHECK_ONLY_DUPLICATES, values.only_duplicates ? BST_CHECKED : BST_UNCHECKED);
}

// Focus on the folder field with its whole text selected and the caret in
// view.
void DirectoryMarkDialog::SelectFolderField() {
  const HWND field = GetDlgItem(dialog_, IDC_DIRMARK_EDIT_FOLDER);
  SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
  SendMessageW(field, EM_SETSEL, 0, -1);
  SendMessageW(field, EM_SCROLLCARET, 0, 0);
}

}  // namespace twinseek
