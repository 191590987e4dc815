#include "fileops/ensure_folder.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/temp_tree.h"

namespace twinseek {
namespace {

using testing::TempTree;

// Folders in memory: a path exists when it is in the set; creating a folder
// records the call and, unless told to pretend, adds it.
class FolderSetFileSystem final : public FileSystem {
 public:
  explicit FolderSetFileSystem(std::set<std::string> folders) : folders_(std::move(folders)) {}

  bool ListFolder(std::string_view, const std::function<bool(const DirEntry&)>&) override { return false; }
  std::optional<DirEntry> GetEntry(std::string_view) override { return std::nullopt; }
  std::optional<uint32_t> GetAttributes(std::string_view path) override {
    if (folders_.count(std::string(path)) == 0) return std::nullopt;
    return kAttributeDirectory;
  }
  std::unique_ptr<FileReader> OpenRead(std::string_view) override { return nullptr; }
  std::optional<FileIdentity> GetIdentity(std::string_view) override { return std::nullopt; }
  std::unique_ptr<FileWriter> CreateForWrite(std::string_view) override { return nullptr; }
  bool CreateFolder(std::string_view path) override {
    created.emplace_back(path);
    if (!pretend_) folders_.emplace(path);
    return true;
  }

  void PretendToCreate() { pretend_ = true; }
  std::vector<std::string> created;

 private:
  std::set<std::string> folders_;
  bool pretend_ = false;
};

bool IsFolder(const std::string& path) {
  return (SystemFileSystem().GetAttributes(path).value_or(0) & kAttributeDirectory) != 0;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  SystemFileSystem().ListFolder(folder, [&](const DirEntry& entry) {
    names.push_back(entry.name);
    return true;
  });
  return names;
}

TEST(EnsureFolderTest, CreatesOneMissingLevelPerPassFromTheTopDown) {
  FolderSetFileSystem file_system({"C:", "C:\\data"});
  EXPECT_TRUE(EnsureFolder(file_system, "C:\\data\\old\\twins"));
  EXPECT_EQ(file_system.created, (std::vector<std::string>{"C:\\data\\old", "C:\\data\\old\\twins"}));
}

TEST(EnsureFolderTest, GivesUpWhenACreatedLevelDoesNotAppear) {
  FolderSetFileSystem file_system({"C:"});
  file_system.PretendToCreate();
  EXPECT_FALSE(EnsureFolder(file_system, "C:\\a\\b"));
  EXPECT_LE(file_system.created.size(), std::string("C:\\a\\b").size() + 1);
}

TEST(EnsureFolderTest, CreatesMissingLevelsOnDisk) {
  TempTree tree;
  tree.MakeFolder(u8"data");
  EXPECT_TRUE(EnsureFolder(SystemFileSystem(), tree.Path("data\\old\\twins")));
  EXPECT_TRUE(IsFolder(tree.Path("data\\old\\twins")));
  // An existing folder is fine as it is, with or without a final backslash.
  EXPECT_TRUE(EnsureFolder(SystemFileSystem(), tree.Path("data\\old")));
  EXPECT_TRUE(EnsureFolder(SystemFileSystem(), tree.Path("data\\new\\")));
  EXPECT_TRUE(IsFolder(tree.Path("data\\new")));
}

TEST(EnsureFolderTest, TrailBytesOfBackslashAreNoSeparators) {
  TempTree tree;
  // 表 is 0x95 0x5C and ソ is 0x83 0x5C: taken byte by byte, each would end
  // in a separator.
  EXPECT_TRUE(EnsureFolder(SystemFileSystem(), tree.Path("表\\ソ\\表")));
  EXPECT_EQ(Names(tree.Root()), std::vector<std::string>{"表"});
  EXPECT_EQ(Names(tree.Path("表")), std::vector<std::string>{"ソ"});
  EXPECT_TRUE(IsFolder(tree.Path("表\\ソ\\表")));
}

TEST(EnsureFolderTest, AFileInTheWayFails) {
  TempTree tree;
  tree.Write(u8"twins", "a file");
  EXPECT_FALSE(EnsureFolder(SystemFileSystem(), tree.Path("twins")));
  EXPECT_FALSE(EnsureFolder(SystemFileSystem(), tree.Path("twins\\below")));
  EXPECT_FALSE(SystemFileSystem().GetAttributes(tree.Path("twins")).value_or(0) & kAttributeDirectory);
  EXPECT_EQ(Names(tree.Root()), std::vector<std::string>{"twins"});
}

TEST(EnsureFolderTest, APathWithNoExistingStartFails) {
  FolderSetFileSystem file_system({"C:"});
  EXPECT_FALSE(EnsureFolder(file_system, "twins")) << "a relative name without a backslash";
  EXPECT_FALSE(EnsureFolder(file_system, ""));
  EXPECT_FALSE(EnsureFolder(file_system, "Q:\\twins\\x")) << "a drive that does not exist";
  EXPECT_FALSE(EnsureFolder(file_system, std::string("C:\\a\0b", 6)));
  EXPECT_TRUE(file_system.created.empty());

  // On disk: a drive letter that names nothing here, and a first level that
  // does not exist (on POSIX "\x" is "/x").
  std::string drive = "Z:\\";
  while (drive[0] > 'D' && SystemFileSystem().GetAttributes(drive)) --drive[0];
  ASSERT_FALSE(SystemFileSystem().GetAttributes(drive).has_value());
  EXPECT_FALSE(EnsureFolder(SystemFileSystem(), drive + "twinseek-test\\x"));
  EXPECT_FALSE(EnsureFolder(SystemFileSystem(), "\\no-such-root-twinseek\\a"));
  EXPECT_FALSE(SystemFileSystem().GetAttributes("\\no-such-root-twinseek").has_value());
}

TEST(EnsureFolderTest, APathLongerThanTheWorkingBufferIsRefused) {
  TempTree tree;
  const std::string first = tree.Path(std::string(100, 'a'));
  std::string path = first + "\\" + std::string(100, 'b');
  path += "\\" + std::string(300 - path.size() - 1, 'c');
  ASSERT_EQ(path.size(), 300u);
  EXPECT_FALSE(EnsureFolder(SystemFileSystem(), path));
  EXPECT_FALSE(SystemFileSystem().GetAttributes(first).has_value()) << "nothing is created";

  path.resize(kMaxFolderPathBytes + 1);
  EXPECT_FALSE(EnsureFolder(SystemFileSystem(), path));
  EXPECT_FALSE(SystemFileSystem().GetAttributes(first).has_value());
#ifndef _WIN32
  // Windows itself refuses folders this long without the long-path prefix.
  path.resize(kMaxFolderPathBytes);
  EXPECT_TRUE(EnsureFolder(SystemFileSystem(), path));
  EXPECT_TRUE(IsFolder(path));
#endif
}

}  // namespace
}  // namespace twinseek
