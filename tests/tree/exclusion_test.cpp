// The unique files brought into the tree.
#include "tree/exclusion.h"

#include <gtest/gtest.h>

#include "base/file_system.h"
#include "tree/memory_result_tree.h"

namespace twinseek {
namespace {

// Paths that name no file: their identities are unknown, so only the paths
// tell files apart.
class ShowUniqueFilesTest : public ::testing::Test {
 protected:
  void Register(std::string_view key, std::string_view path) {
    index_.Register(key, path, tree_, SystemFileSystem());
  }

  MemoryResultTree tree_;
  KeyIndex index_;
};

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

}  // namespace
}  // namespace twinseek
