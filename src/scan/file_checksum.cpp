#include "scan/file_checksum.h"

#include <algorithm>
#include <charconv>
#include <new>

namespace twinseek {

namespace {

void AppendDecimal(std::string& text, uint64_t value) {
  char digits[24];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
  text.append(digits, end.ptr);
}

void AddReadFailure(std::string& error_log, std::string_view path) {
  error_log += "ファイルの読み取りに失敗しました(";
  error_log += path;
  error_log += ")\r\n";
}

// The limit and the size are written whole as unsigned decimals, so neither a
// limit of 2^31 KB and more nor a file of 2 TiB and more shows a wrong number.
void AddLimitSkip(std::string& error_log, uint32_t limit_kb, std::string_view path, uint64_t size) {
  error_log += "ファイルサイズ制限(";
  AppendDecimal(error_log, limit_kb);
  error_log += "KB)によりCRC16検査をスキップしました。(";
  error_log += path;
  error_log += ")(need:";
  AppendDecimal(error_log, size / 1024);
  error_log += "KBytes)\r\n";
}

void AddOutOfMemory(std::string& error_log, size_t request) {
  error_log += "メモリが足りません(リクエスト ";
  AppendDecimal(error_log, request / 1024);
  error_log += "KB)\r\n";
}

}  // namespace

FileChecksum::FileChecksum(FileSystem& file_system, uint32_t load_limit_kb, size_t chunk_size)
    : file_system_(file_system),
      load_limit_kb_(load_limit_kb),
      chunk_size_(std::max<size_t>(chunk_size, 1)) {}

std::optional<uint32_t> FileChecksum::Compute(std::string_view path, std::string& error_log) {
  return Compute(path, error_log, {});
}

std::optional<uint32_t> FileChecksum::Compute(std::string_view path, std::string& error_log,
                                              const StopTest& stopped) {
  const std::unique_ptr<FileReader> reader = file_system_.OpenRead(path);
  if (!reader) {
    AddReadFailure(error_log, path);
    return std::nullopt;
  }
  const uint64_t size = reader->Size();
  if (load_limit_kb_ != 0 && size > uint64_t{load_limit_kb_} * 1024) {
    AddLimitSkip(error_log, load_limit_kb_, path, size);
    return 0;
  }
  if (size == 0) return 0;
  if (!EnsureBuffer(error_log)) {
    AddReadFailure(error_log, path);
    return std::nullopt;
  }
  Crc32 crc;
  switch (ReadAll(*reader, size, stopped, crc)) {
    case ReadEnd::kWhole:
      return crc.Finish();
    case ReadEnd::kFailed:
      AddReadFailure(error_log, path);
      return std::nullopt;
    case ReadEnd::kStopped:
      break;
  }
  return std::nullopt;  // given up: the caller drops the file
}

bool FileChecksum::EnsureBuffer(std::string& error_log) {
  if (buffer_) return true;
  buffer_.reset(new (std::nothrow) uint8_t[chunk_size_]);
  if (!buffer_) AddOutOfMemory(error_log, chunk_size_);
  return buffer_ != nullptr;
}

FileChecksum::ReadEnd FileChecksum::ReadAll(FileReader& reader, uint64_t size, const StopTest& stopped,
                                            Crc32& crc) {
  uint64_t left = size;
  while (left > 0) {
    if (stopped && stopped()) return ReadEnd::kStopped;
    const size_t wanted = static_cast<size_t>(std::min<uint64_t>(left, chunk_size_));
    const std::optional<size_t> count = reader.Read(buffer_.get(), wanted);
    if (!count || *count == 0) return ReadEnd::kFailed;
    crc.Update(buffer_.get(), *count);
    left -= *count;
  }
  return ReadEnd::kWhole;
}

}  // namespace twinseek
