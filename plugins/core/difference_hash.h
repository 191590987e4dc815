// The condition of the picture-look plug-in (画像の見た目): a difference hash
// of the picture. The picture is reduced to 9 x 8 grey cells, each the mean
// of the area it covers; each of the 64 bits tells whether a cell is
// brighter than its right neighbour. The same photo saved at another size or
// JPEG quality keeps these comparisons in most cases, so its hash stays the
// same; pictures that merely look alike usually differ in a few bits, and
// the condition groups equal hashes only.
#pragma once

#include <array>
#include <cstdint>

namespace twinseek {

inline constexpr uint32_t kLookColumns = 9;
inline constexpr uint32_t kLookRows = 8;
// Larger pictures are not decoded (their pixels alone would take 400 MB).
inline constexpr uint64_t kLargestLookPixels = 100'000'000;

// Accumulates the rows of one picture into the 9 x 8 grey cells, with exact
// area weights, so that any size maps onto the grid alike.
class GreyGrid {
 public:
  // A picture of width x height pixels, both at least 1, at most
  // kLargestLookPixels in all.
  GreyGrid(uint32_t width, uint32_t height);

  // Adds row y (0 to height - 1, in any order, each once) from width pixels
  // 0xAARRGGBB, laid over white where they are transparent. Rows outside the
  // picture are ignored.
  void AddRow(uint32_t y, const uint32_t* pixels);

  // The 64 bits, row by row from the top, left to right: bit 63 compares
  // cells 0 and 1 of the first row; a bit is 1 when the left cell is the
  // brighter one.
  uint64_t DifferenceHash() const;

 private:
  uint32_t width_;
  uint32_t height_;
  // Weighted grey sums; every cell's weights add up to the same total, so
  // the sums compare as the means do.
  std::array<uint64_t, kLookColumns * kLookRows> sums_{};
};

}  // namespace twinseek
