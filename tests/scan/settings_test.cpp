// The settings file: where it lies and how its one value is read. The numbers
// expected are what GetPrivateProfileIntA answers on the same text under Wine,
// where tests/win32/scan compares the two on many more cases.
#include "scan/settings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/temp_tree.h"

namespace twinseek {
namespace {

using namespace std::string_literals;

TEST(SettingsPathTest, ReplacesTheExtensionOfTheFileName) {
  EXPECT_EQ(SettingsPath("C:\\Tools\\finder.exe"), "C:\\Tools\\finder.INI");
  EXPECT_EQ(SettingsPath("C:\\Tools\\finder.v2.EXE"), "C:\\Tools\\finder.v2.INI");
  EXPECT_EQ(SettingsPath("C:\\Tools.v2\\finder"), "C:\\Tools.v2\\finder.INI");
  // The second byte of "表" is 0x5C, no separator hiding the dot before it.
  EXPECT_EQ(SettingsPath("C:\\x.表"), "C:\\x.INI");
  EXPECT_EQ(ExecutableSibling("C:\\Tools\\finder.exe", ".HLP"), "C:\\Tools\\finder.HLP");
}

TEST(SettingsPathTest, TheTitleIsTheFileNameWithoutItsExtension) {
  EXPECT_EQ(ProgramTitle("C:\\Tools\\finder.exe"), "finder");
  EXPECT_EQ(ProgramTitle("C:\\Tools.v2\\finder.v2.EXE"), "finder.v2");
  EXPECT_EQ(ProgramTitle("C:\\Tools.v2\\finder"), "finder");
  EXPECT_EQ(ProgramTitle("finder.exe"), "finder");
  // "表" ends in the byte of "\": it is part of the name, not a separator.
  EXPECT_EQ(ProgramTitle("C:\\Tools\\表.exe"), "表");
}

struct Case {
  std::string text;
  uint32_t expected;
  std::string section = "CRC16";
};

TEST(ReadProfileIntTest, ReadsAsTheSystemDoes) {
  auto value = [](const std::string& text) { return "[CRC16]\r\nLOADLIMIT=" + text + "\r\n"; };
  const std::string zeros(27, '0');
  const std::vector<Case> cases = {
      // Numbers: a sign, base prefixes in lower case, digits up to the first
      // other byte, wrapping at 32 bits; no number is 0.
      {value(" \t+5"), 5},
      {value("-5"), 4294967291u},
      {value("+ 5"), 0},
      {value("12abc"), 12},
      {value("abc"), 0},
      {value("0x10"), 16},
      {value("0X10"), 0},
      {value("0b101"), 5},
      {value("0o17"), 15},
      {value("010"), 10},
      {value("99999999999"), 1215752191u},
      {value("\x01"
             "16"),
       16},
      {value("\x81\x40"
             "17"),
       0},
      // No value: the default.
      {value(""), 77},
      {value("\v\f\x1a"), 77},
      {value("\"\""), 77},
      {"[CRC16]\r\nLOADLIMIT\r\n", 77},
      {"[OTHER]\r\nLOADLIMIT=3\r\n", 77},
      {"LOADLIMIT=3\r\n[CRC16]\r\n", 77},
      {"", 77},
      // Quotes, and a buffer of 29 characters.
      {value(" \"47\" "), 47},
      {value("\"13"), 0},
      {value(zeros + "15"), 15},
      {value("0" + zeros + "15"), 1},
      {value("\"" + zeros + "56\""), 5},
      {value("\"" + zeros + "567\""), 56},
      // Names: A-Z folded, blanks around them ignored, first key and first
      // section only, no comments.
      {"[ crc16 ]\r\n\tloadLimit  =  8\t\r\n", 8},
      {"[CRC16]\r\nLOADLIMIT=1\r\nLOADLIMIT=2\r\n", 1},
      {"[CRC16]\r\nX=1\r\n[CRC16]\r\nLOADLIMIT=2\r\n", 77},
      {"[CRC16]\r\n;LOADLIMIT=3\r\n", 77},
      {"[CRC16] junk\r\nLOADLIMIT=3 ; three\r\n", 3},
      {"[CRC16]]\r\nLOADLIMIT=12\r\n", 77},
      {"[CRC16]\r\n[BROKEN\r\nLOADLIMIT=5\r\n", 5},
      {"[CRC16\0x]\r\nLOADLIMIT\0x=5\r\n"s, 5},
      {"LOADLIMIT=3\r\n[CRC16]\r\n", 3, ""},
      {"[\x82\x61]\r\nLOADLIMIT=1\r\n", 77, "\x82\x41"},
      // Lines end at CR or LF, not at NUL; code page 932 is walked whole.
      {"[CRC16]\rLOADLIMIT=9", 9},
      {"[CRC16]\0LOADLIMIT=5\r\n"s, 77},
      {"[CRC16]\x83\x5D\r\nLOADLIMIT=21\r\n", 21},
      {"[CRC16]\r\nX=1\x83\nLOADLIMIT=36\r\n", 77},
      // Byte-order marks.
      {"\xEF\xBB\xBF[CRC16]\r\nLOADLIMIT=18\r\n", 18},
      {"\xFF\xFE[\0C\0R\0C\0001\0006\0]\0\n\0L\0O\0A\0D\0L\0I\0M\0I\0T\0=\0001\0009\0"s, 19},
      {"\xFE\xFF\0[\0C\0R\0C\0001\0006\0]\0\n\0L\0O\0A\0D\0L\0I\0M\0I\0T\0=\0001\0009"s, 19},
      {"[\0C\0R\0C\0001\0006\0]\0\n\0L\0O\0A\0D\0L\0I\0M\0I\0T\0=\0001\0009\0"s, 77},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReadProfileInt(c.section, " LOADLIMIT\t", 77, c.text), c.expected)
        << ::testing::PrintToString(c.text);
  }
  EXPECT_EQ(ReadProfileInt("CRC16", "LOADLIMIT", -1, ""), 4294967295u);
}

TEST(ReadLoadLimitTest, ReadsTheFileOrGivesNoLimit) {
  testing::TempTree tree;
  std::string padding(40'000, ' ');  // more than one read
  tree.Write(u8"finder.INI", padding + "\r\n[CRC16]\r\nLOADLIMIT=1024\r\n");
  tree.Write(u8"other.INI", "[OTHER]\r\nLOADLIMIT=3\r\n");
  tree.MakeFolder(u8"folder.INI");
  FileSystem& file_system = SystemFileSystem();
  EXPECT_EQ(ReadLoadLimit(file_system, tree.Path("finder.INI")), 1024u);
  EXPECT_EQ(ReadLoadLimit(file_system, tree.Path("other.INI")), 0u);
  EXPECT_EQ(ReadLoadLimit(file_system, tree.Path("missing.INI")), 0u);
  EXPECT_EQ(ReadLoadLimit(file_system, tree.Path("folder.INI")), 0u);
  EXPECT_EQ(ReadProfileIntFromFile(file_system, tree.Path("missing.INI"), "CRC16", "LOADLIMIT", 9), 9u);
}

}  // namespace
}  // namespace twinseek
