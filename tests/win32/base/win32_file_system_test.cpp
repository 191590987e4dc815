// What only the Windows side of the file system has: short names, text
// crossing the boundary in code page 932 whatever the system's code page, and
// files held open or locked by another program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/file_system.h"
#include "base/win32/wide_text.h"
#include "support/temp_tree.h"

namespace twinseek {
namespace {

TEST(Win32FileSystemTest, AShortNameLeadsToTheStoredLongName) {
  testing::TempTree tree;
  tree.Write(u8"a long file name.text", "content");
  const std::string long_path = tree.Path("a long file name.text");
  wchar_t short_path[MAX_PATH];
  const DWORD length = GetShortPathNameW(Cp932ToWide(long_path).c_str(), short_path, MAX_PATH);
  ASSERT_GT(length, 0u);
  const std::optional<std::string> short_spelling = WideToCp932(short_path);
  ASSERT_TRUE(short_spelling.has_value());
  if (short_spelling->find('~') == std::string::npos) GTEST_SKIP() << "no short names here";

  const std::optional<DirEntry> entry = SystemFileSystem().GetEntry(*short_spelling);
  ASSERT_TRUE(entry.has_value()) << *short_spelling;
  EXPECT_EQ(entry->name, "a long file name.text");
  EXPECT_EQ(entry->size, 7u);
  EXPECT_EQ(SystemFileSystem().GetIdentity(*short_spelling), SystemFileSystem().GetIdentity(long_path));
}

TEST(Win32FileSystemTest, TextCrossesTheBoundaryAsCodePage932) {
  // 表 (0x95 0x5C), a half-width katakana, and a NEC special character.
  const std::string text = "表ｱ①\\x";
  const std::wstring wide = Cp932ToWide(text);
  EXPECT_EQ(wide, L"\u8868\uff71\u2460\\x");
  EXPECT_EQ(WideToCp932(wide), text);
  // No best-fit: é is not quietly turned into e.
  EXPECT_FALSE(WideToCp932(L"caf\u00e9").has_value());
  EXPECT_EQ(WideToCp932Lossy(L"caf\u00e9"), "caf?");
  EXPECT_EQ(WideToCp932(L""), "");
}

// A handle closed when it goes out of scope.
struct ScopedHandle {
  HANDLE handle;
  ~ScopedHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

std::string ReadWhole(const std::string& path) {
  std::unique_ptr<FileReader> reader = SystemFileSystem().OpenRead(path);
  if (reader == nullptr) return "<cannot open>";
  std::string content(reader->Size(), '\0');
  size_t filled = 0;
  while (filled < content.size()) {
    const std::optional<size_t> count = reader->Read(content.data() + filled, content.size() - filled);
    if (!count || *count == 0) break;
    filled += *count;
  }
  content.resize(filled);
  return content;
}

// Every character of the basic plane, alone: WideToCp932 refuses it, or it
// comes back from code page 932 exactly. Those the system's own conversion
// (no best fit) would take there and back as another character are found by
// trying them all, and none of them is held.
TEST(Win32FileSystemTest, NoCharacterIsHeldThatWouldComeBackAsAnother) {
  size_t changed_by_system = 0;
  for (wchar_t code = 1; code != 0; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF) continue;
    const std::wstring text(1, code);
    if (const std::optional<std::string> held = WideToCp932(text)) {
      EXPECT_EQ(Cp932ToWide(*held), text) << std::hex << static_cast<unsigned>(code);
    }
    char bytes[8];
    BOOL used_default = FALSE;
    const int length = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, text.data(), 1, bytes, sizeof bytes,
                                           "?", &used_default);
    if (length > 0 && !used_default && Cp932ToWide(std::string_view(bytes, length)) != text) {
      ++changed_by_system;
      EXPECT_FALSE(WideToCp932(text).has_value()) << std::hex << static_cast<unsigned>(code);
    }
  }
  EXPECT_FALSE(WideToCp932(L"\u00a5dup.txt").has_value()) << "¥ is no backslash";
  std::printf("characters the system's conversion changes: %zu\n", changed_by_system);
}

// Files and folders, as FindFirstFileExW lists them.
std::vector<WIN32_FIND_DATAW> FindAll(const std::string& folder) {
  std::vector<WIN32_FIND_DATAW> found;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileExW(Cp932ToWide(folder + "\\*").c_str(), FindExInfoStandard, &data,
                                 FindExSearchNameMatch, nullptr, 0);
  if (find == INVALID_HANDLE_VALUE) return found;
  do {
    const std::wstring_view name = data.cFileName;
    if (name != L"." && name != L"..") found.push_back(data);
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return found;
}

FileTime Ticks(const FILETIME& time) {
  return (static_cast<FileTime>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

// The folder listing that tells identities gives every entry as
// FindFirstFileExW does, in the same order, with its short name, and each
// file's identity as opening it would.
TEST(Win32FileSystemTest, TheListingGivesWhatFindFirstFileGivesWithIdentitiesAndShortNames) {
  testing::TempTree tree;
  tree.Write(u8"a long file name.text", "content");
  tree.Write(u8"表示.txt", "abc");
  tree.Write(u8"big", "");
  tree.Resize(u8"big", (uint64_t{1} << 32) + 3);
  tree.MakeFolder(u8"folder");
  tree.SetLastWriteTime(u8"表示.txt", 126'555'636'301'230'000);
  SetFileAttributesW(Cp932ToWide(tree.Path("表示.txt")).c_str(),
                     FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);

  std::vector<DirEntry> listed;
  ASSERT_TRUE(SystemFileSystem().ListFolder(tree.Root(), [&](const DirEntry& entry) {
    listed.push_back(entry);
    return true;
  }));
  const std::vector<WIN32_FIND_DATAW> found = FindAll(tree.Root());
  ASSERT_EQ(listed.size(), found.size());
  ASSERT_EQ(listed.size(), 4u);
  bool some_short_name = false;
  for (size_t i = 0; i < listed.size(); ++i) {
    const DirEntry& entry = listed[i];
    const WIN32_FIND_DATAW& data = found[i];
    EXPECT_EQ(entry.name, WideToCp932(data.cFileName)) << i;
    EXPECT_EQ(entry.short_name, WideToCp932(data.cAlternateFileName)) << entry.name;
    some_short_name = some_short_name || !entry.short_name.empty();
    EXPECT_EQ(entry.attributes, data.dwFileAttributes) << entry.name;
    const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    EXPECT_EQ(entry.size, entry.IsDirectory() ? 0 : size) << entry.name;
    EXPECT_EQ(entry.creation_time, Ticks(data.ftCreationTime)) << entry.name;
    EXPECT_EQ(entry.last_write_time, Ticks(data.ftLastWriteTime)) << entry.name;
    ASSERT_TRUE(entry.identity.has_value()) << entry.name;
    EXPECT_EQ(entry.identity, SystemFileSystem().GetIdentity(tree.Path(entry.name))) << entry.name;
  }
  EXPECT_TRUE(some_short_name) << "\"a long file name.text\" has one";
  SetFileAttributesW(Cp932ToWide(tree.Path("表示.txt")).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A walk learns each folder's identity as it opens it; the volume of a
// folder below the first is taken from the folder it is in. Whatever order
// the folders come in (down, across, back up, a new walk elsewhere), the
// identity told is the one the system gives for the path, and so are those
// of the entries.
TEST(Win32FileSystemTest, EachFolderOfAWalkIsToldItsOwnIdentity) {
  testing::TempTree tree;
  tree.MakeFolder(u8"a");
  tree.MakeFolder(u8"a/b");
  tree.MakeFolder(u8"a/b/c");
  tree.MakeFolder(u8"d");
  tree.Write(u8"a/b/c/file", "x");
  testing::TempTree elsewhere;
  elsewhere.MakeFolder(u8"e");

  const std::vector<std::string> order{tree.Root(),          tree.Path("a"),      tree.Path("a\\b"),
                                       tree.Path("a\\b\\c"), tree.Path("d"),      tree.Path("a\\b\\"),
                                       elsewhere.Path("e"),  tree.Path("a\\b\\c")};
  for (const std::string& folder : order) {
    std::optional<FileIdentity> told;
    ASSERT_TRUE(SystemFileSystem().ListFolderWithIdentity(
        folder,
        [&](const FileIdentity& identity) {
          told = identity;
          return true;
        },
        [&](const DirEntry& entry) {
          EXPECT_EQ(entry.identity, SystemFileSystem().GetIdentity(folder + "\\" + entry.name)) << entry.name;
          return true;
        }))
        << folder;
    EXPECT_EQ(told, SystemFileSystem().GetIdentity(folder)) << folder;
  }
}

// A name code page 932 cannot hold is listed by the file's short name, which
// leads to the same file: the file is no longer skipped.
TEST(Win32FileSystemTest, ANameThatCannotBeHeldIsListedByItsShortName) {
  testing::TempTree tree;
  tree.Write(u8"caf\u00e9 \u2603.txt", "snow");
  tree.MakeFolder(u8"\u00e9t\u00e9");
  tree.Write(u8"\u00e9t\u00e9\\inside.txt", "in");
  std::vector<DirEntry> listed;
  ASSERT_TRUE(SystemFileSystem().ListFolder(tree.Root(), [&](const DirEntry& entry) {
    listed.push_back(entry);
    return true;
  }));
  ASSERT_EQ(listed.size(), 2u);
  for (const DirEntry& entry : listed) {
    if (entry.short_name.empty()) GTEST_SKIP() << "no short names on this volume";
    EXPECT_TRUE(entry.name_representable);
    EXPECT_EQ(entry.name, entry.short_name);
    EXPECT_EQ(SystemFileSystem().GetIdentity(tree.Path(entry.name)), entry.identity) << entry.name;
    if (entry.IsDirectory()) {
      int inside = 0;
      EXPECT_TRUE(SystemFileSystem().ListFolder(tree.Path(entry.name), [&](const DirEntry& file) {
        inside += file.name == "inside.txt";
        return true;
      }));
      EXPECT_EQ(inside, 1);
    } else {
      EXPECT_EQ(ReadWhole(tree.Path(entry.name)), "snow");
    }
  }
}

TEST(Win32FileSystemTest, AFileHeldOpenWithoutSharingStaysWhereItIs) {
  testing::TempTree tree;
  tree.Write(u8"held.txt", "held content");
  tree.MakeFolder(u8"to");
  const std::string source = tree.Path("held.txt");
  {
    ScopedHandle held{CreateFileW(Cp932ToWide(source).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
    ASSERT_NE(held.handle, INVALID_HANDLE_VALUE);
    const FileError moved = SystemFileSystem().MoveFileTo(source, tree.Path("to\\held.txt"));
    EXPECT_TRUE(moved == FileError::kInUse || moved == FileError::kAccessDenied) << static_cast<int>(moved);
    const FileError copied = SystemFileSystem().CopyFileTo(source, tree.Path("to\\copy.txt"));
    EXPECT_TRUE(copied == FileError::kInUse || copied == FileError::kAccessDenied)
        << static_cast<int>(copied);
    EXPECT_FALSE(SystemFileSystem().GetAttributes(tree.Path("to\\held.txt")).has_value());
    EXPECT_FALSE(SystemFileSystem().GetAttributes(tree.Path("to\\copy.txt")).has_value());
  }
  EXPECT_EQ(ReadWhole(source), "held content");
}

TEST(Win32FileSystemTest, ACopyStoppedByALockLeavesNoPartialFile) {
  testing::TempTree tree;
  const std::string content(4 << 20, 'x');
  tree.Write(u8"locked.bin", content);
  const std::string source = tree.Path("locked.bin");
  ScopedHandle locker{CreateFileW(Cp932ToWide(source).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
  ASSERT_NE(locker.handle, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(LockFile(locker.handle, 3 << 20, 0, 1 << 20, 0));  // the last MiB

  const FileError copied = SystemFileSystem().CopyFileTo(source, tree.Path("copy.bin"));
  const FileError moved = SystemFileSystem().MoveFileTo(source, tree.Path("moved.bin"));
  UnlockFile(locker.handle, 3 << 20, 0, 1 << 20, 0);
  // The copy fails at the locked range and leaves nothing behind; where the
  // system lets the read through the lock (Wine does at times), the copy
  // must be whole. Never a part of the file.
  if (copied == FileError::kNone) {
    EXPECT_EQ(ReadWhole(tree.Path("copy.bin")), content);
  } else {
    EXPECT_FALSE(SystemFileSystem().GetAttributes(tree.Path("copy.bin")).has_value());
  }
  // A move within one volume is a rename, which a lock does not stop; either
  // way the file is whole in exactly one place.
  const std::string moved_path = moved == FileError::kNone ? tree.Path("moved.bin") : source;
  EXPECT_EQ(ReadWhole(moved_path), content);
  EXPECT_NE(SystemFileSystem().GetAttributes(source).has_value(),
            SystemFileSystem().GetAttributes(tree.Path("moved.bin")).has_value());
}

}  // namespace
}  // namespace twinseek
