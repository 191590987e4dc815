// The file-system interface on real temporary folders: the same expectations
// hold for the POSIX implementation and, under Wine, for the Windows one.
#include "base/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "support/current_folder.h"
#include "support/temp_tree.h"

#ifndef _WIN32
#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#include <vector>

#include "base/utf8_text.h"
#endif

namespace twinseek {

void PrintTo(const LocalTime& time, std::ostream* out) {
  *out << time.year << '-' << time.month << '-' << time.day << ' ' << time.hour << ':' << time.minute << ':'
       << time.second << '.' << time.millisecond;
}

namespace {

using testing::Backslashed;
using testing::CurrentFolderAt;
using testing::LastPart;
using testing::TempTree;

// The first character's second byte is 0x5C in code page 932.
constexpr std::string_view kJapaneseName = "表示.txt";

// 2002-01-15 10:20:30.123 UTC as a file time.
constexpr FileTime kSampleTime = 126'555'636'301'230'000;

std::map<std::string, DirEntry> ListAll(std::string_view folder) {
  std::map<std::string, DirEntry> entries;
  const bool listed = SystemFileSystem().ListFolder(folder, [&](const DirEntry& entry) {
    entries.emplace(entry.name, entry);
    return true;
  });
  EXPECT_TRUE(listed) << folder;
  return entries;
}

std::string ReadAll(FileReader& reader, size_t chunk) {
  std::string content;
  std::string buffer(chunk, '\0');
  for (;;) {
    const std::optional<size_t> count = reader.Read(buffer.data(), buffer.size());
    EXPECT_TRUE(count.has_value());
    if (!count || *count == 0) return content;
    content.append(buffer, 0, *count);
  }
}

TEST(CivilTimeTest, ConvertsFileTimesToCalendarDates) {
  EXPECT_EQ(CivilTime(0), (LocalTime{1601, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(CivilTime(116'444'736'000'000'000), (LocalTime{1970, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(CivilTime(kSampleTime), (LocalTime{2002, 1, 15, 10, 20, 30, 123}));
  // 2000-02-29 23:59:59.999 (a leap day of a century divisible by 400) and
  // the day after it.
  EXPECT_EQ(CivilTime(125'963'423'999'990'000), (LocalTime{2000, 2, 29, 23, 59, 59, 999}));
  EXPECT_EQ(CivilTime(125'963'424'000'000'000), (LocalTime{2000, 3, 1, 0, 0, 0, 0}));
  // 2100 is no leap year: 2100-02-28 is followed by 2100-03-01.
  EXPECT_EQ(CivilTime(157'520'160'000'000'000), (LocalTime{2100, 3, 1, 0, 0, 0, 0}));
  // Sub-millisecond ticks are cut, never rounded.
  EXPECT_EQ(CivilTime(kSampleTime + 9'999).millisecond, 123);
}

TEST(CivilTimeTest, TellsTheDayOfTheWeek) {
  EXPECT_EQ(DayOfWeek(LocalTime{1601, 1, 1}), 1);   // a Monday
  EXPECT_EQ(DayOfWeek(LocalTime{2002, 1, 15}), 2);  // a Tuesday
  EXPECT_EQ(DayOfWeek(LocalTime{2000, 2, 29}), 2);
  EXPECT_EQ(DayOfWeek(LocalTime{2000, 3, 1}), 3);
  EXPECT_EQ(DayOfWeek(LocalTime{2100, 3, 1}), 1);
  EXPECT_EQ(DayOfWeek(LocalTime{}), 0);  // no month: nothing read outside the table
  EXPECT_EQ(DayOfWeek(LocalTime{2000, 13, 1}), 0);
  // Every day of four centuries follows the one before it.
  int expected = DayOfWeek(LocalTime{1601, 1, 1});
  for (FileTime time = 0; time < 126'227'808'000'000'000; time += 864'000'000'000) {
    ASSERT_EQ(DayOfWeek(CivilTime(time)), expected) << CivilTime(time).year;
    expected = (expected + 1) % 7;
  }
}

TEST(FileSystemTest, ListsNamesKindsSizesAndTimes) {
  TempTree tree;
  tree.Write(u8"a.txt", "hello");
  tree.Write(u8"表示.txt", std::string(1234, 'x'));
  tree.MakeFolder(u8"sub");
  tree.Write(u8"sub\\inner.bin", "123");
  tree.SetLastWriteTime(u8"a.txt", kSampleTime);

  for (const std::string& folder : {tree.Root(), tree.Root() + "\\"}) {
    const std::map<std::string, DirEntry> entries = ListAll(folder);
    ASSERT_EQ(entries.size(), 3u) << "no \".\", no \"..\", nothing of the subfolder";
    const DirEntry& a = entries.at("a.txt");
    EXPECT_FALSE(a.IsDirectory());
    EXPECT_EQ(a.size, 5u);
    EXPECT_EQ(a.last_write_time, kSampleTime);
    EXPECT_TRUE(a.name_representable);
    ASSERT_EQ(entries.count(std::string(kJapaneseName)), 1u);
    EXPECT_EQ(entries.at(std::string(kJapaneseName)).size, 1234u);
    const DirEntry& sub = entries.at("sub");
    EXPECT_TRUE(sub.IsDirectory());
    EXPECT_EQ(sub.size, 0u);
  }
  EXPECT_EQ(ListAll(tree.Path("sub")).count("inner.bin"), 1u);
}

TEST(FileSystemTest, ListingStopsWhenAskedAndFailsForWhatIsNoFolder) {
  TempTree tree;
  for (const char8_t* name : {u8"1", u8"2", u8"3", u8"4"}) tree.Write(name, "");
  int seen = 0;
  EXPECT_TRUE(SystemFileSystem().ListFolder(tree.Root(), [&](const DirEntry&) { return ++seen < 2; }));
  EXPECT_EQ(seen, 2);

  const auto never = [](const DirEntry&) {
    ADD_FAILURE() << "nothing may be listed";
    return true;
  };
  EXPECT_FALSE(SystemFileSystem().ListFolder(tree.Path("missing"), never));
  EXPECT_FALSE(SystemFileSystem().ListFolder(tree.Path("1"), never));
  EXPECT_FALSE(SystemFileSystem().ListFolder("", never));

  tree.MakeFolder(u8"empty");
  EXPECT_TRUE(SystemFileSystem().ListFolder(tree.Path("empty"), never));
}

TEST(FileSystemTest, GetEntryMatchesTheListingAndKeepsSixtyFourBitSizes) {
  TempTree tree;
  tree.Write(u8"表示.txt", "abc");
  tree.SetLastWriteTime(u8"表示.txt", kSampleTime);
  tree.Write(u8"big.bin", "");
  tree.Resize(u8"big.bin", 5'000'000'123ull);
  tree.MakeFolder(u8"folder");

  const std::map<std::string, DirEntry> listed = ListAll(tree.Root());
  const std::optional<DirEntry> japanese = SystemFileSystem().GetEntry(tree.Path(kJapaneseName));
  ASSERT_TRUE(japanese.has_value());
  EXPECT_EQ(japanese->name, kJapaneseName);
  EXPECT_EQ(japanese->size, 3u);
  EXPECT_EQ(japanese->last_write_time, kSampleTime);
  EXPECT_EQ(japanese->attributes, listed.at(std::string(kJapaneseName)).attributes);

  const std::optional<DirEntry> big = SystemFileSystem().GetEntry(tree.Path("big.bin"));
  ASSERT_TRUE(big.has_value());
  EXPECT_EQ(big->size, 5'000'000'123ull);
  EXPECT_EQ(listed.at("big.bin").size, 5'000'000'123ull);

  const std::optional<DirEntry> folder = SystemFileSystem().GetEntry(tree.Path("folder"));
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(folder->name, "folder");
  EXPECT_TRUE(folder->IsDirectory());

  EXPECT_FALSE(SystemFileSystem().GetEntry(tree.Path("missing.txt")).has_value());
  EXPECT_FALSE(SystemFileSystem().GetEntry(tree.Path("missing\\x.txt")).has_value());
}

TEST(FileSystemTest, AttributesTellFoldersFromFiles) {
  TempTree tree;
  tree.Write(u8"f", "x");
  tree.MakeFolder(u8"d");
  const std::optional<uint32_t> file = SystemFileSystem().GetAttributes(tree.Path("f"));
  const std::optional<uint32_t> folder = SystemFileSystem().GetAttributes(tree.Path("d"));
  ASSERT_TRUE(file && folder);
  EXPECT_EQ(*file & kAttributeDirectory, 0u);
  EXPECT_NE(*folder & kAttributeDirectory, 0u);
  EXPECT_FALSE(SystemFileSystem().GetAttributes(tree.Path("none")).has_value());
}

TEST(FileSystemTest, ReadsFilesWholeInAnyChunkSize) {
  TempTree tree;
  std::string content;
  for (int i = 0; i < 100'000; ++i) content += static_cast<char>(i * 7 + i / 256);
  tree.Write(u8"表示.txt", content);
  tree.Write(u8"empty", "");
  tree.MakeFolder(u8"folder");

  for (size_t chunk : {size_t{1} << 20, size_t{4096}, size_t{999}}) {
    std::unique_ptr<FileReader> reader = SystemFileSystem().OpenRead(tree.Path(kJapaneseName));
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->Size(), content.size());
    EXPECT_EQ(ReadAll(*reader, chunk), content) << "chunk " << chunk;
  }
  std::unique_ptr<FileReader> empty = SystemFileSystem().OpenRead(tree.Path("empty"));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->Size(), 0u);
  EXPECT_EQ(ReadAll(*empty, 16), "");

  EXPECT_EQ(SystemFileSystem().OpenRead(tree.Path("folder")), nullptr);
  EXPECT_EQ(SystemFileSystem().OpenRead(tree.Path("missing")), nullptr);
}

TEST(FileSystemTest, SeeksToAnyPartOfAFile) {
  TempTree tree;
  std::string content;
  for (int i = 0; i < 70'000; ++i) content += static_cast<char>(i * 13 + i / 251);
  tree.Write(u8"表示.txt", content);
  std::unique_ptr<FileReader> reader = SystemFileSystem().OpenRead(tree.Path(kJapaneseName));
  ASSERT_NE(reader, nullptr);

  char piece[5] = {};
  ASSERT_TRUE(reader->Seek(65'536));
  ASSERT_EQ(reader->Read(piece, sizeof piece), sizeof piece);
  EXPECT_EQ(std::string(piece, sizeof piece), content.substr(65'536, 5));
  // Backwards, and then on from there.
  ASSERT_TRUE(reader->Seek(3));
  EXPECT_EQ(ReadAll(*reader, 4096), content.substr(3));
  // At or past the end nothing more comes.
  ASSERT_TRUE(reader->Seek(content.size()));
  EXPECT_EQ(reader->Read(piece, sizeof piece), 0u);
  ASSERT_TRUE(reader->Seek(content.size() + 100));
  EXPECT_EQ(reader->Read(piece, sizeof piece), 0u);
}

TEST(FileSystemTest, WritesReplaceAFileWithExactlyTheBytesGiven) {
  TempTree tree;
  tree.Write(u8"表示.txt", std::string(5000, 'o'));  // longer than what replaces it
  const std::string path = tree.Path(kJapaneseName);
  const std::string text = "\x95\x5C\r\nline\0two";  // a 0x5C second byte, a NUL inside
  const std::string content = text + std::string(70'000, 'z');

  std::unique_ptr<FileWriter> writer = SystemFileSystem().CreateForWrite(path);
  ASSERT_NE(writer, nullptr);
#ifdef _WIN32
  EXPECT_EQ(SystemFileSystem().OpenRead(path), nullptr) << "the file is shared with no one";
#endif
  EXPECT_TRUE(writer->Write(text.data(), text.size()));
  EXPECT_TRUE(writer->Write(content.data() + text.size(), content.size() - text.size()));
  EXPECT_TRUE(writer->Write("", 0));
  EXPECT_TRUE(writer->Close());
  EXPECT_FALSE(writer->Close());
  EXPECT_FALSE(writer->Write("x", 1)) << "nothing is written once closed";

  std::unique_ptr<FileReader> reader = SystemFileSystem().OpenRead(path);
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(ReadAll(*reader, 4096), content);
  reader.reset();

  // A writer closed by its destruction leaves an empty file behind.
  ASSERT_NE(SystemFileSystem().CreateForWrite(tree.Path("new.txt")), nullptr);
  const std::optional<DirEntry> created = SystemFileSystem().GetEntry(tree.Path("new.txt"));
  ASSERT_TRUE(created.has_value());
  EXPECT_EQ(created->size, 0u);
}

TEST(FileSystemTest, NothingIsCreatedInAMissingFolderOrOverAFolder) {
  TempTree tree;
  tree.MakeFolder(u8"folder");
  EXPECT_EQ(SystemFileSystem().CreateForWrite(tree.Path("missing\\report.txt")), nullptr);
  EXPECT_FALSE(SystemFileSystem().GetEntry(tree.Path("missing")).has_value());
  EXPECT_EQ(SystemFileSystem().CreateForWrite(tree.Path("folder")), nullptr);
  EXPECT_TRUE(SystemFileSystem().GetAttributes(tree.Path("folder")).value_or(0) & kAttributeDirectory);
  EXPECT_EQ(SystemFileSystem().CreateForWrite(""), nullptr);
}

TEST(FileSystemTest, IdentitySeesThroughOtherSpellingsOfOneFile) {
  TempTree tree;
  tree.Write(u8"original.txt", "same");
  tree.Write(u8"copy.txt", "same");
  tree.HardLink(u8"original.txt", u8"link.txt");

  const std::optional<FileIdentity> original = SystemFileSystem().GetIdentity(tree.Path("original.txt"));
  const std::optional<FileIdentity> link = SystemFileSystem().GetIdentity(tree.Path("link.txt"));
  const std::optional<FileIdentity> copy = SystemFileSystem().GetIdentity(tree.Path("copy.txt"));
  ASSERT_TRUE(original && link && copy);
  EXPECT_EQ(*original, *link);
  EXPECT_NE(*original, *copy);
  EXPECT_FALSE(SystemFileSystem().GetIdentity(tree.Path("missing.txt")).has_value());
}

TEST(FileSystemTest, NamesCodePage932CannotHoldAreReportedNotAltered) {
  TempTree tree;
  tree.Write(u8"caf\u00e9.txt", "x");  // é has no code in code page 932
  const std::map<std::string, DirEntry> entries = ListAll(tree.Root());
  ASSERT_EQ(entries.size(), 1u);
  const DirEntry& entry = entries.begin()->second;
  EXPECT_EQ(entry.size, 1u);
  if (!entry.short_name.empty()) {
    // Windows keeps a short name, which names the same file.
    EXPECT_TRUE(entry.name_representable);
    EXPECT_EQ(entry.name, entry.short_name);
    EXPECT_EQ(ReadAll(*SystemFileSystem().OpenRead(tree.Path(entry.name)), 16), "x");
    return;
  }
  EXPECT_FALSE(entry.name_representable);
  EXPECT_EQ(entry.name, "caf?.txt");
  // The "?" spelling names no file.
  EXPECT_EQ(SystemFileSystem().OpenRead(tree.Path(entry.name)), nullptr);
}

TEST(FileSystemTest, TheListingTellsTheIdentityOfTheFolderOpenedAndOfEachEntry) {
  TempTree tree;
  tree.Write(u8"a.txt", "same file");
  tree.HardLink(u8"a.txt", u8"b.txt");
  tree.Write(u8"c.txt", "another file");
  tree.MakeFolder(u8"sub");

  std::optional<FileIdentity> admitted;
  std::map<std::string, DirEntry> entries;
  EXPECT_TRUE(SystemFileSystem().ListFolderWithIdentity(
      tree.Root() + "\\",
      [&](const FileIdentity& folder) {
        EXPECT_TRUE(entries.empty()) << "asked before the first entry";
        admitted = folder;
        return true;
      },
      [&](const DirEntry& entry) {
        entries.emplace(entry.name, entry);
        return true;
      }));
  ASSERT_TRUE(admitted.has_value());
  EXPECT_EQ(admitted, SystemFileSystem().GetIdentity(tree.Root()));
  ASSERT_EQ(entries.size(), 4u);
  for (const auto& [name, entry] : entries) {
    // Known without opening the file, and the same as opening it tells.
    ASSERT_TRUE(entry.identity.has_value()) << name;
    EXPECT_EQ(entry.identity, SystemFileSystem().GetIdentity(tree.Path(name))) << name;
  }
  EXPECT_EQ(entries.at("a.txt").identity, entries.at("b.txt").identity);
  EXPECT_NE(entries.at("a.txt").identity, entries.at("c.txt").identity);

  // A folder refused at its identity lists nothing.
  EXPECT_TRUE(SystemFileSystem().ListFolderWithIdentity(
      tree.Root(), [](const FileIdentity&) { return false; },
      [](const DirEntry& entry) {
        ADD_FAILURE() << entry.name << " listed in a refused folder";
        return true;
      }));
}

TEST(FullPathTest, TakesARelativePathFromTheCurrentFolderAndFoldsDots) {
  TempTree tree;
  tree.MakeFolder(u8"sub");
  EXPECT_EQ(FullPath(tree.Path("sub\\.\\x\\..\\y.txt")), tree.Path("sub\\y.txt"));
  EXPECT_EQ(FullPath(tree.Path("sub")), tree.Path("sub")) << "an absolute path stays";
  {
    const CurrentFolderAt inside(tree.Root());
    EXPECT_EQ(FullPath("sub\\y.txt"), tree.Path("sub\\y.txt"));
    EXPECT_EQ(FullPath("."), tree.Root());
    // Out of the folder and back in: "/" and "\\" alike (a POSIX root is
    // spelled with "/").
    const std::optional<std::string> back_in = FullPath("sub\\..\\..\\" + LastPart(tree.Root()) + "\\z.txt");
    ASSERT_TRUE(back_in.has_value());
    EXPECT_EQ(Backslashed(*back_in), Backslashed(tree.Path("z.txt")));
  }
  EXPECT_EQ(FullPath(""), std::nullopt);
}

std::string ReadFile(const std::string& path) {
  std::unique_ptr<FileReader> reader = SystemFileSystem().OpenRead(path);
  if (reader == nullptr) return "<cannot open>";
  return ReadAll(*reader, 1 << 16);
}

// Bytes of every value, long enough to take more than one read.
std::string SampleContent(char seed) {
  std::string content;
  for (int i = 0; i < 3'000'000; ++i) content += static_cast<char>(i * 13 + seed + i / 1024);
  return content;
}

TEST(FileSystemTest, CopyKeepsTheBytesAndTheLastWriteTimeAndMoveTakesTheFileAway) {
  TempTree tree;
  const std::string content = SampleContent('a');
  tree.Write(u8"表示.txt", content);
  tree.SetLastWriteTime(u8"表示.txt", kSampleTime);
  tree.MakeFolder(u8"表");
  const std::string source = tree.Path(kJapaneseName);

  const std::string copy = tree.Path("表\\copy.txt");
  ASSERT_EQ(SystemFileSystem().CopyFileTo(source, copy), FileError::kNone);
  EXPECT_EQ(ReadFile(source), content);
  EXPECT_EQ(ReadFile(copy), content);
  const std::optional<DirEntry> copied = SystemFileSystem().GetEntry(copy);
  ASSERT_TRUE(copied.has_value());
  EXPECT_EQ(copied->last_write_time, kSampleTime);

  const std::string moved = tree.Path("表\\表示.txt");
  ASSERT_EQ(SystemFileSystem().MoveFileTo(source, moved), FileError::kNone);
  EXPECT_FALSE(SystemFileSystem().GetAttributes(source).has_value());
  EXPECT_EQ(ReadFile(moved), content);
  EXPECT_EQ(SystemFileSystem().GetEntry(moved)->last_write_time, kSampleTime);
}

TEST(FileSystemTest, MoveAndCopyNeverReplaceWhatIsThere) {
  TempTree tree;
  tree.Write(u8"source.txt", "the source");
  tree.Write(u8"taken.txt", "already there");
  tree.MakeFolder(u8"folder");
  const std::string source = tree.Path("source.txt");
  for (const std::string& target : {tree.Path("taken.txt"), tree.Path("folder")}) {
    EXPECT_EQ(SystemFileSystem().MoveFileTo(source, target), FileError::kExists) << target;
    EXPECT_EQ(SystemFileSystem().CopyFileTo(source, target), FileError::kExists) << target;
  }
  EXPECT_EQ(ReadFile(source), "the source");
  EXPECT_EQ(ReadFile(tree.Path("taken.txt")), "already there");
  EXPECT_TRUE(SystemFileSystem().GetAttributes(tree.Path("folder")).value_or(0) & kAttributeDirectory);
  EXPECT_TRUE(SystemFileSystem().ListFolder(tree.Path("folder"), [](const DirEntry& entry) {
    ADD_FAILURE() << "the folder received " << entry.name;
    return true;
  }));
}

TEST(FileSystemTest, AMissingSourceOrDestinationFolderChangesNothing) {
  TempTree tree;
  tree.Write(u8"source.txt", "the source");
  const std::string missing = tree.Path("missing.txt");
  EXPECT_EQ(SystemFileSystem().MoveFileTo(missing, tree.Path("a.txt")), FileError::kNotFound);
  EXPECT_EQ(SystemFileSystem().CopyFileTo(missing, tree.Path("b.txt")), FileError::kNotFound);
  EXPECT_FALSE(SystemFileSystem().GetAttributes(tree.Path("a.txt")).has_value());
  EXPECT_FALSE(SystemFileSystem().GetAttributes(tree.Path("b.txt")).has_value());

  const std::string source = tree.Path("source.txt");
  EXPECT_EQ(SystemFileSystem().MoveFileTo(source, tree.Path("none\\a.txt")), FileError::kNotFound);
  EXPECT_EQ(SystemFileSystem().CopyFileTo(source, tree.Path("none\\a.txt")), FileError::kNotFound);
  EXPECT_EQ(ReadFile(source), "the source");
}

TEST(FileSystemTest, CreateFolderMakesOneLevelAndNeverTakesAUsedName) {
  TempTree tree;
  tree.Write(u8"file", "x");
  EXPECT_TRUE(SystemFileSystem().CreateFolder(tree.Path("表")));
  EXPECT_TRUE(SystemFileSystem().GetAttributes(tree.Path("表")).value_or(0) & kAttributeDirectory);
  EXPECT_FALSE(SystemFileSystem().CreateFolder(tree.Path("表"))) << "it exists already";
  EXPECT_FALSE(SystemFileSystem().CreateFolder(tree.Path("file")));
  EXPECT_EQ(ReadFile(tree.Path("file")), "x");
  EXPECT_FALSE(SystemFileSystem().CreateFolder(tree.Path("a\\b"))) << "one level only";
  EXPECT_FALSE(SystemFileSystem().GetAttributes(tree.Path("a")).has_value());
}

#ifndef _WIN32
TEST(PosixFileSystemTest, ABackslashInANameOnDiskCannotBeHeld) {
  TempTree tree;
  tree.MakeFolder(u8"a");
  std::ofstream(tree.Root() + "/a/b\\c") << "x";  // one name on disk, "b\\c"
  const std::map<std::string, DirEntry> entries = ListAll(tree.Path("a"));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_FALSE(entries.begin()->second.name_representable);
}

// Every character (as UTF-8) that the system's own conversion takes to code
// page 932 and back as another one, found by trying them all: "¥" becomes a
// backslash, "—" comes back as "―", and so on.
std::vector<std::string> CharactersThatComeBackChanged() {
  const iconv_t there = iconv_open("CP932", "UTF-8");
  const iconv_t back = iconv_open("UTF-8", "CP932");
  const auto convert = [](iconv_t handle, const std::string& text) -> std::optional<std::string> {
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    char out[32];
    char* in_ptr = const_cast<char*>(text.data());
    size_t in_left = text.size();
    char* out_ptr = out;
    size_t out_left = sizeof out;
    if (iconv(handle, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<size_t>(-1) || in_left != 0) {
      return std::nullopt;
    }
    return std::string(out, static_cast<size_t>(out_ptr - out));
  };
  std::vector<std::string> changed;
  for (char32_t code = 0x80; code <= 0x10FFFF; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF) continue;
    std::string utf8;
    if (code < 0x800) {
      utf8 = {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
    } else if (code < 0x10000) {
      utf8 = {static_cast<char>(0xE0 | (code >> 12)), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
              static_cast<char>(0x80 | (code & 0x3F))};
    } else {
      utf8 = {static_cast<char>(0xF0 | (code >> 18)), static_cast<char>(0x80 | ((code >> 12) & 0x3F)),
              static_cast<char>(0x80 | ((code >> 6) & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
    }
    const std::optional<std::string> converted = convert(there, utf8);
    if (converted && convert(back, *converted) != utf8) changed.push_back(utf8);
  }
  iconv_close(there);
  iconv_close(back);
  return changed;
}

TEST(PosixFileSystemTest, NamesThatWouldComeBackAsOtherCharactersAreNotUsed) {
  const std::vector<std::string> changed = CharactersThatComeBackChanged();
  ASSERT_FALSE(changed.empty()) << "this system's code page 932 maps nothing many to one";
  TempTree tree;
  std::ofstream(tree.Root() + "/dup.txt") << "the only copy";
  for (const std::string& character : changed) {
    std::ofstream(tree.Root() + "/" + character + "dup.txt") << "another file";
  }
  size_t listed = 0;
  EXPECT_TRUE(SystemFileSystem().ListFolder(tree.Root(), [&](const DirEntry& entry) {
    ++listed;
    if (entry.name_representable) {
      EXPECT_EQ(entry.name, "dup.txt") << "a name that would name another file";
    } else {
      EXPECT_EQ(entry.name, "?dup.txt");
    }
    return true;
  }));
  EXPECT_EQ(listed, changed.size() + 1);
  for (const std::string& character : changed) {
    EXPECT_EQ(Utf8ToCp932(character), std::nullopt) << character;
  }
}

// Runs call on a thread of its own. When it has not returned within 20 s it
// waits on the pipe, as opening a pipe with no writer does: a writer opens
// the pipe to release it, and the test fails.
template <typename Call>
void ExpectNoWaitOnPipe(const std::string& pipe, Call call) {
  std::atomic<bool> done{false};
  std::thread caller([&] {
    call();
    done = true;
  });
  const timespec tick{0, 10'000'000};
  for (int ticks = 0; ticks < 2000 && !done; ++ticks) nanosleep(&tick, nullptr);
  if (!done) {
    ADD_FAILURE() << "waited on the pipe " << pipe;
    const int writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
    caller.join();
    if (writer >= 0) close(writer);
    return;
  }
  caller.join();
}

TEST(PosixFileSystemTest, OnlyFilesAndFoldersAreListedAndOnlyRegularFilesRead) {
  TempTree tree;
  tree.Write(u8"plain.txt", "x");
  tree.MakeFolder(u8"folder");
  const std::string pipe = tree.Root() + "/pipe";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  ASSERT_EQ(symlink("/dev/zero", (tree.Root() + "/zero").c_str()), 0);

  std::map<std::string, DirEntry> entries = ListAll(tree.Root());
  EXPECT_EQ(entries.size(), 2u) << "neither the pipe nor the device";
  EXPECT_EQ(entries.count("plain.txt"), 1u);
  EXPECT_EQ(entries.count("folder"), 1u);

  FileSystem& file_system = SystemFileSystem();
  for (const std::string& path : {tree.Path("pipe"), tree.Path("zero"), std::string("/dev/zero")}) {
    EXPECT_FALSE(file_system.GetEntry(path).has_value()) << path;
    EXPECT_FALSE(file_system.GetAttributes(path).has_value()) << path;
  }
  ExpectNoWaitOnPipe(pipe, [&] { EXPECT_EQ(file_system.OpenRead(tree.Path("pipe")), nullptr); });
  ExpectNoWaitOnPipe(pipe, [&] {
    EXPECT_NE(file_system.CopyFileTo(tree.Path("pipe"), tree.Path("copy")), FileError::kNone);
  });
  EXPECT_FALSE(file_system.GetEntry(tree.Path("copy")).has_value());
  EXPECT_EQ(file_system.OpenRead(tree.Path("zero")), nullptr) << "a device would be read without end";
  EXPECT_EQ(file_system.OpenRead(tree.Path("folder")), nullptr);
  EXPECT_NE(file_system.OpenRead(tree.Path("plain.txt")), nullptr);
}

// A temporary tree under /dev/shm, or null when none can be made there.
std::unique_ptr<TempTree> TempTreeInSharedMemory() {
  const char* saved = std::getenv("TMPDIR");
  const std::string previous = saved != nullptr ? saved : "";
  setenv("TMPDIR", "/dev/shm", 1);
  std::unique_ptr<TempTree> tree;
  try {
    tree = std::make_unique<TempTree>();
  } catch (const std::exception&) {
  }
  if (saved != nullptr) {
    setenv("TMPDIR", previous.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
  return tree;
}

// /dev/shm is another file system than the temporary folder on most Linux
// machines: there a move has to copy the file and then remove the source.
TEST(PosixFileSystemTest, MovesAcrossFileSystemsByCopyingThenRemoving) {
  TempTree tree;
  const std::unique_ptr<TempTree> other = TempTreeInSharedMemory();
  if (other == nullptr) GTEST_SKIP() << "no /dev/shm";
  if (SystemFileSystem().GetEntry(tree.Root())->identity->volume ==
      SystemFileSystem().GetEntry(other->Root())->identity->volume) {
    GTEST_SKIP() << "/dev/shm is on the same file system";
  }
  const std::string content = SampleContent('x');
  tree.Write(u8"表示.txt", content);
  tree.SetLastWriteTime(u8"表示.txt", kSampleTime);
  other->Write(u8"taken.txt", "kept");

  EXPECT_EQ(SystemFileSystem().MoveFileTo(tree.Path(kJapaneseName), other->Path("taken.txt")),
            FileError::kExists);
  EXPECT_EQ(ReadFile(other->Path("taken.txt")), "kept");
  ASSERT_EQ(SystemFileSystem().MoveFileTo(tree.Path(kJapaneseName), other->Path(kJapaneseName)),
            FileError::kNone);
  EXPECT_FALSE(SystemFileSystem().GetAttributes(tree.Path(kJapaneseName)).has_value());
  EXPECT_EQ(ReadFile(other->Path(kJapaneseName)), content);
  EXPECT_EQ(SystemFileSystem().GetEntry(other->Path(kJapaneseName))->last_write_time, kSampleTime);
}

// A source in a folder the user may not write to cannot be removed: the
// move fails and no second copy is left on the other file system.
TEST(PosixFileSystemTest, AMoveAcrossFileSystemsThatCannotRemoveTheSourceLeavesNoCopy) {
  if (geteuid() == 0) GTEST_SKIP() << "root may remove anything";
  TempTree tree;
  const std::unique_ptr<TempTree> other = TempTreeInSharedMemory();
  if (other == nullptr) GTEST_SKIP() << "no /dev/shm";
  tree.MakeFolder(u8"locked");
  tree.Write(u8"locked\\a.txt", "content");
  const std::string native_locked = tree.Root() + "/locked";
  ASSERT_EQ(chmod(native_locked.c_str(), 0555), 0);
  const FileError error = SystemFileSystem().MoveFileTo(tree.Path("locked\\a.txt"), other->Path("a.txt"));
  chmod(native_locked.c_str(), 0755);
  EXPECT_EQ(error, FileError::kAccessDenied);
  EXPECT_EQ(ReadFile(tree.Path("locked\\a.txt")), "content");
  EXPECT_FALSE(SystemFileSystem().GetAttributes(other->Path("a.txt")).has_value());
}

TEST(PosixFileSystemTest, LocalTimeAppliesTheOffsetInForceNow) {
  const char* saved = std::getenv("TZ");
  const std::string previous = saved != nullptr ? saved : "";
  setenv("TZ", "JST-9", 1);
  tzset();
  EXPECT_EQ(ToLocalTime(kSampleTime), (LocalTime{2002, 1, 15, 19, 20, 30, 123}));
  // A zone whose summer time covers the days around today applies today's
  // offset (UTC-4) to a file of half a year ago too, when its own was UTC-5.
  const time_t now = std::time(nullptr);
  struct tm today;
  gmtime_r(&now, &today);
  const int day = std::min(today.tm_yday + 1, 365);
  const std::string zone = "XST+5XDT,J" + std::to_string(std::max(day - 10, 1)) + "/0,J" +
                           std::to_string(std::min(day + 10, 365)) + "/0";
  setenv("TZ", zone.c_str(), 1);
  tzset();
  const FileTime half_a_year_ago =
      (static_cast<FileTime>(now) + 11'644'473'600u - 180u * 86'400u) * 10'000'000u;
  EXPECT_EQ(ToLocalTime(half_a_year_ago), CivilTime(half_a_year_ago - FileTime{4} * 3'600 * 10'000'000))
      << zone;
  if (saved != nullptr) {
    setenv("TZ", previous.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}
#endif

}  // namespace
}  // namespace twinseek
