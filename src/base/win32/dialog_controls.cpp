#include "base/win32/dialog_controls.h"

#include "base/win32/wide_text.h"

namespace twinseek {
namespace {

std::wstring WideText(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
  return text;
}

}  // namespace

std::optional<std::string> ControlText(HWND control) { return WideToCp932(WideText(control)); }

std::string ControlTextLossy(HWND control) { return WideToCp932Lossy(WideText(control)); }

void SetControlText(HWND control, std::string_view text) {
  SetWindowTextW(control, Cp932ToWide(text).c_str());
}

bool Checked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SetChecked(HWND button, bool checked) {
  SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int CheckedPosition(HWND dialog, int first, int last) {
  for (int id = first; id <= last; ++id) {
    if (Checked(GetDlgItem(dialog, id))) return id - first;
  }
  return -1;
}

void AddListEntry(HWND combo, std::string_view text) {
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Cp932ToWide(text).c_str()));
}

}  // namespace twinseek
