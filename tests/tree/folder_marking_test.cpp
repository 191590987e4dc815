// Marking the files that lie in a named folder (code page 932 paths, compared
// without regard to case), and picking one file of each all-duplicate group.
#include "tree/folder_marking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tree/marks.h"
#include "tree/memory_result_tree.h"

namespace twinseek::testing {
namespace {

using Marks = std::vector<int>;

struct MarkedFile {
  std::string path;
  int mark = MarkNone;
};

class FolderMarkingTest : public ::testing::Test {
 protected:
  // A group of files with their marks (put raw) and its summary computed.
  NodeHandle AddGroup(const std::vector<MarkedFile>& files) {
    const NodeHandle group = tree_.AddGroup("key" + std::to_string(++groups_));
    for (const MarkedFile& file : files) tree_.PutImage(tree_.AddFile(group, file.path), file.mark);
    UpdateGroupSummary(tree_, group);
    return group;
  }

  NodeHandle AddGroup(const Marks& marks) {
    std::vector<MarkedFile> files;
    for (const int mark : marks) files.push_back({"C:\\file", mark});
    return AddGroup(files);
  }

  Marks FileMarks(NodeHandle group) const {
    Marks marks;
    for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
      marks.push_back(tree_.GetMark(file));
    }
    return marks;
  }

  // Marks the files of a fresh tree of one group per path with 5 and
  // answers which paths were marked.
  std::vector<std::string> MarkedPaths(const std::vector<std::string>& paths, std::string_view folder,
                                       bool include_subfolders) {
    MemoryResultTree tree;
    for (const std::string& path : paths) tree.AddFile(tree.AddGroup(path), path);
    const int count = MarkByDirectory(tree, {std::string(folder), include_subfolders, MarkDelete, false});
    std::vector<std::string> marked;
    for (NodeHandle group = tree.FirstGroup(); group != kNoNode; group = tree.Next(group)) {
      if (tree.GetMark(tree.FirstFile(group)) == MarkDelete) marked.push_back(tree.Text(group));
    }
    EXPECT_EQ(count, static_cast<int>(marked.size()));
    return marked;
  }

  MemoryResultTree tree_;
  int groups_ = 0;
};

using Paths = std::vector<std::string>;

TEST_F(FolderMarkingTest, MarksTheFilesOfTheFolderWhateverTheLetterCase) {
  const NodeHandle first =
      AddGroup({{"C:\\DATA\\a.txt", MarkDuplicate}, {"C:\\DATABASE\\d.txt", MarkDuplicate}});
  const NodeHandle second = AddGroup({{"c:\\Data\\b.txt"}, {"C:\\DATA\\SUB\\c.txt"}});

  const int count = MarkByDirectory(tree_, {"c:\\data", false, MarkFromIndex(3), false});

  EXPECT_EQ(count, 2);
  EXPECT_EQ(FileMarks(first), (Marks{MarkDelete, MarkDuplicate}));
  EXPECT_EQ(tree_.GetMark(first), MarkDelete);
  EXPECT_EQ(FileMarks(second), (Marks{MarkDelete, MarkNone}));
  EXPECT_EQ(tree_.GetMark(second), MarkDelete);
  EXPECT_EQ(MatchedFilesMessage(count), "2個のファイルが該当しました。");

  EXPECT_EQ(MarkByDirectory(tree_, {"c:\\data\\", true, MarkCopy, false}), 3);
  EXPECT_EQ(FileMarks(first), (Marks{MarkCopy, MarkDuplicate}));
  EXPECT_EQ(FileMarks(second), (Marks{MarkCopy, MarkCopy}));
  EXPECT_EQ(tree_.GetMark(second), MarkCopy);
}

TEST_F(FolderMarkingTest, ReadsPathsByWholeDoubleByteCharacters) {
  ASSERT_EQ(std::string("表"), "\x95\x5C") << "the sources must be compiled to code page 932";
  const Paths paths = {"C:\\表\\a.txt",   "C:\\表示\\b.txt",        "C:\\表示.txt",
                       "C:\\tmp\\表.txt", "C:\\tmp\\ソフト\\c.txt", "C:\\ＤＡＴＡ\\e.txt"};

  // A folder ending in a character whose second byte is 0x5C still gets its
  // separator; a name beginning with one lies directly in its folder.
  EXPECT_EQ(MarkedPaths(paths, "C:\\表", false), Paths{"C:\\表\\a.txt"});
  EXPECT_EQ(MarkedPaths(paths, "C:\\表", true), Paths{"C:\\表\\a.txt"});
  EXPECT_EQ(MarkedPaths(paths, "c:\\TMP", false), Paths{"C:\\tmp\\表.txt"});
  EXPECT_EQ(MarkedPaths(paths, "c:\\TMP", true), (Paths{"C:\\tmp\\表.txt", "C:\\tmp\\ソフト\\c.txt"}));
  // Full-width letters compare without regard to case as well.
  EXPECT_EQ(MarkedPaths(paths, "c:\\ｄａｔａ", false), Paths{"C:\\ＤＡＴＡ\\e.txt"});
}

TEST_F(FolderMarkingTest, AnEmptyFolderStandsForTheNetworkPaths) {
  const Paths paths = {"\\\\server\\share\\a.txt", "C:\\a.txt"};
  EXPECT_EQ(MarkedPaths(paths, "", false), Paths{});
  EXPECT_EQ(MarkedPaths(paths, "", true), Paths{"\\\\server\\share\\a.txt"});
  EXPECT_EQ(MarkedPaths(paths, "D:\\nowhere", true), Paths{});
}

TEST_F(FolderMarkingTest, OnlyDuplicatesLeavesOtherFilesUntouchedAndUncounted) {
  const NodeHandle group = AddGroup(
      {{"C:\\data\\a.txt", MarkNone}, {"C:\\data\\b.txt", MarkDuplicate}, {"C:\\data\\c.txt", MarkUnique}});

  EXPECT_EQ(MarkByDirectory(tree_, {"C:\\data", false, MarkDelete, true}), 1);

  EXPECT_EQ(FileMarks(group), (Marks{MarkNone, MarkDelete, MarkUnique}));
  EXPECT_EQ(tree_.GetMark(group), MarkDelete);
}

TEST_F(FolderMarkingTest, PickOneCopiesTheFirstDuplicateOfAllDuplicateGroupsOnly) {
  const NodeHandle duplicates = AddGroup({MarkDuplicate, MarkDuplicate, MarkDuplicate});
  const NodeHandle comparing = AddGroup({MarkComparing, MarkDuplicate, MarkDuplicate});
  const NodeHandle mixed = AddGroup({MarkDuplicate, MarkUnique});
  const NodeHandle unique = AddGroup({MarkUnique, MarkUnique});
  ASSERT_EQ(tree_.GetMark(comparing), MarkDuplicate);
  ASSERT_EQ(tree_.GetMark(mixed), MarkMixed);

  PickOneDuplicate(tree_);

  EXPECT_EQ(FileMarks(duplicates), (Marks{MarkCopy, MarkDuplicate, MarkDuplicate}));
  EXPECT_EQ(tree_.GetMark(duplicates), MarkCopy);
  EXPECT_EQ(FileMarks(comparing), (Marks{MarkComparing, MarkCopy, MarkDuplicate}));
  EXPECT_EQ(tree_.GetMark(comparing), MarkCopy);
  EXPECT_EQ(FileMarks(mixed), (Marks{MarkDuplicate, MarkUnique}));
  EXPECT_EQ(tree_.GetMark(mixed), MarkMixed);
  EXPECT_EQ(FileMarks(unique), (Marks{MarkUnique, MarkUnique}));

  PickOneDuplicate(tree_);
  EXPECT_EQ(FileMarks(duplicates), (Marks{MarkCopy, MarkDuplicate, MarkDuplicate}));
}

}  // namespace
}  // namespace twinseek::testing
