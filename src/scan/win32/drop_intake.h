// What the shell hands over when files are dropped on a window.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "scan/dropped_files.h"

namespace twinseek {

// The dropped paths in drop order, in code page 932. A path that code page
// 932 cannot hold is taken by its short form (GetShortPathNameW) when that
// one can be held; otherwise it comes as not representable, shown with "?"
// for what cannot be held, so the detection run reports it. Does not finish
// the drop.
std::vector<DroppedItem> QueryDroppedPaths(HDROP drop);

// True while the Escape key is down at this moment.
bool EscapeKeyDown();

}  // namespace twinseek
