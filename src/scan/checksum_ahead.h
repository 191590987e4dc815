// Content checksums of a scan list computed ahead of the run that needs them,
// on helper threads, and handed over in the list's order: the run registers
// files one by one as before, while the reading of the next files' contents
// goes on beside it. Each file is read once, by a helper or, when no helper
// has reached it yet, by the run's own thread. The error lines of a file's
// checksum come with it, so the error log reads as if the run had read every
// file itself.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
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
  // by Take.
  ChecksumAhead(FileSystem& file_system, uint32_t load_limit_kb, const ScanList& list,
                const std::atomic<int>& cancel, unsigned helpers);
  // Stops the helpers and waits for them.
  ~ChecksumAhead();
  ChecksumAhead(const ChecksumAhead&) = delete;
  ChecksumAhead& operator=(const ChecksumAhead&) = delete;

  // The checksum of the file at position (0 when none could be computed), its
  // error lines appended to error_log. Each position is taken once.
  uint32_t Take(size_t position, std::string& error_log);

  // One helper for each processor, two at least and four at most.
  static unsigned DefaultHelpers();

 private:
  enum SlotState : int { kFree = 0, kClaimed = 1, kDone = 2 };
  struct Slot {
    std::atomic<int> state{kFree};
    uint32_t checksum = 0;
    std::string error_log;
  };

  void Help();
  bool Claim(Slot& slot);

  FileSystem& file_system_;
  uint32_t load_limit_kb_;
  const ScanList& list_;
  const std::atomic<int>& cancel_;
  std::unique_ptr<Slot[]> slots_;
  std::atomic<size_t> cursor_{0};
  std::atomic<int> stop_{0};
  // The run waits here for a file a helper is still reading. (std::atomic's
  // own wait loses wake-ups in the MinGW runtime and hung the run.)
  std::mutex done_mutex_;
  std::condition_variable done_;
  FileChecksum own_checksum_;
  std::vector<std::thread> helpers_;
};

}  // namespace twinseek
