// What only the Windows side of the file system has: short names, text
// crossing the boundary in code page 932 whatever the system's code page, and
// files held open or locked by another program.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

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
    EXPECT_TRUE(copied == FileError::kInUse || copied == FileError::kAccessDenied) << static_cast<int>(copied);
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
