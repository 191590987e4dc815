// The picture-look hash: the 9 x 8 grey reduction and its 64 comparisons,
// the same hash for a picture at other sizes, and the plug-in's answer
// (which files reach the decoder at all).
#include "core/difference_hash.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/picture_look.h"
#include "plugins/photo_like.h"
#include "support/temp_tree.h"

namespace twinseek {
namespace {

using testing::TempTree;

uint32_t GreyPixel(uint32_t level) { return 0xFF000000u | level << 16 | level << 8 | level; }

// The hash of a width x height picture whose pixel (x, y) is pixel(x, y).
uint64_t HashOf(uint32_t width, uint32_t height, const std::function<uint32_t(uint32_t, uint32_t)>& pixel) {
  GreyGrid grid(width, height);
  std::vector<uint32_t> row(width);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) row[x] = pixel(x, y);
    grid.AddRow(y, row.data());
  }
  return grid.DifferenceHash();
}

uint64_t SceneHash(uint32_t width, uint32_t height, int scene = 0) {
  return HashOf(width, height,
                [&](uint32_t x, uint32_t y) { return testing::PhotoLikePixel(x, y, width, height, scene); });
}

TEST(DifferenceHashTest, EachBitComparesACellWithItsRightNeighbour) {
  // Flat: no cell is brighter than the next.
  EXPECT_EQ(HashOf(640, 480, [](uint32_t, uint32_t) { return GreyPixel(90); }), 0u);
  // Darker to the right: every bit set; brighter to the right: none.
  EXPECT_EQ(HashOf(640, 480, [](uint32_t x, uint32_t) { return GreyPixel(255 - x * 255 / 639); }),
            ~uint64_t{0});
  EXPECT_EQ(HashOf(640, 480, [](uint32_t x, uint32_t) { return GreyPixel(x * 255 / 639); }), 0u);
  // A 9 x 8 picture is its own grid: one bright pixel at (4, 2) sets the bit
  // of row 2 that compares columns 4 and 5, bit 63 - (2 * 8 + 4).
  EXPECT_EQ(HashOf(9, 8, [](uint32_t x, uint32_t y) { return GreyPixel(x == 4 && y == 2 ? 200 : 10); }),
            uint64_t{1} << (63 - 20));
  // Colour counts by brightness (green is the brightest primary), and a
  // transparent pixel is white.
  EXPECT_EQ(HashOf(9, 1, [](uint32_t x, uint32_t) { return x == 0 ? 0xFF00FF00u : 0xFFFF0000u; }) >> 63, 1u);
  EXPECT_EQ(HashOf(9, 1, [](uint32_t x, uint32_t) { return x == 0 ? 0x00000000u : 0xFFF0F0F0u; }) >> 63, 1u);
}

TEST(DifferenceHashTest, TheSamePictureAtOtherSizesKeepsItsHash) {
  const uint64_t original = SceneHash(640, 480);
  EXPECT_NE(original, 0u);
  EXPECT_NE(original, ~uint64_t{0});
  for (const auto& [width, height] : {std::pair{320u, 240u}, {1280u, 960u}, {333u, 251u}, {64u, 48u}}) {
    EXPECT_EQ(SceneHash(width, height), original) << width << "x" << height;
  }
  EXPECT_NE(SceneHash(640, 480, 1), original);  // another picture
}

TEST(DifferenceHashTest, TinyAndExtremePicturesAreSpreadOverTheGrid) {
  // One pixel covers every cell: all equal.
  EXPECT_EQ(HashOf(1, 1, [](uint32_t, uint32_t) { return GreyPixel(77); }), 0u);
  // Two columns: the left one covers cells 0 to 3 and half of 4, so cell 4
  // is darker than 3 and brighter than 5.
  EXPECT_EQ(HashOf(2, 1, [](uint32_t x, uint32_t) { return GreyPixel(x == 0 ? 255 : 0); }),
            0x1818181818181818u);
  // A very wide picture, rows added out of order and once more past the end.
  GreyGrid grid(100'000, 2);
  std::vector<uint32_t> row(100'000);
  for (uint32_t x = 0; x < row.size(); ++x) row[x] = GreyPixel(x < 50'000 ? 255 : 0);
  grid.AddRow(1, row.data());
  grid.AddRow(0, row.data());
  grid.AddRow(2, row.data());
  EXPECT_EQ(grid.DifferenceHash(), 0x1818181818181818u);
}

// Records which files reach it and answers with a fixed hash.
class FakeDecoder final : public PictureDecoder {
 public:
  std::optional<uint64_t> LookHash(std::string_view path) override {
    decoded.emplace_back(path);
    return answer;
  }
  std::optional<uint64_t> answer = 0xABCDEF0123456789u;
  std::vector<std::string> decoded;
};

TEST(DifferenceHashTest, OnlyPicturesOfASaneSizeAreDecoded) {
  TempTree tree;
  const std::string png_start("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
  tree.Write(u8"small.png", png_start + std::string("\0\0\x02\x80\0\0\x01\xE0", 8) + std::string(20, '\0'));
  tree.Write(u8"huge.png", png_start + std::string("\0\x01\0\0\0\x01\0\0", 8) + std::string(20, '\0'));
  tree.Write(u8"text.txt", "no picture at all, not even a long one");
  FakeDecoder decoder;

  const FileAnswer small = PictureLookAnswer(SystemFileSystem(), decoder, tree.Path("small.png"));
  EXPECT_EQ(small.fragment, "abcdef0123456789");
  EXPECT_EQ(small.message, "");
  decoder.answer.reset();
  EXPECT_EQ(PictureLookAnswer(SystemFileSystem(), decoder, tree.Path("small.png")).fragment, std::nullopt);
  EXPECT_EQ(PictureLookAnswer(SystemFileSystem(), decoder, tree.Path("text.txt")).fragment, std::nullopt);
  const FileAnswer huge = PictureLookAnswer(SystemFileSystem(), decoder, tree.Path("huge.png"));
  EXPECT_EQ(huge.fragment, std::nullopt);
  EXPECT_EQ(huge.message, "画像が大きすぎるため見た目を比べませんでした(" + tree.Path("huge.png") + ")\r\n");
  const FileAnswer missing = PictureLookAnswer(SystemFileSystem(), decoder, tree.Path("gone.png"));
  EXPECT_EQ(missing.message, "画像を読み取れませんでした(" + tree.Path("gone.png") + ")\r\n");
  EXPECT_EQ(decoder.decoded, (std::vector<std::string>{tree.Path("small.png"), tree.Path("small.png")}));
}

}  // namespace
}  // namespace twinseek
