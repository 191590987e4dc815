// The bulk marking dialog's commands: the mark list follows the target
// radios, and OK reads the four values back with the mark positions turned
// into mark codes.
#include "tree/win32/bulk_mark_dialog.h"

#include <array>

#include "base/win32/dialog_controls.h"
#include "resources/bulk_mark_dialog_ids.h"
#include "tree/marks.h"

namespace twinseek {

namespace {

// The mark list of "次のアイテム(&L)", in mark-list order.
constexpr std::array<const char*, 5> kChosenMarkEntries = {
    "解除されたアイテム",   "重複マークのアイテム",   "非重複マークのアイテム",
    "削除マークのアイテム", "コピーマークのアイテム",
};

}  // namespace

BulkMarkDialog::BulkMarkDialog(Prompter* prompter) : RequestDialog(IDD_BULK_MARK_DIALOG, prompter) {}

// The target radios enable the mark list or not.
bool BulkMarkDialog::OnButton(int id) {
  if (id < IDC_BULK_RADIO_ALL || id > IDC_BULK_RADIO_CHOSEN_MARK) return Dialog::OnButton(id);
  EnableChosenMarkList();
  return true;
}

// Every value starts at 0: the first target, the first list entry, the box
// unticked, the first new mark. The focus goes to the first radio.
bool BulkMarkDialog::OnInit() {
  const HWND list = Control(IDC_BULK_COMBO_CHOSEN_MARK);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  for (const char* entry : kChosenMarkEntries) AddListEntry(list, entry);
  SendMessageW(list, CB_SETCURSEL, 0, 0);
  CheckRadioButton(window(), IDC_BULK_RADIO_ALL, IDC_BULK_RADIO_CHOSEN_MARK, IDC_BULK_RADIO_ALL);
  SetChecked(Control(IDC_BULK_CHECK_UNMARKED_GROUPS), false);
  CheckRadioButton(window(), IDC_BULK_RADIO_NEW_MARK_0, IDC_BULK_RADIO_NEW_MARK_4, IDC_BULK_RADIO_NEW_MARK_0);
  EnableChosenMarkList();
  return true;
}

// The list matters only for "次のアイテム(&L)".
void BulkMarkDialog::EnableChosenMarkList() {
  EnableWindow(Control(IDC_BULK_COMBO_CHOSEN_MARK),
               Checked(Control(IDC_BULK_RADIO_CHOSEN_MARK)) ? TRUE : FALSE);
}

void BulkMarkDialog::OnOK() {
  result_.new_mark =
      MarkFromIndex(CheckedPosition(window(), IDC_BULK_RADIO_NEW_MARK_0, IDC_BULK_RADIO_NEW_MARK_4));
  const int target = CheckedPosition(window(), IDC_BULK_RADIO_ALL, IDC_BULK_RADIO_CHOSEN_MARK);
  result_.target = target < 0 ? BulkTarget::kAllFiles : static_cast<BulkTarget>(target);
  const LRESULT entry = SendMessageW(Control(IDC_BULK_COMBO_CHOSEN_MARK), CB_GETCURSEL, 0, 0);
  result_.chosen_mark = MarkFromIndex(static_cast<int>(entry));
  result_.only_unmarked_groups = Checked(Control(IDC_BULK_CHECK_UNMARKED_GROUPS));
  End(IDOK);
}

}  // namespace twinseek
