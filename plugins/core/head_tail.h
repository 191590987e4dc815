// The condition of the head-and-tail plug-in (先頭と末尾): a 64-bit hash of a
// file's size, its first MiB and its last MiB (the whole file when it holds
// at most 2 MiB). Files equal in these are probable copies: large videos and
// archives are grouped after reading 2 MiB each, where a checksum of the
// contents would read them whole. Files that differ only between their first
// and last MiB get the same hash.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "core/file_answer.h"

namespace twinseek {

inline constexpr uint64_t kHeadTailSpan = uint64_t{1} << 20;

// FNV-1a, 64 bits: fed byte by byte, any change of one byte changes the
// value.
class Fnv1a64 {
 public:
  void Add(const void* data, size_t size);
  uint64_t value() const { return value_; }

 private:
  uint64_t value_ = 0xCBF29CE484222325u;
};

// FNV-1a of the size (8 bytes, least significant first), then the bytes
// from 0 to the end of the head, then the tail's, read from the reader's
// start (its position afterwards is anywhere). Nothing when reading fails
// or the file delivers fewer bytes than its size said.
std::optional<uint64_t> HeadTailHash(FileReader& reader);

// The plug-in's answer for one file: the hash's text, or nothing and the
// message "ファイルの先頭と末尾を読み取れませんでした(<path>)" and a line break.
FileAnswer HeadTailAnswer(FileSystem& file_system, std::string_view path);

}  // namespace twinseek
