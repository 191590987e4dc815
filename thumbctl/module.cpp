#include "module.h"

#include <ole2.h>
#include <gdiplus.h>

namespace twinseek::thumbctl {
namespace {

LONG g_objects = 0;
LONG g_locks = 0;
ULONG_PTR g_gdiplus_token = 0;

}  // namespace

HMODULE ModuleHandle() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ModuleHandle), &module);
  return module;
}

void ObjectCreated() { InterlockedIncrement(&g_objects); }
void ObjectDestroyed() { InterlockedDecrement(&g_objects); }
void LockModule(bool lock) {
  if (lock) {
    InterlockedIncrement(&g_locks);
  } else {
    InterlockedDecrement(&g_locks);
  }
}

bool EnsureGdiplus() {
  if (g_gdiplus_token != 0) return true;
  Gdiplus::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  g_gdiplus_token = token;
  return true;
}

}  // namespace twinseek::thumbctl

using namespace twinseek::thumbctl;

// The DLL may go when no object lives and no lock is held; GDI+ goes with it
// (no picture can be left, since pictures belong to the controls).
STDAPI DllCanUnloadNow() {
  if (InterlockedCompareExchange(&g_objects, 0, 0) != 0 || InterlockedCompareExchange(&g_locks, 0, 0) != 0) {
    return S_FALSE;
  }
  if (g_gdiplus_token != 0) {
    Gdiplus::GdiplusShutdown(g_gdiplus_token);
    g_gdiplus_token = 0;
  }
  return S_OK;
}
