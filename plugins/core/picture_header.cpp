#include "core/picture_header.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace twinseek {
namespace {

// Enough for every fixed header below: PNG 24 bytes, GIF 10, BMP 26,
// WebP 30.
constexpr size_t kHeadSize = 30;
// A JPEG's segments are walked at most this far before its frame header
// counts as missing (real files have a few dozen).
constexpr int kLargestJpegSegmentCount = 1024;

// Reads from a file at given offsets, remembering a failure of the system.
class HeaderReader {
 public:
  explicit HeaderReader(FileReader& reader) : reader_(reader) {}

  // Reads size bytes at offset into out; false when the file holds fewer
  // there or reading failed (failed() tells which).
  bool ReadAt(uint64_t offset, uint8_t* out, size_t size) {
    if (failed_ || offset > reader_.Size() || reader_.Size() - offset < size) return false;
    if (offset != position_) {
      if (!reader_.Seek(offset)) return Fail();
      position_ = offset;
    }
    size_t done = 0;
    while (done < size) {
      const std::optional<size_t> count = reader_.Read(out + done, size - done);
      if (!count) return Fail();
      if (*count == 0) break;  // the file shrank since it was opened
      done += *count;
    }
    position_ += done;
    return done == size;
  }

  bool failed() const { return failed_; }

 private:
  bool Fail() {
    failed_ = true;
    return false;
  }

  FileReader& reader_;
  uint64_t position_ = 0;
  bool failed_ = false;
};

uint32_t Big16(const uint8_t* p) { return static_cast<uint32_t>(p[0] << 8 | p[1]); }
uint32_t Big32(const uint8_t* p) { return Big16(p) << 16 | Big16(p + 2); }
uint32_t Little16(const uint8_t* p) { return static_cast<uint32_t>(p[1] << 8 | p[0]); }
uint32_t Little24(const uint8_t* p) { return Little16(p) | static_cast<uint32_t>(p[2]) << 16; }
uint32_t Little32(const uint8_t* p) { return Little24(p) | static_cast<uint32_t>(p[3]) << 24; }

bool Starts(const uint8_t* head, size_t size, std::string_view signature, size_t at = 0) {
  return size >= at + signature.size() && std::memcmp(head + at, signature.data(), signature.size()) == 0;
}

std::optional<PictureSize> Sized(PictureFormat format, uint32_t width, uint32_t height) {
  if (width == 0 || height == 0) return std::nullopt;
  return PictureSize{format, width, height};
}

std::optional<PictureSize> PngSize(const uint8_t* head, size_t size) {
  // The signature, then the IHDR chunk first: its length (13), its type,
  // the width and the height, each at most 2^31 - 1.
  if (size < 24 || Big32(head + 8) != 13 || !Starts(head, size, "IHDR", 12)) return std::nullopt;
  const uint32_t width = Big32(head + 16);
  const uint32_t height = Big32(head + 20);
  if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) return std::nullopt;
  return Sized(PictureFormat::kPng, width, height);
}

std::optional<PictureSize> GifSize(const uint8_t* head, size_t size) {
  if (size < 10) return std::nullopt;
  return Sized(PictureFormat::kGif, Little16(head + 6), Little16(head + 8));
}

std::optional<PictureSize> BmpSize(const uint8_t* head, size_t size) {
  if (size < 18) return std::nullopt;
  const uint32_t header_size = Little32(head + 14);
  if (header_size == 12) {  // BITMAPCOREHEADER: 16-bit sizes
    if (size < 22) return std::nullopt;
    return Sized(PictureFormat::kBmp, Little16(head + 18), Little16(head + 20));
  }
  // BITMAPINFOHEADER and its successors (OS/2 2.x: 16 or 64 bytes; V2 52,
  // V3 56, V4 108, V5 124): signed 32-bit sizes, a negative height for a
  // top-down picture.
  const bool known = header_size == 16 || header_size == 40 || header_size == 52 || header_size == 56 ||
                     header_size == 64 || header_size == 108 || header_size == 124;
  if (!known || size < 26) return std::nullopt;
  const auto width = static_cast<int32_t>(Little32(head + 18));
  const auto height = static_cast<int32_t>(Little32(head + 22));
  if (width <= 0 || height == INT32_MIN) return std::nullopt;
  return Sized(PictureFormat::kBmp, static_cast<uint32_t>(width),
               static_cast<uint32_t>(height < 0 ? -height : height));
}

std::optional<PictureSize> WebpSize(const uint8_t* head, size_t size) {
  if (Starts(head, size, "VP8 ", 12)) {
    if (size < 30) return std::nullopt;
    // A key frame (bit 0 of the frame tag clear) and its start code; the
    // sizes have 14 bits, the top two are the scaling.
    if ((head[20] & 1) != 0 || !Starts(head, size, "\x9D\x01\x2A", 23)) return std::nullopt;
    return Sized(PictureFormat::kWebp, Little16(head + 26) & 0x3FFF, Little16(head + 28) & 0x3FFF);
  }
  if (Starts(head, size, "VP8L", 12)) {
    // The signature byte, then 14 bits of width - 1, 14 of height - 1, one
    // of alpha and three of version (0).
    if (size < 25) return std::nullopt;
    const uint32_t bits = Little32(head + 21);
    if (head[20] != 0x2F || (bits >> 29) != 0) return std::nullopt;
    return Sized(PictureFormat::kWebp, (bits & 0x3FFF) + 1, ((bits >> 14) & 0x3FFF) + 1);
  }
  if (Starts(head, size, "VP8X", 12)) {
    // The canvas: 24 bits each of width - 1 and height - 1.
    if (size < 30) return std::nullopt;
    return Sized(PictureFormat::kWebp, Little24(head + 24) + 1, Little24(head + 27) + 1);
  }
  return std::nullopt;
}

bool IsFrameHeader(uint8_t marker) {
  // SOF0 to SOF15, except DHT (C4), JPG (C8) and DAC (CC).
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<PictureSize> JpegSize(HeaderReader& reader) {
  uint64_t position = 2;  // after the start of image
  for (int segment = 0; segment < kLargestJpegSegmentCount; ++segment) {
    uint8_t bytes[4];
    if (!reader.ReadAt(position, bytes, 2) || bytes[0] != 0xFF) return std::nullopt;
    const uint8_t marker = bytes[1];
    if (marker == 0xFF) {  // a fill byte before a marker
      position += 1;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
      position += 2;
      continue;
    }
    // Another start of image, the end of image, or the start of a scan:
    // no frame header came where it must.
    if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA || marker == 0x00) return std::nullopt;
    if (!reader.ReadAt(position + 2, bytes + 2, 2)) return std::nullopt;
    const uint32_t length = Big16(bytes + 2);
    if (length < 2) return std::nullopt;
    if (IsFrameHeader(marker)) {
      // Precision, then the height and the width (a height of 0 would come
      // later, in a DNL segment: not read).
      uint8_t frame[5];
      if (length < 2 + sizeof frame || !reader.ReadAt(position + 4, frame, sizeof frame)) return std::nullopt;
      return Sized(PictureFormat::kJpeg, Big16(frame + 3), Big16(frame + 1));
    }
    position += 2 + length;
  }
  return std::nullopt;
}

}  // namespace

PictureProbe ProbePicture(FileReader& reader) {
  HeaderReader header(reader);
  uint8_t head[kHeadSize];
  const size_t size = static_cast<size_t>(std::min<uint64_t>(reader.Size(), kHeadSize));
  PictureProbe probe;
  if (!header.ReadAt(0, head, size)) {
    probe.read_failed = header.failed();
    return probe;
  }
  if (Starts(head, size, "\x89PNG\r\n\x1A\n")) {
    probe.size = PngSize(head, size);
  } else if (Starts(head, size, "\xFF\xD8")) {
    probe.size = JpegSize(header);
  } else if (Starts(head, size, "GIF87a") || Starts(head, size, "GIF89a")) {
    probe.size = GifSize(head, size);
  } else if (Starts(head, size, "BM")) {
    probe.size = BmpSize(head, size);
  } else if (Starts(head, size, "RIFF") && Starts(head, size, "WEBP", 8)) {
    probe.size = WebpSize(head, size);
  }
  probe.read_failed = header.failed();
  if (probe.read_failed) probe.size.reset();
  return probe;
}

std::string PictureSizeText(const PictureSize& size) {
  return std::to_string(size.width) + "x" + std::to_string(size.height);
}

FileAnswer PictureSizeAnswer(FileSystem& file_system, std::string_view path) {
  constexpr std::string_view kUnreadable = "画像のヘッダを読み取れませんでした";
  const std::unique_ptr<FileReader> reader = file_system.OpenRead(path);
  if (reader == nullptr) return Unanswered(kUnreadable, path);
  const PictureProbe probe = ProbePicture(*reader);
  if (probe.read_failed) return Unanswered(kUnreadable, path);
  FileAnswer answer;
  if (probe.size) answer.fragment = PictureSizeText(*probe.size);
  return answer;
}

}  // namespace twinseek
