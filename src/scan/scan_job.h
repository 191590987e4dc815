// The one scan job of the main window: the flags through which the
// user-interface thread and the one worker it may run (a scan or the
// background comparison) meet, and the scan list of the next scan.
#pragma once

#include <atomic>

#include "scan/scan_list.h"

namespace twinseek {

struct ScanJob {
  // 1 asks the running worker to stop: cleared by every starter just before
  // it starts a worker, set by the user-interface thread, read by the worker.
  std::atomic<int> cancel{0};
  // 1 while a worker runs: set by the starter before the thread exists,
  // cleared by the worker as its very last act.
  std::atomic<int> running{0};
  // The files of the next scan, filled by the scan target dialog or a drop.
  ScanList scan_list;
};

}  // namespace twinseek
