// The full comparison: whether two files hold exactly the same bytes, and
// the byte-by-byte check of every pair of files of one group, written as a
// text for the report window and stated by one mark on the group and all its
// files.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/file_system.h"
#include "tree/result_tree.h"

namespace twinseek {

// The last line of the background comparison's report when the user stopped it.
inline constexpr std::string_view kCompareInterruptedLine = "検査はユーザーの指示で中断されました。\r\n";

// Refusal of the background comparison while a worker runs.
inline constexpr std::string_view kBackgroundWorkRunningMessage =
    "バックグラウンドで動作している処理があります。";

// What comparing two files came to. A file that cannot be opened or read is
// named: the comparison then says nothing about the contents.
enum class Comparison { kIdentical, kDifferent, kFirstUnreadable, kSecondUnreadable };

// Compares files chunk by chunk with two read buffers of kChunkSize bytes
// each, taken when the comparer is made and kept until it goes: one comparer
// serves a whole command, every pair of it. Not for two threads at once.
class FileComparer {
 public:
  static constexpr size_t kChunkSize = 0x80000;

  explicit FileComparer(FileSystem& file_system);
  FileComparer(const FileComparer&) = delete;
  FileComparer& operator=(const FileComparer&) = delete;

  // kIdentical when both files open and hold exactly the same bytes. The
  // sizes are not compared beforehand: both files are read chunk by chunk,
  // each chunk filled up to kChunkSize or the end of its file (however the
  // reader hands the bytes out), and the comparison stops at the first chunk
  // that differs in length or content (kDifferent). A file that cannot be
  // opened or read gives kFirstUnreadable (a) or kSecondUnreadable (b): the
  // first failure met, a before b.
  Comparison CompareFiles(std::string_view a, std::string_view b);

 private:
  // Fills buffer from reader up to kChunkSize bytes or the file's end; the
  // number of bytes, or nothing on a read error.
  std::optional<size_t> ReadChunk(FileReader& reader, char* buffer);

  FileSystem& file_system_;
  std::unique_ptr<char[]> first_;
  std::unique_ptr<char[]> second_;
};

// Compares the files of a group pair by pair and appends the group's block
// to result. Given a file node it does nothing.
//
// The block: "検査:" with the group's key and "\r\n"; then, for a group of
// fewer than two files, "比較するファイルがありません\r\n" and the mark 2.
// Otherwise each file in tree order becomes the base: it shows the mark 4
// (only the file itself, the group's summary untouched) and is compared with
// every file after it, each pair written as "  base\r\n  other\r\n" and
// "は同一内容です\r\n\r\n" or "は同一内容ではありません\r\n\r\n", or, when
// one of the two could not be opened or read,
// "は比較できません。ファイルの読み取りに失敗しました(<path>)\r\n\r\n"
// naming that file. When every pair was identical the block holds
// "すべて同一内容です。\r\n\r\n" instead of the pairs. Finally SetMark puts
// one mark on the group and every file, replacing whatever they showed: 1
// when all pairs were identical, 2 when none was, 0 when both kinds
// occurred; a pair that could not be compared counts as one that differs.
//
// cancel, when given, is read before each base only, so the pairs of a base
// are always finished. Seen at 1 it ends the group: the block holds
// "検査中断\r\n" in place of any pair lines, and the mark is 0.
void CompareGroup(ResultTree& tree, NodeHandle node, std::string& result, const std::atomic<int>* cancel,
                  FileComparer& comparer);

// The comparison of every group whose summary mark is 0, in tree order: each
// group is scrolled to the top of the view (ScrollToTop) and compared as by
// CompareGroup, its block appended to result. cancel is read before each
// group and before each base. Seen at 1 it ends the walk: the first group not
// examined is selected (nothing when it had passed the last; a group it
// interrupted counts as examined) and result ends with
// kCompareInterruptedLine.
void CompareUnmarkedGroups(ResultTree& tree, std::string& result, const std::atomic<int>& cancel,
                           FileComparer& comparer);

}  // namespace twinseek
