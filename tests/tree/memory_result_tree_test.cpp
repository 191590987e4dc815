// The in-memory result tree: the shared suite, and what only its own
// contract says.
#include "tree/memory_result_tree.h"

#include <gtest/gtest.h>

#include <set>

#include "tree/result_tree_suite.h"

namespace twinseek::testing {

struct MemoryTreeMaker {
  ResultTree& Tree() { return tree; }
  MemoryResultTree tree;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Memory, ResultTreeSuite, MemoryTreeMaker);

namespace {

TEST(MemoryResultTreeTest, NeverGivesADeletedNodesHandleToANewNode) {
  MemoryResultTree tree;
  std::set<NodeHandle> deleted;
  const auto delete_node = [&](NodeHandle node) {
    deleted.insert(node);
    for (NodeHandle file = tree.FirstFile(node); file != kNoNode; file = tree.Next(file)) {
      deleted.insert(file);
    }
    tree.Delete(node);
  };
  for (int round = 0; round < 20; ++round) {
    const NodeHandle group = tree.AddGroup("key");
    const NodeHandle first = tree.AddFile(group, "1");
    const NodeHandle second = tree.AddFile(group, "2");
    for (const NodeHandle node : {group, first, second}) {
      EXPECT_EQ(deleted.count(node), 0u) << "round " << round;
    }
    delete_node(first);
    if (round % 3 == 0) delete_node(group);
    if (round % 7 == 6) {
      for (NodeHandle left = tree.FirstGroup(); left != kNoNode; left = tree.Next(left)) {
        deleted.insert(left);
        deleted.insert(tree.FirstFile(left));
      }
      tree.Clear();
    }
  }
}

TEST(MemoryResultTreeTest, IgnoresDeletedNodesAndRefusesFilesBelowFiles) {
  MemoryResultTree tree;
  const NodeHandle group = tree.AddGroup("key");
  const NodeHandle file = tree.AddFile(group, "1");
  const NodeHandle kept = tree.AddFile(group, "2");
  const NodeHandle gone = tree.AddGroup("gone");
  tree.Delete(gone);
  tree.Delete(file);
  tree.Select(kept);

  EXPECT_EQ(tree.AddFile(kept, "below a file"), kNoNode);
  EXPECT_EQ(tree.AddFile(gone, "below a deleted group"), kNoNode);
  tree.Delete(file);
  tree.PutImage(file, MarkDelete);
  tree.Select(file);
  EXPECT_EQ(tree.Count(), 2u);
  EXPECT_EQ(tree.Selected(), kept);
  EXPECT_EQ(tree.Text(file), "");
  EXPECT_EQ(tree.Next(file), kNoNode);
  EXPECT_EQ(tree.Parent(file), kNoNode);
  EXPECT_EQ(tree.FirstFile(group), kept);
}

}  // namespace
}  // namespace twinseek::testing
