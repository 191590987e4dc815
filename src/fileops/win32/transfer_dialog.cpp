// The progress window's procedure, its delayed showing, its cancel, and the
// worker that runs TransferFiles.
#include "fileops/win32/transfer_dialog.h"

#include <commctrl.h>

#include "base/win32/wide_text.h"
#include "resources/transfer_dialog_ids.h"

namespace twinseek {

namespace {

constexpr UINT_PTR kShowTimer = 1;

void SetControlText(HWND control, std::string_view text) {
  SetWindowTextW(control, Cp932ToWide(text).c_str());
}

void PostWorkEnded(HWND dialog) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDC_TRANSFER_COMMAND_DONE, 0), 0);
}

// The outcome of a run that never started: every path left untouched.
TransferOutcome NothingHandled(size_t count) {
  TransferOutcome outcome;
  outcome.cancelled = true;
  outcome.not_handled = count;
  return outcome;
}

}  // namespace

TransferOutcome TransferDialog::Run(HWND owner, const std::vector<std::string>& paths,
                                    std::string_view folder, TransferKind kind) {
  job_ = Job{&paths, std::string(folder), kind};
  outcome_ = NothingHandled(paths.size());
  may_show_ = false;
  cancel_ = 0;
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_TRANSFER_DIALOG), owner,
                  &TransferDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  worker_.Join();
  dialog_ = nullptr;
  job_ = Job{};
  return std::move(outcome_);
}

INT_PTR CALLBACK TransferDialog::DialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(dialog, DWLP_USER, lparam);
    reinterpret_cast<TransferDialog*>(lparam)->dialog_ = dialog;
  }
  auto* self = reinterpret_cast<TransferDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
  if (self == nullptr) return FALSE;
  return self->HandleMessage(message, wparam, lparam);
}

INT_PTR TransferDialog::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;
    case WM_COMMAND:
      return OnCommand(LOWORD(wparam), HIWORD(wparam)) ? TRUE : FALSE;
    case WM_TIMER:
      if (wparam != kShowTimer) return FALSE;
      OnShowTimer();
      return TRUE;
    case WM_WINDOWPOSCHANGING:
      KeepHidden(*reinterpret_cast<WINDOWPOS*>(lparam));
      return FALSE;
    default:
      return FALSE;
  }
}

void TransferDialog::OnInit() {
  SetWindowTextW(dialog_, Cp932ToWide(job_.kind == TransferKind::kMove ? kMoveProgressTitle
                                                                         : kCopyProgressTitle)
                              .c_str());
  const size_t total = job_.paths->size();
  SendMessageW(Control(IDC_TRANSFER_PROGRESS), PBM_SETRANGE32, 0,
               static_cast<LPARAM>(total > 0 ? total : 1));
  if (!worker_.Start(&TransferDialog::WorkThread, this)) {
    EndDialog(dialog_, IDCANCEL);
    return;
  }
  SetTimer(dialog_, kShowTimer, kShowDelayMs, nullptr);
}

bool TransferDialog::OnCommand(int id, int code) {
  switch (id) {
    case IDCANCEL:
      if (code != BN_CLICKED) return false;
      OnCancel();
      return true;
    case IDC_TRANSFER_COMMAND_DONE:
      OnWorkEnded();
      return true;
    default:
      return false;
  }
}

void TransferDialog::OnShowTimer() {
  KillTimer(dialog_, kShowTimer);
  if (!worker_.Active()) return;
  may_show_ = true;
  ShowWindow(dialog_, SW_SHOW);
}

// Only asks the worker to stop: its completion command ends the window.
void TransferDialog::OnCancel() {
  cancel_ = 1;
  EnableWindow(Control(IDCANCEL), FALSE);
}

void TransferDialog::OnWorkEnded() {
  if (!worker_.Active()) return;  // no run of ours
  // The worker's last act was to post this command: the wait is short.
  worker_.Join();
  KillTimer(dialog_, kShowTimer);
  EndDialog(dialog_, IDOK);
}

// The dialog manager shows a modal window once its message queue is empty;
// until the delay has passed every attempt to show it is taken back.
void TransferDialog::KeepHidden(WINDOWPOS& position) const {
  if (!may_show_) position.flags &= ~SWP_SHOWWINDOW;
}

DWORD WINAPI TransferDialog::WorkThread(void* self) {
  static_cast<TransferDialog*>(self)->Work();
  return 0;
}

// On the worker thread: the outcome is read by the dialog's thread only
// after the thread has ended.
void TransferDialog::Work() {
  const HWND dialog = dialog_;
  outcome_ = TransferFiles(file_system_, *job_.paths, job_.folder, job_.kind,
                           [this](size_t done, size_t total) { return ShowProgress(done, total); });
  PostWorkEnded(dialog);
}

// On the worker thread, before each file and once at the end.
bool TransferDialog::ShowProgress(size_t done, size_t total) {
  SendMessageW(Control(IDC_TRANSFER_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(done), 0);
  if (done < total) SetControlText(Control(IDC_TRANSFER_TEXT_FILE), (*job_.paths)[done]);
  return cancel_.load() == 0;
}

}  // namespace twinseek
