// A 64-bit hash as the fragment of a plug-in: 16 lower-case hexadecimal
// digits, leading zeros kept.
#pragma once

#include <cstdint>
#include <string>

namespace twinseek {

inline std::string HashText(uint64_t value) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (size_t i = 16; i-- > 0; value >>= 4) text[i] = kDigits[value & 0xF];
  return text;
}

}  // namespace twinseek
