// Self-registration of VellmorThumbCtl for the current user (no administrator
// needed): HKEY_CURRENT_USER\Software\Classes holds the class identifier with
// its in-process server (this DLL's full path, apartment-threaded) and the
// ProgID. Where the merged class view (HKEY_CLASSES_ROOT) does not show
// per-user classes, as under Wine, the same keys go to the machine's classes
// as well. Unregistration removes exactly those keys from both places.
//
// The installers register it for every user of the machine instead, with
// "regsvr32 /n /i:machine" (DllInstall): the same keys in the machine's
// classes only, and "regsvr32 /u /n /i:machine" removes exactly those.
#include <ole2.h>
#include <olectl.h>

#include <string>

#include "module.h"
#include "thumb_ctl_ids.h"

namespace twinseek::thumbctl {
namespace {

std::wstring ClsidKey() { return std::wstring(L"Software\\Classes\\CLSID\\") + kControlClsidText; }
std::wstring ProgIdKey() { return std::wstring(L"Software\\Classes\\") + kControlProgId; }

// Sets the value name (null: the default value) of the key at path below
// root, creating the key.
bool SetText(HKEY root, const std::wstring& path, const wchar_t* name, const std::wstring& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return false;
  }
  const LONG status = RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

bool WriteKeys(HKEY root, const std::wstring& module) {
  const std::wstring clsid = ClsidKey();
  return SetText(root, clsid, nullptr, kControlDescription) &&
         SetText(root, clsid + L"\\InprocServer32", nullptr, module) &&
         SetText(root, clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment") &&
         SetText(root, clsid + L"\\ProgID", nullptr, kControlProgId) &&
         SetText(root, ProgIdKey(), nullptr, kControlDescription) &&
         SetText(root, ProgIdKey() + L"\\CLSID", nullptr, kControlClsidText);
}

// True when the keys are gone from root, or, where denied_is_absent, could
// never have been written there (no right to the machine's classes).
bool DeleteKeys(HKEY root, bool denied_is_absent) {
  bool removed = true;
  for (const std::wstring& key : {ClsidKey(), ProgIdKey()}) {
    const LSTATUS status = RegDeleteTreeW(root, key.c_str());
    removed = removed && (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND ||
                          (denied_is_absent && status == ERROR_ACCESS_DENIED));
  }
  return removed;
}

// Whether HKEY_CLASSES_ROOT names module as the control's server.
bool ClassesRootNames(const std::wstring& module) {
  const std::wstring path = std::wstring(L"CLSID\\") + kControlClsidText + L"\\InprocServer32";
  std::wstring value(module.size() + 2, L'\0');
  DWORD size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value.data(), &size) !=
      ERROR_SUCCESS) {
    return false;
  }
  value.resize(size / sizeof(wchar_t) - 1);
  return CompareStringOrdinal(value.c_str(), -1, module.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(ModuleHandle(), path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace
}  // namespace twinseek::thumbctl

using namespace twinseek::thumbctl;

STDAPI DllUnregisterServer() {
  const bool user_removed = DeleteKeys(HKEY_CURRENT_USER, false);
  const bool machine_removed = DeleteKeys(HKEY_LOCAL_MACHINE, true);
  return user_removed && machine_removed ? S_OK : SELFREG_E_CLASS;
}

STDAPI DllRegisterServer() {
  const std::wstring module = ModulePath();
  const bool written = !module.empty() && WriteKeys(HKEY_CURRENT_USER, module) &&
                       (ClassesRootNames(module) || WriteKeys(HKEY_LOCAL_MACHINE, module));
  if (written) return S_OK;
  DllUnregisterServer();
  return SELFREG_E_CLASS;
}

// regsvr32 /n /i:machine (install) and /u /n /i:machine (uninstall): the
// registration for every user, in the machine's classes alone. Needs the
// right to write them; any other command line is refused.
STDAPI DllInstall(BOOL install, LPCWSTR command_line) {
  if (command_line == nullptr || CompareStringOrdinal(command_line, -1, L"machine", -1, TRUE) != CSTR_EQUAL) {
    return E_INVALIDARG;
  }
  if (!install) return DeleteKeys(HKEY_LOCAL_MACHINE, false) ? S_OK : SELFREG_E_CLASS;
  const std::wstring module = ModulePath();
  if (!module.empty() && WriteKeys(HKEY_LOCAL_MACHINE, module)) return S_OK;
  DeleteKeys(HKEY_LOCAL_MACHINE, false);
  return SELFREG_E_CLASS;
}
