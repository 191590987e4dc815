// Marking the selected node, and the kind of a node as the enabling reads it.
#include "tree/mark_commands.h"

#include <gtest/gtest.h>

#include "tree/memory_result_tree.h"

namespace twinseek::testing {
namespace {

class MarkCommandsTest : public ::testing::Test {
 protected:
  MarkCommandsTest() {
    group_ = tree_.AddGroup("key");
    first_ = tree_.AddFile(group_, "C:\\a.txt");
    second_ = tree_.AddFile(group_, "C:\\b.txt");
  }

  MemoryResultTree tree_;
  NodeHandle group_;
  NodeHandle first_;
  NodeHandle second_;
};

TEST_F(MarkCommandsTest, NothingSelectedChangesNothing) {
  for (const int code : {static_cast<int>(MarkDelete), kNextMark}) {
    MarkSelected(tree_, code);
    for (const NodeHandle node : {group_, first_, second_}) EXPECT_EQ(tree_.GetMark(node), MarkNone);
  }
}

TEST_F(MarkCommandsTest, TheNextMarkCyclesAFileAndItsGroupFollows) {
  tree_.Select(first_);
  MarkSelected(tree_, kNextMark);
  EXPECT_EQ(tree_.GetMark(first_), MarkDuplicate);
  EXPECT_EQ(tree_.GetMark(group_), MarkMixed);
  MarkSelected(tree_, kNextMark);
  EXPECT_EQ(tree_.GetMark(first_), MarkUnique);
  MarkSelected(tree_, kNextMark);
  EXPECT_EQ(tree_.GetMark(first_), MarkNone);
  EXPECT_EQ(tree_.GetMark(group_), MarkNone);
  EXPECT_EQ(tree_.Selected(), first_);
}

TEST_F(MarkCommandsTest, AMarkedGroupPassesTheMarkToItsFiles) {
  tree_.Select(group_);
  MarkSelected(tree_, MarkCopy);
  for (const NodeHandle node : {group_, first_, second_}) EXPECT_EQ(tree_.GetMark(node), MarkCopy);
  MarkSelected(tree_, kNextMark);  // a group showing 6 goes back to no mark
  for (const NodeHandle node : {group_, first_, second_}) EXPECT_EQ(tree_.GetMark(node), MarkNone);
  EXPECT_EQ(tree_.Selected(), group_);
}

TEST_F(MarkCommandsTest, TellsTheKindOfANode) {
  EXPECT_EQ(SelectionKindOf(tree_, kNoNode), SelectionKind::kNothing);
  EXPECT_EQ(SelectionKindOf(tree_, group_), SelectionKind::kGroup);
  EXPECT_EQ(SelectionKindOf(tree_, second_), SelectionKind::kFile);
}

}  // namespace
}  // namespace twinseek::testing
