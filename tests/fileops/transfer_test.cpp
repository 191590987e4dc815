#include "fileops/transfer.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "base/file_system_wrapper.h"
#include "support/temp_tree.h"

namespace twinseek {
namespace {

using testing::TempTree;
using Paths = std::vector<std::string>;

std::string ReadFile(const std::string& path) {
  std::unique_ptr<FileReader> reader = SystemFileSystem().OpenRead(path);
  if (reader == nullptr) return "<missing>";
  std::string content;
  char buffer[4096];
  while (const std::optional<size_t> count = reader->Read(buffer, sizeof buffer)) {
    if (*count == 0) break;
    content.append(buffer, *count);
  }
  return content;
}

// Every file below a folder (one level deep is all these tests make), by
// relative path, with its content.
std::map<std::string, std::string> Contents(const std::string& folder) {
  std::map<std::string, std::string> files;
  SystemFileSystem().ListFolder(folder, [&](const DirEntry& entry) {
    const std::string path = folder + "\\" + entry.name;
    if (!entry.IsDirectory()) {
      files[entry.name] = ReadFile(path);
    } else {
      for (const auto& [name, content] : Contents(path)) files[entry.name + "\\" + name] = content;
    }
    return true;
  });
  return files;
}

bool Exists(const std::string& path) { return SystemFileSystem().GetAttributes(path).has_value(); }

TEST(FreeNameInTest, NumbersATakenNameBeforeItsExtension) {
  std::set<std::string> taken = {"C:\\d\\a.txt",    "C:\\d\\a (2).txt", "C:\\d\\README", "C:\\d\\.profile",
                                 "C:\\d\\x.tar.gz", "C:\\表\\b.txt",    "C:\\c.txt"};
  const auto is_taken = [&](const std::string& path) { return taken.count(path) != 0; };
  EXPECT_EQ(FreeNameIn("C:\\d", "free.txt", is_taken), "free.txt");
  EXPECT_EQ(FreeNameIn("C:\\d", "a.txt", is_taken), "a (3).txt");
  EXPECT_EQ(FreeNameIn("C:\\d\\", "a.txt", is_taken), "a (3).txt");
  EXPECT_EQ(FreeNameIn("C:\\d", "README", is_taken), "README (2)");
  EXPECT_EQ(FreeNameIn("C:\\d", ".profile", is_taken), ".profile (2)");
  EXPECT_EQ(FreeNameIn("C:\\d", "x.tar.gz", is_taken), "x.tar (2).gz");
  // A folder ending in 表 (0x95 0x5C) still needs its separator; a root has one.
  EXPECT_EQ(FreeNameIn("C:\\表", "b.txt", is_taken), "b (2).txt");
  EXPECT_EQ(FreeNameIn("C:\\", "c.txt", is_taken), "c (2).txt");
}

TEST(TransferFilesTest, MovesSameNamedFilesIntoOneFolderKeepingEach) {
  TempTree tree;
  tree.MakeFolder(u8"one");
  tree.MakeFolder(u8"two");
  tree.MakeFolder(u8"表");
  tree.Write(u8"one\\a.txt", "first");
  tree.Write(u8"two\\a.txt", "second");
  tree.Write(u8"two\\表示", "third");
  const Paths paths = {tree.Path("one\\a.txt"), tree.Path("two\\a.txt"), tree.Path("two\\表示")};

  const TransferOutcome outcome =
      TransferFiles(SystemFileSystem(), paths, tree.Path("表"), TransferKind::kMove, nullptr);
  EXPECT_EQ(outcome.done, paths);
  EXPECT_TRUE(outcome.failed.empty());
  EXPECT_FALSE(outcome.cancelled);
  EXPECT_EQ(Contents(tree.Root()),
            (std::map<std::string, std::string>{
                {"表\\a.txt", "first"}, {"表\\a (2).txt", "second"}, {"表\\表示", "third"}}));
  EXPECT_EQ(TransferFailureReport(outcome, TransferKind::kMove), "");
}

TEST(TransferFilesTest, CopiesBesideWhatIsThereWithoutChangingIt) {
  TempTree tree;
  tree.MakeFolder(u8"to");
  tree.Write(u8"to\\a.txt", "old a");
  tree.Write(u8"to\\a (2).txt", "old a 2");
  tree.Write(u8"a.txt", "new a");
  const Paths paths = {tree.Path("a.txt"), tree.Path("a.txt")};

  const TransferOutcome outcome =
      TransferFiles(SystemFileSystem(), paths, tree.Path("to\\"), TransferKind::kCopy, nullptr);
  EXPECT_EQ(outcome.done, paths);
  EXPECT_EQ(Contents(tree.Root()), (std::map<std::string, std::string>{{"a.txt", "new a"},
                                                                       {"to\\a.txt", "old a"},
                                                                       {"to\\a (2).txt", "old a 2"},
                                                                       {"to\\a (3).txt", "new a"},
                                                                       {"to\\a (4).txt", "new a"}}));
}

TEST(TransferFilesTest, AVanishedSourceIsReportedAndTheOthersAreDone) {
  TempTree tree;
  tree.MakeFolder(u8"to");
  tree.Write(u8"a.txt", "a");
  tree.Write(u8"c.txt", "c");
  const Paths paths = {tree.Path("a.txt"), tree.Path("gone.txt"), tree.Path("c.txt")};
  for (TransferKind kind : {TransferKind::kCopy, TransferKind::kMove}) {
    const TransferOutcome outcome = TransferFiles(SystemFileSystem(), paths, tree.Path("to"), kind, nullptr);
    EXPECT_EQ(outcome.done, (Paths{paths[0], paths[2]}));
    ASSERT_EQ(outcome.failed.size(), 1u);
    EXPECT_EQ(outcome.failed[0].path, paths[1]);
    EXPECT_EQ(outcome.failed[0].error, FileError::kNotFound);
    EXPECT_NE(TransferFailureReport(outcome, kind).find(paths[1] + ": ファイルが見つかりません\r\n"),
              std::string::npos);
  }
  // The copy took a.txt and c.txt; the move then found those names taken.
  EXPECT_EQ(Contents(tree.Root()),
            (std::map<std::string, std::string>{
                {"to\\a.txt", "a"}, {"to\\a (2).txt", "a"}, {"to\\c.txt", "c"}, {"to\\c (2).txt", "c"}}));
}

TEST(TransferFilesTest, ACancelLeavesTheRestWhereItIs) {
  TempTree tree;
  tree.MakeFolder(u8"to");
  tree.Write(u8"a.txt", "a");
  tree.Write(u8"b.txt", "b");
  tree.Write(u8"c.txt", "c");
  const Paths paths = {tree.Path("a.txt"), tree.Path("b.txt"), tree.Path("c.txt")};
  std::vector<std::pair<size_t, size_t>> calls;
  const TransferOutcome outcome = TransferFiles(SystemFileSystem(), paths, tree.Path("to"),
                                                TransferKind::kMove, [&](size_t done, size_t total) {
                                                  calls.emplace_back(done, total);
                                                  return done < 1;
                                                });
  EXPECT_EQ(calls, (std::vector<std::pair<size_t, size_t>>{{0, 3}, {1, 3}}));
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_EQ(outcome.not_handled, 2u);
  EXPECT_EQ(outcome.done, Paths{paths[0]});
  EXPECT_TRUE(outcome.failed.empty());
  EXPECT_EQ(Contents(tree.Root()),
            (std::map<std::string, std::string>{{"to\\a.txt", "a"}, {"b.txt", "b"}, {"c.txt", "c"}}));
  EXPECT_EQ(TransferFailureReport(outcome, TransferKind::kMove),
            "ユーザーの指示で中断しました。2個のファイルは移動していません。\r\n");
}

TEST(TransferFilesTest, ProgressSeesEveryFileAndTheEnd) {
  TempTree tree;
  tree.MakeFolder(u8"to");
  tree.Write(u8"a.txt", "a");
  std::vector<std::pair<size_t, size_t>> calls;
  TransferFiles(SystemFileSystem(), {tree.Path("a.txt"), tree.Path("a.txt")}, tree.Path("to"),
                TransferKind::kCopy, [&](size_t done, size_t total) {
                  calls.emplace_back(done, total);
                  return true;
                });
  EXPECT_EQ(calls, (std::vector<std::pair<size_t, size_t>>{{0, 2}, {1, 2}, {2, 2}}));
}

// However the destination spells the file's own folder, a move leaves the
// file where it is, untouched and not renamed, and names it in the report.
TEST(TransferFilesTest, AMoveIntoTheFileOwnFolderLeavesItAloneAndSaysSo) {
  TempTree tree;
  tree.MakeFolder(u8"sub");
  tree.Write(u8"a.txt", "a");
  tree.Write(u8"sub\\b.txt", "b");
  const Paths paths = {tree.Path("a.txt"), tree.Path("sub\\b.txt")};
  for (const std::string& spelling :
       {tree.Root(), tree.Root() + "\\", tree.Root() + "\\.\\", tree.Root() + "\\.",
        tree.Root() + "\\sub\\..", tree.Root() + "\\sub\\..\\."}) {
    const TransferOutcome outcome =
        TransferFiles(SystemFileSystem(), paths, spelling, TransferKind::kMove, nullptr);
    EXPECT_EQ(outcome.done, Paths{paths[1]}) << spelling;
    ASSERT_EQ(outcome.failed.size(), 1u) << spelling;
    EXPECT_EQ(outcome.failed[0].path, paths[0]);
    EXPECT_TRUE(outcome.failed[0].in_destination);
    EXPECT_EQ(
        TransferFailureReport(outcome, TransferKind::kMove),
        "1個のファイルを移動できませんでした。\r\n" + paths[0] + ": 移動先のフォルダにすでにあります\r\n");
    EXPECT_EQ(Contents(tree.Root()), (std::map<std::string, std::string>{{"a.txt", "a"}, {"b.txt", "b"}}))
        << spelling;
    // Back where it was, for the next spelling.
    ASSERT_EQ(SystemFileSystem().MoveFileTo(tree.Path("b.txt"), paths[1]), FileError::kNone);
  }
  // A copy into the file's own folder is a copy.
  const TransferOutcome copy =
      TransferFiles(SystemFileSystem(), {paths[0]}, tree.Root() + "\\.", TransferKind::kCopy, nullptr);
  EXPECT_EQ(copy.done, Paths{paths[0]});
  EXPECT_EQ(ReadFile(tree.Path("a (2).txt")), "a");
}

// The system's file system, where someone else takes the first name a move
// or copy aims at just before the file gets there.
class RacingFileSystem final : public FileSystemWrapper {
 public:
  explicit RacingFileSystem(TempTree& tree) : tree_(tree) {}

  FileError MoveFileTo(std::string_view from, std::string_view to) override {
    TakeFirst(to);
    return target().MoveFileTo(from, to);
  }
  FileError CopyFileTo(std::string_view from, std::string_view to) override {
    TakeFirst(to);
    return target().CopyFileTo(from, to);
  }

 private:
  void TakeFirst(std::string_view to) {
    if (raced_) return;
    raced_ = true;
    const std::string name(to.substr(tree_.Root().size() + 1));
    tree_.Write(std::u8string(name.begin(), name.end()), "intruder");
  }

  TempTree& tree_;
  bool raced_ = false;
};

TEST(TransferFilesTest, ANameTakenInBetweenIsNeverReplaced) {
  for (TransferKind kind : {TransferKind::kMove, TransferKind::kCopy}) {
    TempTree tree;
    tree.MakeFolder(u8"to");
    tree.Write(u8"a.txt", "mine");
    RacingFileSystem file_system(tree);
    const TransferOutcome outcome =
        TransferFiles(file_system, {tree.Path("a.txt")}, tree.Path("to"), kind, nullptr);
    EXPECT_EQ(outcome.done, Paths{tree.Path("a.txt")});
    EXPECT_EQ(ReadFile(tree.Path("to\\a.txt")), "intruder");
    EXPECT_EQ(ReadFile(tree.Path("to\\a (2).txt")), "mine");
    EXPECT_EQ(Exists(tree.Path("a.txt")), kind == TransferKind::kCopy);
  }
}

TEST(TransferFailureReportTest, CountsTheFailuresAndGivesEachItsReason) {
  TransferOutcome outcome;
  outcome.done = {"C:\\ok.txt"};
  outcome.failed = {{"C:\\used.txt", FileError::kInUse},
                    {"C:\\表.txt", FileError::kAccessDenied},
                    {"D:\\big.bin", FileError::kDiskFull},
                    {"C:\\odd.txt", FileError::kOther}};
  EXPECT_EQ(TransferFailureReport(outcome, TransferKind::kCopy),
            "4個のファイルをコピーできませんでした。\r\n"
            "C:\\used.txt: 他のプロセスが使用中です\r\n"
            "C:\\表.txt: アクセスが拒否されました\r\n"
            "D:\\big.bin: ディスクの空き容量が足りません\r\n"
            "C:\\odd.txt: コピーできませんでした\r\n");
  outcome.failed.resize(1);
  outcome.cancelled = true;
  outcome.not_handled = 3;
  EXPECT_EQ(TransferFailureReport(outcome, TransferKind::kMove),
            "1個のファイルを移動できませんでした。\r\n"
            "C:\\used.txt: 他のプロセスが使用中です\r\n"
            "ユーザーの指示で中断しました。3個のファイルは移動していません。\r\n");
}

}  // namespace
}  // namespace twinseek
