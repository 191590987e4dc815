#include "core/difference_hash.h"

#include <algorithm>

namespace twinseek {
namespace {

// The brightness of one pixel 0xAARRGGBB laid over white, in thousandths
// (0 to 255000): the luma of ITU-R BT.601.
uint32_t Grey(uint32_t pixel) {
  const uint32_t alpha = pixel >> 24;
  const uint32_t red = (pixel >> 16) & 0xFF;
  const uint32_t green = (pixel >> 8) & 0xFF;
  const uint32_t blue = pixel & 0xFF;
  const uint32_t luma = red * 299 + green * 587 + blue * 114;
  return (luma * alpha + 255'000 * (255 - alpha)) / 255;
}

// Calls visit(cell, weight) for each cell that pixel overlaps on a line of
// size pixels cut into cells: pixel p covers [cells * p, cells * (p + 1))
// and cell c covers [size * c, size * (c + 1)) on a line of size * cells
// units, and the overlap is the pixel's weight in the cell. Every cell gets
// weights that add up to size.
template <typename Visit>
void ForEachShare(uint32_t pixel, uint32_t size, uint32_t cells, Visit visit) {
  const uint64_t start = uint64_t{cells} * pixel;
  const uint64_t end = start + cells;
  for (uint64_t cell = start / size; cell < cells && size * cell < end; ++cell) {
    const uint64_t overlap = std::min(end, size * (cell + 1)) - std::max(start, size * cell);
    visit(static_cast<uint32_t>(cell), overlap);
  }
}

}  // namespace

GreyGrid::GreyGrid(uint32_t width, uint32_t height) : width_(width), height_(height) {}

void GreyGrid::AddRow(uint32_t y, const uint32_t* pixels) {
  if (y >= height_) return;
  std::array<uint64_t, kLookColumns> line{};
  for (uint32_t x = 0; x < width_; ++x) {
    const uint64_t grey = Grey(pixels[x]);
    ForEachShare(x, width_, kLookColumns,
                 [&](uint32_t cell, uint64_t weight) { line[cell] += grey * weight; });
  }
  ForEachShare(y, height_, kLookRows, [&](uint32_t row, uint64_t weight) {
    for (uint32_t cell = 0; cell < kLookColumns; ++cell)
      sums_[row * kLookColumns + cell] += line[cell] * weight;
  });
}

uint64_t GreyGrid::DifferenceHash() const {
  uint64_t hash = 0;
  for (uint32_t row = 0; row < kLookRows; ++row) {
    for (uint32_t column = 0; column + 1 < kLookColumns; ++column) {
      const uint64_t left = sums_[row * kLookColumns + column];
      const uint64_t right = sums_[row * kLookColumns + column + 1];
      hash = hash << 1 | (left > right ? 1 : 0);
    }
  }
  return hash;
}

}  // namespace twinseek
