// The full comparison of the selected group on the user-interface thread,
// and of every unmarked group on the background worker.
#include "app/win32/main_window.h"

#include "base/win32/wait_cursor.h"
#include "resources/main_window_ids.h"
#include "verify/file_compare.h"
#include "verify/win32/full_compare_worker.h"

namespace twinseek {

// Compares the selected group at once; it cannot be interrupted.
void MainWindow::CompareSelectedGroup() {
  const NodeHandle node = tree_.Selected();
  if (node == kNoNode) return;
  std::string result;
  {
    WaitCursor wait;
    FileComparer comparer(setup_.file_system);
    CompareGroup(tree_, node, result, nullptr, comparer);
  }
  if (!result.empty()) setup_.prompter.ShowReport(window(), result);
}

// Starts the background comparison of every group still unmarked.
void MainWindow::CompareAllGroups() {
  if (job_.running != 0) {
    setup_.prompter.ShowMessage(window(), kBackgroundWorkRunningMessage, {}, MB_OK);
    return;
  }
  RunWorker([this] {
    const FullCompareWindows windows{window(), Control(IDC_MAIN_TREE), IDC_MAIN_BUTTON_THREAD_DONE};
    compare_worker_ =
        std::make_unique<FullCompareWorker>(job_, tree_, setup_.file_system, windows, setup_.prompter);
    if (compare_worker_->Start()) return true;
    compare_worker_.reset();
    return false;
  });
}

}  // namespace twinseek
