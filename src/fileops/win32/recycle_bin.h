// Sending files to the recycle bin through the shell.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace twinseek {

// Sends every path of paths (code page 932 full paths of files) to the
// recycle bin with one shell delete operation owned by owner: undo allowed,
// files only. The shell asks its own confirmation (nothing is suppressed) and
// reports its own failures; the outcome is not returned, so the caller looks
// afterwards at which paths are really gone. Nothing happens for an empty
// list. Blocks until the shell is done, running the shell's own windows on
// the calling thread.
void DeleteToRecycleBin(HWND owner, const std::vector<std::string>& paths);

}  // namespace twinseek
