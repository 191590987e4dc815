// twinseek-scan from its arguments to what it prints, on real folders.
#include "cli/scan_tool.h"

#include <gtest/gtest.h>

#include <string>

#include "base/utf8_text.h"
#include "scan/enumeration.h"
#include "support/current_folder.h"
#include "support/temp_tree.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <ctime>
#include <thread>
#endif

namespace twinseek {
namespace {

using testing::TempTree;

// The file time whose local time (with today's offset) is the given one.
FileTime FromLocal(const LocalTime& local) {
  const FileTime as_utc = static_cast<FileTime>(LocalSeconds(local)) * 10'000'000u;
  const int64_t offset = LocalSeconds(ToLocalTime(as_utc)) - LocalSeconds(CivilTime(as_utc));
  return as_utc - static_cast<FileTime>(offset * 10'000'000);
}

struct ToolRun {
  int code;
  std::string out;
  std::string err;
};

ToolRun Scan(std::vector<std::string> arguments) {
  ScanToolOutput output;
  const int code = RunScanTool(arguments, nullptr, output);
  return ToolRun{code, output.out, output.err};
}

TEST(ScanToolTest, PrintsTheGroupOfAFileAndItsCopy) {
  TempTree tree;
  const std::string content(1234, 'r');
  const FileTime written = FromLocal(LocalTime{2002, 1, 15, 10, 20, 30, 0});
  tree.Write(u8"report.final.txt", content);
  tree.SetLastWriteTime(u8"report.final.txt", written);
  tree.MakeFolder(u8"copy");
  tree.Write(u8"copy\\report.final.txt", content);
  tree.SetLastWriteTime(u8"copy\\report.final.txt", written);
  tree.Write(u8"other.txt", "different");

  const ToolRun run = Scan({"--name", "--ext", "--date", "--size", tree.Root()});
  EXPECT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "*REPORT.FINAL .TXT W2002/01/15 10:20:30 0000(1234)\r\n" +
                         tree.Path("report.final.txt") + "\r\n" + tree.Path("copy\\report.final.txt") +
                         "\r\n");
  EXPECT_EQ(run.err, "");
}

TEST(ScanToolTest, FoldersAccumulateAndUniqueFilesFollowTheGroups) {
  TempTree first;
  TempTree second;
  first.Write(u8"a.bin", "12345");
  first.Write(u8"lonely.bin", "1");
  second.Write(u8"b.bin", "54321");
  second.Write(u8"c.bin", "12345");

  const ToolRun by_size = Scan({"--size", first.Root(), second.Root()});
  EXPECT_EQ(by_size.out, "*(5)\r\n" + first.Path("a.bin") + "\r\n" + second.Path("b.bin") + "\r\n" +
                             second.Path("c.bin") + "\r\n");

  const ToolRun by_content = Scan({"--size", "--crc", "--unique", first.Root(), second.Root()});
  const std::string same = "*(5)@cbf53a1c\r\n" + first.Path("a.bin") + "\r\n" + second.Path("c.bin") + "\r\n";
  ASSERT_EQ(by_content.code, 0) << by_content.err;
  EXPECT_EQ(by_content.out.substr(0, same.size()), same);
  EXPECT_NE(by_content.out.find("\r\n" + first.Path("lonely.bin") + "\r\n"), std::string::npos);
  EXPECT_NE(by_content.out.find("\r\n" + second.Path("b.bin") + "\r\n"), std::string::npos);
}

TEST(ScanToolTest, CriteriaNarrowTheWalk) {
  TempTree tree;
  tree.Write(u8"keep.txt", "aaaa");
  tree.Write(u8"KEEP2.TXT", "bbbb");
  tree.Write(u8"skip.doc", "cccc");
  tree.MakeFolder(u8"sub");
  tree.Write(u8"sub\\deep.txt", "dddd");
  tree.Write(u8"small.txt", "e");

  const ToolRun run = Scan({"--size", "--pattern", " *.txt ", "--no-subfolders", "--min", "2", tree.Root()});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_NE(run.out.find(tree.Path("keep.txt")), std::string::npos);
  EXPECT_NE(run.out.find(tree.Path("KEEP2.TXT")), std::string::npos);
  EXPECT_EQ(run.out.find("skip.doc"), std::string::npos);
  EXPECT_EQ(run.out.find("deep.txt"), std::string::npos);
}

TEST(ScanToolTest, ErrorLogGoesToStandardError) {
  TempTree tree;
  tree.Write(u8"a.bin", std::string(1025, 'x'));
  tree.Write(u8"b.bin", std::string(1025, 'y'));
  const ToolRun run = Scan({"--size", "--crc", "--load-limit", "1", tree.Root()});
  EXPECT_EQ(run.code, 0);
  EXPECT_NE(run.err.find("ファイルサイズ制限(1KB)によりCRC16検査をスキップしました。(" + tree.Path("a.bin") +
                         ")(need:1KBytes)\r\n"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.out.find("*(1025)@0\r\n"), std::string::npos) << "unchecked files share the checksum 0";
}

TEST(ScanToolTest, Utf8OutputForATerminal) {
  TempTree tree;
  tree.Write(u8"表示.txt", "same");
  tree.Write(u8"表示2.txt", "same");
  const ToolRun run = Scan({"--size", "--utf8", tree.Root()});
  ASSERT_EQ(run.code, 0);
  const std::optional<std::string> expected = Cp932ToUtf8(tree.Path("表示.txt"));
  ASSERT_TRUE(expected.has_value());
  EXPECT_NE(run.out.find(*expected + "\r\n"), std::string::npos);
}

TEST(ScanToolTest, BadArgumentsAndUnusableFoldersExitWithTwoAndOneLine) {
  TempTree tree;
  tree.Write(u8"file.txt", "x");
  const std::vector<std::vector<std::string>> mistakes = {
      {},
      {"--bogus", tree.Root()},
      {"--min"},
      {"--min", "-1", tree.Root()},
      {"--max", "12x", tree.Root()},
      {"--from", "2002-02-30", tree.Root()},
      {"--plugin", "4", tree.Root()},
      {"--plugin", "1", tree.Root()},  // no plug-in can be loaded here
      {"--pattern", "a/b", tree.Root()},
      {tree.Path("missing")},
      {tree.Path("file.txt")},
  };
  for (const std::vector<std::string>& arguments : mistakes) {
    const ToolRun run = Scan(arguments);
    const std::string shown = arguments.empty() ? "(none)" : arguments.front();
    EXPECT_EQ(run.code, 2) << shown;
    EXPECT_EQ(run.out, "") << shown;
    ASSERT_GE(run.err.size(), 2u) << shown;
    EXPECT_EQ(run.err.find("\r\n"), run.err.size() - 2) << shown << ": " << run.err;
  }
  const ToolRun help = Scan({"--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_NE(help.out.find("--crc"), std::string::npos);
}

TEST(ScanToolTest, ARelativeFolderGivesAbsolutePaths) {
  TempTree tree;
  tree.MakeFolder(u8"sub");
  tree.Write(u8"sub\\a.bin", "same");
  tree.Write(u8"sub\\b.bin", "same");
  ToolRun run;
  {
    const testing::CurrentFolderAt here(tree.Root());
    run = Scan({"--size", "sub\\..\\sub"});
  }
  ASSERT_EQ(run.code, 0) << run.err;
  const std::string out = testing::Backslashed(run.out);
  EXPECT_NE(out.find("\r\n" + testing::Backslashed(tree.Path("sub\\a.bin")) + "\r\n"), std::string::npos)
      << run.out;
  EXPECT_NE(out.find("\r\n" + testing::Backslashed(tree.Path("sub\\b.bin")) + "\r\n"), std::string::npos)
      << run.out;
}

#ifndef _WIN32
// "¥dup.txt" once came back from code page 932 as "\dup.txt", which is the
// path of dup.txt: the tool read dup.txt under the other name and called the
// two copies of each other.
TEST(ScanToolTest, ANameThatCodePage932ChangesIsReportedNotTakenForAnother) {
  TempTree tree;
  tree.Write(u8"dup.txt", "the only copy");
  tree.Write(u8"¥dup.txt", "another file!");
  tree.Write(u8"한국어.txt", "third file");
  const ToolRun run = Scan({"--size", "--crc", tree.Root()});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "") << "no group";
  EXPECT_NE(run.err.find("ファイル名を扱えません(" + tree.Path("?dup.txt") + ")\r\n"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("ファイル名を扱えません(" + tree.Path("???.txt") + ")\r\n"), std::string::npos)
      << run.err;
}

// A pipe in the folder once held the tool in its open for ever.
TEST(ScanToolTest, APipeInTheFolderIsNeitherListedNorOpened) {
  TempTree tree;
  tree.Write(u8"a.bin", "same");
  tree.Write(u8"b.bin", "same");
  const std::string pipe = tree.Root() + "/pipe.bin";  // a name "*.*" takes
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  ToolRun run{};
  std::atomic<bool> done{false};
  std::thread tool([&] {
    run = Scan({"--crc", tree.Root()});
    done = true;
  });
  const timespec tick{0, 10'000'000};
  for (int ticks = 0; ticks < 2000 && !done; ++ticks) nanosleep(&tick, nullptr);
  if (!done) {
    ADD_FAILURE() << "the tool waited on the pipe";
    const int writer = open(pipe.c_str(), O_WRONLY | O_NONBLOCK);  // releases it
    tool.join();
    if (writer >= 0) close(writer);
    return;
  }
  tool.join();
  EXPECT_EQ(run.code, 0);
  EXPECT_EQ(run.out.find("*@fc50f144\r\n"), 0u) << run.out;
  EXPECT_NE(run.out.find(tree.Path("a.bin")), std::string::npos);
  EXPECT_NE(run.out.find(tree.Path("b.bin")), std::string::npos);
  EXPECT_EQ(run.out.find("pipe"), std::string::npos);
  EXPECT_EQ(run.err, "");
}
#endif

}  // namespace
}  // namespace twinseek
