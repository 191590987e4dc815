// The fragments of a duplicate key: their order, formats and the code page
// 932 name split and upper-casing.
#include "scan/duplicate_key.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace twinseek {
namespace {

DirEntry File(std::string name, uint64_t size = 0) {
  DirEntry entry;
  entry.name = std::move(name);
  entry.size = size;
  return entry;
}

std::string KeyOf(const DirEntry& entry, Conditions conditions, uint32_t checksum = 0) {
  std::string key = "left over from the previous file";
  AppendFileFragments(entry, conditions, checksum, key);
  return key;
}

TEST(DuplicateKeyTest, WritesEveryFragmentInItsOrderAndFormat) {
  // The file time that local time shows as 2002-01-15 10:20:30.000: the
  // offset from UTC (whole minutes, under a day) is the same for every time.
  constexpr FileTime kUtc = 126'555'636'300'000'000;  // 2002-01-15 10:20:30.000 UTC
  const LocalTime shown = ToLocalTime(kUtc);
  const int64_t offset_minutes = (shown.day - 15) * 1440 + (shown.hour - 10) * 60 + (shown.minute - 20);
  DirEntry entry = File("report.final.txt", 1234);
  entry.last_write_time = kUtc - offset_minutes * 600'000'000;

  Conditions conditions{.name = true, .extension = true, .size = true, .date = true};
  EXPECT_EQ(KeyOf(entry, conditions), "REPORT.FINAL .TXT W2002/01/15 10:20:30 0000(1234)");
  entry.last_write_time += 70'000;
  conditions.checksum = true;
  EXPECT_EQ(KeyOf(entry, conditions, 0x0BADF00Du),
            "REPORT.FINAL .TXT W2002/01/15 10:20:30 0007(1234)@badf00d");

  // Sizes above 4 GiB whole; the checksum without leading zeros, 0 as "@0".
  EXPECT_EQ(KeyOf(File("a", 5'000'000'000u), {.size = true}), "(5000000000)");
  EXPECT_EQ(KeyOf(File("a", UINT64_MAX), {.size = true}), "(18446744073709551615)");
  EXPECT_EQ(KeyOf(File("a"), {.checksum = true}, 0), "@0");
  EXPECT_EQ(KeyOf(File("a"), {.checksum = true}, 0xABCu), "@abc");
  EXPECT_EQ(KeyOf(File("a", 12), {}), "");
}

TEST(DuplicateKeyTest, SplitsTheNameAtItsLastDotAfterTheFirstCharacter) {
  struct Case {
    std::string name;
    std::string base;
    std::string extension;
  };
  const std::vector<Case> cases = {
      {"a.tar.gz", "A.TAR ", ".GZ "},
      {".profile", ".PROFILE ", ". "},
      {"README", "README ", ". "},
      {"x.", "X ", ". "},
      // 0x95 0x5C: a double-byte character whose second byte is a backslash.
      {"表示.txt", "表示 ", ".TXT "},
      // A lead byte before the dot takes it as its second byte, as CharPrevA
      // steps: no extension (and the pair, no character of code page 932,
      // upper-cases to 0x81 0x45 as on Windows).
      {"ab\x81.txt", "AB\x81\x45TXT ", ". "},
      // Full-width letters are upper-cased; a double-byte character whose
      // second byte is a small ASCII letter (0x83 0x61) is left whole.
      {"ｒｅｐｏｒｔ.ｔｘｔ", "ＲＥＰＯＲＴ ", ".ＴＸＴ "},
      {"ヂ.dat", "ヂ ", ".DAT "},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyOf(File(c.name), {.name = true}), c.base) << c.name;
    EXPECT_EQ(KeyOf(File(c.name), {.extension = true}), c.extension) << c.name;
    EXPECT_EQ(KeyOf(File(c.name), {.name = true, .extension = true}), c.base + c.extension) << c.name;
  }
  const Conditions both{.name = true, .extension = true};
  EXPECT_EQ(KeyOf(File("Foo.TXT"), both), KeyOf(File("FOO.txt"), both));
  EXPECT_NE(KeyOf(File("foo.txt"), both), KeyOf(File("foo.txt.bak"), both));
}

}  // namespace
}  // namespace twinseek
