// What the shell hands over when files are dropped on a window.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace twinseek {

// The dropped paths in drop order, in code page 932. A path that code page
// 932 cannot hold is left out: the program could not open it by name. Does
// not finish the drop.
std::vector<std::string> QueryDroppedPaths(HDROP drop);

// True while the Escape key is down at this moment.
bool EscapeKeyDown();

}  // namespace twinseek
