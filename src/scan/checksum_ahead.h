// Content checksums of a scan list computed ahead of the run that needs them,
// on helper threads, and handed over in the list's order: the run registers
// files one by one as before, while the reading of the next files' contents
// goes on beside it. Each file is read once, by a helper or, when no helper
// has reached it yet, by the run's own thread. The error lines of a file's
// checksum come with it, so the error log reads as if the run had read every
// file itself.
//
// A stop (the cancel flag, or the end of the run) is seen by the helpers
// between two chunks: they give up the file they are reading, drop what they
// read of it, and take no other. The run's own file is always finished: when
// it waits for a file that a helper gave up, it reads that file itself.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/file_system.h"
#include "scan/file_checksum.h"
#include "scan/scan_list.h"

namespace twinseek {

class ChecksumAhead {
 public:
  // Helpers take only the files whose entry the list holds (not folders, nor
  // names that cannot be held);
  // they stop when cancel is set. helpers may be 0: everything is then read
  // by Take. chunk_size as for FileChecksum.
  ChecksumAhead(FileSystem& file_system, uint32_t load_limit_kb, const ScanList& list,
                const std::atomic<int>& cancel, unsigned helpers,
                size_t chunk_size = FileChecksum::kDefaultChunkSize);
  // Stops the helpers and waits for them.
  ~ChecksumAhead();
  ChecksumAhead(const ChecksumAhead&) = delete;
  ChecksumAhead& operator=(const ChecksumAhead&) = delete;

  // The checksum of the file at position as FileChecksum::Compute answers it
  // (nothing when its content could not be read), its error lines appended
  // to error_log. Each position is taken once.
  std::optional<uint32_t> Take(size_t position, std::string& error_log);

  // One helper for each processor, two at least and four at most.
  static unsigned DefaultHelpers();

 private:
  enum SlotState : int { kFree = 0, kClaimed = 1, kDone = 2 };
  struct Slot {
    std::atomic<int> state{kFree};
    std::optional<uint32_t> checksum;
    std::string error_log;
  };

  void Help();
  bool Claim(Slot& slot);
  // Sets a claimed slot's state and wakes the run if it waits for it.
  void Settle(Slot& slot, SlotState state);
  bool Stopped() const { return stop_.load() != 0 || cancel_.load() != 0; }

  FileSystem& file_system_;
  uint32_t load_limit_kb_;
  size_t chunk_size_;
  const ScanList& list_;
  const std::atomic<int>& cancel_;
  std::unique_ptr<Slot[]> slots_;
  std::atomic<size_t> cursor_{0};
  std::atomic<int> stop_{0};
  // The run waits here for a file a helper is still reading or gives up.
  // (std::atomic's own wait loses wake-ups in the MinGW runtime and hung the
  // run.)
  std::mutex done_mutex_;
  std::condition_variable done_;
  FileChecksum own_checksum_;
  std::vector<std::thread> helpers_;
};

}  // namespace twinseek
