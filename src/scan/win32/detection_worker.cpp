#include "scan/win32/detection_worker.h"

#include <commctrl.h>

#include <optional>

#include "base/progress_throttle.h"
#include "tree/win32/result_tree_view.h"

namespace twinseek {
namespace {

// The progress bar in place of the tree, its label and the status line. The
// bar is told only of the positions it can show (ProgressThrottle), and the
// tree catches up with the results once more before it shows again.
class WindowDetectionView final : public DetectionView {
 public:
  explicit WindowDetectionView(const DetectionWindows& windows) : windows_(windows) {}

  void BeginProgress(size_t total) override {
    ShowWindow(windows_.tree, SW_HIDE);
    ShowWindow(windows_.label, SW_HIDE);
    ShowWindow(windows_.status, SW_HIDE);
    RECT bar{};
    GetClientRect(windows_.progress, &bar);
    throttle_.emplace(total, static_cast<int>(bar.right - bar.left), &GetTickCount64);
    SendMessageW(windows_.progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(total));
    SendMessageW(windows_.progress, PBM_SETPOS, 0, 0);
    ShowWindow(windows_.progress, SW_SHOW);
  }

  void SetProgress(size_t position) override {
    if (throttle_ && throttle_->Show(position)) SetPosition(position);
  }

  void EndProgress() override {
    if (throttle_) {
      if (const std::optional<size_t> last = throttle_->Finish()) SetPosition(*last);
    }
    ResultTreeView::SyncFromAnyThread(windows_.tree);
    ShowWindow(windows_.label, SW_SHOW);
    ShowWindow(windows_.status, SW_SHOW);
    ShowWindow(windows_.tree, SW_SHOW);
    ShowWindow(windows_.progress, SW_HIDE);
  }

 private:
  void SetPosition(size_t position) {
    SendMessageW(windows_.progress, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  }

  DetectionWindows windows_;
  std::optional<ProgressThrottle> throttle_;
};

}  // namespace

DetectionWorker::DetectionWorker(ScanJob& job, const DetectionSetup& setup, const DetectionWindows& windows,
                                 Prompter& prompter)
    : job_(job), setup_(setup), windows_(windows), prompter_(prompter) {}

bool DetectionWorker::Start() {
  return thread_.Start([this] { Work(); });
}

void DetectionWorker::Work() {
  WindowDetectionView view(windows_);
  OwnedUserPrompt prompt(prompter_, windows_.main_window);
  DetectionSetup setup = setup_;
  setup.view = &view;
  setup.prompt = &prompt;
  {
    DetectionRun run(setup);
    run.Run(job_.scan_list, job_.cancel);
  }
  job_.running = 0;
  PostMessageW(windows_.main_window, WM_COMMAND, MAKEWPARAM(windows_.completion_command, BN_CLICKED), 0);
}

}  // namespace twinseek
