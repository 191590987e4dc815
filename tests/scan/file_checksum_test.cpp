// The checksum of whole files on real temporary files, read in chunks of
// any size, the size limit, and files that fail, shrink or grow while read.
#include "scan/file_checksum.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "base/crc32.h"
#include "base/file_system_wrapper.h"
#include "support/temp_tree.h"

namespace twinseek {
namespace {

using testing::TempTree;

std::string Pattern(size_t length) {
  std::string data(length, '\0');
  for (size_t i = 0; i < length; ++i) data[i] = static_cast<char>((i * 7919) >> 3);
  return data;
}

uint32_t ChecksumOf(std::string_view data) { return Checksum(data.data(), data.size()); }

std::string ReadFailure(std::string_view path) {
  return "ファイルの読み取りに失敗しました(" + std::string(path) + ")\r\n";
}

TEST(FileChecksumTest, ChecksumsWholeFilesWhateverTheChunkSize) {
  TempTree disk;
  disk.Write(u8"check.txt", "123456789");
  disk.Write(u8"empty", "");
  const std::string pattern = Pattern(10'007);
  disk.Write(u8"pattern.bin", pattern);
  disk.MakeFolder(u8"folder");

  for (const size_t chunk : {size_t{3}, size_t{4096}, FileChecksum::kDefaultChunkSize}) {
    FileChecksum checksum(SystemFileSystem(), 0, chunk);
    std::string log;
    EXPECT_EQ(checksum.Compute(disk.Path("check.txt"), log), 0xCBF43926u) << chunk;
    EXPECT_EQ(checksum.Compute(disk.Path("pattern.bin"), log), ChecksumOf(pattern)) << chunk;
    EXPECT_EQ(checksum.Compute(disk.Path("empty"), log), 0u);
    EXPECT_EQ(log, "") << chunk;
  }
  FileChecksum checksum(SystemFileSystem(), 0);
  std::string log;
  EXPECT_EQ(checksum.Compute(disk.Path("missing.txt"), log), std::nullopt) << "no checksum, not 0";
  EXPECT_EQ(checksum.Compute(disk.Path("folder"), log), std::nullopt);
  EXPECT_EQ(log, ReadFailure(disk.Path("missing.txt")) + ReadFailure(disk.Path("folder")));
}

TEST(FileChecksumTest, SkipsFilesAboveTheLimit) {
  TempTree disk;
  disk.Write(u8"1024.bin", Pattern(1024));
  disk.Write(u8"1025.bin", Pattern(1025));
  disk.Write(u8"big", "");
  disk.Resize(u8"big", (uint64_t{5} << 30) + 1);
  const auto skip = [&](std::string_view name, std::string_view need) {
    return "ファイルサイズ制限(1KB)によりCRC16検査をスキップしました。(" + disk.Path(name) +
           ")(need:" + std::string(need) + "KBytes)\r\n";
  };

  FileChecksum checksum(SystemFileSystem(), 1);
  std::string log;
  EXPECT_EQ(checksum.Compute(disk.Path("1024.bin"), log), ChecksumOf(Pattern(1024)));
  EXPECT_EQ(log, "");
  EXPECT_EQ(checksum.Compute(disk.Path("1025.bin"), log), 0u);
  EXPECT_EQ(checksum.Compute(disk.Path("big"), log), 0u);
  EXPECT_EQ(log, skip("1025.bin", "1") + skip("big", "5242880"));

  // 4194304 KB is 2^32 bytes: a limit that must not wrap around to 0.
  FileChecksum four_gib(SystemFileSystem(), 4'194'304);
  log.clear();
  EXPECT_EQ(four_gib.Compute(disk.Path("1025.bin"), log), ChecksumOf(Pattern(1025)));
  EXPECT_EQ(log, "");
}

// The system's files through readers that add size_change to the size they
// report (as if the file shrank or grew after it was opened) or fail at
// their second read.
class ChangingFileSystem final : public FileSystemWrapper {
 public:
  int64_t size_change = 0;
  bool fail_second_read = false;

  std::unique_ptr<FileReader> OpenRead(std::string_view path) override {
    std::unique_ptr<FileReader> real = target().OpenRead(path);
    return real ? std::make_unique<Reader>(std::move(real), *this) : nullptr;
  }

 private:
  struct Reader final : FileReader {
    Reader(std::unique_ptr<FileReader> real, const ChangingFileSystem& owner)
        : real(std::move(real)), owner(owner) {}
    uint64_t Size() const override { return real->Size() + owner.size_change; }
    std::optional<size_t> Read(void* buffer, size_t capacity) override {
      if (++reads == 2 && owner.fail_second_read) return std::nullopt;
      return real->Read(buffer, capacity);
    }
    std::unique_ptr<FileReader> real;
    const ChangingFileSystem& owner;
    int reads = 0;
  };
};

TEST(FileChecksumTest, AFileThatShrinksOrFailsWhileReadHasNoChecksum) {
  TempTree disk;
  const std::string content = Pattern(5000);
  disk.Write(u8"file.bin", content);
  const std::string path = disk.Path("file.bin");
  ChangingFileSystem changing;
  FileChecksum checksum(changing, 0, 1000);
  std::string log;

  changing.size_change = 1;
  EXPECT_EQ(checksum.Compute(path, log), std::nullopt);
  EXPECT_EQ(log, ReadFailure(path)) << "the file ended before its size";
  changing.size_change = 0;
  changing.fail_second_read = true;
  EXPECT_EQ(checksum.Compute(path, log), std::nullopt);
  EXPECT_EQ(log, ReadFailure(path) + ReadFailure(path));

  // A file that grew is checksummed over the size it had when opened.
  changing.fail_second_read = false;
  changing.size_change = -1000;
  log.clear();
  EXPECT_EQ(checksum.Compute(path, log), ChecksumOf(std::string_view(content).substr(0, 4000)));
  EXPECT_EQ(log, "");
}

TEST(FileChecksumTest, AStopBetweenChunksGivesTheFileUpWithoutALine) {
  TempTree disk;
  const std::string content = Pattern(5000);
  disk.Write(u8"file.bin", content);
  const std::string path = disk.Path("file.bin");
  FileChecksum checksum(SystemFileSystem(), 0, 1000);
  std::string log;
  int asked = 0;
  // Stops before the third chunk.
  EXPECT_EQ(checksum.Compute(path, log, [&] { return ++asked == 3; }), std::nullopt);
  EXPECT_EQ(asked, 3);
  EXPECT_EQ(log, "") << "a file given up is no read failure";
  // Never asked to stop: the whole file.
  EXPECT_EQ(checksum.Compute(path, log, [] { return false; }), ChecksumOf(content));
  EXPECT_EQ(log, "");
}

TEST(FileChecksumTest, ReportsABufferThatCannotBeHad) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the sanitizer ends the process on an impossible allocation";
#endif
  TempTree disk;
  disk.Write(u8"a.txt", "abc");
  disk.Write(u8"empty", "");
  const size_t impossible = std::numeric_limits<size_t>::max() / 2;
  FileChecksum checksum(SystemFileSystem(), 0, impossible);
  std::string log;
  EXPECT_EQ(checksum.Compute(disk.Path("empty"), log), 0u) << "an empty file needs no buffer";
  EXPECT_EQ(checksum.Compute(disk.Path("a.txt"), log), std::nullopt);
  EXPECT_EQ(checksum.Compute(disk.Path("a.txt"), log), std::nullopt);
  const std::string lines = "メモリが足りません(リクエスト " + std::to_string(impossible / 1024) + "KB)\r\n" +
                            ReadFailure(disk.Path("a.txt"));
  EXPECT_EQ(log, lines + lines) << "every file asks for the buffer again";
}

}  // namespace
}  // namespace twinseek
