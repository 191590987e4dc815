// The CRC-32 of base/crc32.h computed the plain way, one byte at a time from
// the 256-entry table, to check the fast forms against (and to time them by).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace twinseek::testing {

inline const std::array<uint32_t, 256>& Crc32ReferenceTable() {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> result{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t value = n;
      for (int bit = 0; bit < 8; ++bit) {
        value = (value & 1u) ? (value >> 1) ^ 0xEDB88320u : value >> 1;
      }
      result[n] = value;
    }
    return result;
  }();
  return table;
}

// The register after `length` more bytes; no complement at either end.
inline uint32_t Crc32ReferenceUpdate(uint32_t state, const uint8_t* data, size_t length) {
  const std::array<uint32_t, 256>& table = Crc32ReferenceTable();
  for (size_t i = 0; i < length; ++i) {
    state = (state >> 8) ^ table[(state ^ data[i]) & 0xFFu];
  }
  return state;
}

inline uint32_t Crc32Reference(const void* data, size_t length) {
  return ~Crc32ReferenceUpdate(0xFFFFFFFFu, static_cast<const uint8_t*>(data), length);
}

}  // namespace twinseek::testing
