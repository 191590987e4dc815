#include "fileops/last_copy_guard.h"

#include <gtest/gtest.h>

#include <string>

#include "tree/memory_result_tree.h"

namespace twinseek {
namespace {

// A group with files carrying the given marks.
NodeHandle AddGroup(MemoryResultTree& tree, const std::string& key, std::initializer_list<int> marks) {
  const NodeHandle group = tree.AddGroup(key);
  int number = 0;
  for (const int mark : marks)
    tree.PutImage(tree.AddFile(group, key + "\\" + std::to_string(++number)), mark);
  return group;
}

TEST(LastCopyGuardTest, NamesOnlyGroupsWhoseEveryFileIsMarkedForDeletion) {
  MemoryResultTree tree;
  AddGroup(tree, "(1)partly", {MarkDelete, MarkNone, MarkDelete});
  const NodeHandle whole = AddGroup(tree, "(2)whole", {MarkDelete, MarkDelete});
  const NodeHandle partly = AddGroup(tree, "(3)copy", {MarkDelete, MarkCopy});
  tree.PutImage(partly, MarkDelete);  // a stale summary is not believed
  AddGroup(tree, "(4)empty", {});
  const NodeHandle single = AddGroup(tree, "(5)last", {MarkDelete});

  EXPECT_EQ(WhollyMarkedGroups(tree), (std::vector<NodeHandle>{whole, single}));
  EXPECT_EQ(LastCopyQuestion(tree, MarkedFilesAction::kDelete),
            "すべてのファイルに削除マークが付いているグループがあります。\r\n"
            "  (2)whole\r\n"
            "  (5)last\r\n"
            "\r\n削除すると、これらのグループのファイルは1つも残りません。\r\n続けますか？");
  EXPECT_EQ(LastCopyQuestion(tree, MarkedFilesAction::kMove),
            "すべてのファイルに削除マークが付いているグループがあります。\r\n"
            "  (2)whole\r\n"
            "  (5)last\r\n"
            "\r\n移動すると、これらのグループのファイルは元の場所に1つも残りません。\r\n続けますか？");

  // One file kept in each: no question.
  tree.PutImage(tree.FirstFile(whole), MarkUnique);
  tree.PutImage(tree.FirstFile(single), MarkDuplicate);
  EXPECT_EQ(LastCopyQuestion(tree, MarkedFilesAction::kDelete), std::nullopt);
}

TEST(LastCopyGuardTest, NamesTenGroupsAndCountsTheRest) {
  MemoryResultTree tree;
  std::string named;
  for (int i = 1; i <= 13; ++i) {
    AddGroup(tree, "key" + std::to_string(i), {MarkDelete, MarkDelete});
    if (i <= 10) named += "  key" + std::to_string(i) + "\r\n";
  }
  EXPECT_EQ(LastCopyQuestion(tree, MarkedFilesAction::kDelete),
            "すべてのファイルに削除マークが付いているグループがあります。\r\n" + named +
                "  ほか3個のグループ\r\n"
                "\r\n削除すると、これらのグループのファイルは1つも残りません。\r\n続けますか？");
}

}  // namespace
}  // namespace twinseek
