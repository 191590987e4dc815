// A comparator plug-in for the loader's tests, built once per TOOL_NUMBER.
// Its answers follow from what it is given, so a test can predict them:
// - GetTitle: "表示" and the number.
// - CheckFile (__stdcall): "T<number> SZ<size mod 7> A<attributes>
//   C<creation time high>:<low> L<last access> W<last write> N<name>
//   S<short name>", all numbers in hexadecimal; no fragment at all for a
//   name that begins with "N".
// - ReturnMessage: "<number>:<path>\r\n" after a name that begins with "X",
//   else empty.
// Every call, and the unloading, is appended to the process's environment
// variable TWINSEEK_PLUGIN_CALLS as "<number>:<what>;", where the test reads
// it even after the library is gone.
#include <windows.h>

#include <cstdio>
#include <cstring>

#ifndef TOOL_NUMBER
#error "TOOL_NUMBER must be defined"
#endif

namespace {

constexpr char kCallsVariable[] = "TWINSEEK_PLUGIN_CALLS";

char title[32];
char fragment[MAX_PATH + 128];
char message[2 * MAX_PATH];

void Record(const char* what) {
  char calls[8192];
  const DWORD length = GetEnvironmentVariableA(kCallsVariable, calls, sizeof calls);
  if (length == 0 || length >= sizeof calls) calls[0] = '\0';
  const size_t used = std::strlen(calls);
  std::snprintf(calls + used, sizeof calls - used, "%d:%s;", TOOL_NUMBER, what);
  SetEnvironmentVariableA(kCallsVariable, calls);
}

}  // namespace

extern "C" {

const char* GetTitle() {
  Record("GetTitle");
  std::snprintf(title, sizeof title, "表示%d", TOOL_NUMBER);
  return title;
}

void InitCheck() { Record("InitCheck"); }

const char* WINAPI CheckFile(const char* path, WIN32_FIND_DATAA* data) {
  Record("CheckFile");
  message[0] = '\0';
  if (data->cFileName[0] == 'X') std::snprintf(message, sizeof message, "%d:%s\r\n", TOOL_NUMBER, path);
  if (data->cFileName[0] == 'N') return nullptr;
  const unsigned long long size =
      (static_cast<unsigned long long>(data->nFileSizeHigh) << 32) | data->nFileSizeLow;
  auto high = [](const FILETIME& time) { return static_cast<unsigned long>(time.dwHighDateTime); };
  auto low = [](const FILETIME& time) { return static_cast<unsigned long>(time.dwLowDateTime); };
  std::snprintf(fragment, sizeof fragment, "T%d SZ%llx A%lx C%lx:%lx L%lx:%lx W%lx:%lx N%s S%s", TOOL_NUMBER,
                size % 7, static_cast<unsigned long>(data->dwFileAttributes), high(data->ftCreationTime),
                low(data->ftCreationTime), high(data->ftLastAccessTime), low(data->ftLastAccessTime),
                high(data->ftLastWriteTime), low(data->ftLastWriteTime), data->cFileName,
                data->cAlternateFileName);
  return fragment;
}

const char* ReturnMessage() {
  Record("ReturnMessage");
  return message;
}

void Release() { Record("Release"); }

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) Record("Unload");
  return TRUE;
}

}  // extern "C"
