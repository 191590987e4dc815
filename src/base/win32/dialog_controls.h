// Reading and setting the controls of a dialog in the program's own terms:
// texts in code page 932, check boxes and radios as truth values and
// positions.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace twinseek {

// The control's text in code page 932; nothing when a character cannot be
// held.
std::optional<std::string> ControlText(HWND control);
// As ControlText, with "?" for each character that cannot be held.
std::string ControlTextLossy(HWND control);
void SetControlText(HWND control, std::string_view text);

bool Checked(HWND button);
void SetChecked(HWND button, bool checked);
// The position of the checked radio among the consecutive ids first..last of
// dialog; -1 when none is checked.
int CheckedPosition(HWND dialog, int first, int last);

// Adds an entry (code page 932) at the end of a combo box's list.
void AddListEntry(HWND combo, std::string_view text);

}  // namespace twinseek
