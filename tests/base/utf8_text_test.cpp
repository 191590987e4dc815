// Code page 932 and UTF-8 on both systems: exact both ways, or refused.
#include "base/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace twinseek {
namespace {

std::string Bytes(std::u8string_view text) { return std::string(text.begin(), text.end()); }

TEST(Utf8TextTest, ConvertsBothWaysExactly) {
  // "表示" has a 0x5C second byte; ｱ is a half-width katakana, ① a NEC
  // special character, and the backslash and tilde stay ASCII.
  const std::string cp932 = "表示\\ｱ①~.txt";
  const std::string utf8 = Bytes(u8"表示\\ｱ①~.txt");
  EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
  EXPECT_EQ(Utf8ToCp932(utf8), cp932);
  EXPECT_EQ(Cp932ToUtf8(""), "");
}

TEST(Utf8TextTest, RefusesWhatTheOtherSideCannotHold) {
  EXPECT_FALSE(Utf8ToCp932(Bytes(u8"caf\u00e9")).has_value());
  EXPECT_EQ(Utf8ToCp932Lossy(Bytes(u8"caf\u00e9 \U0001F600!")), "caf? ?!");
  EXPECT_FALSE(Utf8ToCp932("\xC3").has_value()) << "a cut UTF-8 sequence";
  EXPECT_FALSE(Cp932ToUtf8("\x85\x40").has_value()) << "a code no character has";
}

}  // namespace
}  // namespace twinseek
