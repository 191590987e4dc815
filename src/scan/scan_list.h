// The scan list: the files one scan goes through, in order.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/file_system.h"

namespace twinseek {

// One file to scan: its path as found or given, and its entry when the walk
// that found it has read it already (a dropped file has none yet).
struct ScanItem {
  std::string path;
  std::optional<DirEntry> entry;
};

using ScanList = std::vector<ScanItem>;

// A list of paths whose entries are still to be read.
ScanList ScanListOfPaths(const std::vector<std::string>& paths);

}  // namespace twinseek
