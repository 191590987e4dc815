// The walk of the scan target on real temporary folders: which files pass the
// name, date and size tests, how paths are spelled, the order of folders, and
// how the cancel flag and the Escape key end it.
#include "scan/enumeration.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "support/temp_tree.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace twinseek {
namespace {

using Paths = std::set<std::string>;

constexpr int64_t kTicksPerSecond = 10'000'000;

// The file time whose local time is local_seconds (the offset in force now
// applies to every time alike).
FileTime FileTimeAt(int64_t local_seconds) {
  constexpr FileTime kReference = 133'000'000'000'000'000;
  const int64_t offset =
      LocalSeconds(ToLocalTime(kReference)) - static_cast<int64_t>(kReference / kTicksPerSecond);
  return static_cast<FileTime>(local_seconds - offset) * kTicksPerSecond;
}

class EnumerationTest : public ::testing::Test {
 protected:
  EnumerationTest() { criteria.output = &list; }

  // Walks with the criteria as they are; the status line is recorded.
  void Walk(const EscapeProbe& escape_down = {}) {
    list.clear();
    shown.clear();
    EnumerateFolder(MakeEnumerationRequest(criteria,
                                           [this](const std::string& location) {
                                             shown.push_back(location);
                                             if (on_status) on_status(location);
                                           }),
                    SystemFileSystem(), escape_down);
    output.clear();
    for (const ScanItem& item : list) {
      output.push_back(item.path);
      // The listing's entry travels with the path.
      EXPECT_TRUE(item.entry.has_value() && item.path.ends_with("\\" + item.entry->name)) << item.path;
    }
  }

  // The names found directly in the root, in any order.
  std::set<std::string> RootNames() const {
    std::set<std::string> names;
    const std::string prefix = tree.Root() + "\\";
    for (const std::string& path : output) {
      EXPECT_TRUE(path.starts_with(prefix)) << path;
      names.insert(path.substr(prefix.size()));
    }
    return names;
  }

  // Makes folders (ending in a backslash) and one-byte files, in order.
  void Make(std::initializer_list<std::u8string_view> entries) {
    for (const std::u8string_view entry : entries) {
      if (entry.ends_with(u8'\\')) {
        tree.MakeFolder(entry.substr(0, entry.size() - 1));
      } else {
        tree.Write(entry, "x");
      }
    }
  }

  size_t IndexOf(std::string_view relative) const {
    const auto found = std::find(output.begin(), output.end(), tree.Path(relative));
    EXPECT_NE(found, output.end()) << relative;
    return static_cast<size_t>(found - output.begin());
  }

  testing::TempTree tree;
  ScanCriteria criteria{tree.Root(), LocalTime{2024, 3, 15, 13, 45, 10, 500}};
  ScanList list;
  std::vector<std::string> output;  // the paths of the list
  std::vector<std::string> shown;
  std::function<void(const std::string&)> on_status;
};

TEST_F(EnumerationTest, ListsFilesMatchingAnyPattern) {
  Make({u8"a.txt", u8"B.TXT", u8"readme", u8"c.dat", u8"表示.txt", u8".h.txt", u8"folder.txt\\"});
  criteria.include_subfolders = false;
  using Names = std::set<std::string>;
  const std::vector<std::pair<std::string, Names>> cases = {
      {"*.*", {"a.txt", "B.TXT", "c.dat", "表示.txt", ".h.txt"}},
      {"*.TXT;*.dat", {"a.txt", "B.TXT", "c.dat", "表示.txt", ".h.txt"}},
      {"*.txt; *.dat", {"a.txt", "B.TXT", "表示.txt", ".h.txt"}},
      {"README;", {"readme"}},
      {"?示.TXT", {"表示.txt"}},
      {";", {}},
  };
  for (const auto& [patterns, names] : cases) {
    criteria.name_patterns = patterns;
    Walk();
    EXPECT_EQ(RootNames(), names) << patterns;
  }
}

TEST_F(EnumerationTest, AppendsOneSeparatorByWholeCharacters) {
  // "表" ends in the byte 0x5C, which is no separator.
  Make({u8"a.txt", u8"表\\", u8"表\\b.txt"});
  criteria.include_subfolders = false;

  criteria.location = tree.Root() + "\\";
  Walk();
  EXPECT_EQ(shown, std::vector<std::string>{tree.Root() + "\\"});
  EXPECT_EQ(output, std::vector<std::string>{tree.Path("a.txt")});

  criteria.location = tree.Path("表");
  Walk();
  EXPECT_EQ(shown, std::vector<std::string>{tree.Path("表\\")});
  EXPECT_EQ(output, std::vector<std::string>{tree.Path("表\\b.txt")});
}

TEST_F(EnumerationTest, KeepsFilesWithinTheDaysInLocalTime) {
  const int64_t day = LocalSeconds(LocalTime{2023, 6, 10});
  // 23:59:59.999 counts as 23:59:59.
  const std::vector<std::pair<const char8_t*, FileTime>> files = {
      {u8"before", FileTimeAt(day - 1)},
      {u8"first", FileTimeAt(day)},
      {u8"last", FileTimeAt(day + 86'399) + 9'999'999},
      {u8"after", FileTimeAt(day + 86'400)}};
  for (const auto& [name, time] : files) {
    tree.Write(name, "x");
    tree.SetLastWriteTime(name, time);
  }
  criteria.name_patterns = "*";
  criteria.start_date = criteria.end_date = LocalTime{2023, 6, 10};
  struct Case {
    bool start, end;
    std::set<std::string> names;
  };
  for (const Case& c : {Case{true, true, {"first", "last"}}, Case{true, false, {"first", "last", "after"}},
                        Case{false, true, {"before", "first", "last"}},
                        Case{false, false, {"before", "first", "last", "after"}}}) {
    criteria.start_date_enabled = c.start;
    criteria.end_date_enabled = c.end;
    Walk();
    EXPECT_EQ(RootNames(), c.names) << c.start << c.end;
  }
}

TEST_F(EnumerationTest, KeepsFilesWithinTheSizes) {
  // Files "a", "j", "k" and "l" of 0, 9, 10 and 11 bytes.
  for (const size_t size : {0, 9, 10, 11}) {
    tree.Write(std::u8string(1, static_cast<char8_t>('a' + size)), std::string(size, 'x'));
  }
  // Beyond 32 bits: cut to 32 bits it would weigh 5 bytes.
  tree.Write(u8"big", "");
  tree.Resize(u8"big", (uint64_t{1} << 32) + 5);
  criteria.name_patterns = "*";
  struct Case {
    bool minimum_enabled, maximum_enabled;
    uint32_t minimum, maximum;
    std::set<std::string> names;
  };
  for (const Case& c :
       {Case{true, true, 10, 10, {"k"}}, Case{true, true, 11, 9, {}},
        Case{true, false, 10, 0, {"k", "l", "big"}}, Case{false, true, 0, 10, {"a", "j", "k"}},
        Case{false, true, 0, 0xFFFFFFFF, {"a", "j", "k", "l"}}}) {
    criteria.minimum_size_enabled = c.minimum_enabled;
    criteria.maximum_size_enabled = c.maximum_enabled;
    criteria.minimum_size = c.minimum;
    criteria.maximum_size = c.maximum;
    Walk();
    EXPECT_EQ(RootNames(), c.names) << c.minimum << " to " << c.maximum;
  }
}

TEST_F(EnumerationTest, WalksSubfoldersDepthFirstAfterTheFiles) {
  Make({u8"r.txt", u8".f.txt", u8"sub1\\", u8"sub1\\s1.txt", u8"sub1\\deep\\", u8"sub1\\deep\\d.txt",
        u8"sub2\\", u8"sub2\\s2.txt", u8".git\\", u8".git\\g.txt"});
  Walk();
  EXPECT_EQ(Paths(output.begin(), output.end()),
            (Paths{tree.Path("r.txt"), tree.Path(".f.txt"), tree.Path("sub1\\s1.txt"),
                   tree.Path("sub1\\deep\\d.txt"), tree.Path("sub2\\s2.txt")}));
  EXPECT_LT(std::max(IndexOf("r.txt"), IndexOf(".f.txt")), 2u);
  EXPECT_EQ(IndexOf("sub1\\deep\\d.txt"), IndexOf("sub1\\s1.txt") + 1);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0], tree.Root() + "\\");
  const auto sub1 = std::find(shown.begin(), shown.end(), tree.Path("sub1\\"));
  ASSERT_LT(sub1 + 1, shown.end());
  EXPECT_EQ(sub1[1], tree.Path("sub1\\deep\\"));
  EXPECT_NE(std::find(shown.begin(), shown.end(), tree.Path("sub2\\")), shown.end());

  criteria.include_subfolders = false;
  Walk();
  EXPECT_EQ(Paths(output.begin(), output.end()), (Paths{tree.Path("r.txt"), tree.Path(".f.txt")}));
  EXPECT_EQ(shown, std::vector<std::string>{tree.Root() + "\\"});
}

TEST_F(EnumerationTest, CancelEndsTheWholeWalk) {
  Make(
      {u8"r1", u8"r2", u8"r3", u8"a\\", u8"a\\1", u8"a\\2", u8"a\\3", u8"b\\", u8"b\\1", u8"b\\2", u8"b\\3"});
  criteria.name_patterns = "*";
  // Cancel as the first subfolder begins: its listing still takes its first
  // entry, as after every entry the flag is tested.
  on_status = [this](const std::string& location) {
    if (location != tree.Root() + "\\") criteria.cancel = 1;
  };
  Walk();
  EXPECT_EQ(shown.size(), 2u);
  EXPECT_EQ(output.size(), 4u);
  EXPECT_EQ(RootNames().count("r1") + RootNames().count("r2") + RootNames().count("r3"), 3u);
}

TEST_F(EnumerationTest, EscapeEndsEachFileListingButNotTheWalk) {
  Make({u8"a\\", u8"a\\1", u8"a\\2", u8"a\\3", u8"b\\", u8"b\\1", u8"b\\2", u8"b\\3"});
  criteria.name_patterns = "*";
  int asked = 0;
  Walk([&asked] {
    ++asked;
    return true;
  });
  EXPECT_EQ(shown.size(), 3u);
  ASSERT_EQ(output.size(), 2u);
  auto folder = [](const std::string& path) { return path.substr(0, path.rfind('\\') + 1); };
  EXPECT_EQ((Paths{folder(output[0]), folder(output[1])}), (Paths{tree.Path("a\\"), tree.Path("b\\")}));
  // Asked once per file listing (the root's lists two folders, each of the
  // others one file), never in the subfolder passes.
  EXPECT_EQ(asked, 3);
}

TEST_F(EnumerationTest, FolderThatCannotBeListedAddsNothing) {
  Make({u8"file.txt"});
  criteria.location = tree.Path("missing");
  Walk();
  EXPECT_TRUE(output.empty());
  EXPECT_EQ(shown, std::vector<std::string>{tree.Path("missing\\")});
  criteria.location = tree.Path("file.txt");
  Walk();
  EXPECT_TRUE(output.empty());
}

#ifndef _WIN32
// (Windows lists such a file by its short name instead, where it has one.)
TEST_F(EnumerationTest, NamesThatCannotBeHeldAreFilteredAndListedForTheRunToReport) {
  tree.Write(u8"plain.txt", "xx");
  tree.Write(u8"café.txt", "x");
  tree.Write(u8"😀.dat", "xx");
  Make({u8"é\\", u8"é\\inside.txt", u8"sub\\", u8"sub\\한.txt"});
  criteria.name_patterns = "*.TXT";
  Walk();
  ASSERT_EQ(Paths(output.begin(), output.end()),
            (Paths{tree.Path("plain.txt"), tree.Path("caf?.txt"), tree.Path("?"), tree.Path("sub\\?.txt")}))
      << "the name pattern applies to the name shown; the folder is not entered";
  EXPECT_TRUE(list[IndexOf("plain.txt")].entry->name_representable);
  EXPECT_FALSE(list[IndexOf("caf?.txt")].entry->name_representable);
  const ScanItem& folder = list[IndexOf("?")];
  EXPECT_FALSE(folder.entry->name_representable);
  EXPECT_TRUE(folder.entry->IsDirectory());
  EXPECT_GT(IndexOf("?"), std::max(IndexOf("plain.txt"), IndexOf("caf?.txt"))) << "where its files would be";
  EXPECT_EQ(std::count(shown.begin(), shown.end(), tree.Path("?\\")), 0);

  // The size bounds apply as to any file (café.txt weighs 1 byte).
  criteria.minimum_size_enabled = true;
  criteria.minimum_size = 2;
  Walk();
  EXPECT_EQ(Paths(output.begin(), output.end()), (Paths{tree.Path("plain.txt"), tree.Path("?")}));
}

TEST_F(EnumerationTest, EntersNoFolderTwiceWhateverLinksLeadBackToIt) {
  Make({u8"two\\", u8"two\\f.txt", u8"two\\d\\", u8"two\\d\\g.txt"});
  ASSERT_EQ(symlink("..", (tree.Root() + "/two/d/a").c_str()), 0);
  ASSERT_EQ(symlink("..", (tree.Root() + "/two/d/b").c_str()), 0);
  // A link to a folder outside the walk still leads into it, once.
  testing::TempTree outside;
  outside.Write(u8"out.txt", "x");
  ASSERT_EQ(symlink(outside.Root().c_str(), (tree.Root() + "/out").c_str()), 0);
  ASSERT_EQ(symlink(outside.Root().c_str(), (tree.Root() + "/two/out again").c_str()), 0);
  // Walking in a circle would never end: stop it after 100 folders.
  on_status = [this](const std::string&) {
    if (shown.size() > 100) criteria.cancel = 1;
  };
  Walk();
  EXPECT_EQ(criteria.cancel.load(), 0);
  ASSERT_EQ(output.size(), 3u) << ::testing::PrintToString(output);
  const Paths found(output.begin(), output.end());
  EXPECT_EQ(found.count(tree.Path("out\\out.txt")) + found.count(tree.Path("two\\out again\\out.txt")), 1u)
      << "the first link to the outside folder is the one walked";
  EXPECT_LT(IndexOf("two\\f.txt"), IndexOf("two\\d\\g.txt"));
}
#endif

TEST(ScanCriteriaTest, StartsFromTodayAndEndsRequestsOnTheLastSecond) {
  ScanCriteria criteria("C:\\Data", LocalTime{2024, 3, 15, 13, 45, 10, 500});
  EXPECT_EQ(criteria.location, "C:\\Data");
  EXPECT_EQ(criteria.end_date, (LocalTime{2024, 3, 15, 0, 0, 0, 0}));
  EXPECT_EQ(criteria.start_date, (LocalTime{2024, 2, 14, 0, 0, 0, 0}));
  EXPECT_EQ(ScanCriteria("", LocalTime{2024, 1, 10}).start_date, (LocalTime{2023, 12, 11, 0, 0, 0, 0}));
  EXPECT_EQ(criteria.name_patterns, "*.*");
  EXPECT_TRUE(criteria.include_subfolders);

  ScanList output;
  criteria.output = &output;
  criteria.start_date = criteria.end_date = LocalTime{2024, 2, 29};
  const EnumerationRequest request = MakeEnumerationRequest(criteria, {});
  EXPECT_EQ(FromLocalSeconds(request.start_bound), (LocalTime{2024, 2, 29, 0, 0, 0, 0}));
  EXPECT_EQ(FromLocalSeconds(request.end_bound), (LocalTime{2024, 2, 29, 23, 59, 59, 0}));
  EXPECT_EQ(&request.output, &output);
  EXPECT_EQ(&request.cancel, &criteria.cancel);
}

TEST(LocalSecondsTest, IsTheInverseOfTheCalendar) {
  EXPECT_EQ(LocalSeconds(LocalTime{1601, 1, 2, 0, 0, 1, 999}), 86'401);
  // Every day of four centuries, leap days included.
  const int64_t start = LocalSeconds(LocalTime{1899, 12, 31, 12, 30, 15});
  for (int64_t seconds = start; seconds < start + 146'097 * int64_t{86'400}; seconds += 86'400) {
    ASSERT_EQ(LocalSeconds(FromLocalSeconds(seconds)), seconds);
  }
}

}  // namespace
}  // namespace twinseek
