// Text in code page 932 (Shift-JIS as Windows has it): every name, path, key
// and message inside the program is a byte string of this code page. Text is
// walked by whole characters, so the second byte of a double-byte character is
// never taken for a ".", a backslash or a wildcard; and names compare without
// regard to case as Windows upper-cases them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace twinseek {

// True for the bytes that begin a double-byte character: 0x81-0x9F, 0xE0-0xFC.
constexpr bool IsLeadByte(uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// The position of the character after the one at pos, as CharNextA steps: a
// lead byte followed by a non-NUL byte is one character of two bytes; anything
// else (a lone lead byte at the end included) is one byte. At the end, or at a
// NUL byte, the position does not move.
size_t NextCharPos(std::string_view text, size_t pos);

// The position of the character before pos, exactly as CharPrevA answers on
// code page 932: text is walked from its start by whole characters, so a trail
// byte of 0x5C is never a character of its own; at the start (or at a NUL
// before pos) the answer is that position.
size_t PrevCharPos(std::string_view text, size_t pos);

// Upper-casing exactly as LCMapStringA with LCMAP_UPPERCASE does on code page
// 932: single-byte a-z, and every double-byte character that Windows maps
// (full-width Latin, Greek, Cyrillic and the rest of its table).
std::string UpperCase(std::string_view text);
void UpperCaseInPlace(std::string& text);

// Comparisons on upper-cased text, without building the upper-cased copies.
bool EqualFolded(std::string_view a, std::string_view b);
bool StartsWithFolded(std::string_view text, std::string_view prefix);

}  // namespace twinseek
