// The texts of the file information window, from known values and from real
// files on disk, and the loading of a file's content through the file system.
#include "report/file_info_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "support/identity_only_file_system.h"
#include "support/temp_tree.h"

namespace twinseek {
namespace {

using testing::TempTree;

constexpr FileTime kTicksPerSecond = 10'000'000;
// Calendar times as file ticks, no offset applied.
constexpr FileTime kJan15Noon = 126'555'696'000'000'000;          // 2002-01-15 12:00:00
constexpr FileTime kJan15Afternoon = 126'555'759'070'000'000;     // 2002-01-15 13:45:07
constexpr FileTime kLeapDayLastSecond = 125'963'423'990'000'000;  // 2000-02-29 23:59:59

// The file time whose local time is the calendar time `local`, with the
// offset ToLocalTime applies (the same for every time).
FileTime UtcOf(FileTime local) {
  const LocalTime noon = ToLocalTime(kJan15Noon);
  const int64_t offset = (noon.day - 15) * 86'400 + (noon.hour - 12) * 3'600 + noon.minute * 60 + noon.second;
  return static_cast<FileTime>(static_cast<int64_t>(local) - offset * static_cast<int64_t>(kTicksPerSecond));
}

// One dump line of sixteen zero bytes at offset.
std::string ZeroLine(const char* offset) {
  std::string line = std::string(offset) + " : ";
  for (int i = 0; i < 16; ++i) line += "00 ";
  return line + "................\r\n";
}

bool StartsWith(const std::string& text, const std::string& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string Line(const std::string& dump, size_t index) {
  return dump.substr(index * kDumpLineLength, kDumpLineLength);
}

TEST(LocalTimeTextTest, WritesTheDateWithItsEnglishDayOfTheWeek) {
  EXPECT_EQ(LocalTimeText({2002, 1, 15, 13, 45, 7, 999}), "2002/01/15(Tue) 13:45:07");
  EXPECT_EQ(LocalTimeText({1601, 1, 1, 0, 0, 0, 0}), "1601/01/01(Mon) 00:00:00");
  EXPECT_EQ(LocalTimeText({2000, 2, 29, 23, 59, 59, 0}), "2000/02/29(Tue) 23:59:59");
  EXPECT_EQ(LocalTimeText({2100, 3, 1, 9, 5, 3, 0}), "2100/03/01(Mon) 09:05:03");
  EXPECT_EQ(LocalTimeText({2027, 1, 1, 0, 0, 0, 0}), "2027/01/01(Fri) 00:00:00");
  // One whole week, across a month's end.
  const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  for (int i = 0; i < 7; ++i) {
    const int day = 28 + i;  // 2024-04-28 was a Sunday
    const LocalTime time{2024, day <= 30 ? 4 : 5, day <= 30 ? day : day - 30, 12, 0, 0, 0};
    EXPECT_EQ(LocalTimeText(time).substr(10, 5), std::string("(") + days[i] + ")") << day;
  }
}

TEST(LocalTimeTextTest, ATimeTheConversionCouldNotRepresentIsEmpty) {
  EXPECT_EQ(LocalTimeText(LocalTime{}), "");
}

TEST(AttributesTextTest, ListsSizeLocalTimesAndTheFiveAttributesInTheirOrder) {
  const uint32_t every_bit = 0xFFFF'FFFF;
  EXPECT_EQ(AttributesText(10, UtcOf(kJan15Afternoon), UtcOf(kLeapDayLastSecond), every_bit),
            "[ファイルサイズ]\r\n    10 BYTES\r\n\r\n"
            "[タイムスタンプ]\r\n更新日:   2002/01/15(Tue) 13:45:07\r\n"
            "作成日:   2000/02/29(Tue) 23:59:59\r\n\r\n"
            "[ファイル属性]\r\n"
            "A アーカイブ\r\nR 読込み専用\r\nH 隠しファイル\r\nS システム\r\nT テンポラリ\r\n");
}

TEST(AttributesTextTest, OtherAttributesGiveNoLineAndEachBitItsOwn) {
  const std::string heading = "\r\n\r\n[ファイル属性]\r\n";
  EXPECT_TRUE(EndsWith(AttributesText(0, 0, 0, kAttributeDirectory | kAttributeNormal | 0x800), heading))
      << "ends after the heading";
  EXPECT_TRUE(
      EndsWith(AttributesText(0, 0, 0, kAttributeHidden | kAttributeNormal), heading + "H 隠しファイル\r\n"));
  EXPECT_TRUE(EndsWith(AttributesText(0, 0, 0, 0x100), heading + "T テンポラリ\r\n"));
  EXPECT_TRUE(EndsWith(AttributesText(0, 0, 0, kAttributeSystem | kAttributeArchive),
                       heading + "A アーカイブ\r\nS システム\r\n"));
}

TEST(AttributesTextTest, SizesOfTwoGibibytesAndMoreArePrintedInFull) {
  EXPECT_TRUE(
      StartsWith(AttributesText(2'147'483'648, 0, 0, 0), "[ファイルサイズ]\r\n    2147483648 BYTES\r\n"));
  EXPECT_NE(AttributesText(3'221'225'472, 0, 0, 0).find("\r\n    3221225472 BYTES\r\n"), std::string::npos);
  EXPECT_NE(AttributesText(UINT64_MAX, 0, 0, 0).find("    18446744073709551615 BYTES"), std::string::npos);
}

TEST(HeadTextTest, EndsAtTheFirstZeroByteOrAfterTheWholeHead) {
  HeadBuffer head{};
  EXPECT_EQ(HeadText(head), "");
  head.fill('x');  // even the last byte, which the loading keeps zero
  EXPECT_EQ(HeadText(head), std::string(kHeadSize, 'x'));
  head[3] = '\0';
  EXPECT_EQ(HeadText(head), "xxx");
}

TEST(DumpTextTest, LinesShowOffsetHexDigitsAndPrintableBytes) {
  HeadBuffer head{};
  const unsigned char first[16] = {0x00, 0x1F, 0x20, 0x41, 0x7E, 0x7F, 0x80, 0xFF,
                                   0x93, 0xFA, 0x0D, 0x0A, 0x2E, 0x61, 0x5C, 0x09};
  for (size_t i = 0; i < 16; ++i) head[i] = static_cast<char>(first[i]);
  head[0xFFF] = 'Z';
  head[kHeadSize] = 'Q';  // past the head: never shown
  const std::string dump = DumpText(head);
  ASSERT_EQ(dump.size(), kDumpSize);
  EXPECT_EQ(kDumpSize, 18'688u);
  EXPECT_EQ(Line(dump, 0), "0000 : 00 1F 20 41 7E 7F 80 FF 93 FA 0D 0A 2E 61 5C 09 .. A~........a\\.\r\n");
  EXPECT_EQ(Line(dump, 1), ZeroLine("0010"));
  EXPECT_EQ(Line(dump, 0xAB), ZeroLine("0AB0"));
  EXPECT_EQ(Line(dump, 255), "0FF0 : 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 5A ...............Z\r\n");
  EXPECT_EQ(dump.find('Q'), std::string::npos);
}

TEST(LoadFileContentTest, ATenByteFileFillsTheFirstDumpLineAndItsSizeLine) {
  TempTree disk;
  disk.Write(u8"short.txt", "0123456789");
  const FileContent content = LoadFileContent(SystemFileSystem(), disk.Path("short.txt"));
  EXPECT_TRUE(StartsWith(content.attributes_text,
                         "[ファイルサイズ]\r\n    10 BYTES\r\n\r\n[タイムスタンプ]\r\n更新日:   "));
  EXPECT_EQ(HeadText(content.head), "0123456789");
  const std::string dump = DumpText(content.head);
  ASSERT_EQ(dump.size(), kDumpSize);
  EXPECT_EQ(Line(dump, 0), "0000 : 30 31 32 33 34 35 36 37 38 39 00 00 00 00 00 00 0123456789......\r\n");
  EXPECT_EQ(Line(dump, 1), ZeroLine("0010"));
}

TEST(LoadFileContentTest, AFirstZeroByteEmptiesTheTextButNotTheDump) {
  TempTree disk;
  disk.Write(u8"binary.bin", std::string("\0ABC", 4));
  const FileContent content = LoadFileContent(SystemFileSystem(), disk.Path("binary.bin"));
  EXPECT_EQ(HeadText(content.head), "");
  EXPECT_EQ(DumpText(content.head).substr(0, 19), "0000 : 00 41 42 43 ");
  EXPECT_TRUE(StartsWith(content.attributes_text, "[ファイルサイズ]\r\n    4 BYTES\r\n"));
}

TEST(LoadFileContentTest, ALongFileShowsItsFirst4096BytesOnly) {
  TempTree disk;
  std::string text;
  for (int i = 0; text.size() < 5'000; ++i) text += static_cast<char>('A' + i % 26);
  text.resize(5'000);
  disk.Write(u8"long.txt", text);
  const FileContent content = LoadFileContent(SystemFileSystem(), disk.Path("long.txt"));
  EXPECT_EQ(HeadText(content.head), text.substr(0, kHeadSize));
  EXPECT_EQ(content.head[kHeadSize], '\0');
  const std::string dump = DumpText(content.head);
  const std::string last = text.substr(0xFF0, 16);
  EXPECT_EQ(Line(dump, 255).substr(55), last + "\r\n");
  EXPECT_NE(content.attributes_text.find("    5000 BYTES"), std::string::npos);
}

TEST(LoadFileContentTest, AFileThatCannotBeOpenedGivesEmptyPagesAndAZeroDump) {
  TempTree disk;
  disk.MakeFolder(u8"folder");
  for (const std::string& path : {disk.Path("missing.txt"), disk.Path("folder"), std::string()}) {
    const FileContent content = LoadFileContent(SystemFileSystem(), path);
    EXPECT_EQ(content.attributes_text, "") << path;
    EXPECT_EQ(HeadText(content.head), "") << path;
    EXPECT_EQ(Line(DumpText(content.head), 0), ZeroLine("0000")) << path;
  }
}

// A file system with one file whose entry or read can fail; counts what is
// asked of it.
class CountingDisk final : public testing::IdentityOnlyFileSystem {
 public:
  class Reader final : public FileReader {
   public:
    explicit Reader(CountingDisk& disk) : disk_(disk) {}
    uint64_t Size() const override { return 3'000'000'000; }
    std::optional<size_t> Read(void* buffer, size_t capacity) override {
      disk_.read_sizes.push_back(capacity);
      if (disk_.read_fails) {
        std::memset(buffer, 'x', capacity);  // a failed read may leave anything behind
        return std::nullopt;
      }
      std::memset(buffer, 'y', 10);
      return 10;
    }

   private:
    CountingDisk& disk_;
  };

  std::unique_ptr<FileReader> OpenRead(std::string_view) override {
    ++opens;
    return std::make_unique<Reader>(*this);
  }
  std::optional<DirEntry> GetEntry(std::string_view) override {
    if (!entry_readable) return std::nullopt;
    DirEntry entry;
    entry.size = 1;  // the open file's size counts, not a stale entry's
    entry.attributes = kAttributeReadOnly;
    return entry;
  }

  std::optional<FileIdentity> GetIdentity(std::string_view) override { return std::nullopt; }

  int opens = 0;
  std::vector<size_t> read_sizes;
  bool read_fails = false;
  bool entry_readable = true;
};

TEST(LoadFileContentTest, OpensOnceAndReadsOnceWhateverFails) {
  CountingDisk disk;
  FileContent content = LoadFileContent(disk, "C:\\a.bin");
  EXPECT_EQ(disk.opens, 1);
  EXPECT_EQ(disk.read_sizes, std::vector<size_t>{kHeadSize});
  EXPECT_EQ(HeadText(content.head), "yyyyyyyyyy");
  EXPECT_TRUE(StartsWith(content.attributes_text, "[ファイルサイズ]\r\n    3000000000 BYTES\r\n"));
  EXPECT_NE(content.attributes_text.find("R 読込み専用\r\n"), std::string::npos);

  disk.read_fails = true;
  disk.entry_readable = false;
  content = LoadFileContent(disk, "C:\\a.bin");
  EXPECT_EQ(disk.opens, 2);
  EXPECT_EQ(disk.read_sizes.size(), 2u);
  EXPECT_EQ(content.attributes_text, "");
  EXPECT_EQ(Line(DumpText(content.head), 0), ZeroLine("0000")) << "a failed read leaves zeros";
}

TEST(FileInfoPagesTest, AFileIsReadOnceWhateverPagesAreShownAndItsPictureHandedOnce) {
  CountingDisk disk;
  FileInfoPages pages(disk);
  EXPECT_TRUE(pages.TakePicture()) << "the empty page's picture before any file";

  pages.Show("C:\\a.bin");
  EXPECT_EQ(pages.path(), "C:\\a.bin");
  for (int round = 0; round < 2; ++round) {
    EXPECT_TRUE(StartsWith(std::string(pages.Text(FileInfoPage::kAttributes)), "[ファイルサイズ]\r\n"));
    EXPECT_EQ(pages.Text(FileInfoPage::kText), "yyyyyyyyyy");
    EXPECT_EQ(pages.Text(FileInfoPage::kBinary).substr(0, 12), "0000 : 79 79");
    EXPECT_EQ(pages.Text(FileInfoPage::kImage), "");
  }
  EXPECT_TRUE(pages.TakePicture());
  EXPECT_FALSE(pages.TakePicture());
  EXPECT_EQ(disk.opens, 1);

  disk.read_fails = true;
  pages.Show("C:\\b.bin");
  EXPECT_EQ(disk.opens, 2);
  EXPECT_EQ(pages.Text(FileInfoPage::kText), "") << "no text left from the file before";
  EXPECT_EQ(Line(std::string(pages.Text(FileInfoPage::kBinary)), 0), ZeroLine("0000"));
  EXPECT_TRUE(pages.TakePicture());

  pages.Show("");
  EXPECT_EQ(disk.opens, 2);
  EXPECT_EQ(pages.Text(FileInfoPage::kAttributes), "");
}

}  // namespace
}  // namespace twinseek
