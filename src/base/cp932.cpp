#include "base/cp932.h"

#include <cstring>

namespace twinseek {
namespace {

#include "base/cp932_upper_table.inc"

uint8_t Byte(std::string_view text, size_t pos) { return static_cast<uint8_t>(text[pos]); }

// True when the byte at pos begins a character of two bytes.
bool IsPairAt(std::string_view text, size_t pos) {
  return IsLeadByte(Byte(text, pos)) && pos + 1 < text.size() && text[pos + 1] != '\0';
}

// The start of the character that holds the byte at pos - 1 (pos > 0), a NUL
// byte being a character of its own. A byte that cannot lead ends a
// character, so a character begins right after the last such byte before
// pos - 1. From there to pos - 1 every byte is a lead byte: they pair up, and
// an odd one out makes pos - 2 the start of the character that holds pos - 1.
size_t StartOfCharBefore(std::string_view text, size_t pos) {
  if (text[pos - 1] == '\0') return pos - 1;
  size_t start = pos - 1;
  while (start > 0 && IsLeadByte(Byte(text, start - 1))) --start;
  return (pos - 1 - start) % 2 == 0 ? pos - 1 : pos - 2;
}

// One character upper-cased: its bytes (one or two) in bytes[0..length).
struct UpperChar {
  uint8_t bytes[2];
  size_t length;
};

UpperChar UpperAt(std::string_view text, size_t pos) {
  const uint8_t first = Byte(text, pos);
  if (!IsPairAt(text, pos)) {
    const bool small = first >= 'a' && first <= 'z';
    return {{static_cast<uint8_t>(small ? first - ('a' - 'A') : first), 0}, 1};
  }
  const uint8_t second = Byte(text, pos + 1);
  const uint16_t code = kUpperRows[kUpperRowOfLead[first]][second];
  if (code == 0) return {{first, second}, 2};
  return {{static_cast<uint8_t>(code >> 8), static_cast<uint8_t>(code)}, 2};
}

// Both texts agree, character by character, once upper-cased. Upper-casing
// keeps every character's length, so the two walks stay in step; where one
// text has a double-byte character and the other a single byte at the same
// place they cannot agree (a pair becomes a lead byte and a non-NUL byte, a
// single byte stays single, and a lone lead byte is followed by NUL).
bool SameFolded(std::string_view a, std::string_view b) {
  size_t pos = 0;
  while (pos < a.size()) {
    const uint8_t x = Byte(a, pos);
    const uint8_t y = Byte(b, pos);
    if (x < 0x80 && y < 0x80) {
      if (x != y) {
        const bool small_x = x >= 'a' && x <= 'z';
        const bool small_y = y >= 'a' && y <= 'z';
        if ((small_x ? x - ('a' - 'A') : x) != (small_y ? y - ('a' - 'A') : y)) return false;
      }
      ++pos;
      continue;
    }
    const UpperChar ux = UpperAt(a, pos);
    const UpperChar uy = UpperAt(b, pos);
    if (ux.length != uy.length || std::memcmp(ux.bytes, uy.bytes, ux.length) != 0) return false;
    pos += ux.length;
  }
  return true;
}

}  // namespace

size_t NextCharPos(std::string_view text, size_t pos) {
  if (pos >= text.size() || text[pos] == '\0') return pos;
  return pos + (IsPairAt(text, pos) ? 2 : 1);
}

size_t PrevCharPos(std::string_view text, size_t pos) {
  if (pos > text.size()) pos = text.size();
  if (pos == 0) return 0;
  // The walk from the start stops at the first NUL.
  if (const void* nul = std::memchr(text.data(), '\0', pos)) {
    return static_cast<size_t>(static_cast<const char*>(nul) - text.data());
  }
  return StartOfCharBefore(text, pos);
}

size_t WholeCharPrefix(std::string_view text, size_t max_bytes) {
  size_t length = 0;
  while (length < text.size()) {
    const size_t next = NextCharPos(text, length);
    if (next == length || next > max_bytes) break;
    length = next;
  }
  return length;
}

std::string UpperCase(std::string_view text) {
  std::string result(text);
  UpperCaseInPlace(result);
  return result;
}

void UpperCaseInPlace(std::string& text) {
  size_t pos = 0;
  while (pos < text.size()) {
    const uint8_t byte = Byte(text, pos);
    if (byte < 0x80) {
      if (byte >= 'a' && byte <= 'z') text[pos] = static_cast<char>(byte - ('a' - 'A'));
      ++pos;
      continue;
    }
    const UpperChar upper = UpperAt(text, pos);
    std::memcpy(&text[pos], upper.bytes, upper.length);
    pos += upper.length;
  }
}

bool EqualFolded(std::string_view a, std::string_view b) { return a.size() == b.size() && SameFolded(a, b); }

bool StartsWithFolded(std::string_view text, std::string_view prefix) {
  if (prefix.size() > text.size()) return false;
  const size_t end = prefix.size();
  if (end == 0) return true;
  const size_t last = StartOfCharBefore(text, end);
  if (last == end - 1 && IsPairAt(text, last)) return false;
  return SameFolded(text.substr(0, end), prefix);
}

}  // namespace twinseek
