// The folder marking dialog's commands: the folder chooser behind "参照(&B)",
// and OK reading the four values back with the mark position turned into a
// mark code.
#include "tree/win32/directory_mark_dialog.h"

#include <optional>
#include <string>

#include "base/win32/dialog_controls.h"
#include "resources/directory_mark_dialog_ids.h"
#include "tree/marks.h"

namespace twinseek {

DirectoryMarkDialog::DirectoryMarkDialog(Prompter& prompter)
    : RequestDialog(IDD_DIRECTORY_MARK_DIALOG, &prompter), prompter_(prompter) {}

bool DirectoryMarkDialog::OnButton(int id) {
  if (id != IDC_DIRMARK_BUTTON_BROWSE) return Dialog::OnButton(id);
  OnBrowse();
  return true;
}

// The focus goes to the folder field.
bool DirectoryMarkDialog::OnInit() {
  FillControls(result_);
  return true;
}

// A folder text that code page 932 cannot hold is not offered to the chooser
// and stays in the field unless a folder is chosen.
void DirectoryMarkDialog::OnBrowse() {
  DirectoryMarkRequest values;
  const bool folder_readable = ReadControls(values);
  const std::string typed = values.folder;
  if (prompter_.ChooseFolder(window(), values.folder, kDirectoryMarkChooserTitle)) {
    FillControls(values);
    return;
  }
  values.folder = typed;  // a cancelled chooser leaves the folder as it was
  if (folder_readable) FillControls(values);
}

void DirectoryMarkDialog::OnOK() {
  DirectoryMarkRequest values;
  if (!ReadControls(values)) {
    prompter_.ShowMessage(window(), kDirectoryMarkFolderCharsMessage, {}, MB_OK | MB_ICONEXCLAMATION);
    SelectField(IDC_DIRMARK_EDIT_FOLDER);
    return;
  }
  result_ = values;
  End(IDOK);
}

bool DirectoryMarkDialog::ReadControls(DirectoryMarkRequest& values) const {
  const std::optional<std::string> folder = ControlText(Control(IDC_DIRMARK_EDIT_FOLDER));
  values.folder = folder.value_or(std::string());
  values.include_subfolders = Checked(Control(IDC_DIRMARK_CHECK_SUBFOLDERS));
  values.mark = MarkFromIndex(CheckedPosition(window(), IDC_DIRMARK_RADIO_MARK_0, IDC_DIRMARK_RADIO_MARK_4));
  values.only_duplicates = Checked(Control(IDC_DIRMARK_CHECK_ONLY_DUPLICATES));
  return folder.has_value();
}

void DirectoryMarkDialog::FillControls(const DirectoryMarkRequest& values) {
  SetControlText(Control(IDC_DIRMARK_EDIT_FOLDER), values.folder);
  SetChecked(Control(IDC_DIRMARK_CHECK_SUBFOLDERS), values.include_subfolders);
  const int position = MarkIndexOf(values.mark);
  CheckRadioButton(window(), IDC_DIRMARK_RADIO_MARK_0, IDC_DIRMARK_RADIO_MARK_4,
                   IDC_DIRMARK_RADIO_MARK_0 + (position < 0 ? 0 : position));
  SetChecked(Control(IDC_DIRMARK_CHECK_ONLY_DUPLICATES), values.only_duplicates);
}

}  // namespace twinseek
