// The background full comparison: CompareUnmarkedGroups on a thread of its
// own, started with the main window's scan job, stopped by the job's cancel
// flag.
//
// The run disables the tree control while it compares; it changes only the
// result tree (a SharedResultTree, which the main window's view shows in
// batches). A report that is not empty is shown in the report
// window on this thread, owned by the main window, and the run waits until
// the user closes it. Then it enables the tree again, clears the job's
// running flag, as its very last use of the job, and posts the completion
// command (WM_COMMAND with the id of the main window's hidden button) to the
// main window.
#pragma once

#include <windows.h>

#include <string>

#include "base/file_system.h"
#include "base/win32/prompter.h"
#include "base/win32/worker_thread.h"
#include "scan/scan_job.h"
#include "tree/result_tree.h"

namespace twinseek {

// The main window's parts the run uses.
struct FullCompareWindows {
  HWND main_window = nullptr;
  HWND tree = nullptr;
  int completion_command = 0;
};

class FullCompareWorker {
 public:
  // Everything given must outlive the worker, whose end waits for the
  // thread to end; tree must be usable from another thread (the main
  // window's SharedResultTree).
  FullCompareWorker(ScanJob& job, ResultTree& tree, FileSystem& file_system,
                    const FullCompareWindows& windows, Prompter& prompter);

  // Starts the thread; the caller has set the job's running flag to 1 and
  // its cancel flag to 0. False when no thread could be made (the flags are
  // then the caller's to undo).
  bool Start();

 private:
  void Work();

  ScanJob& job_;
  ResultTree& tree_;
  FileSystem& file_system_;
  FullCompareWindows windows_;
  Prompter& prompter_;
  WorkerThread thread_;  // last: joined first
};

}  // namespace twinseek
