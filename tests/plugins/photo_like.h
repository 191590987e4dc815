// A photo-like test picture defined on the unit square, so that it can be
// drawn at any size: smooth waves of light and colour (whose 9 x 8 cells
// differ clearly from their neighbours) with a little grain on top.
#pragma once

#include <cmath>
#include <cstdint>

namespace twinseek::testing {

// Pixel (x, y) of the picture drawn at width x height, as 0xFFRRGGBB.
// Scene 0 and scene 1 are two different pictures.
inline uint32_t PhotoLikePixel(uint32_t x, uint32_t y, uint32_t width, uint32_t height, int scene = 0) {
  const double u = (x + 0.5) / width;
  const double v = (y + 0.5) / height;
  const double phase = scene == 0 ? 0.0 : 2.4;
  const double light = 128 + 60 * std::sin(7.3 * u + 1.1 + phase) * std::cos(5.1 * v - phase) +
                       50 * std::sin(13.7 * u * v + 2.0 + phase);
  const uint32_t grain = (x * 7919u + y * 104729u + x * y * 31u) % 17u;  // 0 to 16
  auto channel = [&](double tint) {
    const long value = std::lround(light * tint) + static_cast<long>(grain) - 8;
    return static_cast<uint32_t>(value < 0 ? 0 : value > 255 ? 255 : value);
  };
  return 0xFF000000u | channel(1.05) << 16 | channel(0.95) << 8 | channel(0.8);
}

}  // namespace twinseek::testing
