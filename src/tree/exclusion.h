// Narrowing and widening the results: every file of one mark taken out of
// the tree (the key index and its counters kept in step), and the unique
// files (keys only one file had) brought into the tree as one-file groups.
// Neither touches the files on disk.
#pragma once

#include <functional>
#include <string>

#include "scan/key_index.h"
#include "tree/result_tree.h"

namespace twinseek {

// Gives every key that only one file had a group of its own, in the index's
// order, appended at the end of the tree and left collapsed: the group and
// its one file are marked unique (each by itself, no summary), and the key
// holds the group from now on as if a scan had opened it. The counters do
// not change. Running it again finds no such key and changes nothing.
void ShowUniqueFiles(KeyIndex& index, ResultTree& tree);

// What one exclusion did, for its report.
struct ExclusionCounts {
  int excluded_files = 0;    // file nodes removed
  int removed_groups = 0;    // groups removed together with their keys
  int new_unique_files = 0;  // groups left with a single file, now marked unique

  friend bool operator==(const ExclusionCounts&, const ExclusionCounts&) = default;
};

// A question about a file, given its path.
using PathTest = std::function<bool(const std::string& path)>;

// Takes every file marked code out of the tree:
// 1. With code 2 (unique) only: every key without a group is forgotten first
//    (each one off both counters); these are not counted in the report.
// 2. The selection is cleared.
// 3. For each group, first to last (the next taken before the group is dealt
//    with): its files marked code are deleted (each one off the file
//    counter). A group left without files goes with its key (one off the
//    index counter); a group that lost files and keeps exactly one gets
//    SetMark 2 (the group and its file show unique); a group that lost files
//    and keeps more gets its summary again; a group that lost nothing stays
//    as it is, even with a summary out of date.
// The caller hides the tree meanwhile and shows ExclusionReport.
//
// leaves, when given, narrows the files that go to those marked code for
// which it answers true (given the file's path): after files were deleted or
// moved, only those really gone from their paths leave the tree, and a file
// still in its place keeps its mark and its group (a group left with only
// such a file is not made unique: it gets its summary again).
ExclusionCounts ExcludeByMark(KeyIndex& index, ResultTree& tree, int code, const PathTest& leaves = {});

// "%d個のファイルを除外\r\n" always, then "%d個のインデックスが削除されました。\r\n"
// when groups were removed, then "%d個の新たな非重複ファイルが発生しました。\r\n"
// when groups became unique.
std::string ExclusionReport(const ExclusionCounts& counts);

}  // namespace twinseek
