// Picture sizes from headers: every format the picture-size plug-in knows,
// read from the header alone, and nothing (never a failure) from truncated,
// broken or hostile headers.
#include "core/picture_header.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "plugins/memory_reader.h"
#include "support/temp_tree.h"

namespace twinseek {
namespace {

using testing::MemoryReader;
using testing::TempTree;

std::string Big16(uint32_t value) { return {static_cast<char>(value >> 8), static_cast<char>(value)}; }
std::string Big32(uint32_t value) { return Big16(value >> 16) + Big16(value & 0xFFFF); }
std::string Little16(uint32_t value) { return {static_cast<char>(value), static_cast<char>(value >> 8)}; }
std::string Little32(uint32_t value) { return Little16(value & 0xFFFF) + Little16(value >> 16); }

std::string Png(uint32_t width, uint32_t height) {
  return std::string("\x89PNG\r\n\x1A\n", 8) + Big32(13) + "IHDR" + Big32(width) + Big32(height) +
         std::string("\x08\x06\0\0\0", 5) + Big32(0x12345678) + std::string(40, 'x');
}

std::string Gif(uint32_t width, uint32_t height) {
  return "GIF89a" + Little16(width) + Little16(height) + std::string("\xF7\0\0", 3) + std::string(40, 'x');
}

std::string Bmp(uint32_t header_size, int32_t width, int32_t height) {
  std::string file = "BM" + Little32(1000) + Little32(0) + Little32(14 + header_size) + Little32(header_size);
  if (header_size == 12) {
    file += Little16(static_cast<uint32_t>(width)) + Little16(static_cast<uint32_t>(height));
  } else {
    file += Little32(static_cast<uint32_t>(width)) + Little32(static_cast<uint32_t>(height));
  }
  return file + std::string(header_size, '\0');
}

std::string Riff(const std::string& chunk) { return "RIFF" + Little32(1000) + "WEBP" + chunk; }

std::string WebpLossy(uint32_t width, uint32_t height) {
  return Riff("VP8 " + Little32(100) + std::string("\x50\x01\x00\x9D\x01\x2A", 6) + Little16(width) +
              Little16(height) + std::string(20, '\0'));
}

std::string WebpLossless(uint32_t width, uint32_t height) {
  const uint32_t bits = (width - 1) | (height - 1) << 14 | 1u << 28;
  return Riff("VP8L" + Little32(100) + "\x2F" + Little32(bits) + std::string(20, '\0'));
}

std::string WebpExtended(uint32_t width, uint32_t height) {
  auto little24 = [](uint32_t value) {
    return Little16(value & 0xFFFF) + std::string(1, static_cast<char>(value >> 16));
  };
  return Riff("VP8X" + Little32(10) + std::string(4, '\0') + little24(width - 1) + little24(height - 1) +
              std::string(20, '\0'));
}

std::string Segment(uint8_t marker, const std::string& body) {
  return std::string{'\xFF', static_cast<char>(marker)} + Big16(static_cast<uint32_t>(body.size() + 2)) +
         body;
}

// A JPEG with a large Exif segment, fill bytes and a restart marker before
// its frame header, the way cameras write them.
std::string Jpeg(uint32_t width, uint32_t height, uint8_t frame = 0xC2) {
  return std::string("\xFF\xD8", 2) + Segment(0xE0, "JFIF" + std::string(10, '\0')) +
         Segment(0xE1, "Exif" + std::string(60'000, 'e')) + "\xFF\xFF\xFF\xD0" +
         Segment(0xDB, std::string(65, 'q')) +
         Segment(frame,
                 std::string("\x08", 1) + Big16(height) + Big16(width) + std::string("\x03\x01\x22\x00", 4)) +
         Segment(0xDA, std::string(10, 's')) + std::string(5000, 'd') + "\xFF\xD9";
}

std::optional<PictureSize> SizeOf(const std::string& bytes) {
  MemoryReader reader(bytes);
  const PictureProbe probe = ProbePicture(reader);
  EXPECT_FALSE(probe.read_failed);
  return probe.size;
}

std::string Text(const std::string& bytes) {
  const std::optional<PictureSize> size = SizeOf(bytes);
  return size ? PictureSizeText(*size) : "<none>";
}

TEST(PictureHeaderTest, ReadsTheSizeOfEachFormat) {
  EXPECT_EQ(Text(Png(640, 480)), "640x480");
  EXPECT_EQ(Text(Png(0x7FFFFFFF, 1)), "2147483647x1");
  EXPECT_EQ(Text(Gif(320, 200)), "320x200");
  EXPECT_EQ(Text(Gif(65535, 1)), "65535x1");
  EXPECT_EQ(Text(Bmp(40, 800, 600)), "800x600");
  EXPECT_EQ(Text(Bmp(40, 800, -600)), "800x600");  // top-down
  EXPECT_EQ(Text(Bmp(124, 3, 2)), "3x2");
  EXPECT_EQ(Text(Bmp(12, 64, 48)), "64x48");  // OS/2 core header
  EXPECT_EQ(Text(WebpLossy(1024, 768)), "1024x768");
  EXPECT_EQ(Text(WebpLossless(16383, 1)), "16383x1");
  EXPECT_EQ(Text(WebpExtended(1 << 24, 5000)), "16777216x5000");
  EXPECT_EQ(Text(Jpeg(4000, 3000)), "4000x3000");
  EXPECT_EQ(Text(Jpeg(1, 65535, 0xC0)), "1x65535");
  EXPECT_EQ(SizeOf(Jpeg(4000, 3000, 0xCF))->format, PictureFormat::kJpeg);
  EXPECT_EQ(SizeOf(Png(1, 1))->format, PictureFormat::kPng);
  EXPECT_EQ(SizeOf(WebpLossy(1, 1))->format, PictureFormat::kWebp);
}

TEST(PictureHeaderTest, ReadsNothingButTheHeader) {
  for (const std::string& file : {Png(640, 480), Gif(1, 2), Bmp(40, 3, 4), WebpExtended(5, 6)}) {
    MemoryReader reader(file);
    ASSERT_TRUE(ProbePicture(reader).size.has_value());
    EXPECT_LE(reader.furthest(), 30u);
  }
  // The JPEG's segments are skipped, not read: 60 KB of Exif cost nothing.
  MemoryReader jpeg(Jpeg(4000, 3000));
  ASSERT_TRUE(ProbePicture(jpeg).size.has_value());
  EXPECT_LE(jpeg.bytes_read(), 64u);
  // A 3 GiB file of no known format costs its first bytes.
  MemoryReader large(3ull << 30, [](uint64_t) { return 'v'; });
  EXPECT_FALSE(ProbePicture(large).size.has_value());
  EXPECT_LE(large.bytes_read(), 30u);
}

TEST(PictureHeaderTest, TruncatedHeadersGiveNothing) {
  const std::vector<std::pair<std::string, size_t>> files = {
      {Png(640, 480), 24},     {Gif(640, 480), 10},        {Bmp(40, 640, 480), 26},   {Bmp(12, 64, 48), 22},
      {WebpLossy(64, 48), 30}, {WebpLossless(64, 48), 25}, {WebpExtended(64, 48), 30}};
  for (const auto& [file, needed] : files) {
    for (size_t length = 0; length < needed; ++length) {
      EXPECT_FALSE(SizeOf(file.substr(0, length)).has_value()) << file.substr(0, 4) << " cut at " << length;
    }
    EXPECT_TRUE(SizeOf(file.substr(0, needed)).has_value()) << file.substr(0, 4);
  }
  // A JPEG cut anywhere before the end of its frame header's sizes.
  const std::string jpeg = Jpeg(800, 600);
  const size_t sizes_end = jpeg.find("\xFF\xC2") + 9;
  for (size_t length = 0; length < sizes_end;
       length += (length < 100 || length > sizes_end - 100) ? 1 : 997) {
    EXPECT_FALSE(SizeOf(jpeg.substr(0, length)).has_value()) << "cut at " << length;
  }
  EXPECT_EQ(Text(jpeg.substr(0, sizes_end)), "800x600");
}

TEST(PictureHeaderTest, BrokenAndHostileHeadersGiveNothing) {
  const std::string jpeg_start("\xFF\xD8", 2);
  const std::string frame = std::string("\x08", 1) + Big16(10) + Big16(10) + std::string(4, '\0');
  for (const std::string& file : {
           Png(0, 480),
           Png(640, 0),
           Png(0x80000000u, 1),
           std::string("\x89PNG\r\n\x1A\n", 8) + Big32(14) + "IHDR" + Big32(1) + Big32(1) +
               std::string(9, '\0'),
           std::string("\x89PNG\r\n\x1A\n", 8) + Big32(13) + "CgBI" + Big32(1) + Big32(1) +
               std::string(9, '\0'),
           Gif(0, 1),
           Bmp(40, 0, 5),
           Bmp(40, -5, 5),
           Bmp(40, 5, 0),
           Bmp(40, 5, INT32_MIN),
           Bmp(41, 5, 5),
           Bmp(12, 0, 5),
           Riff("VP8 " + Little32(10) + std::string("\x51\x01\x00\x9D\x01\x2A", 6) + std::string(8, '\1')),
           Riff("VP8 " + Little32(10) + std::string("\x50\x01\x00\x9D\x01\x2B", 6) + std::string(8, '\1')),
           Riff("VP8L" + Little32(10) + "\x2E" + std::string(9, '\0')),
           Riff("VP8L" + Little32(10) + "\x2F" + Little32(0xE0000000u) + std::string(5, '\0')),
           Riff("VP9 " + std::string(20, '\1')),
           "RIFF" + Little32(10) + "WAVEfmt " + std::string(20, '\1'),
           jpeg_start + Segment(0xDA, "scan") + Segment(0xC0, frame),  // a scan before the frame
           jpeg_start + Segment(0xC0, std::string("\x08", 1) + Big16(0) + Big16(10) + std::string(4, '\0')),
           jpeg_start + Segment(0xC0, "\x08"),                              // a frame header too short
           jpeg_start + "\xFF\xE1" + Big16(1) + Segment(0xC0, frame),       // a length below 2
           jpeg_start + "\xFF\xE1" + Big16(0xFFFF) + Segment(0xC0, frame),  // a length past the end
           jpeg_start + "\x12\x34" + Segment(0xC0, frame),                  // no marker
           jpeg_start + Segment(0xD8, "") + Segment(0xC0, frame),
           jpeg_start + std::string(100'000, '\xFF'),  // fill bytes only
           std::string(),
           std::string("\xFF"),
           std::string("BM"),
           std::string("GIF87"),
           std::string(100, '\0'),
       }) {
    EXPECT_FALSE(SizeOf(file).has_value()) << file.substr(0, 16);
  }
  // Endless empty segments end the walk long before the file does.
  std::string many = jpeg_start;
  for (int i = 0; i < 5000; ++i) many += Segment(0xFE, "");
  MemoryReader reader(many + Segment(0xC0, frame));
  EXPECT_FALSE(ProbePicture(reader).size.has_value());
  EXPECT_LT(reader.bytes_read(), 5000u);
}

TEST(PictureHeaderTest, AFailedReadIsToldApart) {
  for (uint64_t fail_after : {0u, 2u, 8u}) {
    MemoryReader reader(Jpeg(10, 10));
    reader.FailAfter(fail_after);
    const PictureProbe probe = ProbePicture(reader);
    EXPECT_TRUE(probe.read_failed) << fail_after;
    EXPECT_FALSE(probe.size.has_value());
  }
  MemoryReader no_seek(Jpeg(10, 10));
  no_seek.RefuseSeeks();
  EXPECT_TRUE(ProbePicture(no_seek).read_failed);
  // A file that ends before its size says is cut short, not unreadable.
  MemoryReader shrunk(Png(10, 10));
  shrunk.EndAt(12);
  const PictureProbe probe = ProbePicture(shrunk);
  EXPECT_FALSE(probe.read_failed);
  EXPECT_FALSE(probe.size.has_value());
}

TEST(PictureHeaderTest, AnswersForFilesOnDisk) {
  TempTree tree;
  tree.Write(u8"photo.png", Png(640, 480));
  tree.Write(u8"写真.jpg", Jpeg(640, 480));
  tree.Write(u8"notes.txt", "not a picture");
  tree.MakeFolder(u8"folder");

  const FileAnswer png = PictureSizeAnswer(SystemFileSystem(), tree.Path("photo.png"));
  EXPECT_EQ(png.fragment, "640x480");
  EXPECT_EQ(png.message, "");
  EXPECT_EQ(PictureSizeAnswer(SystemFileSystem(), tree.Path("写真.jpg")).fragment, "640x480");
  const FileAnswer text = PictureSizeAnswer(SystemFileSystem(), tree.Path("notes.txt"));
  EXPECT_EQ(text.fragment, std::nullopt);
  EXPECT_EQ(text.message, "");
  for (const std::string& path : {tree.Path("missing.png"), tree.Path("folder")}) {
    const FileAnswer answer = PictureSizeAnswer(SystemFileSystem(), path);
    EXPECT_EQ(answer.fragment, std::nullopt);
    EXPECT_EQ(answer.message, "画像のヘッダを読み取れませんでした(" + path + ")\r\n");
  }
}

}  // namespace
}  // namespace twinseek
