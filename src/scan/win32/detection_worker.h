// The detection worker: one detection run on a thread of its own, started
// with the main window's scan job.
//
// The run changes only the result tree (a SharedResultTree, which the main
// window's view shows in batches); it hides the tree, its label and the
// status line and shows the progress bar in their place, telling the bar only
// of the positions it can show, and shows its closing questions, notices and
// the error log's report window itself, owned by the main window. Then it clears
// the job's running flag, as its very last use of the job, and posts the
// completion command (WM_COMMAND with the id of the main window's hidden
// button) to the main window.
#pragma once

#include <windows.h>

#include "base/win32/prompter.h"
#include "base/win32/worker_thread.h"
#include "scan/detection_run.h"
#include "scan/scan_job.h"

namespace twinseek {

// The main window's parts the run shows itself in.
struct DetectionWindows {
  HWND main_window = nullptr;
  HWND tree = nullptr;
  HWND label = nullptr;
  HWND status = nullptr;
  HWND progress = nullptr;
  int completion_command = 0;
};

class DetectionWorker {
 public:
  // Everything given must outlive the worker, whose end waits for the
  // thread to end. setup's view and prompt are replaced by the windows' and
  // the prompter's.
  DetectionWorker(ScanJob& job, const DetectionSetup& setup, const DetectionWindows& windows,
                  Prompter& prompter);

  // Starts the thread; the caller has set the job's running flag to 1 and
  // its cancel flag to 0. False when no thread could be made (the flags are
  // then the caller's to undo).
  bool Start();

 private:
  void Work();

  ScanJob& job_;
  DetectionSetup setup_;
  DetectionWindows windows_;
  Prompter& prompter_;
  WorkerThread thread_;  // last: joined first
};

}  // namespace twinseek
