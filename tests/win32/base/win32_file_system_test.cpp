// What only the Windows side of the file system has: short names, and text
// crossing the boundary in code page 932 whatever the system's code page.
#include <windows.h>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace twinseek
