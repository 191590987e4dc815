// The program's version, written here and nowhere else. The VERSIONINFO
// resource of twinseek.exe is made from it; the About box reads it back from
// that resource, and scripts/package reads it from the built program to name
// the installers and archives and to label the installer.
#pragma once

#define TWINSEEK_VERSION_MAJOR 0
#define TWINSEEK_VERSION_MINOR 1
#define TWINSEEK_VERSION_PATCH 0

// "0.1.0": the same numbers as text, for the resource's string values.
#define TWINSEEK_VERSION_TEXT_OF(major, minor, patch) #major "." #minor "." #patch
#define TWINSEEK_VERSION_TEXT_EXPANDED(major, minor, patch) TWINSEEK_VERSION_TEXT_OF(major, minor, patch)
#define TWINSEEK_VERSION_TEXT \
  TWINSEEK_VERSION_TEXT_EXPANDED(TWINSEEK_VERSION_MAJOR, TWINSEEK_VERSION_MINOR, TWINSEEK_VERSION_PATCH)
