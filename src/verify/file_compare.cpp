#include "verify/file_compare.h"

#include <cstring>

#include "tree/marks.h"

namespace twinseek {

FileComparer::FileComparer(FileSystem& file_system)
    : file_system_(file_system),
      first_(std::make_unique_for_overwrite<char[]>(kChunkSize)),
      second_(std::make_unique_for_overwrite<char[]>(kChunkSize)) {}

std::optional<size_t> FileComparer::ReadChunk(FileReader& reader, char* buffer) {
  size_t filled = 0;
  while (filled < kChunkSize) {
    const std::optional<size_t> count = reader.Read(buffer + filled, kChunkSize - filled);
    if (!count) return std::nullopt;
    if (*count == 0) break;
    filled += *count;
  }
  return filled;
}

Comparison FileComparer::CompareFiles(std::string_view a, std::string_view b) {
  const std::unique_ptr<FileReader> first = file_system_.OpenRead(a);
  if (first == nullptr) return Comparison::kFirstUnreadable;
  const std::unique_ptr<FileReader> second = file_system_.OpenRead(b);
  if (second == nullptr) return Comparison::kSecondUnreadable;
  for (;;) {
    const std::optional<size_t> first_count = ReadChunk(*first, first_.get());
    if (!first_count) return Comparison::kFirstUnreadable;
    const std::optional<size_t> second_count = ReadChunk(*second, second_.get());
    if (!second_count) return Comparison::kSecondUnreadable;
    if (*first_count != *second_count) return Comparison::kDifferent;
    if (*first_count == 0) return Comparison::kIdentical;
    if (std::memcmp(first_.get(), second_.get(), *first_count) != 0) return Comparison::kDifferent;
  }
}

namespace {

constexpr std::string_view kCheckHeader = "検査:";
constexpr std::string_view kNoFilesToCompare = "比較するファイルがありません\r\n";
constexpr std::string_view kPairIndent = "  ";
constexpr std::string_view kSameContent = "は同一内容です\r\n\r\n";
constexpr std::string_view kDifferentContent = "は同一内容ではありません\r\n\r\n";
constexpr std::string_view kUnreadableHead = "は比較できません。ファイルの読み取りに失敗しました(";
constexpr std::string_view kAllSameContent = "すべて同一内容です。\r\n\r\n";
constexpr std::string_view kGroupInterrupted = "検査中断\r\n";

// What the pairs of one group came to.
struct PairTally {
  std::string lines;
  int identical = 0;
  int different = 0;
  bool all_identical = true;
};

size_t CountFiles(const ResultTree& tree, NodeHandle group) {
  size_t count = 0;
  for (NodeHandle file = tree.FirstFile(group); file != kNoNode; file = tree.Next(file)) ++count;
  return count;
}

// Compares base with every file after it, each pair written to the tally.
void CompareWithLaterFiles(const ResultTree& tree, NodeHandle base, FileComparer& comparer,
                           PairTally& tally) {
  const std::string base_path = tree.Text(base);
  for (NodeHandle other = tree.Next(base); other != kNoNode; other = tree.Next(other)) {
    const std::string other_path = tree.Text(other);
    tally.lines.append(kPairIndent).append(base_path).append("\r\n");
    tally.lines.append(kPairIndent).append(other_path).append("\r\n");
    const Comparison comparison = comparer.CompareFiles(base_path, other_path);
    if (comparison == Comparison::kIdentical) {
      ++tally.identical;
      tally.lines.append(kSameContent);
      continue;
    }
    ++tally.different;
    tally.all_identical = false;
    if (comparison == Comparison::kDifferent) {
      tally.lines.append(kDifferentContent);
    } else {
      const std::string& unreadable = comparison == Comparison::kFirstUnreadable ? base_path : other_path;
      tally.lines.append(kUnreadableHead).append(unreadable).append(")\r\n\r\n");
    }
  }
}

// Takes every file of the group as the base in turn, until cancel asks to
// stop before a base; a stop discards every pair of the group.
PairTally CompareAllPairs(ResultTree& tree, NodeHandle group, const std::atomic<int>* cancel,
                          FileComparer& comparer) {
  PairTally tally;
  for (NodeHandle base = tree.FirstFile(group); base != kNoNode; base = tree.Next(base)) {
    if (cancel != nullptr && *cancel == 1) {
      tally = PairTally{std::string(kGroupInterrupted), 0, 0, false};
      break;
    }
    tree.PutImage(base, MarkComparing);
    CompareWithLaterFiles(tree, base, comparer, tally);
  }
  return tally;
}

int MarkOf(const PairTally& tally) {
  if (tally.different == 0 && tally.identical > 0) return MarkDuplicate;
  if (tally.identical == 0 && tally.different > 0) return MarkUnique;
  return MarkNone;
}

}  // namespace

void CompareGroup(ResultTree& tree, NodeHandle node, std::string& result, const std::atomic<int>* cancel,
                  FileComparer& comparer) {
  if (!tree.IsGroup(node)) return;
  result.append(kCheckHeader).append(tree.Text(node)).append("\r\n");
  if (CountFiles(tree, node) < 2) {
    result.append(kNoFilesToCompare);
    SetMark(tree, node, MarkUnique);
    return;
  }
  const PairTally tally = CompareAllPairs(tree, node, cancel, comparer);
  if (tally.all_identical) {
    result.append(kAllSameContent);
  } else {
    result.append(tally.lines);
  }
  SetMark(tree, node, MarkOf(tally));
}

void CompareUnmarkedGroups(ResultTree& tree, std::string& result, const std::atomic<int>& cancel,
                           FileComparer& comparer) {
  NodeHandle group = tree.FirstGroup();
  for (; group != kNoNode && cancel != 1; group = tree.Next(group)) {
    if (tree.GetMark(group) != MarkNone) continue;
    tree.ScrollToTop(group);
    CompareGroup(tree, group, result, &cancel, comparer);
  }
  if (cancel != 1) return;
  tree.Select(group);
  result.append(kCompareInterruptedLine);
}

}  // namespace twinseek
