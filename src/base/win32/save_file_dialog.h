// The system's save-file dialog for a SaveFileRequest: the request's initial
// name in the name box, its filter, its default extension added to a name
// typed without one, a question before an existing file is overwritten, no
// read-only box. What the program's prompt routine shows; tests answer
// through a fake prompt routine instead.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/win32/prompter.h"

namespace twinseek {

// The chosen path in code page 932, or nothing when the user cancels. A path
// that code page 932 cannot hold counts as cancelled: no file could be
// created under the name the core would spell for it.
std::optional<std::string> ShowSaveFileDialog(HWND owner, const SaveFileRequest& request);

// The "TEXT(*.TXT)|*.TXT|ALL(*.*)|*.*||" form of a filter as the dialog takes
// it: every "|" a NUL, ending in two NULs whether the text ends in "||" or not.
std::wstring DialogFilter(std::string_view filter);

}  // namespace twinseek
