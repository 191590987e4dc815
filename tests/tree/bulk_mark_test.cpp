// Marking many files in one go: which files are concerned, the groups that
// are skipped, and the summaries of every group afterwards.
#include "tree/bulk_mark.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tree/memory_result_tree.h"

namespace twinseek::testing {
namespace {

using Marks = std::vector<int>;

class BulkMarkTest : public ::testing::Test {
 protected:
  // A group whose files carry the given marks and which itself shows
  // group_mark, both put raw (a summary may be out of date on purpose).
  NodeHandle AddGroup(const Marks& file_marks, int group_mark) {
    const NodeHandle group = tree_.AddGroup("key" + std::to_string(++groups_));
    for (const int mark : file_marks) tree_.PutImage(tree_.AddFile(group, "C:\\file"), mark);
    tree_.PutImage(group, group_mark);
    return group;
  }

  Marks FileMarks(NodeHandle group) const {
    Marks marks;
    for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
      marks.push_back(tree_.GetMark(file));
    }
    return marks;
  }

  MemoryResultTree tree_;
  int groups_ = 0;
};

TEST_F(BulkMarkTest, FilesOfTheChosenMarkGetTheNewOneAndGroupsFollow) {
  const NodeHandle some = AddGroup({MarkDuplicate, MarkNone}, MarkMixed);
  const NodeHandle all = AddGroup({MarkDuplicate, MarkDuplicate}, MarkDuplicate);
  const NodeHandle none = AddGroup({MarkUnique, MarkNone}, MarkMixed);
  const NodeHandle selected = tree_.FirstFile(none);
  tree_.Select(selected);

  BulkMark(tree_, {MarkDelete, BulkTarget::kChosenMark, MarkDuplicate, false});

  EXPECT_EQ(FileMarks(some), (Marks{MarkDelete, MarkNone}));
  EXPECT_EQ(tree_.GetMark(some), MarkDelete);
  EXPECT_EQ(FileMarks(all), (Marks{MarkDelete, MarkDelete}));
  EXPECT_EQ(tree_.GetMark(all), MarkDelete);
  EXPECT_EQ(FileMarks(none), (Marks{MarkUnique, MarkNone}));
  EXPECT_EQ(tree_.GetMark(none), MarkMixed);
  EXPECT_EQ(tree_.Selected(), selected);
}

TEST_F(BulkMarkTest, AllFilesClearedClearsEveryMarkWhateverItWas) {
  const NodeHandle first = AddGroup({MarkDelete, MarkCopy, MarkComparing}, MarkDelete);
  const NodeHandle second = AddGroup({MarkUnique, MarkDuplicate}, MarkMixed);

  BulkMark(tree_, {MarkNone, BulkTarget::kAllFiles, MarkDuplicate, false});

  for (const NodeHandle group : {first, second}) {
    EXPECT_EQ(tree_.GetMark(group), MarkNone);
    for (const int mark : FileMarks(group)) EXPECT_EQ(mark, MarkNone);
  }
}

TEST_F(BulkMarkTest, TheChosenMarkCountsOnlyWithItsTarget) {
  const NodeHandle group = AddGroup({MarkNone, MarkDuplicate, MarkNone}, MarkMixed);

  BulkMark(tree_, {MarkCopy, BulkTarget::kUnmarkedFiles, MarkDuplicate, false});

  EXPECT_EQ(FileMarks(group), (Marks{MarkCopy, MarkDuplicate, MarkCopy}));
  EXPECT_EQ(tree_.GetMark(group), MarkCopy);
}

TEST_F(BulkMarkTest, OnlyUnmarkedGroupsSkipsTheOthersButRecomputesEverySummary) {
  const NodeHandle mixed = AddGroup({MarkNone, MarkDuplicate}, MarkMixed);
  const NodeHandle unmarked = AddGroup({MarkNone, MarkNone}, MarkNone);
  const NodeHandle stale = AddGroup({MarkDuplicate, MarkDuplicate}, MarkMixed);

  BulkMark(tree_, {MarkUnique, BulkTarget::kUnmarkedFiles, MarkNone, true});

  EXPECT_EQ(FileMarks(mixed), (Marks{MarkNone, MarkDuplicate}));
  EXPECT_EQ(tree_.GetMark(mixed), MarkMixed);
  EXPECT_EQ(FileMarks(unmarked), (Marks{MarkUnique, MarkUnique}));
  EXPECT_EQ(tree_.GetMark(unmarked), MarkUnique);
  EXPECT_EQ(FileMarks(stale), (Marks{MarkDuplicate, MarkDuplicate}));
  EXPECT_EQ(tree_.GetMark(stale), MarkDuplicate) << "a skipped group gets its summary too";
}

TEST_F(BulkMarkTest, UnmarkedFilesClearedChangesNoFileButEverySummary) {
  const NodeHandle stale = AddGroup({MarkUnique, MarkUnique}, MarkNone);
  const NodeHandle mixed = AddGroup({MarkNone, MarkDelete}, MarkNone);

  BulkMark(tree_, {MarkNone, BulkTarget::kUnmarkedFiles, MarkNone, false});

  EXPECT_EQ(FileMarks(stale), (Marks{MarkUnique, MarkUnique}));
  EXPECT_EQ(tree_.GetMark(stale), MarkUnique);
  EXPECT_EQ(FileMarks(mixed), (Marks{MarkNone, MarkDelete}));
  EXPECT_EQ(tree_.GetMark(mixed), MarkDelete);
}

}  // namespace
}  // namespace twinseek::testing
