// libFuzzer target: any bytes as a picture file. The header reader must not
// fail, must keep within the header, and a size it gives is a real one.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/picture_header.h"
#include "plugins/memory_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  twinseek::testing::MemoryReader reader(std::string(reinterpret_cast<const char*>(data), size));
  const twinseek::PictureProbe probe = twinseek::ProbePicture(reader);
  if (probe.read_failed) std::abort();  // a memory file never fails
  // The first 30 bytes, then at most 4 bytes per JPEG segment (1024 of
  // them) and the 5 of its frame header.
  if (reader.bytes_read() > 30 + 1024 * 4 + 5) std::abort();
  if (probe.size) {
    if (probe.size->width == 0 || probe.size->height == 0) std::abort();
    const std::string text = twinseek::PictureSizeText(*probe.size);
    if (text != std::to_string(probe.size->width) + "x" + std::to_string(probe.size->height)) std::abort();
  }
  return 0;
}
