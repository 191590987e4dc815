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

namespace twinseek {
namespace {

using Paths = std::set<std::string>;

constexpr int64_t kTicksPerSecond = 10'000'000;

// The file time whose local time is local_seconds (the offset in force now
// applies to every time alike).
FileTime FileTimeAt(int64_t local_seconds) {
  constexpr FileTime kReference = 133'000'000'000'000'000;
  const int64_t offset = LocalSeconds(ToLocalTime(kReference)) - static_cast<int64_t>(kReference / kTicksPerSecond);
  return static_cast<FileTime>(local_seconds - offset) * kTicksPerSecond;
}

class EnumerationTest : public ::testing::Test {
 protected:
  EnumerationTest() { criteria.output = &output; }

  // Walks with the criteria as they are; the status line is recorded.
  void Walk(const EscapeProbe& escape_down = {}) {
    output.clear();
    shown.clear();
    EnumerateFolder(MakeEnumerationRequest(criteria, [this](const std::string& location) {
                      shown.push_back(location);
                      if (on_status) on_status(location);
                    }),
                    SystemFileSystem(), escape_down);
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

  size_t IndexOf(std::string_view relative) const {
    const auto found = std::find(output.begin(), output.end(), tree.Path(relative));
    EXPECT_NE(found, output.end()) << relative;
    return static_cast<size_t>(found - output.begin());
  }

  testing::TempTree tree;
  ScanCriteria criteria{tree.Root(), LocalTime{2024, 3, 15, 13, 45, 10, 500}};
  std::vector<std::string> output;
  std::vector<std::string> shown;
  std::function<void(const std::string&)> on_status;
};

TEST_F(EnumerationTest, ListsFilesMatchingAnyPattern) {
  for (const char8_t* name : {u8"a.txt", u8"B.TXT", u8"readme", u8"c.dat", u8"表示.txt", u8".hidden.txt"}) {
    tree.Write(name, "x");
  }
  tree.MakeFolder(u8"folder.txt");
  tree.Write(u8"folder.txt\\inner.txt", "x");
  criteria.include_subfolders = false;

  using Names = std::set<std::string>;
  criteria.name_patterns = "*.*";
  Walk();
  EXPECT_EQ(RootNames(), (Names{"a.txt", "B.TXT", "c.dat", "表示.txt", ".hidden.txt"}));
  criteria.name_patterns = "*.TXT;*.dat";
  Walk();
  EXPECT_EQ(RootNames(), (Names{"a.txt", "B.TXT", "c.dat", "表示.txt", ".hidden.txt"}));
  criteria.name_patterns = "*.txt; *.dat";
  Walk();
  EXPECT_EQ(RootNames(), (Names{"a.txt", "B.TXT", "表示.txt", ".hidden.txt"}));
  criteria.name_patterns = "README;";
  Walk();
  EXPECT_EQ(RootNames(), (Names{"readme"}));
  criteria.name_patterns = "?示.TXT";
  Walk();
  EXPECT_EQ(RootNames(), (Names{"表示.txt"}));
  criteria.name_patterns = ";";
  Walk();
  EXPECT_EQ(RootNames(), Names());
}

TEST_F(EnumerationTest, AppendsOneSeparatorByWholeCharacters) {
  tree.Write(u8"a.txt", "x");
  // "表" ends in the byte 0x5C, which is no separator.
  tree.MakeFolder(u8"表");
  tree.Write(u8"表\\b.txt", "x");
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
  tree.Write(u8"before", "x");
  tree.Write(u8"first", "x");
  tree.Write(u8"last", "x");
  tree.Write(u8"after", "x");
  tree.SetLastWriteTime(u8"before", FileTimeAt(day - 1));
  tree.SetLastWriteTime(u8"first", FileTimeAt(day));
  // 23:59:59.999 counts as 23:59:59.
  tree.SetLastWriteTime(u8"last", FileTimeAt(day + 86'399) + 9'999'999);
  tree.SetLastWriteTime(u8"after", FileTimeAt(day + 86'400));
  criteria.name_patterns = "*";
  criteria.start_date = LocalTime{2023, 6, 10};
  criteria.end_date = LocalTime{2023, 6, 10};

  using Names = std::set<std::string>;
  criteria.start_date_enabled = true;
  criteria.end_date_enabled = true;
  Walk();
  EXPECT_EQ(RootNames(), (Names{"first", "last"}));
  criteria.end_date_enabled = false;
  Walk();
  EXPECT_EQ(RootNames(), (Names{"first", "last", "after"}));
  criteria.start_date_enabled = false;
  criteria.end_date_enabled = true;
  Walk();
  EXPECT_EQ(RootNames(), (Names{"before", "first", "last"}));
  criteria.end_date_enabled = false;
  Walk();
  EXPECT_EQ(RootNames().size(), 4u);
}

TEST_F(EnumerationTest, KeepsFilesWithinTheSizes) {
  tree.Write(u8"0", "");
  tree.Write(u8"9", std::string(9, 'x'));
  tree.Write(u8"10", std::string(10, 'x'));
  tree.Write(u8"11", std::string(11, 'x'));
  // Beyond 32 bits: cut to 32 bits it would weigh 5 bytes.
  tree.Write(u8"big", "");
  tree.Resize(u8"big", (uint64_t{1} << 32) + 5);
  criteria.name_patterns = "*";

  using Names = std::set<std::string>;
  criteria.minimum_size_enabled = true;
  criteria.maximum_size_enabled = true;
  criteria.minimum_size = 10;
  criteria.maximum_size = 10;
  Walk();
  EXPECT_EQ(RootNames(), (Names{"10"}));
  criteria.minimum_size = 11;
  criteria.maximum_size = 9;
  Walk();
  EXPECT_EQ(RootNames(), Names());
  criteria.maximum_size_enabled = false;
  criteria.minimum_size = 10;
  Walk();
  EXPECT_EQ(RootNames(), (Names{"10", "11", "big"}));
  criteria.minimum_size_enabled = false;
  criteria.maximum_size_enabled = true;
  criteria.maximum_size = 10;
  Walk();
  EXPECT_EQ(RootNames(), (Names{"0", "9", "10"}));
  criteria.maximum_size = 0xFFFFFFFF;
  Walk();
  EXPECT_EQ(RootNames(), (Names{"0", "9", "10", "11"}));
}

TEST_F(EnumerationTest, WalksSubfoldersDepthFirstAfterTheFiles) {
  tree.Write(u8"r.txt", "x");
  tree.Write(u8".f.txt", "x");
  tree.MakeFolder(u8"sub1");
  tree.Write(u8"sub1\\s1.txt", "x");
  tree.MakeFolder(u8"sub1\\deep");
  tree.Write(u8"sub1\\deep\\d.txt", "x");
  tree.MakeFolder(u8"sub2");
  tree.Write(u8"sub2\\s2.txt", "x");
  tree.MakeFolder(u8".git");
  tree.Write(u8".git\\g.txt", "x");

  Walk();
  EXPECT_EQ(Paths(output.begin(), output.end()),
            (Paths{tree.Path("r.txt"), tree.Path(".f.txt"), tree.Path("sub1\\s1.txt"),
                   tree.Path("sub1\\deep\\d.txt"), tree.Path("sub2\\s2.txt")}));
  EXPECT_LT(std::max(IndexOf("r.txt"), IndexOf(".f.txt")), 2u);
  EXPECT_EQ(IndexOf("sub1\\deep\\d.txt"), IndexOf("sub1\\s1.txt") + 1);
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0], tree.Root() + "\\");
  const size_t sub1 = static_cast<size_t>(std::find(shown.begin(), shown.end(), tree.Path("sub1\\")) - shown.begin());
  ASSERT_LT(sub1 + 1, shown.size());
  EXPECT_EQ(shown[sub1 + 1], tree.Path("sub1\\deep\\"));
  EXPECT_NE(std::find(shown.begin(), shown.end(), tree.Path("sub2\\")), shown.end());

  criteria.include_subfolders = false;
  Walk();
  EXPECT_EQ(Paths(output.begin(), output.end()), (Paths{tree.Path("r.txt"), tree.Path(".f.txt")}));
  EXPECT_EQ(shown, std::vector<std::string>{tree.Root() + "\\"});
}

TEST_F(EnumerationTest, CancelEndsTheWholeWalk) {
  for (const char8_t* name : {u8"r1", u8"r2", u8"r3"}) tree.Write(name, "x");
  for (const char8_t* folder : {u8"a", u8"b"}) {
    tree.MakeFolder(folder);
    for (const char8_t* name : {u8"\\1", u8"\\2", u8"\\3", u8"\\4"}) {
      tree.Write(std::u8string(folder) + name, "x");
    }
  }
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
  for (const char8_t* folder : {u8"a", u8"b"}) {
    tree.MakeFolder(folder);
    for (const char8_t* name : {u8"\\1", u8"\\2", u8"\\3"}) tree.Write(std::u8string(folder) + name, "x");
  }
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
  tree.Write(u8"file.txt", "x");
  criteria.location = tree.Path("missing");
  Walk();
  EXPECT_TRUE(output.empty());
  EXPECT_EQ(shown, std::vector<std::string>{tree.Path("missing\\")});
  criteria.location = tree.Path("file.txt");
  Walk();
  EXPECT_TRUE(output.empty());
}

TEST_F(EnumerationTest, SkipsNamesCodePage932CannotHold) {
  tree.Write(u8"plain.txt", "x");
  tree.Write(u8"café.txt", "x");
  tree.MakeFolder(u8"é");
  tree.Write(u8"é\\inside.txt", "x");
  Walk();
  EXPECT_EQ(output, std::vector<std::string>{tree.Path("plain.txt")});
  EXPECT_EQ(shown.size(), 1u);
}

TEST(ScanCriteriaTest, StartsFromTodayAndTheGivenLocation) {
  const ScanCriteria criteria("C:\\Data", LocalTime{2024, 3, 15, 13, 45, 10, 500});
  EXPECT_EQ(criteria.location, "C:\\Data");
  EXPECT_EQ(criteria.end_date, (LocalTime{2024, 3, 15, 0, 0, 0, 0}));
  EXPECT_EQ(criteria.start_date, (LocalTime{2024, 2, 14, 0, 0, 0, 0}));
  EXPECT_EQ(criteria.name_patterns, "*.*");
  EXPECT_TRUE(criteria.include_subfolders);
  EXPECT_FALSE(criteria.start_date_enabled || criteria.end_date_enabled || criteria.minimum_size_enabled ||
               criteria.maximum_size_enabled);
  EXPECT_EQ(criteria.minimum_size + criteria.maximum_size, 0u);
  EXPECT_EQ(criteria.cancel.load() + criteria.running.load(), 0);
  EXPECT_EQ(criteria.output, nullptr);

  const ScanCriteria new_year("", LocalTime{2024, 1, 10});
  EXPECT_EQ(new_year.start_date, (LocalTime{2023, 12, 11, 0, 0, 0, 0}));
}

TEST(ScanCriteriaTest, RequestEndsOnTheLastSecondOfTheEndDay) {
  ScanCriteria criteria("C:\\Data", LocalTime{2024, 3, 15});
  std::vector<std::string> output;
  criteria.output = &output;
  criteria.start_date = LocalTime{2024, 2, 29};
  criteria.end_date = LocalTime{2024, 2, 29};
  const EnumerationRequest request = MakeEnumerationRequest(criteria, {});
  EXPECT_EQ(FromLocalSeconds(request.start_bound), (LocalTime{2024, 2, 29, 0, 0, 0, 0}));
  EXPECT_EQ(FromLocalSeconds(request.end_bound), (LocalTime{2024, 2, 29, 23, 59, 59, 0}));
  EXPECT_EQ(&request.output, &output);
  EXPECT_EQ(&request.cancel, &criteria.cancel);
}

TEST(LocalSecondsTest, CountsCalendarSecondsBothWays) {
  EXPECT_EQ(LocalSeconds(LocalTime{1601, 1, 1}), 0);
  EXPECT_EQ(LocalSeconds(LocalTime{1601, 1, 2, 0, 0, 1, 999}), 86'401);
  // Every day of four centuries, leap days included, follows the one before
  // it by 86400 seconds and converts back to itself.
  const int64_t start = LocalSeconds(LocalTime{1899, 12, 31, 12, 30, 15});
  for (int64_t seconds = start; seconds < start + 146'097 * int64_t{86'400}; seconds += 86'400) {
    const LocalTime time = FromLocalSeconds(seconds);
    ASSERT_EQ(LocalSeconds(time), seconds);
    ASSERT_EQ(time.hour * 3600 + time.minute * 60 + time.second, 12 * 3600 + 30 * 60 + 15);
  }
  EXPECT_EQ(FromLocalSeconds(-5), (LocalTime{1601, 1, 1, 0, 0, 0, 0}));
}

}  // namespace
}  // namespace twinseek
