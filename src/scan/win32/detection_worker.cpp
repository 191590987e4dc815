#include "scan/win32/detection_worker.h"

#include <commctrl.h>

namespace twinseek {
namespace {

// The progress bar in place of the tree, its label and the status line.
class WindowDetectionView final : public DetectionView {
 public:
  explicit WindowDetectionView(const DetectionWindows& windows) : windows_(windows) {}

  void BeginProgress(size_t total) override {
    ShowWindow(windows_.tree, SW_HIDE);
    ShowWindow(windows_.label, SW_HIDE);
    ShowWindow(windows_.status, SW_HIDE);
    SendMessageW(windows_.progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(total));
    SendMessageW(windows_.progress, PBM_SETPOS, 0, 0);
    ShowWindow(windows_.progress, SW_SHOW);
  }

  void SetProgress(size_t position) override {
    SendMessageW(windows_.progress, PBM_SETPOS, static_cast<WPARAM>(position), 0);
  }

  void EndProgress() override {
    ShowWindow(windows_.label, SW_SHOW);
    ShowWindow(windows_.status, SW_SHOW);
    ShowWindow(windows_.tree, SW_SHOW);
    ShowWindow(windows_.progress, SW_HIDE);
  }

 private:
  DetectionWindows windows_;
};

}  // namespace

DetectionWorker::DetectionWorker(ScanJob& job, const DetectionSetup& setup,
                                 const DetectionWindows& windows, Prompter& prompter)
    : job_(job), setup_(setup), windows_(windows), prompter_(prompter) {}

DetectionWorker::~DetectionWorker() {
  if (thread_ == nullptr) return;
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
}

bool DetectionWorker::Start() {
  thread_ = CreateThread(nullptr, 0, &DetectionWorker::ThreadProc, this, 0, nullptr);
  return thread_ != nullptr;
}

DWORD WINAPI DetectionWorker::ThreadProc(void* self) {
  static_cast<DetectionWorker*>(self)->Work();
  return 0;
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
