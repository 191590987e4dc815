#include "report/tree_report.h"

#include <gtest/gtest.h>

#include <string>

#include "tree/memory_result_tree.h"

namespace twinseek {
namespace {

TEST(TreeReportTest, AnEmptyTreeGivesAnEmptyText) {
  MemoryResultTree tree;
  EXPECT_EQ(BuildTreeReport(tree), "");
}

TEST(TreeReportTest, GroupsAndFilesInTreeOrderEveryLineEndingInCrLf) {
  MemoryResultTree tree;
  const NodeHandle first = tree.AddGroup("(10)");
  tree.AddFile(first, "C:\\a\\x.txt");
  const NodeHandle second = tree.AddGroup("表 W2002/01/15 10:20:30 0000(5)");
  tree.AddFile(second, "C:\\表\\y.txt");
  tree.AddFile(first, "C:\\b\\x.txt");  // a file added later stays in its group
  tree.AddFile(second, "C:\\z.txt");
  EXPECT_EQ(BuildTreeReport(tree),
            "*(10)\r\nC:\\a\\x.txt\r\nC:\\b\\x.txt\r\n"
            "*表 W2002/01/15 10:20:30 0000(5)\r\nC:\\表\\y.txt\r\nC:\\z.txt\r\n");
}

TEST(TreeReportTest, KeepsKeysAndPathsOfAnyLengthWhole) {
  MemoryResultTree tree;
  const std::string key(70'000, 'K');
  const std::string path = "C:\\" + std::string(5'000, 'p');
  tree.AddFile(tree.AddGroup(key), path);
  EXPECT_EQ(BuildTreeReport(tree), "*" + key + "\r\n" + path + "\r\n");
}

}  // namespace
}  // namespace twinseek
