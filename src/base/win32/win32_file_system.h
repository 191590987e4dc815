// The file system over the wide Windows calls. SystemFileSystem() is the one
// the program reads and changes files through; its OpenRead shares an open
// file with other readers only.
#pragma once

#include <windows.h>

#include <memory>

#include "base/file_system.h"

namespace twinseek {

// A file system like SystemFileSystem(), except that OpenRead shares the file
// as read_sharing says (FILE_SHARE_* bits) while it is open: with
// FILE_SHARE_READ | FILE_SHARE_WRITE a file another program is writing can
// be read too.
std::unique_ptr<FileSystem> MakeWin32FileSystem(DWORD read_sharing);

// A time of the file system as the Windows calls take it.
FILETIME ToFiletime(FileTime time);

}  // namespace twinseek
