// The scan target dialog: where to search (location, subfolders) and what to
// take (name patterns, date range, size range). Its start button checks the
// patterns and the location, then walks the folder on a worker thread that
// appends every matching file to the scan list; the dialog closes with OK
// when the walk ends without interruption, and stays open showing the
// interruption when the user stops it.
//
// Contract:
// - The criteria hold the dialog's fields between uses; the controls are
//   filled from them on opening and read back into them on every command
//   (start, a toggle, browse, cancel, the walk's end). A size field that
//   holds no unsigned 32-bit decimal number is refused with a message, and
//   the fields after it keep their old values.
// - Every message box and the folder chooser go through the prompter, owned
//   by the dialog.
// - While the walk runs, "ｷｬﾝｾﾙ" (Escape, the close box) only sets the
//   cancel flag: the dialog ends only after the worker's completion command,
//   so the worker never outlives the window it posts to, and Run returns
//   only once the worker thread has ended.
// - Run is called on the user-interface thread, one run at a time.
#pragma once

#include <windows.h>

#include <cstdint>

#include "base/file_system.h"
#include "base/win32/dialog.h"
#include "base/win32/prompter.h"
#include "base/win32/worker_thread.h"
#include "scan/enumeration.h"
#include "scan/scan_list.h"

namespace twinseek {

class ScanTargetDialog final : public Dialog {
 public:
  // The three must outlive the dialog; file_system is walked by the worker.
  ScanTargetDialog(ScanCriteria& criteria, Prompter& prompter, FileSystem& file_system);

  // Points the criteria's output at output and runs the dialog modally,
  // owned by owner. True when a walk ended without interruption (whatever
  // it found); output then holds the paths found, in the order of the walk.
  // False when the user closed the dialog otherwise.
  bool Run(HWND owner, ScanList& output);

 private:
  bool OnInit() override;
  bool OnButton(int id) override;
  void OnFault() override;
  void OnToggle();
  void OnBrowse();
  void OnStart();
  void OnOK() override {}
  void OnCancel() override;
  void OnWalkEnded();

  void FillControls();
  bool ReadControls();
  bool ReadSize(int id, uint32_t& size);
  void EnableAllControls(bool enable);
  void EnableByToggles();
  void StartWalk();
  // On the worker thread: the walk, its location shown in status, and the
  // completion command posted to dialog.
  void Walk(HWND dialog, HWND status);

  ScanCriteria& criteria_;
  Prompter& prompter_;
  FileSystem& file_system_;
  WorkerThread worker_;  // last: destroyed (joined) first
};

}  // namespace twinseek
