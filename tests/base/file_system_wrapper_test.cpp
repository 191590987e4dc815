// A wrapper hands every call it does not change to its target, with the
// target's answer: the defaults of FileSystem (a folder not created, a move
// refused) would otherwise answer in its place.
#include "base/file_system_wrapper.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace twinseek {
namespace {

// Answers every call with a value of its own and records the call.
class AnsweringFileSystem final : public FileSystem {
 public:
  std::vector<std::string> calls;

  bool ListFolder(std::string_view folder, const std::function<bool(const DirEntry&)>& visit) override {
    Record("ListFolder", folder);
    DirEntry entry;
    entry.name = "listed";
    visit(entry);
    return true;
  }
  bool ListFolderWithIdentity(std::string_view folder, const FolderAdmission& admit,
                              const EntryVisitor&) override {
    Record("ListFolderWithIdentity", folder);
    admit(FileIdentity{3, 4});
    return false;
  }
  std::optional<DirEntry> GetEntry(std::string_view path) override {
    Record("GetEntry", path);
    DirEntry entry;
    entry.size = 7;
    return entry;
  }
  std::optional<uint32_t> GetAttributes(std::string_view path) override {
    Record("GetAttributes", path);
    return kAttributeArchive;
  }
  std::unique_ptr<FileReader> OpenRead(std::string_view path) override {
    Record("OpenRead", path);
    return nullptr;
  }
  std::optional<FileIdentity> GetIdentity(std::string_view path) override {
    Record("GetIdentity", path);
    return FileIdentity{1, 2};
  }
  std::unique_ptr<FileWriter> CreateForWrite(std::string_view path) override {
    Record("CreateForWrite", path);
    return nullptr;
  }
  bool CreateFolder(std::string_view path) override {
    Record("CreateFolder", path);
    return true;
  }
  FileError MoveFileTo(std::string_view from, std::string_view to) override {
    Record("MoveFileTo", std::string(from) + ">" + std::string(to));
    return FileError::kExists;
  }
  FileError CopyFileTo(std::string_view from, std::string_view to) override {
    Record("CopyFileTo", std::string(from) + ">" + std::string(to));
    return FileError::kDiskFull;
  }

 private:
  void Record(std::string_view call, std::string_view argument) {
    calls.push_back(std::string(call) + " " + std::string(argument));
  }
};

// Changes one call only.
class NoReads final : public FileSystemWrapper {
 public:
  using FileSystemWrapper::FileSystemWrapper;
  std::unique_ptr<FileReader> OpenRead(std::string_view) override { return nullptr; }
};

TEST(FileSystemWrapperTest, EveryCallItDoesNotChangeReachesTheTargetWithItsAnswer) {
  AnsweringFileSystem target;
  NoReads wrapper(target);
  std::vector<std::string> listed;
  EXPECT_TRUE(wrapper.ListFolder("C:\\a", [&](const DirEntry& entry) {
    listed.push_back(entry.name);
    return true;
  }));
  EXPECT_EQ(listed, std::vector<std::string>{"listed"});
  EXPECT_EQ(wrapper.GetEntry("C:\\b")->size, 7u);
  EXPECT_EQ(wrapper.GetAttributes("C:\\c"), kAttributeArchive);
  EXPECT_EQ(wrapper.OpenRead("C:\\d"), nullptr);
  EXPECT_EQ(wrapper.GetIdentity("C:\\e"), (FileIdentity{1, 2}));
  EXPECT_EQ(wrapper.CreateForWrite("C:\\f"), nullptr);
  EXPECT_TRUE(wrapper.CreateFolder("C:\\g"));
  EXPECT_EQ(wrapper.MoveFileTo("C:\\h", "C:\\i"), FileError::kExists);
  EXPECT_EQ(wrapper.CopyFileTo("C:\\j", "C:\\k"), FileError::kDiskFull);
  // Not FileSystem's own, which would ask GetIdentity and then ListFolder.
  std::optional<FileIdentity> admitted;
  EXPECT_FALSE(wrapper.ListFolderWithIdentity(
      "C:\\l",
      [&](const FileIdentity& folder) {
        admitted = folder;
        return true;
      },
      [](const DirEntry&) { return true; }));
  EXPECT_EQ(admitted, (FileIdentity{3, 4}));

  const std::vector<std::string> expected = {
      "ListFolder C:\\a",       "GetEntry C:\\b",         "GetAttributes C:\\c",
      "GetIdentity C:\\e",      "CreateForWrite C:\\f",   "CreateFolder C:\\g",
      "MoveFileTo C:\\h>C:\\i", "CopyFileTo C:\\j>C:\\k", "ListFolderWithIdentity C:\\l",
  };
  EXPECT_EQ(target.calls, expected);  // the changed OpenRead never reached it
}

}  // namespace
}  // namespace twinseek
