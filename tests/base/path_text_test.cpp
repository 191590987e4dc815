// Path text rules that the file systems build on: which names can stand in a
// path, and how "." and ".." fold.
#include "base/path_text.h"

#include <gtest/gtest.h>

#include <string>

namespace twinseek {
namespace {

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
}  // namespace twinseek
