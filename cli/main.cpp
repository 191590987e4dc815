#include <cstdio>

#include "cli/console.h"
#include "cli/scan_tool.h"
#ifdef _WIN32
#include "scan/win32/plugin_loader_win32.h"
#endif

int main(int argc, char** argv) {
  twinseek::UseBinaryConsoleOutput();
#ifdef _WIN32
  twinseek::Win32PluginLoader loader;
  twinseek::PluginLoader* plugin_loader = &loader;
#else
  twinseek::PluginLoader* plugin_loader = nullptr;
#endif
  twinseek::ScanToolOutput output;
  const int code = twinseek::RunScanTool(twinseek::Cp932Arguments(argc, argv), plugin_loader, output);
  std::fwrite(output.out.data(), 1, output.out.size(), stdout);
  std::fwrite(output.err.data(), 1, output.err.size(), stderr);
  return code;
}
