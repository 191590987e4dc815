// The name-variants plug-in's folding of file names: the names copies get
// meet, other names stay apart, and no name makes it misbehave.
#include "core/name_variants.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "base/utf8_text.h"

namespace twinseek {
namespace {

std::string Fragment(std::string_view name) { return NameVariantFragment(name).value_or("<none>"); }

// The code page 932 form of one Unicode character, if it has one.
std::optional<std::string> Cp932Of(char32_t point) {
  std::string utf8;
  if (point < 0x800) {
    utf8 += static_cast<char>(0xC0 | point >> 6);
  } else {
    utf8 += static_cast<char>(0xE0 | point >> 12);
    utf8 += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
  }
  utf8 += static_cast<char>(0x80 | (point & 0x3F));
  return Utf8ToCp932(utf8);
}

TEST(NameVariantsTest, CopiesNamedByPeopleAndByWindowsMeet) {
  const std::string original = Fragment("report.txt");
  EXPECT_EQ(original, "REPORT.TXT");
  for (const char* copy : {
           "report - コピー.txt",           // Windows Explorer, Japanese
           "report - コピー (2).txt",       // its second copy
           "report - コピー - コピー.txt",  // a copy of the copy
           "ｒｅｐｏｒｔ (2).TXT",          // full width, and a number from a browser
           "report (12).txt",
           "reportのコピー.txt",  // other tools
           "report のコピー.txt",
           "report - Copy.txt",  // Windows, English
           "Report - Copy (3).TXT",
           "Copy of report.txt",  // older Windows, English
           "Copy (2) of report.txt",
           "コピー ～ report.txt",  // older Windows, Japanese
           "コピー (2) ～ report.txt",
           "report - ｺﾋﾟｰ.txt",      // half-width katakana
           "report　（２）.ｔｘｔ",  // full-width space, brackets, digit, extension
       }) {
    EXPECT_EQ(Fragment(copy), original) << copy;
  }
  // What is not a copy of it.
  for (const char* other : {"other.txt", "report.doc", "report2.txt", "report(2).txt", "report (x).txt",
                            "reports - コピー.txt", "report - コピーA.txt"}) {
    EXPECT_NE(Fragment(other), original) << other;
  }
}

TEST(NameVariantsTest, WidthCaseAndKanaFoldAlike) {
  EXPECT_EQ(Fragment("ﾃﾞｼﾞｶﾒ写真.jpg"), Fragment("でじかめ写真.JPG"));
  EXPECT_EQ(Fragment("ﾊﾟﾊﾟ.jpg"), Fragment("パパ.jpg"));
  EXPECT_EQ(Fragment("ｳﾞｧｲｵﾘﾝ.wav"), Fragment("ヴァイオリン.wav"));
  EXPECT_EQ(Fragment("αβγ.txt"), Fragment("ΑΒΓ.TXT"));  // full-width Greek, by Windows' case mapping
  EXPECT_NE(Fragment("パパ.jpg"), Fragment("ババ.jpg"));
  EXPECT_NE(Fragment("ﾊﾟﾊﾟ.jpg"), Fragment("ﾊﾞﾊﾞ.jpg"));

  // Every full-width form of an ASCII character becomes it, and every
  // hiragana its katakana, as Unicode relates them.
  for (char32_t narrow = 0x21; narrow <= 0x7E; ++narrow) {
    const std::optional<std::string> wide = Cp932Of(0xFF00 + narrow - 0x20);
    if (!wide) continue;
    const char upper =
        narrow >= 'a' && narrow <= 'z' ? static_cast<char>(narrow - 0x20) : static_cast<char>(narrow);
    EXPECT_EQ(FoldNameCharacters(*wide), std::string(1, upper)) << std::hex << static_cast<uint32_t>(narrow);
  }
  int kana_pairs = 0;
  for (char32_t hiragana = 0x3041; hiragana <= 0x3096; ++hiragana) {
    const std::optional<std::string> from = Cp932Of(hiragana);
    const std::optional<std::string> to = Cp932Of(hiragana + 0x60);
    if (!from || !to) continue;
    EXPECT_EQ(FoldNameCharacters(*from), *to) << std::hex << static_cast<uint32_t>(hiragana);
    ++kana_pairs;
  }
  EXPECT_GE(kana_pairs, 80);
}

TEST(NameVariantsTest, TheRestOfANameStays) {
  EXPECT_EQ(Fragment("a.tar.gz"), "A.TAR.GZ");
  EXPECT_EQ(Fragment(".profile"), ".PROFILE");
  EXPECT_EQ(Fragment("README"), "README");
  EXPECT_EQ(Fragment("表 (2).txt"), "表.TXT");  // 表 ends in the byte of a backslash
  EXPECT_EQ(Fragment("report (1234567890).txt"), "REPORT (1234567890).TXT");  // not a copy number
  // A mark is the whole base name: it stays.
  EXPECT_EQ(Fragment("コピー.txt"), "コピー.TXT");
  EXPECT_EQ(Fragment("Copy of .txt"), "COPY OF .TXT");
  EXPECT_EQ(Fragment(" (2).txt"), " (2).TXT");
  EXPECT_EQ(NameVariantFragment(""), std::nullopt);
  EXPECT_EQ(Fragment(std::string("name.txt\0.exe", 13)), "NAME.TXT");
}

TEST(NameVariantsTest, AnyBytesFoldToAFixedPoint) {
  // Broken code page 932 (lone lead bytes, unassigned pairs, sound marks
  // alone) folds without failing, and folding again changes nothing.
  for (std::string name : {std::string("\x81"), std::string("a\x81"), std::string("\xFC\xFC\xDE\xDF"),
                           std::string("\xDE\xB6\xDE\xDE"), std::string("\xA0\xFD\xFE\xFF.\x80"),
                           std::string("\x85\x40 (2)"), std::string("\x83\x6D\x83\x52\x83\x73\x81\x5B")}) {
    const std::string folded = FoldNameCharacters(name);
    EXPECT_EQ(FoldNameCharacters(folded), folded);
    const std::optional<std::string> fragment = NameVariantFragment(name);
    ASSERT_TRUE(fragment.has_value());
    EXPECT_EQ(NameVariantFragment(*fragment), fragment);
  }
}

}  // namespace
}  // namespace twinseek
