#include "scan/scan_list.h"

namespace twinseek {

ScanList ScanListOfPaths(const std::vector<std::string>& paths) {
  ScanList list;
  list.reserve(paths.size());
  for (const std::string& path : paths) list.push_back(ScanItem{path, std::nullopt});
  return list;
}

}  // namespace twinseek
