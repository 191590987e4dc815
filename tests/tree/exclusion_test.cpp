// The unique files brought into the tree, and files taken out of it by their
// mark with the key index and its counters kept in step.
#include "tree/exclusion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/file_system.h"
#include "tree/marks.h"
#include "tree/memory_result_tree.h"

namespace twinseek {
namespace {

using Marks = std::vector<int>;

// Paths that name no file: their identities are unknown, so only the paths
// tell files apart.
class KeyIndexTreeTest : public ::testing::Test {
 protected:
  Registration Register(std::string_view key, std::string_view path) {
    return index_.Register(key, path, tree_, SystemFileSystem());
  }

  static std::string PathOf(std::string_view key, size_t position) {
    return "C:\\" + std::string(key) + "\\" + std::to_string(position) + ".txt";
  }

  // A group registered file by file as a scan does, its files then marked
  // raw and its summary computed.
  NodeHandle AddGroup(std::string_view key, const Marks& marks) {
    for (size_t position = 0; position < marks.size(); ++position) Register(key, PathOf(key, position));
    const NodeHandle group = index_.Find(key)->group;
    size_t position = 0;
    for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
      tree_.PutImage(file, marks[position++]);
    }
    UpdateGroupSummary(tree_, group);
    return group;
  }

  Marks FileMarks(NodeHandle group) const {
    Marks marks;
    for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
      marks.push_back(tree_.GetMark(file));
    }
    return marks;
  }

  std::vector<std::string> FilePaths(NodeHandle group) const {
    std::vector<std::string> paths;
    for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
      paths.push_back(tree_.Text(file));
    }
    return paths;
  }

  std::vector<std::string> GroupKeys() const {
    std::vector<std::string> keys;
    for (NodeHandle group = tree_.FirstGroup(); group != kNoNode; group = tree_.Next(group)) {
      keys.push_back(tree_.Text(group));
    }
    return keys;
  }

  MemoryResultTree tree_;
  KeyIndex index_;
};

using ShowUniqueFilesTest = KeyIndexTreeTest;

TEST_F(ShowUniqueFilesTest, GivesEveryLoneKeyACollapsedGroupMarkedUniqueInIndexOrder) {
  Register("(1)", "C:\\one");
  Register("(2)", "C:\\two-a");
  Register("(2)", "C:\\two-b");
  Register("(3)", "C:\\three");
  const int files = index_.FileCount();
  const int keys = index_.IndexCount();

  ShowUniqueFiles(index_, tree_);

  NodeHandle group = tree_.FirstGroup();
  ASSERT_EQ(tree_.Text(group), "(2)");
  EXPECT_NE(tree_.GetMark(group), MarkUnique);
  const char* lone[][2] = {{"(1)", "C:\\one"}, {"(3)", "C:\\three"}};
  for (const auto& [key, path] : lone) {
    group = tree_.Next(group);
    ASSERT_NE(group, kNoNode);
    EXPECT_EQ(tree_.Text(group), key);
    EXPECT_TRUE(tree_.IsGroup(group));
    EXPECT_FALSE(tree_.IsExpanded(group));
    EXPECT_EQ(tree_.GetMark(group), MarkUnique);
    const NodeHandle file = tree_.FirstFile(group);
    EXPECT_EQ(tree_.Text(file), path);
    EXPECT_EQ(tree_.GetMark(file), MarkUnique);
    EXPECT_EQ(tree_.Next(file), kNoNode);
    EXPECT_EQ(index_.Find(key)->group, group);
    EXPECT_EQ(index_.Find(key)->first_path, "");
  }
  EXPECT_EQ(tree_.Next(group), kNoNode);
  EXPECT_EQ(index_.FileCount(), files);
  EXPECT_EQ(index_.IndexCount(), keys);

  const size_t nodes = tree_.Count();
  ShowUniqueFiles(index_, tree_);
  EXPECT_EQ(tree_.Count(), nodes) << "a second run finds nothing to add";
}

TEST_F(ShowUniqueFilesTest, ALaterFileOfTheKeyJoinsTheGroupItMade) {
  Register("(1)", "C:\\one");
  ShowUniqueFiles(index_, tree_);
  Register("(1)", "C:\\ONE");  // the same path in other letters
  Register("(1)", "C:\\another");
  const NodeHandle group = tree_.FirstGroup();
  ASSERT_NE(tree_.FirstFile(group), kNoNode);
  EXPECT_EQ(tree_.Text(tree_.Next(tree_.FirstFile(group))), "C:\\another");
  EXPECT_EQ(tree_.Next(tree_.Next(tree_.FirstFile(group))), kNoNode);
  EXPECT_EQ(index_.FileCount(), 2);
}

using ExcludeByMarkTest = KeyIndexTreeTest;

TEST_F(ExcludeByMarkTest, AGroupKeepingOneFileBecomesUniqueWithIt) {
  const NodeHandle group = AddGroup("K", {MarkUnique, MarkNone, MarkUnique});
  ASSERT_EQ(index_.FileCount(), 3);

  const ExclusionCounts counts = ExcludeByMark(index_, tree_, MarkUnique);

  EXPECT_EQ(counts, (ExclusionCounts{2, 0, 1}));
  EXPECT_EQ(FilePaths(group), std::vector<std::string>{PathOf("K", 1)});
  EXPECT_EQ(FileMarks(group), Marks{MarkUnique});
  EXPECT_EQ(tree_.GetMark(group), MarkUnique);
  EXPECT_EQ(index_.Find("K")->group, group);
  EXPECT_EQ(index_.IndexCount(), 1);
  EXPECT_EQ(index_.FileCount(), 1);
  EXPECT_EQ(ExclusionReport(counts),
            "2個のファイルを除外\r\n"
            "1個の新たな非重複ファイルが発生しました。\r\n");
}

TEST_F(ExcludeByMarkTest, AnExcludedFileOfASurvivingGroupIsAppendedAgainByALaterScan) {
  const NodeHandle group = AddGroup("K", {MarkNone, MarkDuplicate, MarkNone});
  ExcludeByMark(index_, tree_, MarkDuplicate);
  ASSERT_EQ(FilePaths(group), (std::vector<std::string>{PathOf("K", 0), PathOf("K", 2)}));

  EXPECT_EQ(Register("K", PathOf("K", 0)), Registration::kAlreadyRegistered);
  EXPECT_EQ(Register("K", PathOf("K", 1)), Registration::kAppended);
  EXPECT_EQ(FilePaths(group), (std::vector<std::string>{PathOf("K", 0), PathOf("K", 2), PathOf("K", 1)}));
  EXPECT_EQ(index_.FileCount(), 3);
}

TEST_F(ExcludeByMarkTest, AGroupLosingEveryFileGoesWithItsKeyWhileTheWalkGoesOn) {
  const NodeHandle kept = AddGroup("A", {MarkNone, MarkNone});
  AddGroup("B", {MarkDuplicate, MarkDuplicate, MarkDuplicate});
  const NodeHandle folded = AddGroup("C", {MarkDuplicate, MarkUnique});
  AddGroup("D", {MarkDuplicate, MarkDuplicate});
  Register("lone", "C:\\lone.txt");
  ASSERT_EQ(index_.IndexCount(), 5);
  ASSERT_EQ(index_.FileCount(), 10);

  const ExclusionCounts counts = ExcludeByMark(index_, tree_, MarkDuplicate);

  EXPECT_EQ(counts, (ExclusionCounts{6, 2, 1}));
  EXPECT_EQ(GroupKeys(), (std::vector<std::string>{"A", "C"}));
  EXPECT_EQ(FileMarks(kept), (Marks{MarkNone, MarkNone}));
  EXPECT_EQ(FilePaths(folded), std::vector<std::string>{PathOf("C", 1)});
  EXPECT_EQ(tree_.GetMark(folded), MarkUnique);
  EXPECT_FALSE(index_.Find("B").has_value());
  EXPECT_FALSE(index_.Find("D").has_value());
  EXPECT_TRUE(index_.Find("lone").has_value()) << "keys without a group go only with the unique mark";
  EXPECT_EQ(index_.IndexCount(), 3);
  EXPECT_EQ(index_.FileCount(), 4);
  EXPECT_EQ(tree_.Count(), 5u);
  EXPECT_EQ(ExclusionReport(counts),
            "6個のファイルを除外\r\n"
            "2個のインデックスが削除されました。\r\n"
            "1個の新たな非重複ファイルが発生しました。\r\n");

  // The forgotten key starts afresh: its old files are no partners any more.
  EXPECT_EQ(Register("B", PathOf("B", 0)), Registration::kNewKey);
}

TEST_F(ExcludeByMarkTest, AGroupKeepingSeveralFilesGetsItsSummaryAndOthersStayAsTheyAre) {
  const NodeHandle folded = AddGroup("A", {MarkDuplicate, MarkDuplicate, MarkNone});
  const NodeHandle stale = AddGroup("B", {MarkDuplicate, MarkDuplicate});
  tree_.PutImage(stale, MarkDelete);
  tree_.Select(tree_.FirstFile(stale));

  const ExclusionCounts counts = ExcludeByMark(index_, tree_, MarkNone);

  EXPECT_EQ(counts, (ExclusionCounts{1, 0, 0}));
  EXPECT_EQ(FileMarks(folded), (Marks{MarkDuplicate, MarkDuplicate}));
  EXPECT_EQ(tree_.GetMark(folded), MarkDuplicate);
  EXPECT_EQ(tree_.GetMark(stale), MarkDelete) << "a group that lost nothing is not recomputed";
  EXPECT_EQ(FileMarks(stale), (Marks{MarkDuplicate, MarkDuplicate}));
  EXPECT_EQ(tree_.Selected(), kNoNode);
  EXPECT_EQ(index_.FileCount(), 4);
  EXPECT_EQ(ExclusionReport(counts), "1個のファイルを除外\r\n");
}

TEST_F(ExcludeByMarkTest, TheUniqueMarkAlsoForgetsEveryKeyWithoutAGroup) {
  Register("L1", "C:\\l1.txt");
  AddGroup("G", {MarkDuplicate, MarkDuplicate});
  Register("L2", "C:\\l2.txt");
  Register("L3", "C:\\l3.txt");
  ShowUniqueFiles(index_, tree_);
  Register("L3", "C:\\other\\l3.txt");  // L3's group now holds two files
  Register("L4", "C:\\l4.txt");         // shown in no group

  const ExclusionCounts counts = ExcludeByMark(index_, tree_, MarkUnique);

  EXPECT_EQ(counts, (ExclusionCounts{3, 2, 1}));
  EXPECT_EQ(GroupKeys(), (std::vector<std::string>{"G", "L3"}));
  EXPECT_EQ(FilePaths(index_.Find("L3")->group), std::vector<std::string>{"C:\\other\\l3.txt"});
  for (const char* gone : {"L1", "L2", "L4"}) EXPECT_FALSE(index_.Find(gone).has_value()) << gone;
  EXPECT_EQ(index_.IndexCount(), 2);
  EXPECT_EQ(index_.FileCount(), 3);
}

TEST_F(ExcludeByMarkTest, OnlyKeysWithoutAGroupLeaveNothingBehind) {
  Register("L1", "C:\\l1.txt");
  Register("L2", "C:\\l2.txt");

  EXPECT_EQ(ExcludeByMark(index_, tree_, MarkDuplicate), ExclusionCounts{});
  EXPECT_EQ(index_.IndexCount(), 2);

  const ExclusionCounts counts = ExcludeByMark(index_, tree_, MarkUnique);
  EXPECT_EQ(counts, ExclusionCounts{});
  EXPECT_EQ(tree_.Count(), 0u);
  EXPECT_TRUE(index_.empty());
  EXPECT_EQ(index_.FileCount(), 0);
  EXPECT_EQ(ExclusionReport(counts), "0個のファイルを除外\r\n");
}

TEST_F(ExcludeByMarkTest, TheDeleteMarkFoldsGroupsAsAfterDeletingTheFiles) {
  AddGroup("A", {MarkDelete, MarkDelete});
  const NodeHandle one_left = AddGroup("B", {MarkDelete, MarkNone});
  const NodeHandle copy_left = AddGroup("C", {MarkCopy, MarkDelete, MarkNone});

  const ExclusionCounts counts = ExcludeByMark(index_, tree_, MarkDelete);

  EXPECT_EQ(counts, (ExclusionCounts{4, 1, 1}));
  EXPECT_EQ(GroupKeys(), (std::vector<std::string>{"B", "C"}));
  EXPECT_EQ(FileMarks(one_left), Marks{MarkUnique});
  EXPECT_EQ(tree_.GetMark(one_left), MarkUnique);
  EXPECT_EQ(FileMarks(copy_left), (Marks{MarkCopy, MarkNone}));
  EXPECT_EQ(tree_.GetMark(copy_left), MarkCopy);
  EXPECT_EQ(index_.IndexCount(), 2);
  EXPECT_EQ(index_.FileCount(), 3);
}

// After a delete or a move, a file still in its place keeps its mark and its
// group; only the files really gone leave.
TEST_F(ExcludeByMarkTest, FilesStillInPlaceStayWithTheirMark) {
  const NodeHandle group = AddGroup("A", {MarkDelete, MarkDelete, MarkNone});
  const std::string kept = PathOf("A", 1);
  const ExclusionCounts counts =
      ExcludeByMark(index_, tree_, MarkDelete, [&](const std::string& path) { return path != kept; });

  EXPECT_EQ(counts, (ExclusionCounts{1, 0, 0}));
  EXPECT_EQ(FilePaths(group), (std::vector<std::string>{kept, PathOf("A", 2)}));
  EXPECT_EQ(FileMarks(group), (Marks{MarkDelete, MarkNone}));
  EXPECT_EQ(tree_.GetMark(group), MarkDelete);
  EXPECT_EQ(index_.FileCount(), 2);

  // Left alone in its group, a kept file still keeps its mark: it is no
  // unique file, only one whose deletion failed.
  const NodeHandle pair = AddGroup("B", {MarkDelete, MarkDelete});
  const std::string gone = PathOf("B", 1);
  EXPECT_EQ(ExcludeByMark(index_, tree_, MarkDelete, [&](const std::string& path) { return path == gone; }),
            (ExclusionCounts{1, 0, 0}));
  EXPECT_EQ(FileMarks(pair), Marks{MarkDelete});
  EXPECT_EQ(tree_.GetMark(pair), MarkDelete);
}

}  // namespace
}  // namespace twinseek
