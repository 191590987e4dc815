// The shell delete of the recycle bin: one SHFileOperationW over the
// double-NUL-terminated list of wide paths.
#include "fileops/win32/recycle_bin.h"

#include "base/win32/wide_text.h"

namespace twinseek {

namespace {

// FOF_ALLOWUNDO | FOF_FILESONLY: to the recycle bin, folders left alone;
// FOF_WANTNUKEWARNING: a file the recycle bin cannot take is never deleted
// for good without the user being warned first.
constexpr FILEOP_FLAGS kRecycleFlags = FOF_ALLOWUNDO | FOF_FILESONLY | FOF_WANTNUKEWARNING;

// Each path followed by one NUL, the whole list by one more. An empty path
// would end the list early and is left out.
std::wstring DoubleNulList(const std::vector<std::string>& paths) {
  std::wstring list;
  for (const std::string& path : paths) {
    if (path.empty()) continue;
    list += Cp932ToWide(path);
    list += L'\0';
  }
  list += L'\0';
  return list;
}

}  // namespace

void DeleteToRecycleBin(HWND owner, const std::vector<std::string>& paths) {
  DeleteToRecycleBin(owner, paths, [](SHFILEOPSTRUCTW& operation) { return SHFileOperationW(&operation); });
}

void DeleteToRecycleBin(HWND owner, const std::vector<std::string>& paths, const ShellFileOperation& shell) {
  const std::wstring list = DoubleNulList(paths);
  if (list.size() < 2) return;
  SHFILEOPSTRUCTW operation = {};
  operation.hwnd = owner;
  operation.wFunc = FO_DELETE;
  operation.pFrom = list.c_str();
  operation.fFlags = kRecycleFlags;
  shell(operation);
}

}  // namespace twinseek
