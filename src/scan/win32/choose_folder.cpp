#include "scan/win32/choose_folder.h"

#include <shlobj.h>

#include <optional>

#include "base/win32/wide_text.h"

namespace twinseek {

namespace {

// The code page 932 path of a chosen item, when it is a file-system folder
// the program can name: nothing for a virtual item, a name code page 932
// cannot hold, or a path of MAX_PATH bytes or more.
std::optional<std::string> UsablePath(PCIDLIST_ABSOLUTE item) {
  wchar_t buffer[MAX_PATH] = {};
  if (item == nullptr || !SHGetPathFromIDListW(item, buffer)) return std::nullopt;
  std::optional<std::string> path = WideToCp932(buffer);
  if (!path || path->empty() || path->size() >= MAX_PATH) return std::nullopt;
  return path;
}

// data is the wide path to preselect.
int CALLBACK BrowseCallback(HWND chooser, UINT message, LPARAM param, LPARAM data) {
  if (message == BFFM_INITIALIZED) {
    SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, data);
  } else if (message == BFFM_SELCHANGED) {
    const bool usable = UsablePath(reinterpret_cast<PCIDLIST_ABSOLUTE>(param)).has_value();
    SendMessageW(chooser, BFFM_ENABLEOK, 0, usable ? TRUE : FALSE);
  }
  return 0;
}

void FreeItem(PIDLIST_ABSOLUTE item, IMalloc* allocator) {
  if (allocator != nullptr) {
    allocator->Free(item);
  } else {
    CoTaskMemFree(item);
  }
}

}  // namespace

bool ChooseFolder(HWND owner, std::string& path, std::string_view title, IMalloc* allocator) {
  const std::wstring initial = Cp932ToWide(path);
  const std::wstring wide_title = Cp932ToWide(title);
  wchar_t display_name[MAX_PATH] = {};

  BROWSEINFOW info = {};
  info.hwndOwner = owner;
  info.pidlRoot = nullptr;
  info.pszDisplayName = display_name;
  info.lpszTitle = wide_title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  info.lpfn = &BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(initial.c_str());

  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  if (item == nullptr) return false;
  const std::optional<std::string> chosen = UsablePath(item);
  FreeItem(item, allocator);
  if (!chosen) return false;
  path = *chosen;
  return true;
}

}  // namespace twinseek
