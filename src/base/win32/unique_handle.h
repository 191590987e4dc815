// One handle of the system, owned: closed by its closer when the owner goes
// or takes another. Move-only. Null stands for none, and so does
// INVALID_HANDLE_VALUE, which some calls answer instead of null: it is kept
// as null, so get() never gives it back. (A handle written through Receive
// is kept as the call wrote it.)
//
// The handle kinds the program owns are named below; a closer is a type whose
// call operator closes one handle.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <utility>

namespace twinseek {

template <typename Handle, typename Closer>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(Normal(handle)) {}
  ~UniqueHandle() { reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

  // Closes the handle held, if any, and holds handle instead.
  void reset(Handle handle = nullptr) {
    const Handle old = std::exchange(handle_, Normal(handle));
    if (old != nullptr) Closer()(old);
  }
  // Gives the handle up without closing it.
  Handle release() { return std::exchange(handle_, nullptr); }
  // For a call that hands out a new handle through a pointer: closes the one
  // held and gives the place the call writes to.
  Handle* Receive() {
    reset();
    return &handle_;
  }

 private:
  static Handle Normal(Handle handle) {
    return handle == reinterpret_cast<Handle>(INVALID_HANDLE_VALUE) ? nullptr : handle;
  }

  Handle handle_ = nullptr;
};

struct KernelHandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
struct ModuleCloser {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
struct ImageListCloser {
  void operator()(HIMAGELIST list) const { ImageList_Destroy(list); }
};
struct MenuCloser {
  void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct DropCloser {
  void operator()(HDROP drop) const { DragFinish(drop); }
};
struct GlobalMemoryCloser {
  void operator()(HGLOBAL memory) const { GlobalFree(memory); }
};

// Threads, files, events: anything CloseHandle closes.
using OwnedHandle = UniqueHandle<HANDLE, KernelHandleCloser>;
// A library loaded with LoadLibrary.
using OwnedModule = UniqueHandle<HMODULE, ModuleCloser>;
using OwnedImageList = UniqueHandle<HIMAGELIST, ImageListCloser>;
// A menu that belongs to no window (a pop-up menu made for one use).
using OwnedMenu = UniqueHandle<HMENU, MenuCloser>;
// The shell's description of dropped files, finished when it goes.
using OwnedDrop = UniqueHandle<HDROP, DropCloser>;
using OwnedGlobalMemory = UniqueHandle<HGLOBAL, GlobalMemoryCloser>;

}  // namespace twinseek
