// The system's save-file dialog for a SaveFileRequest: the request's initial
// name in the name box, its filter, its default extension added to a name
// typed without one, a question before an existing file is overwritten, no
// read-only box. The dialog leaves the process's current folder as it was,
// so that no relative path changes meaning behind the program's back. What
// the program's prompt routine shows; tests answer through a fake prompt
// routine instead.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/win32/prompter.h"

namespace twinseek {

// What the user is told of a chosen name that code page 932 cannot hold.
inline constexpr std::string_view kUnusableSaveNameMessage = "ファイル名に使用できない文字が含まれています。";

// The chosen path in code page 932, or nothing when the user cancels. A path
// that code page 932 cannot hold names no file the program could create:
// refuse_name is called (to tell the user), and the dialog opens again with
// that path, until the user chooses another or cancels.
std::optional<std::string> ShowSaveFileDialog(HWND owner, const SaveFileRequest& request,
                                              const std::function<void()>& refuse_name);

// The "TEXT(*.TXT)|*.TXT|ALL(*.*)|*.*||" form of a filter as the dialog takes
// it: every "|" a NUL, ending in two NULs whether the text ends in "||" or not.
std::wstring DialogFilter(std::string_view filter);

}  // namespace twinseek
