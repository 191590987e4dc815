// Each sample plug-in as a user enables it: copied as TOOL1.DLL beside a copy
// of twinseek-scan.exe, which runs as its own process with --plugin 1 and
// finds it through the system's loader. What it prints is the tree report.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "plugins/large_copies.h"
#include "support/temp_tree.h"
#include "win32/plugins/built_plugins.h"
#include "win32/plugins/test_pictures.h"

namespace twinseek::testing {
namespace {

struct Group {
  std::string key;
  std::set<std::string> files;
};

// Runs the scan tool, with plugin as its TOOL1.DLL, on folder; the groups it
// reports, in order. Fails the test when the tool cannot run or fails.
std::vector<Group> ScanWithPlugin(std::string_view plugin, const std::string& folder) {
  TempTree tool;
  const std::string exe = tool.Path("twinseek-scan.exe");
  EXPECT_TRUE(CopyBuiltFile(BuiltScanTool(), exe));
  EXPECT_TRUE(CopyBuiltFile(BuiltPlugin(plugin), tool.Path("TOOL1.DLL")));

  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(Cp932ToWide(tool.Path("out.txt")).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                           &inherit, CREATE_ALWAYS, 0, nullptr);
  HANDLE err = CreateFileW(Cp932ToWide(tool.Path("err.txt")).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                           &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = out;
  startup.hStdError = err;
  std::wstring command = Cp932ToWide("\"" + exe + "\" --plugin 1 \"" + folder + "\"");
  PROCESS_INFORMATION process{};
  const bool started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      Cp932ToWide(tool.Root()).c_str(), &startup, &process);
  CloseHandle(out);
  CloseHandle(err);
  EXPECT_TRUE(started) << GetLastError();
  if (!started) return {};
  EXPECT_EQ(WaitForSingleObject(process.hProcess, 120'000), WAIT_OBJECT_0);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  auto read = [&](const char* name) {
    std::ifstream in(Cp932ToWide(tool.Path(name)).c_str(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  };
  const std::string report = read("out.txt");
  EXPECT_EQ(code, 0u) << read("err.txt");
  EXPECT_EQ(read("err.txt"), "");
  std::vector<Group> groups;
  std::istringstream lines(report);
  for (std::string line; std::getline(lines, line);) {
    EXPECT_TRUE(line.ends_with("\r")) << line;
    line.pop_back();
    if (line.starts_with("*")) {
      groups.push_back(Group{line.substr(1), {}});
    } else if (!groups.empty()) {
      groups.back().files.insert(line);
    }
  }
  return groups;
}

TEST(ScanToolPluginsTest, NameVariantsGroupACopyOfReportNamedThreeWays) {
  TempTree files;
  for (const char8_t* name :
       {u8"report.txt", u8"report - コピー.txt", u8"ｒｅｐｏｒｔ (2).TXT", u8"other.txt"}) {
    files.Write(name, "any");
  }
  const std::vector<Group> groups = ScanWithPlugin("twinseek-names", files.Root());
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].key, " REPORT.TXT");
  EXPECT_EQ(groups[0].files,
            (std::set<std::string>{files.Path("report.txt"), files.Path("report - コピー.txt"),
                                   files.Path("ｒｅｐｏｒｔ (2).TXT")}));
}

TEST(ScanToolPluginsTest, PictureSizeGroupsPicturesOfOneSizeOnly) {
  TempTree files;
  ASSERT_TRUE(WritePhotoPng(files.Path("a.png"), 640, 480, 0));
  ASSERT_TRUE(WritePhotoPng(files.Path("b.png"), 640, 480, 1));
  ASSERT_TRUE(WritePhotoPng(files.Path("c.png"), 640, 481, 0));
  const std::vector<Group> groups = ScanWithPlugin("twinseek-picture", files.Root());
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].key, " 640x480");
  EXPECT_EQ(groups[0].files, (std::set<std::string>{files.Path("a.png"), files.Path("b.png")}));
}

TEST(ScanToolPluginsTest, HeadAndTailGroupsLargeFilesThatDifferOnlyInTheMiddle) {
  TempTree files;
  WriteLargeCopies(files);
  const std::vector<Group> groups = ScanWithPlugin("twinseek-headtail", files.Root());
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].files, (std::set<std::string>{files.Path("a.bin"), files.Path("b.bin")}));
}

TEST(ScanToolPluginsTest, PictureLookGroupsAPhotoWithItsHalfSizeJpeg) {
  TempTree files;
  ASSERT_TRUE(WritePhotoPng(files.Path("photo.png"), 640, 480, 0));
  ASSERT_TRUE(WriteScaledJpeg(files.Path("photo.png"), files.Path("photo-small.jpg"), 320, 240, 80));
  ASSERT_TRUE(WritePhotoPng(files.Path("another.png"), 640, 480, 1));
  files.Write(u8"notes.txt", "not a picture");
  const std::vector<Group> groups = ScanWithPlugin("twinseek-look", files.Root());
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].key.size(), 17u);
  EXPECT_EQ(groups[0].files, (std::set<std::string>{files.Path("photo.png"), files.Path("photo-small.jpg")}));
}

}  // namespace
}  // namespace twinseek::testing
