// The path rules by whole characters: the second byte of a double-byte
// character (0x5C in 表, ソ, 能) is never a separator, and a file name splits
// at its last dot but never at its first character; which names can stand in
// a path, and how "." and ".." fold.
#include "base/path_text.h"

#include <gtest/gtest.h>

#include <string>

namespace twinseek::testing {
namespace {

using namespace std::string_literals;

TEST(PathTextTest, TheSeparatorIsFoundByWholeCharacters) {
  ASSERT_EQ("表"s, "\x95\x5C"s);
  EXPECT_TRUE(EndsWithSeparator("C:\\"));
  EXPECT_TRUE(EndsWithSeparator("\\"));
  EXPECT_FALSE(EndsWithSeparator("C:\\表"));
  EXPECT_FALSE(EndsWithSeparator(""));
  EXPECT_TRUE(EndsWithSeparator("C:\\表\\"));

  EXPECT_EQ(WithSeparator("C:\\表"), "C:\\表\\");
  EXPECT_EQ(WithSeparator("C:\\"), "C:\\");
  EXPECT_EQ(WithSeparator(""), "\\");

  EXPECT_EQ(LastSeparator("C:\\ソフト\\能力.txt"), std::string("C:\\ソフト").size());
  EXPECT_EQ(LastSeparator("C:\\表"), 2u);
  EXPECT_EQ(LastSeparator("表"), std::string::npos);
  EXPECT_EQ(LastSeparator("name.txt"), std::string::npos);
  EXPECT_EQ(LastSeparator("\\"), 0u);
  // A lone lead byte at the end is a character of its own.
  EXPECT_EQ(LastSeparator("a\\b\x95"), 1u);
  // Nothing after the first NUL is looked at.
  EXPECT_EQ(LastSeparator("C:\\a\0\\b"s), 2u);
}

TEST(PathTextTest, ANameSplitsAtItsLastDotButNeverAtItsFirstCharacter) {
  const auto split = [](std::string_view name) {
    const NameParts parts = SplitName(name);
    return std::string(parts.base) + "|" + std::string(parts.extension);
  };
  EXPECT_EQ(split("report.final.txt"), "report.final|.txt");
  EXPECT_EQ(split("a.tar.gz"), "a.tar|.gz");
  EXPECT_EQ(split(".profile"), ".profile|");
  EXPECT_EQ(split("..x"), ".|.x");
  EXPECT_EQ(split("README"), "README|");
  EXPECT_EQ(split("name."), "name|.");
  EXPECT_EQ(split("表.ソ"), "表|.ソ");
  EXPECT_EQ(split("能"), "能|");
  EXPECT_EQ(split(""), "|");
  EXPECT_EQ(split("a.b\0.c"s), "a|.b\0.c"s);
}

TEST(PathTextTest, ANameWithABackslashOrNulOfItsOwnCannotStandInAPath) {
  EXPECT_TRUE(IsUsableName("dup.txt"));
  EXPECT_TRUE(IsUsableName("表示.txt")) << "0x5C as the second byte of 表 is no backslash";
  EXPECT_TRUE(IsUsableName("ソ"));
  EXPECT_FALSE(IsUsableName("\\dup.txt")) << "what ¥ becomes on the way to code page 932";
  EXPECT_FALSE(IsUsableName("a\\b"));
  EXPECT_FALSE(IsUsableName(std::string("a\0b", 3)));
  EXPECT_FALSE(IsUsableName("表\\")) << "a backslash after a double-byte character";
}

TEST(PathTextTest, DotPartsFoldAsGetFullPathNameFoldsThem) {
  // Nothing to fold: the very same text.
  EXPECT_EQ(FoldDotSegments("/tmp/x\\表\\a.txt"), "/tmp/x\\表\\a.txt");
  EXPECT_EQ(FoldDotSegments("\\a\\.\\b\\..\\c"), "\\a\\c");
  EXPECT_EQ(FoldDotSegments("\\a\\\\b"), "\\a\\b") << "a doubled separator";
  EXPECT_EQ(FoldDotSegments("\\a\\b\\"), "\\a\\b\\") << "a separator at the end stays";
  EXPECT_EQ(FoldDotSegments("\\a\\b\\."), "\\a\\b");
  EXPECT_EQ(FoldDotSegments("\\a\\b\\..\\"), "\\a\\");
  EXPECT_EQ(FoldDotSegments("\\a\\..\\.."), "\\") << "never above the root";
  EXPECT_EQ(FoldDotSegments("/..\\x"), "\\x");
  // "表" ends in 0x5C: it is no separator, and "表\.." takes "表" away whole.
  EXPECT_EQ(FoldDotSegments("\\表\\..\\b"), "\\b");
  EXPECT_EQ(FoldDotSegments("\\a\\表.\\b"), "\\a\\表.\\b") << "a name ending in a dot is no \".\"";
  EXPECT_EQ(FoldDotSegments("\\...\\b"), "\\...\\b");
}

}  // namespace
}  // namespace twinseek::testing
