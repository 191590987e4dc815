// The scan target dialog's commands, the exchange between the criteria and
// the controls, and the enumeration worker.
#include "scan/win32/scan_target_dialog.h"

#include <commctrl.h>

#include <optional>
#include <string>

#include "base/win32/dialog_controls.h"
#include "resources/scan_target_dialog_ids.h"
#include "scan/name_patterns.h"
#include "scan/scan_target_rules.h"
#include "scan/win32/drop_intake.h"

namespace twinseek {

namespace {

WORD ToWord(int value) { return static_cast<WORD>(value); }

SYSTEMTIME ToSystemTime(const LocalTime& time) {
  SYSTEMTIME system = {};
  system.wYear = ToWord(time.year);
  system.wMonth = ToWord(time.month);
  system.wDay = ToWord(time.day);
  system.wDayOfWeek = ToWord(DayOfWeek(time));
  system.wHour = ToWord(time.hour);
  system.wMinute = ToWord(time.minute);
  system.wSecond = ToWord(time.second);
  return system;
}

void SetDate(HWND picker, const LocalTime& date) {
  SYSTEMTIME system = ToSystemTime(date);
  SendMessageW(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&system));
}

// The picker edits the date only: the field keeps its time of day.
void ReadDate(HWND picker, LocalTime& date) {
  SYSTEMTIME system = {};
  if (SendMessageW(picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&system)) != GDT_VALID) {
    return;
  }
  date = LocalTime{system.wYear, system.wMonth, system.wDay, date.hour, date.minute, date.second, 0};
}

void PostWalkEnded(HWND dialog) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_SCAN_BUTTON_DONE, BN_CLICKED), 0);
}

}  // namespace

ScanTargetDialog::ScanTargetDialog(ScanCriteria& criteria, Prompter& prompter, FileSystem& file_system)
    : Dialog(IDD_SCAN_TARGET_DIALOG, &prompter),
      criteria_(criteria),
      prompter_(prompter),
      file_system_(file_system) {}

bool ScanTargetDialog::Run(HWND owner, ScanList& output) {
  criteria_.output = &output;
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_DATE_CLASSES};
  InitCommonControlsEx(&classes);
  const INT_PTR result = Dialog::Run(owner);
  worker_.Join();
  return result == IDOK;
}

// Enter (IDOK) does nothing (OnOK): only a walk that ended ends the dialog
// with OK.
bool ScanTargetDialog::OnButton(int id) {
  switch (id) {
    case IDC_SCAN_TOGGLE_START_DATE:
    case IDC_SCAN_TOGGLE_END_DATE:
    case IDC_SCAN_TOGGLE_MIN_SIZE:
    case IDC_SCAN_TOGGLE_MAX_SIZE:
      OnToggle();
      return true;
    case IDC_SCAN_BUTTON_BROWSE:
      OnBrowse();
      return true;
    case IDC_SCAN_BUTTON_START:
      OnStart();
      return true;
    case IDC_SCAN_BUTTON_DONE:
      OnWalkEnded();
      return true;
    default:
      return Dialog::OnButton(id);
  }
}

bool ScanTargetDialog::OnInit() {
  FillControls();
  EnableByToggles();
  return true;
}

// The window ends at once; Run still waits for the walk, which stops soon.
void ScanTargetDialog::OnFault() { criteria_.cancel = 1; }

void ScanTargetDialog::OnToggle() {
  EnableAllControls(true);
  ReadControls();
  EnableByToggles();
}

void ScanTargetDialog::OnBrowse() {
  // A refused size field has its message and the focus: no chooser over it.
  if (!ReadControls()) return;
  prompter_.ChooseFolder(window(), criteria_.location, kChooseFolderTitle);
  SetControlText(Control(IDC_SCAN_EDIT_LOCATION), criteria_.location);
}

void ScanTargetDialog::OnStart() {
  if (worker_.Active() || !ReadControls()) return;
  const StartCheck check = CheckScanStart(criteria_, file_system_);
  // The patterns as trimmed, and the location as made absolute, are what the
  // walk uses and what the dialog shows from now on.
  SetControlText(Control(IDC_SCAN_EDIT_NAMES), criteria_.name_patterns);
  SetControlText(Control(IDC_SCAN_EDIT_LOCATION), criteria_.location);
  switch (check) {
    case StartCheck::kForbiddenPattern:
      prompter_.ShowMessage(window(), kForbiddenPatternMessage, {}, MB_OK);
      SelectField(IDC_SCAN_EDIT_NAMES);
      return;
    case StartCheck::kBadLocation:
      prompter_.ShowMessage(window(), kBadLocationMessage, {}, MB_OK | MB_ICONSTOP);
      SelectField(IDC_SCAN_EDIT_LOCATION);
      return;
    case StartCheck::kReady:
      StartWalk();
      return;
  }
}

// A walk counts as running until its completion command has been handled
// (not only while the running flag is set), so the dialog never ends before
// the worker has posted its last message.
void ScanTargetDialog::OnCancel() {
  if (worker_.Active()) {
    criteria_.cancel = 1;
    return;
  }
  ReadControls();
  End(IDCANCEL);
}

void ScanTargetDialog::OnWalkEnded() {
  if (!worker_.Active()) return;  // no walk of ours
  // The worker's last act was to post this command: the wait is short.
  worker_.Join();
  OnToggle();
  if (criteria_.cancel.load() != 0) {
    SetControlText(Control(IDC_SCAN_STATUS), kInterruptedNotice);
    return;
  }
  ReadControls();
  End(IDOK);
}

// The exchange runs in one fixed order, both ways: start toggle, end toggle,
// maximum toggle, minimum toggle, maximum size, minimum size, name patterns,
// location, include subfolders, start date, end date.
void ScanTargetDialog::FillControls() {
  SetChecked(Control(IDC_SCAN_TOGGLE_START_DATE), criteria_.start_date_enabled);
  SetChecked(Control(IDC_SCAN_TOGGLE_END_DATE), criteria_.end_date_enabled);
  SetChecked(Control(IDC_SCAN_TOGGLE_MAX_SIZE), criteria_.maximum_size_enabled);
  SetChecked(Control(IDC_SCAN_TOGGLE_MIN_SIZE), criteria_.minimum_size_enabled);
  SetControlText(Control(IDC_SCAN_EDIT_MAX_SIZE), std::to_string(criteria_.maximum_size));
  SetControlText(Control(IDC_SCAN_EDIT_MIN_SIZE), std::to_string(criteria_.minimum_size));
  SetControlText(Control(IDC_SCAN_EDIT_NAMES), criteria_.name_patterns);
  SetControlText(Control(IDC_SCAN_EDIT_LOCATION), criteria_.location);
  SetChecked(Control(IDC_SCAN_CHECK_SUBFOLDERS), criteria_.include_subfolders);
  SetDate(Control(IDC_SCAN_DATE_START), criteria_.start_date);
  SetDate(Control(IDC_SCAN_DATE_END), criteria_.end_date);
}

bool ScanTargetDialog::ReadControls() {
  criteria_.start_date_enabled = Checked(Control(IDC_SCAN_TOGGLE_START_DATE));
  criteria_.end_date_enabled = Checked(Control(IDC_SCAN_TOGGLE_END_DATE));
  criteria_.maximum_size_enabled = Checked(Control(IDC_SCAN_TOGGLE_MAX_SIZE));
  criteria_.minimum_size_enabled = Checked(Control(IDC_SCAN_TOGGLE_MIN_SIZE));
  if (!ReadSize(IDC_SCAN_EDIT_MAX_SIZE, criteria_.maximum_size)) return false;
  if (!ReadSize(IDC_SCAN_EDIT_MIN_SIZE, criteria_.minimum_size)) return false;
  criteria_.name_patterns = ControlTextLossy(Control(IDC_SCAN_EDIT_NAMES));
  criteria_.location = ControlTextLossy(Control(IDC_SCAN_EDIT_LOCATION));
  criteria_.include_subfolders = Checked(Control(IDC_SCAN_CHECK_SUBFOLDERS));
  ReadDate(Control(IDC_SCAN_DATE_START), criteria_.start_date);
  ReadDate(Control(IDC_SCAN_DATE_END), criteria_.end_date);
  return true;
}

// A size field must hold a number whether its toggle is pressed or not.
bool ScanTargetDialog::ReadSize(int id, uint32_t& size) {
  const std::optional<uint32_t> value = ParseSizeField(ControlTextLossy(Control(id)));
  if (!value) {
    prompter_.ShowMessage(window(), kSizeFieldMessage, {}, MB_OK | MB_ICONEXCLAMATION);
    SelectField(id);
    return false;
  }
  size = *value;
  return true;
}

void ScanTargetDialog::EnableAllControls(bool enable) {
  for (HWND child = GetWindow(window(), GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    EnableWindow(child, enable ? TRUE : FALSE);
  }
}

void ScanTargetDialog::EnableByToggles() {
  const auto follow = [this](int toggle, int control) {
    EnableWindow(Control(control), Checked(Control(toggle)) ? TRUE : FALSE);
  };
  follow(IDC_SCAN_TOGGLE_START_DATE, IDC_SCAN_DATE_START);
  follow(IDC_SCAN_TOGGLE_END_DATE, IDC_SCAN_DATE_END);
  follow(IDC_SCAN_TOGGLE_MIN_SIZE, IDC_SCAN_EDIT_MIN_SIZE);
  follow(IDC_SCAN_TOGGLE_MAX_SIZE, IDC_SCAN_EDIT_MAX_SIZE);
}

void ScanTargetDialog::StartWalk() {
  EnableAllControls(false);
  EnableWindow(Control(IDCANCEL), TRUE);
  EnableWindow(Control(IDC_SCAN_STATUS), TRUE);
  criteria_.output->clear();
  criteria_.running = 1;
  criteria_.cancel = 0;
  const HWND dialog = window();
  const HWND status = Control(IDC_SCAN_STATUS);
  if (!worker_.Start([this, dialog, status] { Walk(dialog, status); })) {
    // No thread, no walk: back to idle as after an interruption.
    criteria_.running = 0;
    criteria_.cancel = 1;
    OnToggle();
    SetControlText(Control(IDC_SCAN_STATUS), kInterruptedNotice);
    return;
  }
  FocusControl(IDCANCEL);
}

// On the worker thread: the status line is written by message, served by the
// dialog's thread; the criteria are read once, into the request. The first
// folder is always shown, the others at most every kStatusIntervalMs: a
// message to the dialog's thread for each folder costs a walk of many small
// folders more than the listing itself under Wine.
void ScanTargetDialog::Walk(HWND dialog, HWND status) {
  constexpr ULONGLONG kStatusIntervalMs = 50;
  std::optional<ULONGLONG> shown_at;
  EnumerateFolder(MakeEnumerationRequest(criteria_,
                                         [status, &shown_at](const std::string& location) {
                                           const ULONGLONG now = GetTickCount64();
                                           if (shown_at && now - *shown_at < kStatusIntervalMs) return;
                                           shown_at = now;
                                           SetControlText(status, location);
                                         }),
                  file_system_, &EscapeKeyDown);
  criteria_.running = 0;
  PostWalkEnded(dialog);
}

}  // namespace twinseek
