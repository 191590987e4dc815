// Making sure a destination folder exists, creating its missing levels one at
// a time from the top down, and the messages of the file commands.
#pragma once

#include <cstddef>
#include <string_view>

#include "base/file_system.h"

namespace twinseek {

// The longest destination EnsureFolder accepts, in bytes: its working buffer
// holds 260 bytes with the terminating NUL.
inline constexpr size_t kMaxFolderPathBytes = 259;

// True when, on return, path (code page 932, backslash separators) names an
// existing folder. An existing folder is accepted as it is and an existing
// file of that name is a failure. Otherwise the longest leading part of the
// path that exists is found by stepping back whole characters to each
// backslash; the next component below it is created, and the whole path is
// looked at again, until it exists. False when no leading part exists (a
// relative name without a backslash, a drive or root that does not exist),
// when a level cannot be created, when the path is longer than
// kMaxFolderPathBytes, and when a pass would make no progress. Levels created
// before a failure stay.
bool EnsureFolder(FileSystem& file_system, std::string_view path);

}  // namespace twinseek
