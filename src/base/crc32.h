// The content checksum: the standard CRC-32 of ISO 3309 and ITU-T V.42
// (reflected, polynomial 0xEDB88320, initial value all ones, final value
// complemented). The check value of "123456789" is 0xCBF43926; zero bytes
// give 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace twinseek {

// The checksum of one whole buffer.
uint32_t Checksum(const void* data, size_t length);

// The same checksum computed piece by piece: Update over the chunks in order,
// then Finish. Chunk boundaries never change the result.
class Crc32 {
 public:
  void Update(const void* data, size_t length);
  uint32_t Finish() const { return ~state_; }

 private:
  uint32_t state_ = 0xFFFFFFFFu;
};

}  // namespace twinseek
