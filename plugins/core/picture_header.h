// The size of a picture as its file's header states it, for the
// picture-size plug-in (画像の大きさ) and as the look plug-in's first test of
// whether a file is a picture at all. Only the header is read: the first 30
// bytes, and in a JPEG the marker and length of each segment before its
// frame header, whose contents are skipped with a seek (never read).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "core/file_answer.h"

namespace twinseek {

enum class PictureFormat { kPng, kJpeg, kGif, kBmp, kWebp };

struct PictureSize {
  PictureFormat format = PictureFormat::kPng;
  uint32_t width = 0;  // never 0
  uint32_t height = 0;
};

struct PictureProbe {
  // Nothing for a file of no known format, or whose header is cut short,
  // broken or states an empty picture.
  std::optional<PictureSize> size;
  // The file could not be read (size is then nothing).
  bool read_failed = false;
};

// Reads the header of a PNG (IHDR), JPEG (the first SOF marker), GIF (the
// logical screen), BMP (the core or info header; a top-down picture's height
// is positive) or WebP file (VP8, VP8L or VP8X) from the reader's start.
// The reader's position afterwards is anywhere.
PictureProbe ProbePicture(FileReader& reader);

// "<width>x<height>", as "640x480".
std::string PictureSizeText(const PictureSize& size);

// The plug-in's answer for one file: its size text, or nothing; the message
// "画像のヘッダを読み取れませんでした(<path>)" and a line break when the file
// could not be opened or read.
FileAnswer PictureSizeAnswer(FileSystem& file_system, std::string_view path);

}  // namespace twinseek
