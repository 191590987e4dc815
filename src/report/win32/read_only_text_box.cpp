// The input filter of the read-only text box, as a window subclass of the
// edit control.
#include "report/win32/read_only_text_box.h"

#include <commctrl.h>

#include "base/win32/wide_text.h"

namespace twinseek {

namespace {

constexpr UINT_PTR kSubclassId = 0x5254;  // one filter per control
constexpr WPARAM kCtrlA = 1;
constexpr WPARAM kCtrlC = 3;

void SelectAll(HWND edit) {
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

// Whether a message would change the text: typed characters (Ctrl+C aside,
// which copies), the Delete key, and the editing commands the control's
// context menu and shortcut keys send. Ctrl+A is taken here too.
bool Swallow(HWND edit, UINT message, WPARAM wparam) {
  switch (message) {
    case WM_CHAR:
      if (wparam == kCtrlC) return false;
      if (wparam == kCtrlA) SelectAll(edit);
      return true;
    case WM_KEYDOWN:
      return wparam == VK_DELETE;
    case WM_IME_CHAR:
    case WM_IME_COMPOSITION:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
      return true;
    default:
      return false;
  }
}

LRESULT CALLBACK FilterInput(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id, DWORD_PTR) {
  if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, &FilterInput, id);
  if (Swallow(edit, message, wparam)) return 0;
  return DefSubclassProc(edit, message, wparam, lparam);
}

}  // namespace

ReadOnlyTextBox::ReadOnlyTextBox(HWND edit) : edit_(edit) {
  SetWindowSubclass(edit_, &FilterInput, kSubclassId, 0);
}

ReadOnlyTextBox::~ReadOnlyTextBox() {
  if (IsWindow(edit_)) RemoveWindowSubclass(edit_, &FilterInput, kSubclassId);
}

void ReadOnlyTextBox::SetText(std::string_view text) {
  SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
  SetWindowTextW(edit_, Cp932ToWide(text).c_str());
}

}  // namespace twinseek
