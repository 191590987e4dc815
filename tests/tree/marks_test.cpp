// The marking rules: a group's summary of its files, marking a group or a
// file, the cycle, and the positions of marks in the user's lists.
#include "tree/marks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tree/memory_result_tree.h"

namespace twinseek::testing {
namespace {

using Marks = std::vector<int>;

class MarksTest : public ::testing::Test {
 protected:
  // A group whose files carry the given marks, put raw; the group's own mark
  // is set to `group_mark` so that a rule that forgets to set it shows.
  NodeHandle AddGroup(const Marks& file_marks, int group_mark = MarkComparing) {
    const NodeHandle group = tree_.AddGroup("key" + std::to_string(++groups_));
    for (const int mark : file_marks) tree_.PutImage(tree_.AddFile(group, "file"), mark);
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

  NodeHandle FileAt(NodeHandle group, int position) const {
    NodeHandle file = tree_.FirstFile(group);
    while (position-- > 0) file = tree_.Next(file);
    return file;
  }

  MemoryResultTree tree_;
  int groups_ = 0;
};

struct SummaryCase {
  Marks files;
  int group;
};

TEST_F(MarksTest, SummaryFollowsTheFirstRuleThatApplies) {
  const std::vector<SummaryCase> cases = {
      // Without 5 or 6: the one mark among 0, 1, 2 the files carry, else 3.
      {{}, MarkNone},
      {{0, 0}, MarkNone},
      {{1, 1}, MarkDuplicate},
      {{2, 2, 2}, MarkUnique},
      {{2}, MarkUnique},
      {{0, 1}, MarkMixed},
      {{0, 2}, MarkMixed},
      {{1, 2}, MarkMixed},
      {{2, 1, 0}, MarkMixed},
      // 5 before 6, and both before the rest.
      {{2, 5}, MarkDelete},
      {{5, 6}, MarkDelete},
      {{6, 5, 1}, MarkDelete},
      {{6, 1}, MarkCopy},
      {{0, 1, 2, 6}, MarkCopy},
      // Files marked 3 or 4 are not counted.
      {{4}, MarkNone},
      {{3, 4}, MarkNone},
      {{4, 1}, MarkDuplicate},
      {{3, 2, 2}, MarkUnique},
      {{4, 0, 2}, MarkMixed},
      {{3, 6}, MarkCopy},
  };
  for (const SummaryCase& test : cases) {
    for (const int before : {MarkNone, MarkMixed, MarkDelete}) {
      const NodeHandle group = AddGroup(test.files, before);
      UpdateGroupSummary(tree_, group);
      EXPECT_EQ(tree_.GetMark(group), test.group)
          << "files " << ::testing::PrintToString(test.files) << ", group before " << before;
      EXPECT_EQ(FileMarks(group), test.files);
    }
  }
}

TEST_F(MarksTest, SummaryTouchesOnlyTheGroupAsked) {
  const NodeHandle group = AddGroup({1, 1}, MarkNone);
  const NodeHandle other = AddGroup({2, 2}, MarkNone);
  UpdateGroupSummary(tree_, group);
  EXPECT_EQ(tree_.GetMark(group), MarkDuplicate);
  EXPECT_EQ(tree_.GetMark(other), MarkNone);

  // Asked for a file, it does nothing at all.
  UpdateGroupSummary(tree_, tree_.FirstFile(other));
  UpdateGroupSummary(tree_, kNoNode);
  EXPECT_EQ(tree_.GetMark(other), MarkNone);
  EXPECT_EQ(FileMarks(other), (Marks{2, 2}));
}

TEST_F(MarksTest, MarkingAGroupMarksItsFilesAndKeepsTheCode) {
  for (const int code : {MarkNone, MarkDuplicate, MarkUnique, MarkDelete, MarkCopy}) {
    const NodeHandle group = AddGroup({0, 1, 6}, MarkMixed);
    const NodeHandle other = AddGroup({1, 1}, MarkDuplicate);
    SetMark(tree_, group, code);
    EXPECT_EQ(tree_.GetMark(group), code);
    EXPECT_EQ(FileMarks(group), Marks(3, code));
    EXPECT_EQ(tree_.GetMark(other), MarkDuplicate);
    EXPECT_EQ(FileMarks(other), (Marks{1, 1}));
  }
  // The group keeps the code even where its summary would say otherwise.
  const NodeHandle empty = AddGroup({}, MarkNone);
  SetMark(tree_, empty, MarkUnique);
  EXPECT_EQ(tree_.GetMark(empty), MarkUnique);
  const NodeHandle comparing = AddGroup({1, 2}, MarkMixed);
  SetMark(tree_, comparing, MarkComparing);
  EXPECT_EQ(tree_.GetMark(comparing), MarkComparing);
  EXPECT_EQ(FileMarks(comparing), (Marks{4, 4}));
}

struct FileMarkCase {
  Marks files;
  int position;
  int code;
  Marks files_after;
  int group_after;
};

TEST_F(MarksTest, MarkingAFileRecomputesItsGroup) {
  const std::vector<FileMarkCase> cases = {
      {{0, 0}, 0, MarkDuplicate, {1, 0}, MarkMixed}, {{1, 0}, 1, MarkDuplicate, {1, 1}, MarkDuplicate},
      {{1, 1}, 1, MarkDelete, {1, 5}, MarkDelete},   {{5, 1}, 0, MarkNone, {0, 1}, MarkMixed},
      {{2, 6}, 1, MarkUnique, {2, 2}, MarkUnique},   {{4, 2}, 1, MarkNone, {4, 0}, MarkNone},
  };
  for (const FileMarkCase& test : cases) {
    const NodeHandle group = AddGroup(test.files);
    const NodeHandle other = AddGroup({0, 0}, MarkCopy);
    SetMark(tree_, FileAt(group, test.position), test.code);
    EXPECT_EQ(FileMarks(group), test.files_after);
    EXPECT_EQ(tree_.GetMark(group), test.group_after) << "files " << ::testing::PrintToString(test.files)
                                                      << ", file " << test.position << " to " << test.code;
    EXPECT_EQ(tree_.GetMark(other), MarkCopy);
  }
}

struct CycleCase {
  int before;
  int after;
};

// 0 -> 1 -> 2 -> 0, and every other mark back to 0.
const std::vector<CycleCase> kCycle = {
    {MarkNone, MarkDuplicate}, {MarkDuplicate, MarkUnique}, {MarkUnique, MarkNone}, {MarkMixed, MarkNone},
    {MarkComparing, MarkNone}, {MarkDelete, MarkNone},      {MarkCopy, MarkNone},
};

TEST_F(MarksTest, CyclingAFileStartsFromItsMark) {
  for (const CycleCase& test : kCycle) {
    const NodeHandle group = AddGroup({test.before, MarkDuplicate});
    CycleMark(tree_, tree_.FirstFile(group));
    EXPECT_EQ(FileMarks(group), (Marks{test.after, MarkDuplicate})) << "from " << test.before;
  }
  // The group follows: 5 and 1 showed 5; 0 and 1 show 3.
  const NodeHandle group = AddGroup({MarkDelete, MarkDuplicate}, MarkDelete);
  CycleMark(tree_, tree_.FirstFile(group));
  EXPECT_EQ(tree_.GetMark(group), MarkMixed);
}

TEST_F(MarksTest, CyclingAGroupStartsFromTheGroupsOwnMark) {
  for (const CycleCase& test : kCycle) {
    // The files carry other marks than the group shows: the group's decides.
    const NodeHandle group = AddGroup({MarkUnique, MarkDelete, MarkNone}, test.before);
    CycleMark(tree_, group);
    EXPECT_EQ(tree_.GetMark(group), test.after) << "from " << test.before;
    EXPECT_EQ(FileMarks(group), Marks(3, test.after)) << "from " << test.before;
  }
}

TEST_F(MarksTest, ANegativeCodeCyclesAndNoNodeIsIgnored) {
  for (const int code : {-1, -7}) {
    const NodeHandle group = AddGroup({1, 1}, MarkDuplicate);
    SetMark(tree_, group, code);
    EXPECT_EQ(tree_.GetMark(group), MarkUnique);
    EXPECT_EQ(FileMarks(group), (Marks{2, 2}));
  }
  const size_t count = tree_.Count();
  SetMark(tree_, kNoNode, MarkDelete);
  CycleMark(tree_, kNoNode);
  EXPECT_EQ(tree_.Count(), count);
}

TEST(MarkIndexTest, ListPositionsStandForMarks) {
  const std::vector<int> listed = {MarkNone, MarkDuplicate, MarkUnique, MarkDelete, MarkCopy};
  for (int index = 0; index < static_cast<int>(listed.size()); ++index) {
    EXPECT_EQ(MarkFromIndex(index), listed[static_cast<size_t>(index)]) << "index " << index;
    EXPECT_EQ(MarkIndexOf(listed[static_cast<size_t>(index)]), index);
  }
  // Marks no list offers have no position.
  EXPECT_EQ(MarkIndexOf(MarkMixed), -1);
  EXPECT_EQ(MarkIndexOf(MarkComparing), -1);
  EXPECT_EQ(MarkIndexOf(-1), -1);
  EXPECT_EQ(MarkIndexOf(7), -1);
}

TEST(MarkIndexTest, APositionOfNoItemMeansNoMarkNotTheCycle) {
  for (const int index : {-1, 5, 1000}) {
    EXPECT_EQ(MarkFromIndex(index), MarkNone) << "index " << index;
  }
  MemoryResultTree tree;
  const NodeHandle group = tree.AddGroup("key");
  tree.AddFile(group, "file");
  SetMark(tree, group, MarkFromIndex(-1));
  EXPECT_EQ(tree.GetMark(group), MarkNone);
  EXPECT_EQ(tree.GetMark(tree.FirstFile(group)), MarkNone);
}

}  // namespace
}  // namespace twinseek::testing
