#include "scan/win32/choose_folder.h"

#include <shlobj.h>

#include <optional>
#include <string>
#include <string_view>

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

// The folder to preselect: its item when the shell could parse the path,
// and the path itself; reached once the chooser has said it selected it.
struct Preselection {
  PCIDLIST_ABSOLUTE item;
  std::wstring_view path;
  bool reached = false;
};

std::wstring_view WithoutTrailingSeparator(std::wstring_view path) {
  while (path.size() > 3 && path.back() == L'\\') path.remove_suffix(1);
  return path;
}

bool IsPreselection(const Preselection& preselection, PCIDLIST_ABSOLUTE item) {
  wchar_t buffer[MAX_PATH] = {};
  if (item == nullptr || !SHGetPathFromIDListW(item, buffer)) return false;
  const std::wstring_view chosen = WithoutTrailingSeparator(buffer);
  const std::wstring_view wanted = WithoutTrailingSeparator(preselection.path);
  return CompareStringOrdinal(chosen.data(), static_cast<int>(chosen.size()), wanted.data(),
                              static_cast<int>(wanted.size()), TRUE) == CSTR_EQUAL;
}

// data is the Preselection. The item is given rather than the path where
// there is one, and given again if the chooser did not select it: the
// chooser of Wine now and then finds nothing the first time (its folders
// are filled as they are first expanded) and leaves its first folder
// selected.
int CALLBACK BrowseCallback(HWND chooser, UINT message, LPARAM param, LPARAM data) {
  auto& preselection = *reinterpret_cast<Preselection*>(data);
  if (message == BFFM_INITIALIZED) {
    constexpr int kAttempts = 3;
    const std::wstring path(preselection.path);
    for (int attempt = 0; attempt < kAttempts && !preselection.reached; ++attempt) {
      if (preselection.item != nullptr) {
        SendMessageW(chooser, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(preselection.item));
      } else {
        SendMessageW(chooser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
      }
    }
  } else if (message == BFFM_SELCHANGED) {
    const auto item = reinterpret_cast<PCIDLIST_ABSOLUTE>(param);
    if (IsPreselection(preselection, item)) preselection.reached = true;
    const bool usable = UsablePath(item).has_value();
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
  PIDLIST_ABSOLUTE initial_item = nullptr;
  if (!initial.empty() && FAILED(SHParseDisplayName(initial.c_str(), nullptr, &initial_item, 0, nullptr))) {
    initial_item = nullptr;
  }
  Preselection preselection{initial_item, initial};
  info.lpfn = &BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(&preselection);

  PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
  CoTaskMemFree(initial_item);
  if (item == nullptr) return false;
  const std::optional<std::string> chosen = UsablePath(item);
  FreeItem(item, allocator);
  if (!chosen) return false;
  path = *chosen;
  return true;
}

}  // namespace twinseek
