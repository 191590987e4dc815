// The behaviour every ResultTree shares, as one typed suite. An
// implementation's test instantiates it with a maker: a default-constructible
// type whose Tree() gives a fresh, empty tree that lives as long as the maker.
//
//   INSTANTIATE_TYPED_TEST_SUITE_P(Memory, ResultTreeSuite, MemoryTreeMaker);
//
// (inside namespace twinseek::testing).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "tree/result_tree.h"

namespace twinseek::testing {

template <typename Maker>
class ResultTreeSuite : public ::testing::Test {
 protected:
  ResultTree& tree() { return maker_.Tree(); }

  // The texts of the groups, first to last.
  std::vector<std::string> GroupTexts() {
    std::vector<std::string> texts;
    for (NodeHandle group = tree().FirstGroup(); group != kNoNode; group = tree().Next(group)) {
      texts.push_back(tree().Text(group));
    }
    return texts;
  }

  // The texts of a group's files, first to last.
  std::vector<std::string> FileTexts(NodeHandle group) {
    std::vector<std::string> texts;
    for (NodeHandle file = tree().FirstFile(group); file != kNoNode; file = tree().Next(file)) {
      texts.push_back(tree().Text(file));
    }
    return texts;
  }

  // A group with the given files.
  NodeHandle AddGroupWith(std::string_view key, const std::vector<std::string>& paths) {
    const NodeHandle group = tree().AddGroup(key);
    for (const std::string& path : paths) tree().AddFile(group, path);
    return group;
  }

 private:
  Maker maker_;
};

TYPED_TEST_SUITE_P(ResultTreeSuite);

using Texts = std::vector<std::string>;

TYPED_TEST_P(ResultTreeSuite, KeepsTheOrderOfAddingAtBothLevels) {
  ResultTree& tree = this->tree();
  const NodeHandle first = this->AddGroupWith("K1", {"C:\\a\\1.txt", "C:\\b\\1.txt"});
  const NodeHandle second = this->AddGroupWith("K0", {"C:\\z.txt", "C:\\y.txt"});
  // A file added to an earlier group goes below its last file; a new group
  // goes after the last group. Nothing is sorted.
  tree.AddFile(first, "C:\\0.txt");
  tree.AddGroup("A");
  tree.AddFile(second, "C:\\x.txt");

  EXPECT_EQ(this->GroupTexts(), (Texts{"K1", "K0", "A"}));
  EXPECT_EQ(this->FileTexts(first), (Texts{"C:\\a\\1.txt", "C:\\b\\1.txt", "C:\\0.txt"}));
  EXPECT_EQ(this->FileTexts(second), (Texts{"C:\\z.txt", "C:\\y.txt", "C:\\x.txt"}));
  EXPECT_EQ(tree.Count(), 9u);
}

TYPED_TEST_P(ResultTreeSuite, TellsGroupsFromFilesAndWalksBothWays) {
  ResultTree& tree = this->tree();
  const NodeHandle group = tree.AddGroup("key");
  const NodeHandle file1 = tree.AddFile(group, "C:\\1");
  const NodeHandle file2 = tree.AddFile(group, "C:\\2");
  const NodeHandle lone = tree.AddGroup("lone");

  EXPECT_EQ(tree.ItemData(group), kGroupItemData);
  EXPECT_TRUE(tree.IsGroup(lone));
  EXPECT_EQ(tree.ItemData(file1), 0u);
  EXPECT_FALSE(tree.IsGroup(file2));

  EXPECT_EQ(tree.FirstGroup(), group);
  EXPECT_EQ(tree.Next(group), lone);
  EXPECT_EQ(tree.Next(lone), kNoNode);
  EXPECT_EQ(tree.FirstFile(group), file1);
  EXPECT_EQ(tree.Next(file1), file2);
  EXPECT_EQ(tree.Next(file2), kNoNode);
  EXPECT_EQ(tree.FirstFile(lone), kNoNode);
  EXPECT_EQ(tree.FirstFile(file1), kNoNode);
  EXPECT_EQ(tree.Parent(file2), group);
  EXPECT_EQ(tree.Parent(group), kNoNode);
}

TYPED_TEST_P(ResultTreeSuite, NewNodesHaveNoMarkAndPutImageChangesOneNode) {
  ResultTree& tree = this->tree();
  const NodeHandle group = tree.AddGroup("key");
  const NodeHandle file1 = tree.AddFile(group, "C:\\1");
  const NodeHandle file2 = tree.AddFile(group, "C:\\2");
  EXPECT_EQ(tree.GetMark(group), MarkNone);
  EXPECT_EQ(tree.GetMark(file1), MarkNone);

  for (int mark = MarkNone; mark <= MarkCopy; ++mark) {
    tree.PutImage(file1, mark);
    EXPECT_EQ(tree.GetMark(file1), mark);
    EXPECT_EQ(tree.GetMark(file2), MarkNone);
    EXPECT_EQ(tree.GetMark(group), MarkNone);
  }
  tree.PutImage(group, MarkMixed);
  EXPECT_EQ(tree.GetMark(group), MarkMixed);
  EXPECT_EQ(tree.GetMark(file1), MarkCopy);
  // A mark never touches the kind.
  EXPECT_TRUE(tree.IsGroup(group));
  EXPECT_FALSE(tree.IsGroup(file1));
}

TYPED_TEST_P(ResultTreeSuite, ReadsTextsOfAnyLengthBackWhole) {
  ResultTree& tree = this->tree();
  // Japanese text whose characters end in 0x5C (the backslash byte): 表, ソ, 能.
  const std::string trail_backslash = "C:\\表示\\ソフト\\能力.txt";
  ASSERT_EQ(trail_backslash[4], '\x5C');
  std::string long_japanese;
  while (long_japanese.size() < 100000) long_japanese += trail_backslash + "ﾃｽﾄ";
  std::vector<std::string> texts = {"", "x", trail_backslash, long_japanese, std::string(100000, 'k')};
  // Lengths about the sizes a reader of the text might start with or double to.
  for (const size_t length : {255u, 256u, 257u, 259u, 260u, 261u, 263u, 264u, 265u, 511u, 512u, 513u, 527u,
                              528u, 529u, 1023u, 1024u, 1025u}) {
    texts.push_back(std::string(length, static_cast<char>('a' + length % 26)));
  }

  const NodeHandle group = tree.AddGroup(long_japanese);
  std::vector<NodeHandle> files;
  for (const std::string& text : texts) files.push_back(tree.AddFile(group, text));

  EXPECT_EQ(tree.Text(group), long_japanese);
  for (size_t i = 0; i < texts.size(); ++i) {
    EXPECT_EQ(tree.Text(files[i]), texts[i]) << "text of " << texts[i].size() << " bytes";
  }
}

TYPED_TEST_P(ResultTreeSuite, DeletingAFileKeepsTheRestInOrder) {
  ResultTree& tree = this->tree();
  const NodeHandle group = this->AddGroupWith("key", {"1", "2", "3", "4"});
  const NodeHandle other = this->AddGroupWith("other", {"5", "6"});
  const NodeHandle second = tree.Next(tree.FirstFile(group));

  tree.Delete(second);
  EXPECT_EQ(this->FileTexts(group), (Texts{"1", "3", "4"}));
  tree.Delete(tree.FirstFile(group));
  EXPECT_EQ(this->FileTexts(group), (Texts{"3", "4"}));
  tree.Delete(tree.Next(tree.FirstFile(group)));
  EXPECT_EQ(this->FileTexts(group), (Texts{"3"}));
  // After the last file went, a new file is still added at the end.
  tree.AddFile(group, "7");
  EXPECT_EQ(this->FileTexts(group), (Texts{"3", "7"}));
  EXPECT_EQ(this->FileTexts(other), (Texts{"5", "6"}));
  EXPECT_EQ(tree.Count(), 6u);
}

TYPED_TEST_P(ResultTreeSuite, DeletingAGroupDeletesItsFiles) {
  ResultTree& tree = this->tree();
  const NodeHandle first = this->AddGroupWith("first", {"1", "2"});
  const NodeHandle middle = this->AddGroupWith("middle", {"3", "4", "5"});
  const NodeHandle last = this->AddGroupWith("last", {"6", "7"});

  tree.Delete(middle);
  EXPECT_EQ(this->GroupTexts(), (Texts{"first", "last"}));
  EXPECT_EQ(tree.Count(), 6u);
  tree.Delete(last);
  tree.AddGroup("new");
  EXPECT_EQ(this->GroupTexts(), (Texts{"first", "new"}));
  tree.Delete(first);
  EXPECT_EQ(this->GroupTexts(), (Texts{"new"}));
  EXPECT_EQ(tree.Count(), 1u);
}

TYPED_TEST_P(ResultTreeSuite, DeleteOfNoNodeChangesNothing) {
  ResultTree& tree = this->tree();
  const NodeHandle group = this->AddGroupWith("key", {"1", "2"});
  tree.Select(group);
  tree.Delete(kNoNode);
  tree.Expand(kNoNode);
  tree.PutImage(kNoNode, MarkDelete);
  tree.ScrollToTop(kNoNode);
  EXPECT_EQ(tree.Count(), 3u);
  EXPECT_EQ(tree.Selected(), group);
  EXPECT_EQ(tree.AddFile(kNoNode, "3"), kNoNode);
  EXPECT_EQ(tree.Count(), 3u);
  EXPECT_EQ(tree.ItemData(kNoNode), 0u);
  EXPECT_EQ(tree.Next(kNoNode), kNoNode);
  EXPECT_EQ(tree.FirstFile(kNoNode), kNoNode);
  EXPECT_EQ(tree.Parent(kNoNode), kNoNode);
  EXPECT_EQ(tree.Text(kNoNode), "");
}

TYPED_TEST_P(ResultTreeSuite, SelectionFollowsSelectAndDelete) {
  ResultTree& tree = this->tree();
  const NodeHandle first = this->AddGroupWith("first", {"1", "2", "3"});
  const NodeHandle second = this->AddGroupWith("second", {"4", "5"});
  const NodeHandle file2 = tree.Next(tree.FirstFile(first));
  EXPECT_EQ(tree.Selected(), kNoNode);

  tree.Select(first);
  EXPECT_EQ(tree.Selected(), first);
  tree.ScrollToTop(file2);
  EXPECT_EQ(tree.Selected(), first);
  tree.Select(kNoNode);
  EXPECT_EQ(tree.Selected(), kNoNode);

  // Deleting another node keeps the selection.
  tree.Select(file2);
  tree.Delete(tree.FirstFile(second));
  EXPECT_EQ(tree.Selected(), file2);

  // The selected file itself; a neighbour must not take over.
  tree.Delete(file2);
  EXPECT_EQ(tree.Selected(), kNoNode);

  // The group of the selected file.
  tree.Select(tree.FirstFile(second));
  tree.Delete(second);
  EXPECT_EQ(tree.Selected(), kNoNode);

  // The selected group.
  tree.Select(first);
  tree.Delete(first);
  EXPECT_EQ(tree.Selected(), kNoNode);
  EXPECT_EQ(tree.Count(), 0u);
}

TYPED_TEST_P(ResultTreeSuite, StartsEmptyAndClearEmptiesAndDeselects) {
  ResultTree& tree = this->tree();
  EXPECT_EQ(tree.Count(), 0u);
  EXPECT_EQ(tree.FirstGroup(), kNoNode);
  this->AddGroupWith("first", {"1", "2"});
  const NodeHandle second = this->AddGroupWith("second", {"3", "4"});
  tree.Select(tree.FirstFile(second));

  tree.Clear();
  EXPECT_EQ(tree.Count(), 0u);
  EXPECT_EQ(tree.FirstGroup(), kNoNode);
  EXPECT_EQ(tree.Selected(), kNoNode);

  const NodeHandle again = this->AddGroupWith("again", {"5", "6"});
  EXPECT_EQ(this->GroupTexts(), (Texts{"again"}));
  EXPECT_EQ(this->FileTexts(again), (Texts{"5", "6"}));
  EXPECT_EQ(tree.Count(), 3u);
}

TYPED_TEST_P(ResultTreeSuite, ExpandsOnlyTheGroupAsked) {
  ResultTree& tree = this->tree();
  const NodeHandle first = this->AddGroupWith("first", {"1", "2"});
  const NodeHandle second = this->AddGroupWith("second", {"3", "4"});
  EXPECT_FALSE(tree.IsExpanded(first));
  EXPECT_FALSE(tree.IsExpanded(second));

  tree.Expand(second);
  EXPECT_FALSE(tree.IsExpanded(first));
  EXPECT_TRUE(tree.IsExpanded(second));
  // Adding a file keeps a group as it was.
  tree.AddFile(second, "5");
  tree.AddFile(first, "6");
  EXPECT_TRUE(tree.IsExpanded(second));
  EXPECT_FALSE(tree.IsExpanded(first));

  // A group without files has nothing to show and stays collapsed.
  const NodeHandle empty = tree.AddGroup("empty");
  tree.Expand(empty);
  EXPECT_FALSE(tree.IsExpanded(empty));
}

REGISTER_TYPED_TEST_SUITE_P(ResultTreeSuite, KeepsTheOrderOfAddingAtBothLevels,
                            TellsGroupsFromFilesAndWalksBothWays, NewNodesHaveNoMarkAndPutImageChangesOneNode,
                            ReadsTextsOfAnyLengthBackWhole, DeletingAFileKeepsTheRestInOrder,
                            DeletingAGroupDeletesItsFiles, DeleteOfNoNodeChangesNothing,
                            SelectionFollowsSelectAndDelete, StartsEmptyAndClearEmptiesAndDeselects,
                            ExpandsOnlyTheGroupAsked);

}  // namespace twinseek::testing
