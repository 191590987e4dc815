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
// else (a lone lead byte at the end, or before a NUL, included) is one byte. At
// the end, or at a NUL byte, the position does not move.
size_t NextCharPos(std::string_view text, size_t pos);

// The position of the character before pos, exactly as CharPrevA answers on
// code page 932: text is walked from its start by whole characters, so a trail
// byte of 0x5C is never a character of its own, and a pos inside a double-byte
// character gives the start of that character. At the start the answer is 0.
// CharPrevA does not look past a NUL: if one comes before pos, the answer is
// the position of the first NUL. A pos beyond the end counts as the end.
size_t PrevCharPos(std::string_view text, size_t pos);

// The length of the longest start of text that ends on a whole character
// and has at most max_bytes bytes: a cut there never splits a double-byte
// character. A NUL ends the text.
size_t WholeCharPrefix(std::string_view text, size_t max_bytes);

// Upper-casing exactly as LCMapStringA with LCMAP_UPPERCASE does on code page
// 932 (which maps through UTF-16 and back): single-byte a-z become A-Z, other
// single bytes (half-width katakana, 0x80, 0xA0, 0xFD-0xFF, NUL) stay; every
// double-byte character that Windows upper-cases changes (full-width Latin,
// Greek, Cyrillic, small Roman numerals, the last becoming the NEC codes
// 0x8754-0x875D). Like Windows, a lead byte and a second byte that together
// make no character of code page 932 become 0x8145 ("・", the default
// character), and a code with a duplicate becomes the one Windows writes
// (0xED40 becomes 0xFA5C, 0x8790 becomes 0x81E0). One difference: a lone lead
// byte (at the end, or before a NUL) stays as it is, where Windows writes
// 0x8145 in its place and so lengthens the text. The result therefore always
// has the length of text, and every character keeps its place and length.
std::string UpperCase(std::string_view text);
void UpperCaseInPlace(std::string& text);

// UpperCase(a) == UpperCase(b), without building the upper-cased copies.
bool EqualFolded(std::string_view a, std::string_view b);

// The first prefix.size() bytes of text are a whole number of its characters
// and, upper-cased, equal UpperCase(prefix): "表" (0x95 0x5C) does not start
// with the lone byte 0x95. This is a prefix of characters, not of path
// components: "C:\DATA2" starts with "c:\data"; to ask whether a path lies
// inside a folder, end the prefix with the backslash. An empty prefix always
// matches.
bool StartsWithFolded(std::string_view text, std::string_view prefix);

}  // namespace twinseek
