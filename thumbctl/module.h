// What the DLL keeps for the whole process: its own module handle, the count
// of live objects and server locks that DllCanUnloadNow answers from, and the
// GDI+ session the controls draw with (started by the first control, shut
// down when DllCanUnloadNow finds the DLL idle; never from DllMain).
#pragma once

#include <windows.h>

namespace twinseek::thumbctl {

HMODULE ModuleHandle();

// Every COM object of the DLL counts itself while it lives.
void ObjectCreated();
void ObjectDestroyed();
// IClassFactory::LockServer.
void LockModule(bool lock);

// Starts GDI+ once; false when it cannot be started (nothing is drawn then).
bool EnsureGdiplus();

}  // namespace twinseek::thumbctl
