// The portable profile reader against GetPrivateProfileIntA: each case is
// written to a file of its own and read both ways.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scan/settings.h"
#include "support/temp_tree.h"

namespace twinseek {
namespace {

using namespace std::string_literals;

struct ProfileCase {
  std::string text;
  std::string section = "CRC16";
  std::string key = "LOADLIMIT";
  int32_t default_value = 77;
};

// LOADLIMIT=value in section CRC16.
ProfileCase Value(const std::string& value) { return {"[CRC16]\r\nLOADLIMIT=" + value + "\r\n"}; }

std::string Utf16(std::u16string_view text, bool big_endian = false) {
  std::string bytes;
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += big_endian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

std::vector<ProfileCase> Cases() {
  std::vector<ProfileCase> cases;
  for (const std::string& value : {"5"s,
                                   "   5"s,
                                   "\t5"s,
                                   "+5"s,
                                   "-5"s,
                                   "-0"s,
                                   "+ 5"s,
                                   "--5"s,
                                   "12abc"s,
                                   "abc"s,
                                   "5 6"s,
                                   "1e3"s,
                                   "=14"s,
                                   ""s,
                                   "   "s,
                                   "\v\f\x1a"s,
                                   "\x01"s,
                                   "\x01"
                                   "16"s,
                                   "\x1c"s,
                                   "\x1f"s,
                                   "\x7f"s,
                                   "\xa0"s,
                                   "\x81\x40"
                                   "17"s,
                                   "\x82\x50\x82\x51"s,
                                   "010"s,
                                   "0x10"s,
                                   "0X10"s,
                                   "0xFF"s,
                                   "0b101"s,
                                   "0B101"s,
                                   "0o17"s,
                                   "0o19"s,
                                   "0x"s,
                                   "0xg"s,
                                   "-0x10"s,
                                   "+0x1F"s,
                                   "4294967295"s,
                                   "4294967296"s,
                                   "2147483648"s,
                                   "99999999999"s,
                                   "0x123456789"s,
                                   "-4294967295"s,
                                   "\"13\""s,
                                   "'13'"s,
                                   "\"13"s,
                                   "\""s,
                                   "\"\""s,
                                   "\"5'"s,
                                   "\" 13\""s,
                                   " \"47\" "s,
                                   "3 ; three"s,
                                   std::string(40, '0') + "5",
                                   std::string(27, '0') + "15",
                                   std::string(28, '0') + "15",
                                   "\"" + std::string(27, '0') + "5\"",
                                   "\"" + std::string(27, '0') + "56\"",
                                   "\"" + std::string(27, '0') + "567\"",
                                   "\"" + std::string(27, '0') + "5678\"",
                                   "\"" + std::string(29, ' ') + "5\"",
                                   "\x83"s,
                                   "41\x83"s,
                                   "\x95\x5C"
                                   "5"s,
                                   "\x83\0"
                                   "5"s,
                                   "\0"
                                   "5"s,
                                   "2\0"
                                   "0"s}) {
    cases.push_back(Value(value));
  }
  const std::string crc = "[CRC16]\r\n";
  const std::vector<ProfileCase> layouts = {
      // Names, blanks and case.
      {"[crc16]\r\nloadLimit=8"},
      {crc + "LOADLIMIT=43", "crc16", "loadlimit"},
      {crc + "LOADLIMIT=44", "\tCRC16\x1a", "\vLOADLIMIT "},
      {crc + "LOADLIMIT=45",
       "\x01"
       "CRC16"},
      {crc + "  LOADLIMIT  =  7  "},
      {crc + "\tLOADLIMIT\t=\t7\t"},
      {crc + "\x1aLOADLIMIT=5"},
      {crc + "\x01LOADLIMIT=5"},
      {crc + "\x0bLOADLIMIT=5"},
      {crc + "LOAD LIMIT=14"},
      {crc + "LOADLIMITX=27"},
      {"[CRC16X]\r\nLOADLIMIT=27"},
      {crc + "=5", "CRC16", ""},
      {crc + "=5", "CRC16", "  "},
      {crc + "\"LOADLIMIT\"=46"},
      // Missing pieces and duplicates.
      {crc + "LOADLIMIT"},
      {crc + "OTHER=3"},
      {"[OTHER]\r\nLOADLIMIT=3"},
      {""},
      {crc + "\r\n   \r\n=5\r\nLOADLIMIT=26"},
      {crc + "LOADLIMIT=1\r\nLOADLIMIT=2"},
      {crc + "LOADLIMIT=\r\nLOADLIMIT=2"},
      {crc + "LOADLIMIT=1\r\n[CRC16]\r\nLOADLIMIT=2"},
      {crc + "X=1\r\n[CRC16]\r\nLOADLIMIT=2"},
      {crc + "X=1\r\n[OTHER]\r\nY=1\r\n[CRC16]\r\nLOADLIMIT=2"},
      // Section lines.
      {"[ CRC16 ]\r\nLOADLIMIT=12"},
      {"  [CRC16]  \r\nLOADLIMIT=12"},
      {"[CRC16] junk\r\nLOADLIMIT=12"},
      {"[\x1a"
       "CRC16\x1a]\r\nLOADLIMIT=5"},
      {"[\x01"
       "CRC16]\r\nLOADLIMIT=5"},
      {"[CRC16]]\r\nLOADLIMIT=12"},
      {"[CRC16\r\nLOADLIMIT=12"},
      {"[CR]C16]\r\nLOADLIMIT=12", "CR]C16"},
      {"[CRC16]x]\r\nLOADLIMIT=42", "CRC16]x"},
      {"[[CRC16]]\r\nLOADLIMIT=29", "[CRC16]"},
      {crc + "[BROKEN\r\nLOADLIMIT=5"},
      {crc + "[BROKEN=5", "CRC16", "[BROKEN"},
      {"LOADLIMIT=3\r\n[CRC16]"},
      {"LOADLIMIT=3\r\n[CRC16]", ""},
      {"[]\r\nLOADLIMIT=25", ""},
      // Comments, line ends, NUL bytes.
      {crc + ";LOADLIMIT=3"},
      {crc + "#LOADLIMIT=3"},
      {crc + ";LOADLIMIT=3\r\nLOADLIMIT=4"},
      {"[CRC16]\nLOADLIMIT=9\n"},
      {"[CRC16]\rLOADLIMIT=9\r"},
      {crc + "\r\n\r\nLOADLIMIT=10\n\r"},
      {"[CRC16]\0LOADLIMIT=5"s},
      {"[CRC16\0x]\r\nLOADLIMIT\0x=5"s},
      // Code page 932.
      {"[CRC16]\x83\x5D\r\nLOADLIMIT=21"},
      {"[CRC16\x83]\r\nLOADLIMIT=32"},
      {crc + "X=1\x83\nLOADLIMIT=36"},
      {crc + "X=1\x83\rLOADLIMIT=37"},
      {"[CRC16]\x83\r\nLOADLIMIT=35"},
      {crc + "LOADLIMIT=41\x83"},
      {"[\x95\x5C]\r\n\x95\x5C=23", "\x95\x5C", "\x95\x5C"},
      {"[\x82\x61]\r\nK=1", "\x82\x41", "K"},
      {"[\x82\x60\x82\x61]\r\nK=31", "\x82\x81\x82\x82", "K"},
      // Unicode.
      {"\xEF\xBB\xBF[CRC16]\r\nLOADLIMIT=18"},
      {"\xEF\xBB\xBF"},
      {"\xEF\xBB\xBF[CRC16]\xE3\x83\x5D\r\nLOADLIMIT=18"},
      {"\r\n\xEF\xBB\xBF[CRC16]\r\nLOADLIMIT=18"},
      {Utf16(u"\xFEFF[CRC16]\r\nLOADLIMIT=19")},
      {Utf16(u"\xFEFF[CRC16]\r\nLOADLIMIT=19") + "X"},
      {Utf16(u"\xFEFF[CRC16]\r\nLOADLIMIT=19", true)},
      {Utf16(u"[CRC16]\r\nLOADLIMIT=19")},
      {Utf16(u"\xFEFF[CRC16]\nLOADLIMIT=\x3000"
             u"5")},
      {Utf16(u"\xFEFF[CRC16]\x30BE\nLOADLIMIT=5")},
      // Defaults.
      {crc + "LOADLIMIT=5", "CRC16", "LOADLIMIT", -1},
      {crc, "CRC16", "LOADLIMIT", -1},
      {crc, "CRC16", "LOADLIMIT", 0},
  };
  cases.insert(cases.end(), layouts.begin(), layouts.end());
  return cases;
}

TEST(ProfileReaderWindowsTest, ReadsEveryCaseAsGetPrivateProfileIntA) {
  ASSERT_EQ(GetACP(), 932u) << "the profile cases hold code page 932 text";
  testing::TempTree tree;
  const std::vector<ProfileCase> cases = Cases();
  for (size_t i = 0; i < cases.size(); ++i) {
    const ProfileCase& c = cases[i];
    const std::string name = "case" + std::to_string(i) + ".ini";
    tree.Write(std::u8string(name.begin(), name.end()), c.text);
    const std::string path = tree.Path(name);
    const UINT system =
        GetPrivateProfileIntA(c.section.c_str(), c.key.c_str(), c.default_value, path.c_str());
    const uint32_t portable =
        ReadProfileIntFromFile(SystemFileSystem(), path, c.section, c.key, c.default_value);
    EXPECT_EQ(portable, system) << "case " << i << ": [" << c.section << "] " << c.key << " in "
                                << ::testing::PrintToString(c.text);
  }
}

TEST(ProfileReaderWindowsTest, MissingFileGivesTheDefaultBothWays) {
  testing::TempTree tree;
  const std::string path = tree.Path("missing.ini");
  for (const int32_t default_value : {0, 77, -1}) {
    EXPECT_EQ(ReadProfileIntFromFile(SystemFileSystem(), path, "CRC16", "LOADLIMIT", default_value),
              GetPrivateProfileIntA("CRC16", "LOADLIMIT", default_value, path.c_str()));
  }
  EXPECT_EQ(ReadLoadLimit(SystemFileSystem(), path), 0u);
}

}  // namespace
}  // namespace twinseek
