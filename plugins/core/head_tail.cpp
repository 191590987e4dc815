#include "core/head_tail.h"

#include <memory>
#include <vector>

#include "core/hash_text.h"

namespace twinseek {
namespace {

constexpr size_t kChunkSize = 64 * 1024;

// Adds count bytes from the reader's position to the hash; false when they
// cannot all be read.
bool AddBytes(FileReader& reader, uint64_t count, std::vector<char>& buffer, Fnv1a64& hash) {
  while (count > 0) {
    const size_t wanted = count < buffer.size() ? static_cast<size_t>(count) : buffer.size();
    const std::optional<size_t> read = reader.Read(buffer.data(), wanted);
    if (!read || *read == 0) return false;
    hash.Add(buffer.data(), *read);
    count -= *read;
  }
  return true;
}

}  // namespace

void Fnv1a64::Add(const void* data, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(data);
  uint64_t value = value_;
  for (size_t i = 0; i < size; ++i) {
    value ^= bytes[i];
    value *= 0x100000001B3u;
  }
  value_ = value;
}

std::optional<uint64_t> HeadTailHash(FileReader& reader) {
  const uint64_t size = reader.Size();
  Fnv1a64 hash;
  unsigned char size_bytes[8];
  for (int i = 0; i < 8; ++i) size_bytes[i] = static_cast<unsigned char>(size >> (8 * i));
  hash.Add(size_bytes, sizeof size_bytes);

  std::vector<char> buffer(kChunkSize);
  if (size <= 2 * kHeadTailSpan) {
    if (!AddBytes(reader, size, buffer, hash)) return std::nullopt;
  } else {
    if (!AddBytes(reader, kHeadTailSpan, buffer, hash)) return std::nullopt;
    if (!reader.Seek(size - kHeadTailSpan)) return std::nullopt;
    if (!AddBytes(reader, kHeadTailSpan, buffer, hash)) return std::nullopt;
  }
  return hash.value();
}

FileAnswer HeadTailAnswer(FileSystem& file_system, std::string_view path) {
  constexpr std::string_view kUnreadable = "ファイルの先頭と末尾を読み取れませんでした";
  const std::unique_ptr<FileReader> reader = file_system.OpenRead(path);
  if (reader == nullptr) return Unanswered(kUnreadable, path);
  const std::optional<uint64_t> hash = HeadTailHash(*reader);
  if (!hash) return Unanswered(kUnreadable, path);
  FileAnswer answer;
  answer.fragment = HashText(*hash);
  return answer;
}

}  // namespace twinseek
