// The shell's folder chooser: a tree of folders starting at the desktop, the
// given folder selected at first, OK enabled only while the selection is a
// file-system folder.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <string>
#include <string_view>

namespace twinseek {

// Shows the chooser owned by owner (may be null) with title above the tree
// and path (code page 932) preselected. Returns true and puts the chosen
// folder into path when the user pressed OK on a folder whose path code page
// 932 holds in fewer than MAX_PATH bytes; otherwise (cancelled, no
// file-system path, a path code page 932 cannot hold, or too long) returns
// false and leaves path untouched. The item the chooser returns is freed with
// allocator (the shell's; CoTaskMemFree when null). The calling thread
// should have initialized COM apartment-threaded, as the chooser's new style
// requires.
bool ChooseFolder(HWND owner, std::string& path, std::string_view title, IMalloc* allocator);

}  // namespace twinseek
