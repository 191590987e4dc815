// A FileReader over bytes made on demand, for the plug-ins' header and hash
// code: it counts what is read, can hold any size (the bytes come from a
// function, so a 3 GiB file costs no memory), and can fail or end early.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "base/file_system.h"

namespace twinseek::testing {

class MemoryReader final : public FileReader {
 public:
  // A file of these bytes.
  explicit MemoryReader(std::string bytes)
      : size_(bytes.size()), byte_at_([bytes = std::move(bytes)](uint64_t at) { return bytes[at]; }) {}
  // A file of size bytes, byte_at(i) being byte i.
  MemoryReader(uint64_t size, std::function<char(uint64_t)> byte_at)
      : size_(size), byte_at_(std::move(byte_at)) {}

  // Reads fail once this many bytes were read (the count read so far stays).
  void FailAfter(uint64_t bytes) { fail_after_ = bytes; }
  // The file ends after this many bytes, whatever its size says.
  void EndAt(uint64_t bytes) { end_ = bytes; }
  void RefuseSeeks() { seekable_ = false; }

  uint64_t bytes_read() const { return bytes_read_; }
  uint64_t furthest() const { return furthest_; }  // the end of the furthest byte read

  uint64_t Size() const override { return size_; }

  std::optional<size_t> Read(void* buffer, size_t capacity) override {
    if (fail_after_ && bytes_read_ >= *fail_after_) return std::nullopt;
    const uint64_t end = std::min(size_, end_.value_or(size_));
    const uint64_t count = position_ >= end ? 0 : std::min<uint64_t>(capacity, end - position_);
    char* out = static_cast<char*>(buffer);
    for (uint64_t i = 0; i < count; ++i) out[i] = byte_at_(position_ + i);
    position_ += count;
    bytes_read_ += count;
    furthest_ = std::max(furthest_, position_);
    return static_cast<size_t>(count);
  }

  bool Seek(uint64_t offset) override {
    if (!seekable_) return false;
    position_ = offset;
    return true;
  }

 private:
  uint64_t size_;
  std::function<char(uint64_t)> byte_at_;
  uint64_t position_ = 0;
  uint64_t bytes_read_ = 0;
  uint64_t furthest_ = 0;
  std::optional<uint64_t> fail_after_;
  std::optional<uint64_t> end_;
  bool seekable_ = true;
};

}  // namespace twinseek::testing
