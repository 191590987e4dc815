#include "scan/name_patterns.h"

#include <gtest/gtest.h>

namespace twinseek {
namespace {

TEST(NamePatternsTest, TrimsSingleByteBlanksAndDefaultsToEveryNameWithADot) {
  EXPECT_EQ(NormalizeNamePatterns(" \t*.txt;*.doc \r\n\v\f"), "*.txt;*.doc");
  EXPECT_EQ(NormalizeNamePatterns("a; b"), "a; b") << "blanks inside stay";
  EXPECT_EQ(NormalizeNamePatterns(""), "*.*");
  EXPECT_EQ(NormalizeNamePatterns(" \t "), "*.*");
  EXPECT_EQ(NormalizeNamePatterns("　*.txt"), "　*.txt") << "a full-width blank is no single-byte blank";
}

TEST(NamePatternsTest, RefusesForbiddenCharactersOnlyAsWholeCharacters) {
  for (char forbidden : kForbiddenPatternCharacters) {
    EXPECT_TRUE(HasForbiddenPatternCharacter(std::string("a") + forbidden + "b")) << forbidden;
  }
  EXPECT_FALSE(HasForbiddenPatternCharacter("*.txt;表*.doc")) << "表 ends in 0x5C";
  EXPECT_FALSE(HasForbiddenPatternCharacter("ソ*")) << "ソ ends in 0x5C";
  EXPECT_TRUE(HasForbiddenPatternCharacter("表\\"));
  EXPECT_FALSE(HasForbiddenPatternCharacter(""));
}

}  // namespace
}  // namespace twinseek
