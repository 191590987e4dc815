// Texts kept for a long time in few large blocks instead of one allocation
// each: a text stored stays where it is, unchanged, until Clear. There is no
// freeing of a single text; what a caller gives up stays until Clear.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace twinseek {

class TextArena {
 public:
  TextArena() = default;
  TextArena(const TextArena&) = delete;
  TextArena& operator=(const TextArena&) = delete;
  // The texts move with their blocks; the arena moved from is empty.
  TextArena(TextArena&& other) noexcept { *this = std::move(other); }
  TextArena& operator=(TextArena&& other) noexcept {
    blocks_ = std::move(other.blocks_);
    free_ = std::exchange(other.free_, nullptr);
    left_ = std::exchange(other.left_, 0);
    other.blocks_.clear();
    return *this;
  }

  // Copies the texts one after the other and answers where the first
  // begins; the others follow it directly.
  const char* Store(std::string_view first, std::string_view second = {});
  void Clear();

 private:
  static constexpr size_t kBlockSize = size_t{1} << 20;

  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;
  size_t left_ = 0;
};

}  // namespace twinseek
