// The save-file dialog over GetSaveFileNameW, texts converted from and to
// code page 932.
#include "base/win32/save_file_dialog.h"

#include <commdlg.h>

#include "base/win32/wide_text.h"

namespace twinseek {

namespace {

// Room for the longest path the wide calls take.
constexpr size_t kPathCapacity = 32768;

}  // namespace

std::wstring DialogFilter(std::string_view filter) {
  std::wstring wide = Cp932ToWide(filter);
  for (wchar_t& c : wide) {
    if (c == L'|') c = L'\0';
  }
  while (wide.size() < 2 || wide[wide.size() - 1] != L'\0' || wide[wide.size() - 2] != L'\0') {
    wide += L'\0';
  }
  return wide;
}

std::optional<std::string> ShowSaveFileDialog(HWND owner, const SaveFileRequest& request,
                                              const std::function<void()>& refuse_name) {
  const std::wstring filter = DialogFilter(request.filter);
  const std::wstring extension = Cp932ToWide(request.default_extension);
  std::wstring offered = Cp932ToWide(request.initial_name);
  for (;;) {
    std::wstring path = offered.size() < kPathCapacity ? offered : std::wstring();
    path.resize(kPathCapacity, L'\0');

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    dialog.Flags =
        OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    path.resize(path.find(L'\0'));
    if (std::optional<std::string> chosen = WideToCp932(path)) return chosen;
    refuse_name();
    offered = std::move(path);
  }
}

}  // namespace twinseek
