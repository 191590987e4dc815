#include "base/cp932.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace twinseek {
namespace {

using namespace std::string_literals;

// Random text rich in what makes code page 932 hard: runs of lead bytes, trail
// bytes equal to a backslash or to a-z, lone lead bytes, the odd NUL.
std::string RandomText(std::mt19937& random, size_t max_length) {
  static constexpr std::string_view kBytes =
      "aZz.\\\x40\x7F\x80\x81\x82\x95\x9F\xA0\xB1\xDF\xE0\xEE\xFA\xFC\xFD\xFF";
  std::string text;
  const size_t length = random() % (max_length + 1);
  while (text.size() < length) {
    const uint32_t pick = random() % 64;
    if (pick == 0) {
      text += '\0';
    } else if (pick < 8) {
      static const std::string kChars[] = {"\x82\x81", "\x83\xBF", "\x84\x70", "\xFA\x40",
                                           "\x95\x5C", "\x83\x5C", "\x81\x61", "\xED\x40"};
      text += kChars[random() % std::size(kChars)];
    } else {
      text += kBytes[random() % kBytes.size()];
    }
  }
  return text;
}

// The length of the character at pos, a NUL byte being one of its own.
size_t CharLength(std::string_view text, size_t pos) {
  const bool pair =
      IsLeadByte(static_cast<uint8_t>(text[pos])) && pos + 1 < text.size() && text[pos + 1] != '\0';
  return pair ? 2 : 1;
}

TEST(Cp932Stepping, NextCharPosStepsByWholeCharacters) {
  const std::string text =
      "\x95\x5C"
      "a\x81\x81\x81"
      "\0\x81"s;  // 表 a, three leads, NUL, lead
  EXPECT_EQ(NextCharPos(text, 0), 2u);
  EXPECT_EQ(NextCharPos(text, 2), 3u);
  EXPECT_EQ(NextCharPos(text, 3), 5u);
  EXPECT_EQ(NextCharPos(text, 5), 6u) << "a lead byte before a NUL is alone";
  EXPECT_EQ(NextCharPos(text, 6), 6u) << "a NUL does not move";
  EXPECT_EQ(NextCharPos(text, 7), 8u) << "a lead byte at the end is alone";
  EXPECT_EQ(NextCharPos(text, 8), 8u);
}

TEST(Cp932Stepping, PrevCharPosNeverStopsOnATrailByte) {
  const std::string path = "C:\\\x95\x5C\\\x83\x5C.txt";  // C:\表\ソ.txt
  EXPECT_EQ(PrevCharPos(path, 0), 0u);
  EXPECT_EQ(PrevCharPos(path, 3), 2u);
  EXPECT_EQ(PrevCharPos(path, 5), 3u) << "the 0x5C after 0x95 is not a backslash";
  EXPECT_EQ(PrevCharPos(path, 4), 3u) << "inside a character: its start";
  EXPECT_EQ(PrevCharPos(path, 6), 5u);
  EXPECT_EQ(PrevCharPos(path, 8), 6u);
  EXPECT_EQ(PrevCharPos(path, path.size() + 5), path.size() - 1);

  const std::string leads = "\x81\x81\x81\x81\x81";  // two pairs and a lone lead
  EXPECT_EQ(PrevCharPos(leads, 5), 4u);
  EXPECT_EQ(PrevCharPos(leads, 4), 2u);
  EXPECT_EQ(PrevCharPos(leads, 3), 2u);
  EXPECT_EQ(PrevCharPos("A\x81", 2), 1u);
  EXPECT_EQ(PrevCharPos("\x81"
                        "A\x81\x5C",
                        4),
            2u);  // 0x8141 then 0x815C
}

TEST(Cp932Stepping, PrevCharPosStopsAtTheFirstNul) {
  const std::string text = "AB\0C\0\x95\x5C"s;
  EXPECT_EQ(PrevCharPos(text, 2), 1u);
  EXPECT_EQ(PrevCharPos(text, 3), 2u);
  EXPECT_EQ(PrevCharPos(text, 4), 2u);
  EXPECT_EQ(PrevCharPos(text, 7), 2u);
  EXPECT_EQ(PrevCharPos("\0A"s, 2), 0u);
  EXPECT_EQ(PrevCharPos("\x81\0"s, 2), 1u);
}

TEST(Cp932Stepping, WholeCharPrefixNeverEndsInsideACharacter) {
  const std::string text = "A\x95\\B";
  EXPECT_EQ(WholeCharPrefix(text, 0), 0u);
  EXPECT_EQ(WholeCharPrefix(text, 1), 1u);
  EXPECT_EQ(WholeCharPrefix(text, 2), 1u);  // not half of "表"
  EXPECT_EQ(WholeCharPrefix(text, 3), 3u);
  EXPECT_EQ(WholeCharPrefix(text, 10), 4u);
  EXPECT_EQ(WholeCharPrefix("AB\0C"s, 10), 2u);
}

// CharPrevA's own definition: walk from the start, stop at a NUL or before
// the character that reaches pos.
TEST(Cp932Stepping, PrevCharPosAgreesWithWalkingFromTheStart) {
  std::mt19937 random(932);
  for (int round = 0; round < 3000; ++round) {
    const std::string text = RandomText(random, 24);
    for (size_t pos = 0; pos <= text.size(); ++pos) {
      size_t start = 0;
      while (start < pos && start < text.size() && text[start] != '\0') {
        const size_t next = NextCharPos(text, start);
        if (next >= pos) break;
        start = next;
      }
      ASSERT_EQ(PrevCharPos(text, pos), start) << testing::PrintToString(text) << " at " << pos;
    }
  }
}

TEST(Cp932UpperCase, MapsWhatWindowsMaps) {
  EXPECT_EQ(UpperCase("c:\\dir\\File.txt~1"), "C:\\DIR\\FILE.TXT~1");
  EXPECT_EQ(UpperCase("\x82\x81\x82\x9A"), "\x82\x60\x82\x79");                  // ａｚ -> ＡＺ
  EXPECT_EQ(UpperCase("\x83\xBF\x83\xD6"), "\x83\x9F\x83\xB6");                  // αω -> ΑΩ
  EXPECT_EQ(UpperCase("\x84\x70\x84\x76\x84\x91"), "\x84\x40\x84\x46\x84\x60");  // аёя -> АЁЯ
  EXPECT_EQ(UpperCase("\xFA\x40\xEE\xEF\xFA\x49"), "\x87\x54\x87\x54\x87\x5D");  // ⅰⅰⅹ -> ⅠⅠⅩ
  // What Windows changes without a case: duplicates and unassigned codes.
  EXPECT_EQ(UpperCase("\xED\x40\x87\x90"), "\xFA\x5C\x81\xE0");
  EXPECT_EQ(UpperCase("\x85\x40\x81\x20\x81\xFD"), "\x81\x45\x81\x45\x81\x45");
}

TEST(Cp932UpperCase, LeavesTheRestAlone) {
  for (const std::string& text : {"\x82\x60\x83\x9F\x84\x40"s,          // ＡΑА
                                  "\x95\x5C\x81\x61\x82\x62\x81\x79"s,  // 表∥Ｃ【
                                  "\xB1\xDF\x80\xA0\xFD\xFE\xFF"s, "A\x81"s, "\x81\0B"s, "\xFC"s}) {
    EXPECT_EQ(UpperCase(text), text) << testing::PrintToString(text);
  }
}

TEST(Cp932UpperCase, EveryDoubleByteCodeStaysOneCharacterInPlace) {
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<uint8_t>(lead))) continue;
    for (int trail = 0x01; trail <= 0xFF; ++trail) {
      const std::string code = {static_cast<char>(lead), static_cast<char>(trail)};
      const std::string upper = UpperCase(code);
      ASSERT_EQ(upper.size(), 2u);
      EXPECT_TRUE(IsLeadByte(static_cast<uint8_t>(upper[0])) && upper[1] != '\0')
          << std::hex << lead << trail;
      EXPECT_EQ(UpperCase(upper), upper) << std::hex << lead << trail;
      std::string embedded = "a" + code + "z";
      UpperCaseInPlace(embedded);
      EXPECT_EQ(embedded, "A" + upper + "Z") << std::hex << lead << trail;
    }
  }
}

TEST(Cp932Folding, EqualFoldedComparesWholeCharacters) {
  EXPECT_TRUE(EqualFolded("C:\\A\\X.TXT", "c:\\a\\x.txt"));
  EXPECT_TRUE(EqualFolded("\\\x82\x81\x83\xBF\x84\x91", "\\\x82\x60\x83\x9F\x84\x60"));  // ａαя
  EXPECT_TRUE(EqualFolded("\xFA\x40", "\x87\x54"));                                      // ⅰ, Ⅰ
  EXPECT_TRUE(EqualFolded("", ""));
  EXPECT_FALSE(EqualFolded("abc", "ABCD"));
  EXPECT_FALSE(EqualFolded("abcd", "ABC"));
  EXPECT_FALSE(EqualFolded("\x81\x61", "\x81\x41"));  // ∥, 、: trail 'a' is no letter
  EXPECT_FALSE(EqualFolded("\x95\x5C", "\x95\x7C"));
  EXPECT_FALSE(EqualFolded("\x82\x81", "\x82\x82"));
  EXPECT_FALSE(EqualFolded("x\x81", "x\x82"));
}

TEST(Cp932Folding, StartsWithFoldedEndsOnACharacterBoundary) {
  const std::string path = "C:\\\x95\x5C\\x.txt";  // C:\表\x.txt
  EXPECT_TRUE(StartsWithFolded(path, ""));
  EXPECT_TRUE(StartsWithFolded(path, "c:\\"));
  EXPECT_TRUE(StartsWithFolded(path, "c:\\\x95\x5C"));
  EXPECT_TRUE(StartsWithFolded(path, "c:\\\x95\x5C\\X.TXT"));
  EXPECT_FALSE(StartsWithFolded(path, "c:\\\x95"));
  EXPECT_FALSE(StartsWithFolded(path, "c:\\\x95\x5C\\X.TXT2"));
  EXPECT_FALSE(StartsWithFolded("\x95\x5C", "\x95"));
  EXPECT_TRUE(StartsWithFolded("C:\\DATA2", "c:\\data"));
  EXPECT_TRUE(StartsWithFolded("\x81\0x"s, "\x81"));
}

// Folding compares what UpperCase produces; checked on random texts and on
// copies of them with the case of their letters changed.
TEST(Cp932Folding, AgreesWithComparingUpperCasedCopies) {
  std::mt19937 random(0x932);
  int equal = 0;
  for (int round = 0; round < 3000; ++round) {
    const std::string text = RandomText(random, 20);
    std::string other = text;
    for (size_t pos = 0; pos < other.size(); pos += CharLength(other, pos)) {
      const auto byte = static_cast<uint8_t>(other[pos]);
      if (random() % 2 != 0) continue;
      if ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z') other[pos] = static_cast<char>(byte ^ 0x20);
      if (byte == 0x82 && pos + 1 < other.size() && other[pos + 1] == '\x81') other[pos + 1] = '\x60';
    }
    if (random() % 8 == 0 && !other.empty()) other[random() % other.size()] ^= 1;

    const std::string upper = UpperCase(text);
    equal += upper == UpperCase(other);
    ASSERT_EQ(EqualFolded(text, other), upper == UpperCase(other)) << testing::PrintToString(text);
    std::vector<bool> ends(text.size() + 1, false);
    for (size_t pos = 0; pos < text.size(); pos += CharLength(text, pos)) ends[pos] = true;
    ends[text.size()] = true;
    for (size_t length = 0; length <= other.size(); ++length) {
      const std::string prefix = other.substr(0, length);
      const bool expected =
          length <= text.size() && ends[length] && upper.substr(0, length) == UpperCase(prefix);
      ASSERT_EQ(StartsWithFolded(text, prefix), expected)
          << testing::PrintToString(text) << " " << testing::PrintToString(prefix);
    }
  }
  EXPECT_GT(equal, 1500);
}

}  // namespace
}  // namespace twinseek
