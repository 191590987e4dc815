// The scan list of a drop, on real temporary folders: dropped files as they
// are, the folder question asked once, the breadth-first walk, and Escape.
#include "scan/dropped_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/current_folder.h"
#include "support/listing_limit_file_system.h"
#include "support/temp_tree.h"

#ifndef _WIN32
#include <unistd.h>

#include <set>
#endif

namespace twinseek {
namespace {

class DroppedFilesTest : public ::testing::Test {
 protected:
  // Collects the drop; the folder question is counted and answered yes or no.
  std::vector<std::string> Drop(const std::vector<std::string>& items, bool answer,
                                const EscapeProbe& escape_down = {}) {
    const ScanList list = CollectDroppedItems(
        SystemFileSystem(), std::vector<DroppedItem>(items.begin(), items.end()),
        [&] {
          ++questions;
          return answer;
        },
        escape_down);
    std::vector<std::string> paths;
    for (const ScanItem& item : list) paths.push_back(item.path);
    return paths;
  }

  size_t IndexOf(const std::vector<std::string>& paths, const std::string& path) {
    for (size_t i = 0; i < paths.size(); ++i) {
      if (paths[i] == path) return i;
    }
    ADD_FAILURE() << path << " is not in the list";
    return paths.size();
  }

  testing::TempTree tree;
  int questions = 0;
};

TEST_F(DroppedFilesTest, FilesAndUnreadableItemsGoInUnchangedInDropOrder) {
  tree.Write(u8"b.txt", "b");
  tree.Write(u8"a.txt", "a");
  const std::vector<std::string> items = {tree.Path("b.txt"), tree.Path("missing.txt"), tree.Path("a.txt")};
  EXPECT_EQ(Drop(items, true), items);
  EXPECT_EQ(questions, 0);
}

TEST_F(DroppedFilesTest, FoldersAreWalkedBreadthFirstAfterOneQuestion) {
  for (const auto* folder : {u8"one", u8"one\\sub", u8"one\\sub\\deeper", u8"one\\.git", u8"two"}) {
    tree.MakeFolder(folder);
  }
  tree.Write(u8"one\\top.txt", "1");
  tree.Write(u8"one\\sub\\middle.txt", "2");
  tree.Write(u8"one\\sub\\deeper\\bottom.txt", "3");
  tree.Write(u8"one\\.git\\config", "4");
  tree.Write(u8"one\\.profile", "5");
  tree.Write(u8"two\\other.txt", "6");
  tree.Write(u8"loose.txt", "7");
  const auto paths = Drop({tree.Path("one"), tree.Path("loose.txt"), tree.Path("two")}, true);

  EXPECT_EQ(questions, 1);
  ASSERT_EQ(paths.size(), 6u) << ::testing::PrintToString(paths);
  // A folder's own files come before its subfolders' files, level by level,
  // and the items stay in drop order.
  EXPECT_LT(IndexOf(paths, tree.Path("one\\top.txt")), IndexOf(paths, tree.Path("one\\sub\\middle.txt")));
  EXPECT_LT(IndexOf(paths, tree.Path("one\\sub\\middle.txt")),
            IndexOf(paths, tree.Path("one\\sub\\deeper\\bottom.txt")));
  IndexOf(paths, tree.Path("one\\.profile"));
  EXPECT_EQ(paths[4], tree.Path("loose.txt"));
  EXPECT_EQ(paths[5], tree.Path("two\\other.txt"));
}

TEST_F(DroppedFilesTest, NoToTheQuestionSkipsEveryFolderOfTheDrop) {
  tree.MakeFolder(u8"one");
  tree.MakeFolder(u8"two");
  tree.Write(u8"one\\a.txt", "a");
  tree.Write(u8"two\\b.txt", "b");
  EXPECT_TRUE(Drop({tree.Path("one"), tree.Path("two")}, false).empty());
  EXPECT_EQ(questions, 1);
}

TEST_F(DroppedFilesTest, AFolderEndingInASeparatorGetsNoSecondOne) {
  tree.MakeFolder(u8"one");
  tree.Write(u8"one\\a.txt", "a");
  EXPECT_EQ(Drop({tree.Path("one") + "\\"}, true), std::vector<std::string>{tree.Path("one\\a.txt")});
}

TEST_F(DroppedFilesTest, EscapeEndsTheListingAndTheItems) {
  tree.MakeFolder(u8"one");
  tree.Write(u8"one\\a.txt", "a");
  tree.Write(u8"one\\b.txt", "b");
  tree.Write(u8"one\\c.txt", "c");
  tree.Write(u8"loose.txt", "l");
  // Up after the first item's test, down from the first listed entry on.
  int probes = 0;
  const auto paths = Drop({tree.Path("one"), tree.Path("loose.txt")}, true, [&] { return ++probes > 1; });
  EXPECT_EQ(paths.size(), 1u);
  EXPECT_TRUE(paths.front().starts_with(tree.Path("one\\")));
}

TEST_F(DroppedFilesTest, RelativePathsAreMadeAbsoluteAndUnusableOnesReported) {
  tree.Write(u8"b.txt", "b");
  tree.MakeFolder(u8"one");
  tree.Write(u8"one\\a.txt", "a");
  ScanList list;
  {
    const testing::CurrentFolderAt here(tree.Root());
    list = CollectDroppedItems(
        SystemFileSystem(),
        {DroppedItem("b.txt"), DroppedItem("X:\\caf?.txt", false), DroppedItem("one\\..\\one")},
        [] { return true; }, {});
  }
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].path, tree.Path("b.txt"));
  EXPECT_FALSE(list[0].entry.has_value()) << "read by the run, as any dropped file";
  EXPECT_EQ(list[1].path, "X:\\caf?.txt");
  ASSERT_TRUE(list[1].entry.has_value());
  EXPECT_FALSE(list[1].entry->name_representable) << "for the run to report";
  EXPECT_EQ(list[1].entry->name, "caf?.txt");
  EXPECT_EQ(testing::Backslashed(list[2].path), testing::Backslashed(tree.Path("one\\a.txt")));
}

#ifndef _WIN32
TEST_F(DroppedFilesTest, TheWalkEntersNoFolderTwiceAndReportsNamesThatCannotBeHeld) {
  tree.MakeFolder(u8"two");
  tree.MakeFolder(u8"two\\d");
  tree.Write(u8"two\\f.txt", "f");
  tree.Write(u8"two\\d\\g.txt", "g");
  tree.Write(u8"two\\d\\café.txt", "c");
  tree.MakeFolder(u8"two\\é");
  tree.Write(u8"two\\é\\inside.txt", "i");
  ASSERT_EQ(symlink("..", (tree.Root() + "/two/d/a").c_str()), 0);
  ASSERT_EQ(symlink("..", (tree.Root() + "/two/d/b").c_str()), 0);

  testing::ListingLimitFileSystem file_system;
  const ScanList list = CollectDroppedItems(file_system, {tree.Path("two")}, [] { return true; }, {});
  EXPECT_EQ(file_system.listings, 4) << "two, two\\d, and a and b opened and refused";
  std::vector<std::string> paths;
  for (const ScanItem& item : list) paths.push_back(item.path);
  ASSERT_EQ(paths.size(), 4u) << ::testing::PrintToString(paths);
  const std::set<std::string> first_level(paths.begin(), paths.begin() + 2);
  EXPECT_EQ(first_level, (std::set<std::string>{tree.Path("two\\f.txt"), tree.Path("two\\?")}));
  const std::set<std::string> second_level(paths.begin() + 2, paths.end());
  EXPECT_EQ(second_level, (std::set<std::string>{tree.Path("two\\d\\g.txt"), tree.Path("two\\d\\caf?.txt")}));
  for (const ScanItem& item : list) {
    EXPECT_EQ(item.entry->name_representable, item.path.find('?') == std::string::npos) << item.path;
  }
}
#endif

}  // namespace
}  // namespace twinseek
