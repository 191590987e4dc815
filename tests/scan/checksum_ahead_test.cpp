// The helpers that read checksums ahead of the run, stopped in the middle of
// files: every chunk read waits at a gate the test opens, so what the helpers
// read after a stop is counted exactly, whatever the threads' pace.
#include "scan/checksum_ahead.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>

#include "base/crc32.h"

namespace twinseek {
namespace {

constexpr size_t kChunk = 1000;
constexpr uint64_t kFileSize = 10 * kChunk;  // ten chunks, every byte 0x5A

// Files that exist only here, each kFileSize bytes of 0x5A, whose every
// read waits until the test opens the gate.
class GatedFiles final : public FileSystem {
 public:
  // Waits until count reads wait at the gate; false after 30 s.
  bool WaitForWaitingReads(int count) {
    std::unique_lock<std::mutex> hold(mutex_);
    return changed_.wait_for(hold, std::chrono::seconds(30), [&] { return waiting_ >= count; });
  }
  // Lets every read through, from now on.
  void OpenGate() {
    {
      const std::lock_guard<std::mutex> hold(mutex_);
      open_ = true;
    }
    changed_.notify_all();
  }
  std::map<std::string, int> Reads() {
    const std::lock_guard<std::mutex> hold(mutex_);
    return reads_;
  }

  bool ListFolder(std::string_view, const std::function<bool(const DirEntry&)>&) override { return false; }
  std::optional<DirEntry> GetEntry(std::string_view) override { return std::nullopt; }
  std::optional<uint32_t> GetAttributes(std::string_view) override { return std::nullopt; }
  std::optional<FileIdentity> GetIdentity(std::string_view) override { return std::nullopt; }
  std::unique_ptr<FileWriter> CreateForWrite(std::string_view) override { return nullptr; }
  std::unique_ptr<FileReader> OpenRead(std::string_view path) override {
    return std::make_unique<Reader>(*this, std::string(path));
  }

 private:
  struct Reader final : FileReader {
    Reader(GatedFiles& files, std::string path) : files(files), path(std::move(path)) {}
    uint64_t Size() const override { return kFileSize; }
    std::optional<size_t> Read(void* buffer, size_t capacity) override {
      files.PassGate(path);
      const size_t count = static_cast<size_t>(std::min<uint64_t>(capacity, kFileSize - offset));
      std::memset(buffer, 0x5A, count);
      offset += count;
      return count;
    }
    GatedFiles& files;
    std::string path;
    uint64_t offset = 0;
  };

  void PassGate(const std::string& path) {
    std::unique_lock<std::mutex> hold(mutex_);
    ++reads_[path];
    ++waiting_;
    changed_.notify_all();
    changed_.wait(hold, [&] { return open_; });
    --waiting_;
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
  int waiting_ = 0;
  std::map<std::string, int> reads_;
};

ScanList FourFiles() {
  ScanList list;
  for (const char* path : {"v0", "v1", "v2", "v3"}) {
    DirEntry entry;
    entry.name = path;
    entry.size = kFileSize;
    list.push_back({path, entry});
  }
  return list;
}

uint32_t WholeFileChecksum() {
  const std::string content(kFileSize, '\x5A');
  return Checksum(content.data(), content.size());
}

TEST(ChecksumAheadTest, AStopEndsTheHelpersAfterTheChunkTheyAreReading) {
  GatedFiles files;
  const ScanList list = FourFiles();
  std::atomic<int> cancel{0};
  {
    ChecksumAhead ahead(files, 0, list, cancel, 2, kChunk);
    ASSERT_TRUE(files.WaitForWaitingReads(2));  // each helper in its first chunk
    cancel = 1;
    files.OpenGate();
  }  // waits for the helpers
  EXPECT_EQ(files.Reads(), (std::map<std::string, int>{{"v0", 1}, {"v1", 1}}))
      << "one chunk of each file in progress, and no other file";
}

TEST(ChecksumAheadTest, TheRunReadsItselfTheFileAHelperGaveUp) {
  GatedFiles files;
  const ScanList list = FourFiles();
  std::atomic<int> cancel{0};
  ChecksumAhead ahead(files, 0, list, cancel, 2, kChunk);
  ASSERT_TRUE(files.WaitForWaitingReads(2));
  // The run asks for the first file while a helper holds it, then the user
  // stops the search: the run's file in progress is still finished.
  std::optional<uint32_t> taken;
  std::string log;
  std::thread run([&] { taken = ahead.Take(0, log); });
  cancel = 1;
  files.OpenGate();
  run.join();
  EXPECT_EQ(taken, WholeFileChecksum());
  EXPECT_EQ(log, "");
  EXPECT_EQ(files.Reads()["v0"], 1 + 10) << "the helper's one chunk, then the run's whole file";
}

}  // namespace
}  // namespace twinseek
