// Texts kept for a long time in few large blocks instead of one allocation
// each: a text stored stays where it is, unchanged, until Clear. There is no
// freeing of a single text; what a caller gives up stays until Clear.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace twinseek {

class TextArena {
 public:
  TextArena() = default;
  TextArena(const TextArena&) = delete;
  TextArena& operator=(const TextArena&) = delete;

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
