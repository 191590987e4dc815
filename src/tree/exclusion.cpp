#include "tree/exclusion.h"

#include <string>

#include "tree/marks.h"

namespace twinseek {

namespace {

// Deletes the files of one group that carry code, each next file taken
// before the current one may go. Answers how many went and how many stayed.
struct FileTally {
  int removed = 0;
  int left = 0;
  int kept_marked = 0;  // files marked code that the path test kept
};

FileTally DeleteFilesMarked(ResultTree& tree, NodeHandle group, int code, const PathTest& leaves) {
  FileTally tally;
  for (NodeHandle file = tree.FirstFile(group); file != kNoNode;) {
    const NodeHandle next = tree.Next(file);
    const bool marked = tree.GetMark(file) == code;
    if (marked && (!leaves || leaves(tree.Text(file)))) {
      tree.Delete(file);
      ++tally.removed;
    } else {
      ++tally.left;
      if (marked) ++tally.kept_marked;
    }
    file = next;
  }
  return tally;
}

// Takes the files marked code out of one group and folds what is left: no
// file drops the group with its key, one file makes the group unique, more
// files get the summary again. A group that lost nothing is not touched. A
// file the path test kept (still in its place) keeps its mark, so a group
// left with only such a file keeps it marked rather than unique.
void ExcludeFromGroup(KeyIndex& index, ResultTree& tree, NodeHandle group, int code, const PathTest& leaves,
                      ExclusionCounts& counts) {
  const FileTally tally = DeleteFilesMarked(tree, group, code, leaves);
  counts.excluded_files += tally.removed;
  if (tally.removed == 0 && tally.left > 0) return;

  const std::string key = tree.Text(group);
  if (tally.removed > 0) index.FilesRemoved(key, tally.removed);
  if (tally.left == 0) {
    index.Erase(key);
    tree.Delete(group);
    ++counts.removed_groups;
  } else if (tally.left == 1 && tally.kept_marked == 0) {
    SetMark(tree, group, MarkUnique);
    ++counts.new_unique_files;
  } else {
    UpdateGroupSummary(tree, group);
  }
}

}  // namespace

void ShowUniqueFiles(KeyIndex& index, ResultTree& tree) {
  index.ForEach([&](std::string_view key, const KeyEntry& entry) {
    if (entry.group != kNoNode) return;
    const NodeHandle group = tree.AddGroup(key);
    const NodeHandle file = tree.AddFile(group, entry.first_path);
    tree.PutImage(group, MarkUnique);
    tree.PutImage(file, MarkUnique);
    index.SetGroup(key, group);
  });
}

ExclusionCounts ExcludeByMark(KeyIndex& index, ResultTree& tree, int code, const PathTest& leaves) {
  if (code == MarkUnique) index.EraseUngrouped();
  tree.Select(kNoNode);
  ExclusionCounts counts;
  for (NodeHandle group = tree.FirstGroup(); group != kNoNode;) {
    const NodeHandle next = tree.Next(group);
    ExcludeFromGroup(index, tree, group, code, leaves, counts);
    group = next;
  }
  return counts;
}

std::string ExclusionReport(const ExclusionCounts& counts) {
  std::string report = std::to_string(counts.excluded_files) + "個のファイルを除外\r\n";
  if (counts.removed_groups > 0) {
    report += std::to_string(counts.removed_groups) + "個のインデックスが削除されました。\r\n";
  }
  if (counts.new_unique_files > 0) {
    report += std::to_string(counts.new_unique_files) + "個の新たな非重複ファイルが発生しました。\r\n";
  }
  return report;
}

}  // namespace twinseek
