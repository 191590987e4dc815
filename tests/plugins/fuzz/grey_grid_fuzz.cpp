// libFuzzer target: pictures of any small size and any pixels reduced to
// the 9 x 8 grid; rows may come in any order, twice, or past the end.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/difference_hash.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const uint32_t width = 1 + (data[0] | (data[1] & 0x0F) << 8);   // 1 to 4096
  const uint32_t height = 1 + (data[2] | (data[3] & 0x0F) << 8);  // 1 to 4096
  data += 4;
  size -= 4;
  twinseek::GreyGrid grid(width, height);
  std::vector<uint32_t> row(width);
  for (size_t at = 0; at + 2 <= size;) {
    const uint32_t y = data[at] | (data[at + 1] & 0x1F) << 8;
    at += 2;
    for (uint32_t x = 0; x < width; ++x, at += 4) {
      uint32_t pixel = 0;
      if (at + 4 <= size) std::memcpy(&pixel, data + at, 4);
      row[x] = pixel;
    }
    grid.AddRow(y, row.data());
  }
  // No failure and no overflow (the sanitizers watch) is the whole test.
  volatile uint64_t hash = grid.DifferenceHash();
  (void)hash;
  return 0;
}
