// The progress window of a move or copy: TransferFiles runs on a worker
// thread while a modal window ("ファイルの移動" or "ファイルのコピー") shows
// the file being handled, a progress bar and "ｷｬﾝｾﾙ".
//
// Contract:
// - The window stays hidden while the run is short: it is shown only once
//   the run has lasted kShowDelayMs, so a handful of files causes no flash.
//   While it is hidden the owner is disabled all the same, as for any modal
//   window.
// - The worker changes the controls only by sending their window messages;
//   "ｷｬﾝｾﾙ" (Escape, the close box) only sets the cancel flag that the
//   worker's progress question returns, so the file under way is finished
//   and the later ones are left untouched. The window ends only on the
//   worker's completion command, its last act, so the worker never outlives
//   the window it posts to, and Run returns only once the thread has ended.
// - Run is called on the user-interface thread, one run at a time.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/win32/dialog.h"
#include "base/win32/worker_thread.h"
#include "fileops/transfer.h"

namespace twinseek {

// The window's caption for a move and for a copy.
inline constexpr char kMoveProgressTitle[] = "ファイルの移動";
inline constexpr char kCopyProgressTitle[] = "ファイルのコピー";

class TransferDialog final : public Dialog {
 public:
  // How long a run lasts before the window is shown, in milliseconds.
  static constexpr UINT kShowDelayMs = 500;

  // file_system must outlive the dialog; the worker moves and copies through
  // it. prompter, when given, tells of a failure inside the dialog.
  explicit TransferDialog(FileSystem& file_system, Prompter* prompter = nullptr);

  // Moves or copies paths (code page 932) into folder, which must exist, as
  // TransferFiles does, with the window owned by owner. Returns the outcome
  // of TransferFiles. When no worker thread can be started nothing is
  // touched and the outcome is a cancel with every path left untouched.
  TransferOutcome Run(HWND owner, const std::vector<std::string>& paths, std::string_view folder,
                      TransferKind kind);

 private:
  // What one run works on, set by Run before the window opens.
  struct Job {
    const std::vector<std::string>* paths = nullptr;
    std::string folder;
    TransferKind kind = TransferKind::kMove;
  };

  // The controls the worker writes to, fixed before it starts.
  struct WorkerView {
    HWND dialog = nullptr;
    HWND progress = nullptr;
    HWND file = nullptr;
  };

  bool OnInit() override;
  bool OnButton(int id) override;
  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnFault() override;
  void OnOK() override {}
  void OnCancel() override;
  void OnShowTimer();
  void OnWorkEnded();
  void KeepHidden(WINDOWPOS& position) const;

  // On the worker thread.
  void Work(const WorkerView& view);
  bool ShowProgress(const WorkerView& view, size_t done, size_t total);

  FileSystem& file_system_;
  Job job_;
  TransferOutcome outcome_;
  bool may_show_ = false;
  std::atomic<int> cancel_{0};
  WorkerThread worker_;  // last: destroyed (joined) first
};

}  // namespace twinseek
