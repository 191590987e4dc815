#include "base/win32/worker_thread.h"

#include <utility>

namespace twinseek {

bool WorkerThread::Start(std::function<void()> work) {
  Join();
  work_ = std::move(work);
  thread_.reset(CreateThread(nullptr, 0, &WorkerThread::Run, this, 0, nullptr));
  return Active();
}

void WorkerThread::Join() {
  if (!thread_) return;
  WaitForSingleObject(thread_.get(), INFINITE);
  thread_.reset();
  work_ = nullptr;
}

DWORD WINAPI WorkerThread::Run(void* self) {
  static_cast<WorkerThread*>(self)->work_();
  return 0;
}

}  // namespace twinseek
