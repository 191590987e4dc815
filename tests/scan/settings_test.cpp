// The settings file: where it lies, and how its one value is read. Expected
// numbers are what GetPrivateProfileIntA answers on the same files under Wine
// (tests/win32/scan compares the two on every case of its own).
#include "scan/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_tree.h"

namespace twinseek {
namespace {

constexpr int32_t kDefault = 77;

// LOADLIMIT of section CRC16 in text, default kDefault.
uint32_t Limit(std::string_view text) { return ReadProfileInt("CRC16", "LOADLIMIT", kDefault, text); }

// UTF-16 bytes of text, little- or big-endian.
std::string Utf16(std::u16string_view text, bool big_endian) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// LOADLIMIT=value in section CRC16.
uint32_t LimitOfValue(std::string_view value) {
  return Limit("[CRC16]\r\nLOADLIMIT=" + std::string(value) + "\r\n");
}

TEST(SettingsPathTest, ReplacesTheExtensionOfTheExecutable) {
  EXPECT_EQ(SettingsPath("C:\\Tools\\finder.exe"), "C:\\Tools\\finder.INI");
  EXPECT_EQ(SettingsPath("C:\\Tools\\finder.v2.EXE"), "C:\\Tools\\finder.v2.INI");
  EXPECT_EQ(SettingsPath("finder."), "finder.INI");
}

TEST(SettingsPathTest, AppendsWhenTheFileNameHasNoDot) {
  EXPECT_EQ(SettingsPath("C:\\Tools\\finder"), "C:\\Tools\\finder.INI");
  EXPECT_EQ(SettingsPath("C:\\Tools.v2\\finder"), "C:\\Tools.v2\\finder.INI");
}

TEST(SettingsPathTest, WalksWholeCharacters) {
  // The second byte of "表" is 0x5C: it is no separator that would hide the
  // extension's dot.
  EXPECT_EQ(SettingsPath("C:\\x.表"), "C:\\x.INI");
  EXPECT_EQ(SettingsPath("C:\\表\\x.exe"), "C:\\表\\x.INI");
}

TEST(ReadProfileIntTest, ReadsNumbersAsTheSystemDoes) {
  struct Case {
    std::string value;
    uint32_t expected;
  };
  const std::vector<Case> cases = {
      {"5", 5},
      {"   5", 5},
      {"\t5", 5},
      {"+5", 5},
      {"-5", 4294967291u},
      {"-0", 0},
      {"+ 5", 0},
      {"--5", 0},
      {"12abc", 12},
      {"5 6", 5},
      {"1e3", 1},
      {"abc", 0},
      {"=14", 0},
      {"\x01" "16", 16},
      {"\x1c" "16", 16},
      {"\x81\x40" "17", 0},            // a full-width blank is no blank
      {"\x82\x50\x82\x51", 0},         // full-width digits are no digits
      {"010", 10},
      {"0x10", 16},
      {"0xFF", 255},
      {"0X10", 0},
      {"0b101", 5},
      {"0B101", 0},
      {"0o17", 15},
      {"0o19", 1},
      {"0x", 0},
      {"0xg", 0},
      {"-0x10", 4294967280u},
      {"+0x1F", 31},
      {"4294967295", 4294967295u},
      {"2147483648", 2147483648u},
      {"4294967296", 0},
      {"99999999999", 1215752191u},
      {"0x123456789", 591751049u},
      {"-4294967295", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(LimitOfValue(c.value), c.expected) << '"' << c.value << '"';
}

TEST(ReadProfileIntTest, GivesTheDefaultWithoutAValue) {
  EXPECT_EQ(LimitOfValue(""), 77u);
  EXPECT_EQ(LimitOfValue("   "), 77u);
  EXPECT_EQ(LimitOfValue("\v\f\x1a"), 77u);
  EXPECT_EQ(LimitOfValue("\"\""), 77u);
  EXPECT_EQ(LimitOfValue(std::string("\0" "5", 2)), 77u);
  EXPECT_EQ(Limit("[CRC16]\r\nLOADLIMIT\r\n"), 77u);
  EXPECT_EQ(Limit("[CRC16]\r\nOTHER=3\r\n"), 77u);
  EXPECT_EQ(Limit("[OTHER]\r\nLOADLIMIT=3\r\n"), 77u);
  EXPECT_EQ(Limit(""), 77u);
  // Not blanks: the value is there, and no number.
  EXPECT_EQ(LimitOfValue("\x01"), 0u);
  EXPECT_EQ(LimitOfValue("\x7f"), 0u);
  // The default is returned as the unsigned number it is.
  EXPECT_EQ(ReadProfileInt("CRC16", "LOADLIMIT", -1, ""), 4294967295u);
}

TEST(ReadProfileIntTest, FindsSectionsAndKeys) {
  EXPECT_EQ(Limit("[crc16]\r\nloadLimit=8\r\n"), 8u);
  EXPECT_EQ(ReadProfileInt("crc16", "loadlimit", kDefault, "[CRC16]\r\nLOADLIMIT=43\r\n"), 43u);
  EXPECT_EQ(ReadProfileInt("\tCRC16\x1a", "\vLOADLIMIT ", kDefault, "[CRC16]\r\nLOADLIMIT=44\r\n"), 44u);
  EXPECT_EQ(ReadProfileInt("\x01" "CRC16", "LOADLIMIT", kDefault, "[CRC16]\r\nLOADLIMIT=45\r\n"), 77u);
  EXPECT_EQ(Limit("[CRC16]\r\n  LOADLIMIT  =  7  \r\n"), 7u);
  EXPECT_EQ(Limit("[CRC16]\r\n\tLOADLIMIT\t=\t7\t\r\n"), 7u);
  EXPECT_EQ(Limit("[CRC16]\r\n\x1aLOADLIMIT=5\r\n"), 5u);
  EXPECT_EQ(Limit("[CRC16]\r\n\x01LOADLIMIT=5\r\n"), 77u);
  EXPECT_EQ(Limit("[CRC16]\r\nLOAD LIMIT=14\r\n"), 77u);
  EXPECT_EQ(Limit("[CRC16]\r\nLOADLIMITX=27\r\n"), 77u);
  EXPECT_EQ(Limit("[CRC16X]\r\nLOADLIMIT=27\r\n"), 77u);
  EXPECT_EQ(Limit("[CRC16]\r\n\r\n   \r\n=5\r\nLOADLIMIT=26\r\n"), 26u);
  // Names end at a NUL byte.
  EXPECT_EQ(Limit(std::string("[CRC16\0x]\r\nLOADLIMIT\0x=5\r\n", 24)), 5u);
}

TEST(ReadProfileIntTest, TakesTheFirstOfDuplicates) {
  EXPECT_EQ(Limit("[CRC16]\r\nLOADLIMIT=1\r\nLOADLIMIT=2\r\n"), 1u);
  EXPECT_EQ(Limit("[CRC16]\r\nLOADLIMIT=\r\nLOADLIMIT=2\r\n"), 77u);
  EXPECT_EQ(Limit("[CRC16]\r\nLOADLIMIT=1\r\n[CRC16]\r\nLOADLIMIT=2\r\n"), 1u);
  // A second section of the same name is never read.
  EXPECT_EQ(Limit("[CRC16]\r\nX=1\r\n[CRC16]\r\nLOADLIMIT=2\r\n"), 77u);
}

TEST(ReadProfileIntTest, ReadsSectionLines) {
  EXPECT_EQ(Limit("[ CRC16 ]\r\nLOADLIMIT=12\r\n"), 12u);
  EXPECT_EQ(Limit("  [CRC16]  \r\nLOADLIMIT=12\r\n"), 12u);
  EXPECT_EQ(Limit("[CRC16] junk\r\nLOADLIMIT=12\r\n"), 12u);
  EXPECT_EQ(Limit("[\x1a" "CRC16\x1a]\r\nLOADLIMIT=5\r\n"), 5u);
  EXPECT_EQ(Limit("[CRC16]]\r\nLOADLIMIT=12\r\n"), 77u);
  EXPECT_EQ(Limit("[CRC16\r\nLOADLIMIT=12\r\n"), 77u);
  EXPECT_EQ(ReadProfileInt("CR]C16", "LOADLIMIT", kDefault, "[CR]C16]\r\nLOADLIMIT=12\r\n"), 12u);
  EXPECT_EQ(ReadProfileInt("[CRC16]", "LOADLIMIT", kDefault, "[[CRC16]]\r\nLOADLIMIT=29\r\n"), 29u);
  // A "[" without "]" is a key line: it neither opens nor closes a section.
  EXPECT_EQ(Limit("[CRC16]\r\n[BROKEN\r\nLOADLIMIT=5\r\n"), 5u);
  EXPECT_EQ(ReadProfileInt("CRC16", "[BROKEN", kDefault, "[CRC16]\r\n[BROKEN=5\r\n"), 5u);
  // Keys before the first section belong to the section with no name.
  EXPECT_EQ(Limit("LOADLIMIT=3\r\n[CRC16]\r\n"), 77u);
  EXPECT_EQ(ReadProfileInt("", "LOADLIMIT", kDefault, "LOADLIMIT=3\r\n[CRC16]\r\n"), 3u);
  EXPECT_EQ(ReadProfileInt("", "LOADLIMIT", kDefault, "[]\r\nLOADLIMIT=25\r\n"), 77u);
}

TEST(ReadProfileIntTest, KnowsNoComments) {
  EXPECT_EQ(Limit("[CRC16]\r\n;LOADLIMIT=3\r\n"), 77u);
  EXPECT_EQ(Limit("[CRC16]\r\n#LOADLIMIT=3\r\n"), 77u);
  EXPECT_EQ(Limit("[CRC16]\r\n;LOADLIMIT=3\r\nLOADLIMIT=4\r\n"), 4u);
  EXPECT_EQ(Limit("[CRC16]\r\nLOADLIMIT=3 ; three\r\n"), 3u);
}

TEST(ReadProfileIntTest, EndsLinesAtCarriageReturnOrLineFeed) {
  EXPECT_EQ(Limit("[CRC16]\nLOADLIMIT=9\n"), 9u);
  EXPECT_EQ(Limit("[CRC16]\rLOADLIMIT=9\r"), 9u);
  EXPECT_EQ(Limit("[CRC16]\r\nLOADLIMIT=11"), 11u);
  // A NUL byte ends no line.
  EXPECT_EQ(Limit(std::string("[CRC16]\0LOADLIMIT=5\r\n", 20)), 77u);
}

TEST(ReadProfileIntTest, StripsQuotesAndReadsTwentyNineCharacters) {
  EXPECT_EQ(LimitOfValue("\"13\""), 13u);
  EXPECT_EQ(LimitOfValue("'13'"), 13u);
  EXPECT_EQ(LimitOfValue(" \"47\" "), 47u);
  EXPECT_EQ(LimitOfValue("\" 13\""), 13u);
  EXPECT_EQ(LimitOfValue("\"13"), 0u);
  EXPECT_EQ(LimitOfValue("\""), 0u);
  EXPECT_EQ(LimitOfValue("\"5'"), 0u);
  const std::string zeros(27, '0');
  EXPECT_EQ(LimitOfValue(zeros + "15"), 15u);        // 29 characters
  EXPECT_EQ(LimitOfValue("0" + zeros + "15"), 1u);   // 30: the last is cut
  EXPECT_EQ(LimitOfValue(std::string(40, '0') + "5"), 0u);
  // In quotes, the closing quote is taken off only when the rest fitted the
  // buffer: with 30 characters after the opening quote the last digit goes.
  EXPECT_EQ(LimitOfValue("\"" + zeros + "5\""), 5u);
  EXPECT_EQ(LimitOfValue("\"" + zeros + "56\""), 5u);
  EXPECT_EQ(LimitOfValue("\"" + zeros + "567\""), 56u);
  EXPECT_EQ(LimitOfValue("\"" + zeros + "5678\""), 56u);
  EXPECT_EQ(LimitOfValue("\"" + std::string(29, ' ') + "5\""), 0u);
}

TEST(ReadProfileIntTest, WalksCodePage932ByWholeCharacters) {
  // The second byte of "ゾ" (0x83 0x5D) is no "]" ...
  EXPECT_EQ(Limit("[CRC16]\x83\x5D\r\nLOADLIMIT=21\r\n"), 21u);
  EXPECT_EQ(Limit("[CRC16\x83]\r\nLOADLIMIT=32\r\n"), 77u);
  // ... a lead byte takes the line feed after it with it ...
  EXPECT_EQ(Limit("[CRC16]\r\nX=1\x83\nLOADLIMIT=36\r\n"), 77u);
  EXPECT_EQ(Limit("[CRC16]\r\nLOADLIMIT=41\x83"), 41u);
  // ... and only A-Z are folded: not the full-width letters, nor a second
  // byte that looks like a letter ("Ｂ" is 0x82 0x61; 0x82 0x41 is no
  // character).
  EXPECT_EQ(ReadProfileInt("\x95\x5C", "\x95\x5C", kDefault, "[\x95\x5C]\r\n\x95\x5C=23\r\n"), 23u);
  EXPECT_EQ(ReadProfileInt("\x82\x81\x82\x82", "K", kDefault, "[\x82\x60\x82\x61]\r\nK=31\r\n"), 77u);
  EXPECT_EQ(ReadProfileInt("\x82\x41", "K", kDefault, "[\x82\x61]\r\nK=1\r\n"), 77u);
}

TEST(ReadProfileIntTest, ReadsUnicodeFilesByTheirByteOrderMark) {
  const std::u16string text = u"[CRC16]\r\nLOADLIMIT=19\r\n";
  EXPECT_EQ(Limit("\xEF\xBB\xBF[CRC16]\r\nLOADLIMIT=18\r\n"), 18u);
  EXPECT_EQ(Limit("\xEF\xBB\xBF[CRC16]\xE3\x83\x5D\r\nLOADLIMIT=18\r\n"), 77u);
  EXPECT_EQ(Limit("\r\n\xEF\xBB\xBF[CRC16]\r\nLOADLIMIT=18\r\n"), 77u);
  EXPECT_EQ(Limit(Utf16(u"\xFEFF" + text, false)), 19u);
  EXPECT_EQ(Limit(Utf16(u"\xFEFF" + text, true)), 19u);
  EXPECT_EQ(Limit(Utf16(u"\xFEFF" + text, false) + "X"), 19u);  // odd length
  EXPECT_EQ(Limit(Utf16(text, false)), 77u);
  // Outside ASCII nothing is a blank, a digit or a bracket.
  EXPECT_EQ(Limit(Utf16(u"\xFEFF[CRC16]\nLOADLIMIT=\x3000" u"5", false)), 0u);
  EXPECT_EQ(Limit(Utf16(u"\xFEFF[CRC16]\x30BE\nLOADLIMIT=5", false)), 5u);
}

TEST(ReadLoadLimitTest, ReadsTheFileOrGivesNoLimit) {
  testing::TempTree tree;
  tree.Write(u8"finder.INI", "[CRC16]\r\nLOADLIMIT=1024\r\n");
  tree.Write(u8"zero.INI", "[CRC16]\r\nLOADLIMIT=0\r\n");
  tree.Write(u8"other.INI", "[OTHER]\r\nLOADLIMIT=3\r\n");
  tree.MakeFolder(u8"folder.INI");
  FileSystem& file_system = SystemFileSystem();
  EXPECT_EQ(ReadLoadLimit(file_system, tree.Path("finder.INI")), 1024u);
  EXPECT_EQ(ReadLoadLimit(file_system, tree.Path("zero.INI")), 0u);
  EXPECT_EQ(ReadLoadLimit(file_system, tree.Path("other.INI")), 0u);
  EXPECT_EQ(ReadLoadLimit(file_system, tree.Path("missing.INI")), 0u);
  EXPECT_EQ(ReadLoadLimit(file_system, tree.Path("folder.INI")), 0u);
  EXPECT_EQ(ReadProfileIntFromFile(file_system, tree.Path("missing.INI"), "CRC16", "LOADLIMIT", 9), 9u);
}

TEST(ReadWholeFileTest, ReadsBeyondOneChunk) {
  testing::TempTree tree;
  std::string content;
  for (int i = 0; i < 50'000; ++i) content.push_back(static_cast<char>(i * 7 + i / 256));
  tree.Write(u8"big.bin", content);
  tree.Write(u8"empty.bin", "");
  EXPECT_EQ(ReadWholeFile(SystemFileSystem(), tree.Path("big.bin")), content);
  EXPECT_EQ(ReadWholeFile(SystemFileSystem(), tree.Path("empty.bin")), "");
  EXPECT_EQ(ReadWholeFile(SystemFileSystem(), tree.Path("missing.bin")), std::nullopt);
}

}  // namespace
}  // namespace twinseek
