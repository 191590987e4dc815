#include "fileops/marked_path_list.h"

#include <gtest/gtest.h>

#include "tree/memory_result_tree.h"

namespace twinseek {
namespace {

using Paths = std::vector<std::string>;

TEST(MarkedPathListTest, TakesTheMarkedFilesInTreeOrderAndNothingElse) {
  MemoryResultTree tree;
  const NodeHandle first = tree.AddGroup("key1");
  tree.PutImage(tree.AddFile(first, "C:\\b\\z.txt"), MarkDelete);
  tree.PutImage(tree.AddFile(first, "C:\\a\\y.txt"), MarkCopy);
  tree.PutImage(tree.AddFile(first, "C:\\c\\x.txt"), MarkDelete);
  const NodeHandle second = tree.AddGroup("key2");
  tree.PutImage(second, MarkDelete);  // a group's own mark does not count
  tree.PutImage(tree.AddFile(second, "D:\\表\\a.txt"), MarkDelete);
  tree.AddFile(second, "D:\\b.txt");

  EXPECT_EQ(MarkedPathList(tree, MarkDelete), (Paths{"C:\\b\\z.txt", "C:\\c\\x.txt", "D:\\表\\a.txt"}));
  EXPECT_EQ(MarkedPathList(tree, MarkCopy), (Paths{"C:\\a\\y.txt"}));
  EXPECT_EQ(MarkedPathList(tree, MarkNone), (Paths{"D:\\b.txt"}));
  EXPECT_FALSE(MarkedPathList(tree, MarkUnique).has_value());
  tree.Clear();
  EXPECT_FALSE(MarkedPathList(tree, MarkDelete).has_value());
}

TEST(MarkedPathListTest, DoubleNulListEndsEachPathAndTheWhole) {
  static constexpr char kExpected[] = "C:\\a.txt\0D:\\表\0\0";
  EXPECT_EQ(DoubleNulList({"C:\\a.txt", "D:\\表"}), std::string(kExpected, sizeof kExpected - 1));
  EXPECT_EQ(DoubleNulList({}), std::string(1, '\0'));
}

}  // namespace
}  // namespace twinseek
