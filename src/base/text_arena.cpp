#include "base/text_arena.h"

#include <cstring>

namespace twinseek {

const char* TextArena::Store(std::string_view first, std::string_view second) {
  const size_t size = first.size() + second.size();
  if (size > left_) {
    // A text larger than a block gets a block of its own; the current block
    // stays in use for the next small ones.
    if (size > kBlockSize / 4) {
      blocks_.push_back(std::make_unique_for_overwrite<char[]>(size == 0 ? 1 : size));
      char* own = blocks_.back().get();
      if (!first.empty()) std::memcpy(own, first.data(), first.size());
      if (!second.empty()) std::memcpy(own + first.size(), second.data(), second.size());
      return own;
    }
    blocks_.push_back(std::make_unique_for_overwrite<char[]>(kBlockSize));
    free_ = blocks_.back().get();
    left_ = kBlockSize;
  }
  char* text = free_;
  if (!first.empty()) std::memcpy(text, first.data(), first.size());
  if (!second.empty()) std::memcpy(text + first.size(), second.data(), second.size());
  free_ += size;
  left_ -= size;
  return text;
}

void TextArena::Clear() {
  blocks_.clear();
  free_ = nullptr;
  left_ = 0;
}

}  // namespace twinseek
