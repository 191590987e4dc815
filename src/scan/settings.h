// The settings file: an optional INI file beside the executable, read once at
// start-up and never written. It holds one value, LOADLIMIT in section CRC16:
// the size in KB above which a file gets no content checksum, 0 meaning no
// limit. The file is read the way GetPrivateProfileIntA reads it, so a file
// gives the same LoadLimit on every system the core runs on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_system.h"

namespace twinseek {

// The settings file of an executable: its path with the last "." of the file
// name, and everything after it, replaced by ".INI" (C:\Tools\finder.exe gives
// C:\Tools\finder.INI). The path is walked by whole characters, and a "." of a
// folder name never counts: a file name without any "." gets ".INI" appended
// (C:\Tools.v2\finder gives C:\Tools.v2\finder.INI, not C:\Tools.INI).
std::string SettingsPath(std::string_view executable_path);

// The file beside the executable with the same rule and another extension
// (with its dot): the help file is ExecutableSibling(path, ".HLP").
std::string ExecutableSibling(std::string_view executable_path, std::string_view extension);

// The program's title, the caption of its message boxes: the executable's
// file name without the extension the same rule finds (C:\Tools\finder.exe
// gives "finder").
std::string ProgramTitle(std::string_view executable_path);

// The number GetPrivateProfileIntA(section, key, default_value, file) returns
// for a file that holds ini_text, as Wine reads profiles:
// - Lines end at CR or LF; blanks, tabs, CR, LF, VT, FF and Ctrl-Z around
//   lines, names and values are ignored; empty lines are skipped.
// - A line "[name]" (up to its last "]") opens a section; a "[" without a "]"
//   after it is an ordinary line. Lines before the first section belong to a
//   section with an empty name. Only the first section of the name is read,
//   and in it only the first key of the name.
// - Names compare without regard to the case of the letters A-Z, and end at a
//   NUL byte; section and key as given are trimmed the same way.
// - Nothing follows from ";": a comment line is a key no one asks for, and a
//   comment after a value is part of the value.
// - A value in matching quotes ('...' or "...") loses them; only the first 29
//   characters of a value are read.
// - No section, no key, a key without "=" or an empty value give
//   default_value (as an unsigned number). Otherwise the value is read as a
//   number: leading bytes up to and including the blank are skipped, one "+"
//   or "-" is taken, "0x", "0o" and "0b" (lower case) switch to base 16, 8
//   and 2, and digits are read up to the first byte that is not one, the
//   result wrapping modulo 2^32; a value that is no number gives 0, "-5" gives
//   4294967291.
// - A file starting with a UTF-8 or UTF-16 byte-order mark is read as that
//   encoding; other files are code page 932, walked by whole characters.
//   (Names outside ASCII never match in the Unicode encodings.)
uint32_t ReadProfileInt(std::string_view section, std::string_view key, int32_t default_value,
                        std::string_view ini_text);

// The whole content of a file; nothing when it cannot be opened or read.
std::optional<std::string> ReadWholeFile(FileSystem& file_system, std::string_view path);

// ReadProfileInt on the content of a file; a file that cannot be read gives
// default_value, as GetPrivateProfileIntA does.
uint32_t ReadProfileIntFromFile(FileSystem& file_system, std::string_view path, std::string_view section,
                                std::string_view key, int32_t default_value);

// The LoadLimit in KB from the settings file: LOADLIMIT of section CRC16,
// default 0. A missing file, section or key gives 0 (no limit), so does a
// value that is no number. No message is ever shown.
uint32_t ReadLoadLimit(FileSystem& file_system, std::string_view settings_path);

}  // namespace twinseek
