// The duplicate key of one file: one fragment per ticked condition, in a fixed
// order. Two files are duplicate candidates when their keys are equal byte
// for byte; a group's title is its key unchanged.
//
//   name       base name upper-cased, then a space               "REPORT.FINAL "
//   extension  "." and extension upper-cased, then a space;
//              ". " when the name has no extension                ".TXT "
//   date       "W" + local last-write time with milliseconds      "W2002/01/15 10:20:30 0000"
//   size       the size in bytes in parentheses                   "(1234)"
//   checksum   "@" + CRC-32 in lower-case hexadecimal, no
//              leading zeros; "@0" when none could be computed    "@1c291ca3"
//   plug-in 1..3  a space and the slot's fragment, when it gives one
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "base/path_text.h"
#include "scan/plugin_slot.h"

namespace twinseek {

// The eight duplicate conditions of the main window.
struct Conditions {
  bool name = false;
  bool extension = false;
  bool size = false;
  bool checksum = false;
  bool date = false;
  std::array<bool, kPluginSlotCount> plugins{};

  bool Any() const;
  bool AnyPlugin() const;

  friend bool operator==(const Conditions&, const Conditions&) = default;
};

// The conditions ticked when the main window opens: size and date.
Conditions DefaultConditions();

// Writes into key (replacing what it held, keeping its storage) the name,
// extension, date, size and checksum fragments the conditions ask for, from
// the entry of the file (its long name, size and last-write time). checksum
// is the file's CRC-32, or 0 when none was computed.
void AppendFileFragments(const DirEntry& entry, const Conditions& conditions, uint32_t checksum,
                         std::string& key);

// The whole key: the fragments above, then those of the ticked plug-ins,
// which get the path as the scan list holds it and the entry; a plug-in's
// message is appended to error_log unchanged.
void BuildDuplicateKey(std::string_view path, const DirEntry& entry, const Conditions& conditions,
                       uint32_t checksum, PluginSlots& plugins, std::string& key, std::string& error_log);

}  // namespace twinseek
