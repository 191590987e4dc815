// twinseek-scan: the scan engine without a window. It scans one or more
// folders as successive searches of the desktop program would (the results
// accumulate), then prints the tree report on standard output, byte for byte
// as the report window holds it, and the error log on standard error.
#pragma once

#include <string>
#include <vector>

#include "scan/plugin_slot.h"

namespace twinseek {

// Exit codes.
inline constexpr int kScanToolSuccess = 0;
inline constexpr int kScanToolUsageError = 2;

// What the tool writes, and where it finds plug-ins (null: none can be used).
struct ScanToolOutput {
  std::string out;
  std::string err;
};

// Runs the tool on its arguments (code page 932, without the program name).
int RunScanTool(const std::vector<std::string>& arguments, PluginLoader* plugin_loader,
                ScanToolOutput& output);

}  // namespace twinseek
