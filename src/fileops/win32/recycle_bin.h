// Sending files to the recycle bin through the shell.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

namespace twinseek {

// The shell's file operation, SHFileOperationW unless a test puts another
// in its place.
using ShellFileOperation = std::function<int(SHFILEOPSTRUCTW& operation)>;

// Sends every path of paths (code page 932 full paths of files) to the
// recycle bin with one shell delete operation owned by owner: undo allowed,
// files only, and a warning before any file that cannot go to the recycle
// bin (too large, a volume without one) would be deleted for good. The shell
// asks its own confirmation (nothing is suppressed) and reports its own
// failures; the outcome is not returned, so the caller looks afterwards at
// which paths are really gone. Nothing happens for an empty list. Blocks
// until the shell is done, running the shell's own windows on the calling
// thread.
void DeleteToRecycleBin(HWND owner, const std::vector<std::string>& paths);
void DeleteToRecycleBin(HWND owner, const std::vector<std::string>& paths, const ShellFileOperation& shell);

}  // namespace twinseek
