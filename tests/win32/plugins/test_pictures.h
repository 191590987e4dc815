// Picture files written through GDI+'s own encoders, as a camera or an
// editor would save them: a photo-like picture as PNG, and copies of it at
// other sizes as JPEG of a given quality.
#pragma once

#include <cstdint>
#include <string>

namespace twinseek::testing {

// Writes the photo-like picture `scene` (plugins/photo_like.h) at width x
// height as a PNG file; false on failure.
bool WritePhotoPng(const std::string& path, uint32_t width, uint32_t height, int scene = 0);

// Decodes the picture at from, draws it scaled to width x height with
// high-quality interpolation, and saves that as a JPEG of quality 0 to 100;
// false on failure.
bool WriteScaledJpeg(const std::string& from, const std::string& to, uint32_t width, uint32_t height,
                     unsigned long quality);

}  // namespace twinseek::testing
