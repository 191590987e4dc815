// The owners of the Windows layer: a handle closed exactly once and never
// one that was given up, a COM object holding exactly the references taken,
// and a worker thread that runs its work elsewhere and is waited for.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <utility>

#include "base/win32/com_ptr.h"
#include "base/win32/unique_handle.h"
#include "base/win32/worker_thread.h"

namespace twinseek {
namespace {

bool IsOpen(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != FALSE;
}

HANDLE NewEvent() { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }

TEST(UniqueHandleTest, ClosesWhatItHoldsOnceAndNeverWhatItGaveUp) {
  const HANDLE first = NewEvent();
  const HANDLE second = NewEvent();
  {
    OwnedHandle owner(first);
    owner.reset(second);
    EXPECT_FALSE(IsOpen(first)) << "replaced, so closed";
    OwnedHandle moved(std::move(owner));
    EXPECT_FALSE(owner);
    EXPECT_EQ(moved.get(), second);
    EXPECT_TRUE(IsOpen(second));
  }
  EXPECT_FALSE(IsOpen(second)) << "closed by the owner it moved to";

  const HANDLE kept = NewEvent();
  OwnedHandle(kept).release();
  EXPECT_TRUE(IsOpen(kept));
  CloseHandle(kept);

  // The failure value of CreateFile is none, not a handle to close (it is
  // also the pseudo-handle of the current process).
  const OwnedHandle failed(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(failed);
  EXPECT_EQ(failed.get(), nullptr);
}

// A COM object that counts its references.
class Counted final : public IUnknown {
 public:
  LONG references = 1;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++references); }
  STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--references); }
};

TEST(ComPtrTest, HoldsExactlyTheReferencesItTook) {
  Counted object;
  {
    ComPtr<IUnknown> own(&object);  // takes over the first reference
    ComPtr<IUnknown> shared = ComPtr<IUnknown>::Share(&object);
    EXPECT_EQ(object.references, 2);
    ComPtr<IUnknown> queried = own.Query<IUnknown>(IID_IUnknown);
    EXPECT_EQ(queried.get(), &object);
    EXPECT_EQ(object.references, 3);
    EXPECT_FALSE(own.Query<IDispatch>(IID_IDispatch));
    ComPtr<IUnknown> moved(std::move(shared));
    EXPECT_EQ(object.references, 3);
  }
  EXPECT_EQ(object.references, 0);
}

TEST(WorkerThreadTest, RunsTheWorkOnAThreadOfItsOwnAndWaitsForItToEnd) {
  const OwnedHandle go(NewEvent());
  std::atomic<DWORD> worker_id{0};
  WorkerThread worker;
  EXPECT_FALSE(worker.Active());
  ASSERT_TRUE(worker.Start([&] {
    WaitForSingleObject(go.get(), 30000);
    worker_id = GetCurrentThreadId();
  }));
  EXPECT_TRUE(worker.Active());
  SetEvent(go.get());
  worker.Join();
  EXPECT_FALSE(worker.Active());
  EXPECT_NE(worker_id.load(), 0u) << "Join returned before the work ended";
  EXPECT_NE(worker_id.load(), GetCurrentThreadId());
}

}  // namespace
}  // namespace twinseek
