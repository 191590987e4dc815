// The progress window's delayed showing, its cancel, and the worker that
// runs TransferFiles.
#include "fileops/win32/transfer_dialog.h"

#include <commctrl.h>

#include "base/win32/dialog_controls.h"
#include "resources/transfer_dialog_ids.h"

namespace twinseek {

namespace {

constexpr UINT_PTR kShowTimer = 1;

// The outcome of a run that never started: every path left untouched.
TransferOutcome NothingHandled(size_t count) {
  TransferOutcome outcome;
  outcome.cancelled = true;
  outcome.not_handled = count;
  return outcome;
}

}  // namespace

TransferDialog::TransferDialog(FileSystem& file_system, Prompter* prompter)
    : Dialog(IDD_TRANSFER_DIALOG, prompter), file_system_(file_system) {}

TransferOutcome TransferDialog::Run(HWND owner, const std::vector<std::string>& paths,
                                    std::string_view folder, TransferKind kind) {
  job_ = Job{&paths, std::string(folder), kind};
  outcome_ = NothingHandled(paths.size());
  may_show_ = false;
  cancel_ = 0;
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  Dialog::Run(owner);
  worker_.Join();
  job_ = Job{};
  return std::move(outcome_);
}

bool TransferDialog::OnInit() {
  SetControlText(window(), job_.kind == TransferKind::kMove ? kMoveProgressTitle : kCopyProgressTitle);
  const size_t total = job_.paths->size();
  SendMessageW(Control(IDC_TRANSFER_PROGRESS), PBM_SETRANGE32, 0, static_cast<LPARAM>(total > 0 ? total : 1));
  const WorkerView view{window(), Control(IDC_TRANSFER_PROGRESS), Control(IDC_TRANSFER_TEXT_FILE)};
  if (!worker_.Start([this, view] { Work(view); })) {
    End(IDCANCEL);
    return true;
  }
  SetTimer(window(), kShowTimer, kShowDelayMs, nullptr);
  return true;
}

// The worker's completion command comes as a click of a button that does
// not exist. Nothing else ends the window: Enter (IDOK) does nothing (OnOK).
bool TransferDialog::OnButton(int id) {
  if (id != IDC_TRANSFER_COMMAND_DONE) return Dialog::OnButton(id);
  OnWorkEnded();
  return true;
}

std::optional<INT_PTR> TransferDialog::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      if (wparam != kShowTimer) return std::nullopt;
      OnShowTimer();
      return 0;
    case WM_WINDOWPOSCHANGING:
      KeepHidden(*reinterpret_cast<WINDOWPOS*>(lparam));
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

// The window ends at once; Run still waits for the worker, which stops after
// the file under way.
void TransferDialog::OnFault() { cancel_ = 1; }

void TransferDialog::OnShowTimer() {
  KillTimer(window(), kShowTimer);
  if (!worker_.Active()) return;
  may_show_ = true;
  ShowWindow(window(), SW_SHOW);
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
  KillTimer(window(), kShowTimer);
  End(IDOK);
}

// The dialog manager shows a modal window once its message queue is empty;
// until the delay has passed every attempt to show it is taken back.
void TransferDialog::KeepHidden(WINDOWPOS& position) const {
  if (!may_show_) position.flags &= ~SWP_SHOWWINDOW;
}

// On the worker thread: the outcome is read by the dialog's thread only
// after the thread has ended.
void TransferDialog::Work(const WorkerView& view) {
  outcome_ = TransferFiles(file_system_, *job_.paths, job_.folder, job_.kind,
                           [&](size_t done, size_t total) { return ShowProgress(view, done, total); });
  PostMessageW(view.dialog, WM_COMMAND, MAKEWPARAM(IDC_TRANSFER_COMMAND_DONE, 0), 0);
}

// On the worker thread, before each file and once at the end.
bool TransferDialog::ShowProgress(const WorkerView& view, size_t done, size_t total) {
  SendMessageW(view.progress, PBM_SETPOS, static_cast<WPARAM>(done), 0);
  if (done < total) SetControlText(view.file, (*job_.paths)[done]);
  return cancel_.load() == 0;
}

}  // namespace twinseek
