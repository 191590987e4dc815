// The comparator plug-ins as Windows has them: "TOOL1.DLL" to "TOOL3.DLL",
// found by the default library search, their five entry points looked up by
// their undecorated names. CheckFile is __stdcall and receives the path and a
// WIN32_FIND_DATAA built from the file's entry; every text a library returns
// is copied at once. A library is freed when its PluginLibrary is destroyed.
#pragma once

#include <memory>
#include <string>

#include "scan/plugin_slot.h"

namespace twinseek {

// "TOOL1.DLL" for slot 1, and so on.
std::string PluginLibraryName(int slot);

class Win32PluginLoader final : public PluginLoader {
 public:
  // Null when the library cannot be loaded.
  std::unique_ptr<PluginLibrary> Load(int slot) override;
};

}  // namespace twinseek
