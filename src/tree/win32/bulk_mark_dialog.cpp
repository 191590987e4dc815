// The bulk marking dialog's procedure and commands: the mark list follows the
// target radios, and OK reads the four values back with the mark positions
// turned into mark codes.
#include "tree/win32/bulk_mark_dialog.h"

#include <array>

#include "base/win32/wide_text.h"
#include "resources/bulk_mark_dialog_ids.h"
#include "tree/marks.h"

namespace twinseek {

namespace {

// The mark list of "次のアイテム(&L)", in mark-list order.
constexpr std::array<const char*, 5> kChosenMarkEntries = {
    "解除されたアイテム",     "重複マークのアイテム",   "非重複マークのアイテム",
    "削除マークのアイテム", "コピーマークのアイテム",
};

bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

// The position of the checked radio among the consecutive ids first..last;
// -1 when none is checked.
int CheckedPosition(HWND dialog, int first, int last) {
  for (int id = first; id <= last; ++id) {
    if (Checked(dialog, id)) return id - first;
  }
  return -1;
}

}  // namespace

bool BulkMarkDialog::Run(HWND owner, BulkMarkRequest& request) {
  result_ = BulkMarkRequest{};
  const INT_PTR ended =
      DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_BULK_MARK_DIALOG), owner,
                      &BulkMarkDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  dialog_ = nullptr;
  if (ended != IDOK) return false;
  request = result_;
  return true;
}

INT_PTR CALLBACK BulkMarkDialog::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    reinterpret_cast<BulkMarkDialog*>(lparam)->dialog_ = dialog;
  }
  auto* self = reinterpret_cast<BulkMarkDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr) return FALSE;
  return self->HandleMessage(message, wparam, lparam);
}

INT_PTR BulkMarkDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;  // the focus goes to the first radio
    case WM_COMMAND:
      return OnCommand(LOWORD(wparam), HIWORD(wparam)) ? TRUE : FALSE;
    default:
      return FALSE;
  }
}

bool BulkMarkDialog::OnCommand(int id, int code) {
  if (code != BN_CLICKED) return false;
  switch (id) {
    case IDC_BULK_RADIO_ALL:
    case IDC_BULK_RADIO_UNMARKED:
    case IDC_BULK_RADIO_CHOSEN_MARK:
      EnableChosenMarkList();
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

// Every value starts at 0: the first target, the first list entry, the box
// unticked, the first new mark.
void BulkMarkDialog::OnInit() {
  const HWND list = GetDlgItem(dialog_, IDC_BULK_COMBO_CHOSEN_MARK);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const char* entry : kChosenMarkEntries) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Cp932ToWide(entry).c_str()));
  }
  SendMessageW(list, CB_SETCURSEL, 0, 0);
  CheckRadioButton(dialog_, IDC_BULK_RADIO_ALL, IDC_BULK_RADIO_CHOSEN_MARK, IDC_BULK_RADIO_ALL);
  CheckDlgButton(dialog_, IDC_BULK_CHECK_UNMARKED_GROUPS, BST_UNCHECKED);
  CheckRadioButton(dialog_, IDC_BULK_RADIO_NEW_MARK_0, IDC_BULK_RADIO_NEW_MARK_4, IDC_BULK_RADIO_NEW_MARK_0);
  EnableChosenMarkList();
}

// The list matters only for "次のアイテム(&L)".
void BulkMarkDialog::EnableChosenMarkList() {
  EnableWindow(GetDlgItem(dialog_, IDC_BULK_COMBO_CHOSEN_MARK),
               Checked(dialog_, IDC_BULK_RADIO_CHOSEN_MARK) ? TRUE : FALSE);
}

void BulkMarkDialog::OnOK() {
  result_.new_mark =
      MarkFromIndex(CheckedPosition(dialog_, IDC_BULK_RADIO_NEW_MARK_0, IDC_BULK_RADIO_NEW_MARK_4));
  const int target = CheckedPosition(dialog_, IDC_BULK_RADIO_ALL, IDC_BULK_RADIO_CHOSEN_MARK);
  result_.target = target < 0 ? BulkTarget::kAllFiles : static_cast<BulkTarget>(target);
  const LRESULT entry = SendDlgItemMessageW(dialog_, IDC_BULK_COMBO_CHOSEN_MARK, CB_GETCURSEL, 0, 0);
  result_.chosen_mark = MarkFromIndex(static_cast<int>(entry));
  result_.only_unmarked_groups = Checked(dialog_, IDC_BULK_CHECK_UNMARKED_GROUPS);
  EndDialog(dialog_, IDOK);
}

}  // namespace twinseek
