// The content checksum of whole files (the CRC-32 that the conditions call
// "CRC16"), read in chunks through one buffer that lives as long as the
// object: a detection run makes one and uses it for every file.
//
// Compute(path) answers the file's CRC-32; 0 for an empty file (no line) and
// for a file above the size limit, which is skipped on purpose:
//     "ファイルサイズ制限(<limit>KB)によりCRC16検査をスキップしました。(<path>)(need:<size/1024>KBytes)\r\n"
// It answers nothing when the content could not be read, with lines added to
// the error log (path written as given):
//   cannot open, read error, or the file ends before the size it had when
//   opened (it shrank):
//     "ファイルの読み取りに失敗しました(<path>)\r\n"
//   the chunk buffer cannot be had:
//     "メモリが足りません(リクエスト <chunk/1024>KB)\r\n" then the read failure line
// A file nobody could read has no checksum at all: it must never pass for a
// file whose checksum is 0. A file that grows while it is read is
// checksummed over the size it had when opened, as one read of that size
// would: the key's size fragment stands for the same moment.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/crc32.h"
#include "base/file_system.h"

namespace twinseek {

class FileChecksum {
 public:
  static constexpr size_t kDefaultChunkSize = size_t{4} << 20;

  // load_limit_kb: files above this many KB get no checksum; 0 means no
  // limit. chunk_size: the bytes read at a time (at least 1); the buffer is
  // allocated at the first file that needs it, and again at a later file if
  // that failed.
  FileChecksum(FileSystem& file_system, uint32_t load_limit_kb, size_t chunk_size = kDefaultChunkSize);
  FileChecksum(const FileChecksum&) = delete;
  FileChecksum& operator=(const FileChecksum&) = delete;

  std::optional<uint32_t> Compute(std::string_view path, std::string& error_log);

  // Asked before each chunk is read: true to give the file up.
  using StopTest = std::function<bool()>;
  // The same, except that the reading is given up as soon as stopped()
  // answers true before a chunk: then nothing is answered and no line added,
  // and the caller drops the file (at most one chunk is read after the stop).
  std::optional<uint32_t> Compute(std::string_view path, std::string& error_log, const StopTest& stopped);

 private:
  enum class ReadEnd { kWhole, kFailed, kStopped };

  bool EnsureBuffer(std::string& error_log);
  // Reads exactly size bytes of reader into crc; kFailed on a read error or
  // when the file ends sooner.
  ReadEnd ReadAll(FileReader& reader, uint64_t size, const StopTest& stopped, Crc32& crc);

  FileSystem& file_system_;
  uint32_t load_limit_kb_;
  size_t chunk_size_;
  std::unique_ptr<uint8_t[]> buffer_;
};

}  // namespace twinseek
