#include "verify/win32/full_compare_worker.h"

#include <string>

#include "verify/file_compare.h"

namespace twinseek {

FullCompareWorker::FullCompareWorker(ScanJob& job, ResultTree& tree, FileSystem& file_system,
                                     const FullCompareWindows& windows, Prompter& prompter)
    : job_(job), tree_(tree), file_system_(file_system), windows_(windows), prompter_(prompter) {}

bool FullCompareWorker::Start() {
  return thread_.Start([this] { Work(); });
}

void FullCompareWorker::Work() {
  EnableWindow(windows_.tree, FALSE);
  std::string result;
  {
    FileComparer comparer(file_system_);
    CompareUnmarkedGroups(tree_, result, job_.cancel, comparer);
  }
  if (!result.empty()) prompter_.ShowReport(windows_.main_window, result);
  EnableWindow(windows_.tree, TRUE);
  job_.running = 0;
  PostMessageW(windows_.main_window, WM_COMMAND, MAKEWPARAM(windows_.completion_command, BN_CLICKED), 0);
}

}  // namespace twinseek
