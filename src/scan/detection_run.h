// One run of the duplicate detection over a scan list, without any window:
// the Windows program's detection worker runs it on its thread with the main
// window's views, the console tool runs it with none.
//
// A run:
// 1. view: hides the tree, its label and the status line, shows the progress
//    bar with the range 0 .. number of paths;
// 2. for each path from the first: stops before it when the cancel flag is
//    set; sets the progress position (0-based); reads the path's entry (a
//    missing path and a folder each add an error line and are skipped);
//    builds the duplicate key (with the checksum and the plug-in fragments
//    when ticked) and registers the file under it; a file whose checksum is
//    wanted but whose content cannot be read (FileChecksum's lines tell why)
//    is left out as well: no key, no count;
// 3. recomputes the summary mark of every group of the tree, first to last,
//    those of earlier scans too (also after a stop);
// 4. view: shows the tree, its label and the status line again;
// 5. when the cancel flag is set, adds the interruption line;
// 6. with a prompt: when the error log is not empty, asks whether to view it
//    (Yes, No; exclamation) and on Yes shows it in the report window; then
//    tells how many new duplicate candidates were found (information), or
//    that none were (exclamation).
// Error log lines, each ending in "\r\n" (path as in the scan list):
//   "情報の取得ができません(<path>)"           the path's entry cannot be read
//   "ファイル名を扱えません(<path>)"           code page 932 cannot hold the
//                                              name (path shows it with "?")
//   "ﾃﾞｨﾚｸﾄﾘは指定できません(<path>)"          the path is a folder
//   those of FileChecksum, the plug-ins' messages unchanged, and
//   "重複検査はユーザーの指示で中断されました。"  once, after a stop
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "base/user_prompt.h"
#include "scan/duplicate_key.h"
#include "scan/checksum_ahead.h"
#include "scan/file_checksum.h"
#include "scan/key_index.h"
#include "scan/plugin_slot.h"
#include "scan/scan_list.h"
#include "tree/result_tree.h"

namespace twinseek {

// What the user sees of a run besides the tree: the progress bar in place of
// the tree, its label and the status line.
class DetectionView {
 public:
  virtual ~DetectionView() = default;
  // Hides the tree, its label and the status line; shows the progress bar
  // with the range 0 .. total.
  virtual void BeginProgress(size_t total) = 0;
  virtual void SetProgress(size_t position) = 0;
  // Shows the label, the status line and the tree; hides the progress bar.
  virtual void EndProgress() = 0;
};

// The long-lived state a run works on, owned by the main window (or the
// console tool), and how the run reaches the user. view and prompt may be
// null: no progress is shown, no question asked.
struct DetectionSetup {
  Conditions conditions;
  uint32_t load_limit_kb = 0;  // 0: no limit on the checksummed files
  FileSystem& file_system;
  ResultTree& tree;
  KeyIndex& index;
  PluginSlots& plugins;
  DetectionView* view = nullptr;
  UserPrompt* prompt = nullptr;
};

struct DetectionResult {
  int new_duplicates = 0;  // files that joined a group; opening a group counts once
  std::string error_log;
  bool interrupted = false;  // the cancel flag was set at the end of the run
};

// The closing message of a run that found count new duplicate candidates.
std::string NewDuplicatesMessage(int count);
// The closing message of a run that found none.
inline constexpr std::string_view kNoNewDuplicatesMessage =
    "新たな重複ファイルは発見されませんでした。\r\n"
    "別のフォルダまたは別のファイル名で続けて検索することができます。\r\n"
    "(検索条件を変えて検索する場合は一度リセットする必要があります)";

class DetectionRun {
 public:
  explicit DetectionRun(const DetectionSetup& setup);
  DetectionRun(const DetectionRun&) = delete;
  DetectionRun& operator=(const DetectionRun&) = delete;

  // Runs over scan_list once; cancel is read once before each path and once
  // after the last. The scan list is neither changed nor kept. An item whose
  // entry the walk has read already is not read again. With the checksum
  // condition, the contents of the next files are read on helper threads
  // while the run registers the files in the list's order.
  DetectionResult Run(const ScanList& scan_list, const std::atomic<int>& cancel);

 private:
  void ScanFile(const ScanItem& item, size_t position, ChecksumAhead* checksums);
  void SummarizeGroups();
  void Conclude();

  DetectionSetup setup_;
  std::string key_;  // reused for every file
  DetectionResult result_;
};

}  // namespace twinseek
