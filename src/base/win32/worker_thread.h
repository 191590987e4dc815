// A worker thread's handle, owned: closed only after the thread has ended.
// The windows that run a walk or a transfer on a worker join it before they
// go, so the worker never outlives what it posts to.
#pragma once

#include <windows.h>

namespace twinseek {

class WorkerThread {
 public:
  WorkerThread() = default;
  ~WorkerThread() { Join(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Joins any earlier thread, then starts routine(argument).
  bool Start(LPTHREAD_START_ROUTINE routine, void* argument) {
    Join();
    handle_ = CreateThread(nullptr, 0, routine, argument, 0, nullptr);
    return handle_ != nullptr;
  }
  // True from a successful Start until Join.
  bool Active() const { return handle_ != nullptr; }
  // Waits for the thread to end and closes its handle; nothing if none.
  void Join() {
    if (handle_ == nullptr) return;
    WaitForSingleObject(handle_, INFINITE);
    CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_ = nullptr;
};

}  // namespace twinseek
