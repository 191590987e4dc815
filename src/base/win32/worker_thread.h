// A worker thread, owned: its handle is closed only after the thread has
// ended. The windows that run a walk, a search, a comparison or a transfer on
// a worker join it before they go, so the worker never outlives what it posts
// to.
#pragma once

#include <windows.h>

#include <functional>

#include "base/win32/unique_handle.h"

namespace twinseek {

class WorkerThread {
 public:
  WorkerThread() = default;
  ~WorkerThread() { Join(); }
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Joins any earlier thread, then runs work on a new one. False when no
  // thread could be made (work is then not run).
  bool Start(std::function<void()> work);
  // True from a successful Start until Join.
  bool Active() const { return static_cast<bool>(thread_); }
  // Waits for the thread to end and closes its handle; nothing if none.
  void Join();

 private:
  static DWORD WINAPI Run(void* self);

  std::function<void()> work_;
  OwnedHandle thread_;
};

}  // namespace twinseek
