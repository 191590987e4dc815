#include "base/crc32.h"

#include <array>

#include "base/crc32_forms.h"

namespace twinseek {
namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;  // reflected 0x04C11DB7

// kTables[k][n]: the register after byte n followed by k zero bytes, starting
// from a zero register. Row 0 is the classic byte-at-a-time table.
using SliceTables = std::array<std::array<uint32_t, 256>, 16>;

constexpr SliceTables MakeSliceTables() {
  SliceTables tables{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t value = n;
    for (int bit = 0; bit < 8; ++bit) {
      value = (value >> 1) ^ ((value & 1u) ? kPolynomial : 0u);
    }
    tables[0][n] = value;
  }
  for (size_t k = 1; k < tables.size(); ++k) {
    for (size_t n = 0; n < 256; ++n) {
      const uint32_t previous = tables[k - 1][n];
      tables[k][n] = (previous >> 8) ^ tables[0][previous & 0xFFu];
    }
  }
  return tables;
}

constexpr SliceTables kTables = MakeSliceTables();

static_assert(kTables[0][1] == 0x77073096u && kTables[0][255] == 0x2D02EF8Du,
              "the byte table is the standard one");

// Little-endian whatever the host; compilers turn this into one load.
inline uint32_t LoadLittle32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

const Crc32Form& ChooseForm() {
  const std::span<const Crc32Form> forms = Crc32Forms();
  for (size_t i = forms.size(); i-- > 1;) {
    if (forms[i].available) return forms[i];
  }
  return forms[0];
}

}  // namespace

uint32_t Crc32UpdatePortable(uint32_t state, const uint8_t* data, size_t length) {
  const auto& t = kTables;
  while (length >= 16) {
    const uint32_t a = LoadLittle32(data) ^ state;
    const uint32_t b = LoadLittle32(data + 4);
    const uint32_t c = LoadLittle32(data + 8);
    const uint32_t d = LoadLittle32(data + 12);
    state = t[15][a & 0xFF] ^ t[14][(a >> 8) & 0xFF] ^ t[13][(a >> 16) & 0xFF] ^ t[12][a >> 24] ^
            t[11][b & 0xFF] ^ t[10][(b >> 8) & 0xFF] ^ t[9][(b >> 16) & 0xFF] ^ t[8][b >> 24] ^
            t[7][c & 0xFF] ^ t[6][(c >> 8) & 0xFF] ^ t[5][(c >> 16) & 0xFF] ^ t[4][c >> 24] ^ t[3][d & 0xFF] ^
            t[2][(d >> 8) & 0xFF] ^ t[1][(d >> 16) & 0xFF] ^ t[0][d >> 24];
    data += 16;
    length -= 16;
  }
  for (; length != 0; --length) {
    state = (state >> 8) ^ t[0][(state ^ *data++) & 0xFF];
  }
  return state;
}

std::span<const Crc32Form> Crc32Forms() {
  static const Crc32Form forms[] = {
      {"portable", Crc32UpdatePortable, true},
#ifdef TWINSEEK_CRC32_X86
      {"pclmul", Crc32UpdatePclmul, Crc32PclmulAvailable()},
#endif
#ifdef TWINSEEK_CRC32_AVX512
      {"avx512", Crc32UpdateAvx512, Crc32Avx512Available()},
#endif
  };
  return forms;
}

const Crc32Form& DispatchedCrc32Form() {
  static const Crc32Form& chosen = ChooseForm();
  return chosen;
}

uint32_t Checksum(const void* data, size_t length) {
  return ~DispatchedCrc32Form().update(0xFFFFFFFFu, static_cast<const uint8_t*>(data), length);
}

void Crc32::Update(const void* data, size_t length) {
  state_ = DispatchedCrc32Form().update(state_, static_cast<const uint8_t*>(data), length);
}

}  // namespace twinseek
