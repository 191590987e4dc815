// The program's version as people read it, from the two numbers of a
// VERSIONINFO resource (FILEVERSION's most and least significant halves):
// "major.minor.patch", with ".build" only when the fourth number is not 0.
// The About box and scripts/package both write it this way, so the version
// in the installers' names is the one the About box shows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace twinseek {

std::string VersionText(uint32_t version_ms, uint32_t version_ls);

// text with every "{version}" replaced by version.
std::string WithVersion(std::string_view text, std::string_view version);

}  // namespace twinseek
