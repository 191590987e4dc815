// The picture-look plug-in's answer for one file: the header tells whether
// the file is a picture at all (nothing else is decoded), then a decoder
// gives the picture's difference hash.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/file_system.h"
#include "core/file_answer.h"

namespace twinseek {

class PictureDecoder {
 public:
  virtual ~PictureDecoder() = default;
  // The difference hash of the picture file at path (GreyGrid over every row
  // of its first frame); nothing when it cannot be decoded, or holds more
  // than kLargestLookPixels pixels.
  virtual std::optional<uint64_t> LookHash(std::string_view path) = 0;
};

// The hash's text for a picture the decoder can read; nothing for a file
// whose header is not a picture's. The message, with a line break: "画像を
// 読み取れませんでした(<path>)" for a file that cannot be opened or read,
// "画像が大きすぎるため見た目を比べませんでした(<path>)" for a picture of
// more than kLargestLookPixels pixels (not decoded).
FileAnswer PictureLookAnswer(FileSystem& file_system, PictureDecoder& decoder, std::string_view path);

}  // namespace twinseek
