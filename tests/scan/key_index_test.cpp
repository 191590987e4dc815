// Registering files under their keys: groups in the result tree, the
// counters, files met again under another spelling of their path, and the
// calls that shrink the index.
#include "scan/key_index.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/identity_only_file_system.h"
#include "support/temp_tree.h"
#include "tree/memory_result_tree.h"

namespace twinseek {
namespace {

using testing::TempTree;
using Paths = std::vector<std::string>;
constexpr Registration kNew = Registration::kNewKey;
constexpr Registration kOpened = Registration::kGroupOpened;
constexpr Registration kAppended = Registration::kAppended;
constexpr Registration kIgnored = Registration::kAlreadyRegistered;

class KeyIndexTest : public ::testing::Test {
 protected:
  Registration Register(std::string_view key, std::string_view path) {
    return index_.Register(key, path, tree_, SystemFileSystem());
  }
  Paths Files(NodeHandle group) const {
    Paths paths;
    for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
      paths.push_back(tree_.Text(file));
    }
    return paths;
  }
  Paths Keys() const {
    Paths keys;
    index_.ForEach([&](std::string_view key, const KeyEntry&) { keys.emplace_back(key); });
    return keys;
  }

  MemoryResultTree tree_;
  KeyIndex index_;
};

TEST_F(KeyIndexTest, TheSecondFileOpensAGroupAndLaterFilesJoinIt) {
  EXPECT_EQ(Register("(9)", "C:\\A\\1.TXT"), kNew);
  EXPECT_EQ(tree_.Count(), 0u) << "a key seen once makes no node";
  EXPECT_EQ(index_.Find("(9)")->first_path, "C:\\A\\1.TXT");
  EXPECT_EQ(Register("(9)", "C:\\B\\1.TXT"), kOpened);
  EXPECT_EQ(Register("(9)", "C:\\C\\1.TXT"), kAppended);
  EXPECT_EQ(Register("(7)", "C:\\A\\2.TXT"), kNew);

  const NodeHandle group = tree_.FirstGroup();
  EXPECT_EQ(index_.Find("(9)")->group, group);
  EXPECT_EQ(index_.Find("(9)")->first_path, "") << "the group's first file holds the path now";
  EXPECT_EQ(tree_.Next(group), kNoNode);
  EXPECT_EQ(tree_.Text(group), "(9)");
  EXPECT_TRUE(tree_.IsGroup(group));
  EXPECT_TRUE(tree_.IsExpanded(group));
  EXPECT_EQ(Files(group), (Paths{"C:\\A\\1.TXT", "C:\\B\\1.TXT", "C:\\C\\1.TXT"}));
  for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
    EXPECT_EQ(tree_.GetMark(file), MarkNone);
  }
  EXPECT_EQ(index_.IndexCount(), 2);
  EXPECT_EQ(index_.FileCount(), 4);
  EXPECT_EQ(Keys(), (Paths{"(9)", "(7)"}));
}

TEST_F(KeyIndexTest, APathInAnyLetterCaseIsRegisteredOncePerKey) {
  Register("K", "C:\\Ａ\\x.txt");
  EXPECT_EQ(Register("K", "C:\\Ａ\\x.txt"), kIgnored);
  EXPECT_EQ(Register("K", "c:\\ａ\\X.TXT"), kIgnored);
  Register("K", "C:\\B\\y.txt");
  for (const char* again : {"C:\\Ａ\\X.TXT", "c:\\b\\Y.txt", "C:\\B\\y.txt"}) {
    EXPECT_EQ(Register("K", again), kIgnored) << again;
  }
  // Full-width capitals are not the ASCII ones they look like.
  EXPECT_EQ(Register("K", "C:\\A\\x.txt"), kAppended);
  EXPECT_EQ(tree_.Count(), 4u);
  EXPECT_EQ(index_.FileCount(), 3);
  // The same path under another key (the file changed between two scans).
  EXPECT_EQ(Register("L", "C:\\B\\y.txt"), kNew);
}

TEST_F(KeyIndexTest, AFileReachedThroughAnotherPathIsTheSameFile) {
  TempTree disk;
  for (const char8_t* name : {u8"a.txt", u8"b.txt", u8"c.txt"}) disk.Write(name, "same");
  disk.HardLink(u8"a.txt", u8"a-link.txt");
  disk.HardLink(u8"b.txt", u8"b-link.txt");

  Register("K", disk.Path("a.txt"));
  EXPECT_EQ(Register("K", disk.Path("a-link.txt")), kIgnored) << "the key's second file is its first";
  EXPECT_EQ(Register("K", disk.Path("b.txt")), kOpened);
  EXPECT_EQ(Register("K", disk.Path("a-link.txt")), kIgnored);
  EXPECT_EQ(Register("K", disk.Path("b-link.txt")), kIgnored);
  EXPECT_EQ(Register("K", disk.Path("c.txt")), kAppended);
  EXPECT_EQ(Files(tree_.FirstGroup()), (Paths{disk.Path("a.txt"), disk.Path("b.txt"), disk.Path("c.txt")}));
  EXPECT_EQ(index_.FileCount(), 3);

  // Paths read back from the tree have their identities asked again.
  index_.FilesRemoved("K", 0);
  EXPECT_EQ(Register("K", disk.Path("b-link.txt")), kIgnored);
  // A file that cannot be opened is taken for no other.
  EXPECT_EQ(Register("K", disk.Path("gone.txt")), kAppended);
}

// Every file has the identity of index 0, as some network file systems
// answer: such an index tells nothing.
class NoIndexFileSystem final : public testing::IdentityOnlyFileSystem {
 public:
  std::optional<FileIdentity> GetIdentity(std::string_view) override { return FileIdentity{7, 0}; }
};

TEST_F(KeyIndexTest, AnIdentityWithoutIndexTellsNothing) {
  NoIndexFileSystem file_system;
  for (const char* path : {"\\\\server\\a", "\\\\server\\b", "\\\\server\\c"}) {
    index_.Register("K", path, tree_, file_system);
  }
  EXPECT_EQ(Files(tree_.FirstGroup()).size(), 3u);
}

TEST_F(KeyIndexTest, GroupsMadeOrShrunkOutsideKeepTheirPathsInStep) {
  // A group given to a key's one file (showing the unique files).
  Register("U", "C:\\u.txt");
  const NodeHandle unique = tree_.AddGroup("U");
  tree_.AddFile(unique, "C:\\u.txt");
  index_.SetGroup("U", unique);
  EXPECT_EQ(index_.Find("U")->group, unique);
  EXPECT_EQ(index_.Find("U")->first_path, "");
  EXPECT_EQ(Register("U", "c:\\U.TXT"), kIgnored);
  EXPECT_EQ(Register("U", "C:\\v.txt"), kAppended);
  EXPECT_EQ(Files(unique), (Paths{"C:\\u.txt", "C:\\v.txt"}));

  // A file taken out of its group joins it again as a new file.
  tree_.Delete(tree_.FirstFile(unique));
  index_.FilesRemoved("U", 1);
  EXPECT_EQ(index_.FileCount(), 1);
  EXPECT_EQ(Register("U", "C:\\v.txt"), kIgnored);
  EXPECT_EQ(Register("U", "C:\\u.txt"), kAppended);
  EXPECT_EQ(Files(unique), (Paths{"C:\\v.txt", "C:\\u.txt"}));
  EXPECT_EQ(index_.FileCount(), 2);
}

TEST_F(KeyIndexTest, ErasingKeepsTheOrderOfTheRestAndTheCounters) {
  for (const char* key : {"k1", "k2", "k3", "k4", "k5"}) Register(key, std::string("C:\\") + key);
  Register("k3", "C:\\other");
  EXPECT_TRUE(index_.Erase("k2"));
  EXPECT_FALSE(index_.Erase("k2"));
  EXPECT_EQ(Keys(), (Paths{"k1", "k3", "k4", "k5"}));
  EXPECT_EQ(index_.FileCount(), 5);

  EXPECT_EQ(index_.EraseUngrouped(), 3);
  EXPECT_EQ(Keys(), (Paths{"k3"}));
  EXPECT_EQ(index_.IndexCount(), 1);
  EXPECT_EQ(index_.FileCount(), 2);
  EXPECT_EQ(Register("k1", "C:\\k1"), kNew) << "a forgotten key starts afresh";
  EXPECT_EQ(Keys(), (Paths{"k3", "k1"}));

  index_.Clear();
  EXPECT_EQ(index_.IndexCount(), 0);
  EXPECT_EQ(index_.FileCount(), 0);
  EXPECT_EQ(Register("k3", "C:\\other"), kNew);
}

}  // namespace
}  // namespace twinseek
