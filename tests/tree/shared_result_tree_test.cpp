// The shared result tree: the suite every tree passes, and the record of
// changes a view repeats: replayed on an empty tree it gives the same tree,
// whatever was done and however the record was taken in pieces, also while
// another thread changes the tree.
#include "tree/shared_result_tree.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tree/marks.h"
#include "tree/memory_result_tree.h"
#include "tree/result_tree_suite.h"

namespace twinseek::testing {

struct SharedTreeMaker {
  ResultTree& Tree() { return tree; }
  SharedResultTree tree;
};

INSTANTIATE_TYPED_TEST_SUITE_P(Shared, ResultTreeSuite, SharedTreeMaker);

namespace {

using Kind = TreeChange::Kind;

// A tree built only from recorded changes, as a view builds its control.
class Replay {
 public:
  void Apply(const std::vector<TreeChange>& changes) {
    for (const TreeChange& change : changes) Apply(change);
  }

  void Apply(const TreeChange& change) {
    switch (change.kind) {
      case Kind::kAddGroup:
        nodes_[change.node] = tree_.AddGroup(change.text);
        break;
      case Kind::kAddFile:
        nodes_[change.node] = tree_.AddFile(nodes_.at(change.parent), change.text);
        break;
      case Kind::kMark:
        tree_.PutImage(nodes_.at(change.node), change.mark);
        break;
      case Kind::kExpand:
        tree_.Expand(nodes_.at(change.node));
        break;
      case Kind::kDelete:
        tree_.Delete(nodes_.at(change.node));
        break;
      case Kind::kClear:
        tree_.Clear();
        selected_ = kNoNode;
        break;
      case Kind::kSelect:
        selected_ = change.node;
        break;
      case Kind::kScrollToTop:
        ASSERT_TRUE(tree_.Contains(nodes_.at(change.node)));
        break;
    }
  }

  const MemoryResultTree& tree() const { return tree_; }
  NodeHandle selected() const { return selected_; }

 private:
  MemoryResultTree tree_;
  std::map<NodeHandle, NodeHandle> nodes_;
  NodeHandle selected_ = kNoNode;
};

// Every node as "text#mark", expanded groups with a "+", files indented.
std::vector<std::string> Lines(const ResultTree& tree) {
  std::vector<std::string> lines;
  for (NodeHandle group = tree.FirstGroup(); group != kNoNode; group = tree.Next(group)) {
    lines.push_back(tree.Text(group) + "#" + std::to_string(tree.GetMark(group)) +
                    (tree.IsExpanded(group) ? "+" : ""));
    for (NodeHandle file = tree.FirstFile(group); file != kNoNode; file = tree.Next(file)) {
      lines.push_back("  " + tree.Text(file) + "#" + std::to_string(tree.GetMark(file)));
    }
  }
  return lines;
}

// Any node of the tree, or none.
NodeHandle AnyNode(const ResultTree& tree, std::mt19937& random) {
  std::vector<NodeHandle> nodes{kNoNode};
  for (NodeHandle group = tree.FirstGroup(); group != kNoNode; group = tree.Next(group)) {
    nodes.push_back(group);
    for (NodeHandle file = tree.FirstFile(group); file != kNoNode; file = tree.Next(file))
      nodes.push_back(file);
  }
  return nodes[random() % nodes.size()];
}

// Also when each batch is carried out in a view's order.
TEST(SharedResultTreeTest, ReplayingTheRecordGivesTheSameTree) {
  for (unsigned seed = 1; seed <= 20; ++seed) {
    std::mt19937 random(seed);
    SharedResultTree tree;
    Replay replay;   // the record as it was taken
    Replay planned;  // the record as a view carries it out
    const auto take = [&] {
      const std::vector<TreeChange> changes = tree.TakeChanges();
      replay.Apply(changes);
      planned.Apply(PlanViewBatch(changes).changes);
    };
    for (int step = 0; step < 400; ++step) {
      const NodeHandle node = AnyNode(tree, random);
      switch (random() % 10) {
        case 0:
        case 1:
          tree.AddGroup("k" + std::to_string(step));
          break;
        case 2:
        case 3:
          tree.AddFile(tree.IsGroup(node) ? node : tree.Parent(node), "p" + std::to_string(step));
          break;
        case 4:
          SetMark(tree, node, static_cast<int>(random() % 7) - 1);
          break;
        case 5:
          tree.Expand(node);
          break;
        case 6:
          if (random() % 4 == 0) tree.Delete(node);
          break;
        case 7:
          tree.Select(node);
          break;
        case 8:
          tree.ScrollToTop(node);
          break;
        case 9:
          if (random() % 50 == 0) tree.Clear();
          break;
      }
      if (random() % 7 == 0) take();
    }
    take();
    EXPECT_EQ(Lines(replay.tree()), Lines(tree)) << "seed " << seed;
    EXPECT_EQ(replay.selected(), tree.Selected()) << "seed " << seed;
    EXPECT_EQ(Lines(planned.tree()), Lines(tree)) << "seed " << seed;
    EXPECT_EQ(planned.selected(), tree.Selected()) << "seed " << seed;
  }
}

// Changes written as letters with node numbers: G group, F file, M mark,
// E expansion, D deletion, C clearing, S selection, T scroll to the top.
std::vector<TreeChange> Written(std::string_view text) {
  static const std::map<char, Kind> kKinds = {
      {'G', Kind::kAddGroup}, {'F', Kind::kAddFile}, {'M', Kind::kMark},   {'E', Kind::kExpand},
      {'D', Kind::kDelete},   {'C', Kind::kClear},   {'S', Kind::kSelect}, {'T', Kind::kScrollToTop}};
  std::vector<TreeChange> changes;
  for (size_t pos = 0; pos < text.size(); pos += 3) {
    TreeChange change;
    change.kind = kKinds.at(text[pos]);
    change.node = static_cast<NodeHandle>(text[pos + 1] - '0');
    changes.push_back(change);
  }
  return changes;
}

TEST(SharedResultTreeTest, AViewBatchPutsGroupsFirstWithinEachRunOfAdditions) {
  // The selection and the deletion end runs; a run keeps its order by kind.
  const ViewBatch batch = PlanViewBatch(Written("G1 F2 M2 E1 G3 F4 S4 F5 G6 D3 T6"));
  EXPECT_EQ(batch.changes, Written("G1 G3 F2 F4 E1 M2 S4 G6 F5 D3 T6"));
  EXPECT_EQ(batch.structural, 7u);
  EXPECT_TRUE(batch.marks);

  const ViewBatch quiet = PlanViewBatch(Written("S1 C0 E2"));
  EXPECT_EQ(quiet.changes, Written("S1 C0 E2"));
  EXPECT_EQ(quiet.structural, 1u);
  EXPECT_FALSE(quiet.marks);
}

TEST(SharedResultTreeTest, RecordsOnlyWhatChangedAndNothingTheViewDidItself) {
  SharedResultTree tree;
  const NodeHandle group = tree.AddGroup("key");
  const NodeHandle file = tree.AddFile(group, "C:\\1");
  tree.Expand(group);
  tree.Select(file);
  ASSERT_EQ(tree.TakeChanges().size(), 4u);

  tree.PutImage(file, MarkNone);       // the mark it has
  tree.Expand(group);                  // expanded already
  tree.Select(file);                   // selected already
  tree.Expand(tree.AddGroup("lone"));  // no file: stays collapsed
  tree.Delete(NodeHandle{999});        // no such node
  tree.SelectedInView(group);
  tree.ExpandedInView(group, false);
  const std::vector<TreeChange> changes = tree.TakeChanges();
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].kind, Kind::kAddGroup);
  EXPECT_EQ(tree.Selected(), group);
  EXPECT_FALSE(tree.IsExpanded(group));
}

TEST(SharedResultTreeTest, DeletingTheSelectionFirstSelectsNothing) {
  SharedResultTree tree;
  const NodeHandle group = tree.AddGroup("key");
  tree.AddFile(group, "C:\\1");
  tree.Select(tree.FirstFile(group));
  tree.TakeChanges();

  tree.Delete(group);
  const std::vector<TreeChange> changes = tree.TakeChanges();
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0].kind, Kind::kSelect);
  EXPECT_EQ(changes[0].node, kNoNode);
  EXPECT_EQ(changes[1].kind, Kind::kDelete);
  EXPECT_EQ(changes[1].node, group);
}

TEST(SharedResultTreeTest, AViewTakingTheRecordWhileAWorkerBuildsEndsWithTheSameTree) {
  SharedResultTree tree;
  Replay replay;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    for (int i = 0; i < 2000; ++i) {
      const NodeHandle group = tree.AddGroup("k" + std::to_string(i));
      tree.AddFile(group, "a" + std::to_string(i));
      tree.AddFile(group, "b" + std::to_string(i));
      tree.Expand(group);
      UpdateGroupSummary(tree, group);
    }
    done = true;
  });
  while (!done) replay.Apply(tree.TakeChanges());
  worker.join();
  replay.Apply(tree.TakeChanges());
  EXPECT_EQ(Lines(replay.tree()), Lines(tree));
  EXPECT_EQ(replay.tree().Count(), 6000u);
}

}  // namespace
}  // namespace twinseek::testing
