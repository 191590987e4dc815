#include "win32/plugins/built_plugins.h"

#include <windows.h>

#include "base/win32/wide_text.h"

namespace twinseek::testing {
namespace {

// A path of the Linux machine that built this, as Wine's drive Z: shows it.
std::string FromBuildMachine(std::string_view path) {
  std::string windows = "Z:" + std::string(path);
  for (char& c : windows) {
    if (c == '/') c = '\\';
  }
  return windows;
}

}  // namespace

std::string BuiltPlugin(std::string_view name) {
  return FromBuildMachine(TWINSEEK_PLUGIN_FOLDER) + "\\" + std::string(name) + ".dll";
}

std::string BuiltScanTool() { return FromBuildMachine(TWINSEEK_SCAN_TOOL); }

bool CopyBuiltFile(const std::string& from, const std::string& to) {
  return CopyFileW(Cp932ToWide(from).c_str(), Cp932ToWide(to).c_str(), FALSE) != 0;
}

}  // namespace twinseek::testing
