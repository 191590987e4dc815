// The sample plug-ins and twinseek-scan.exe as this build made them, and
// copies of them placed where the program's loader looks.
#pragma once

#include <string>
#include <string_view>

namespace twinseek::testing {

// The four sample plug-ins, by their file names without ".dll".
inline constexpr const char* kSamplePlugins[] = {"twinseek-names", "twinseek-picture", "twinseek-headtail",
                                                 "twinseek-look"};

// The built DLL of a sample plug-in ("twinseek-names"), as a Windows path.
std::string BuiltPlugin(std::string_view name);
// The built twinseek-scan.exe, as a Windows path.
std::string BuiltScanTool();

// Copies a file (both paths code page 932); false on failure.
bool CopyBuiltFile(const std::string& from, const std::string& to);

}  // namespace twinseek::testing
