// The plug-in loader on real libraries under Wine: TOOL1.DLL and TOOL3.DLL
// (test_plugin/) lie beside this program, TOOL2.DLL nowhere. They record
// their calls in an environment variable of the process.
#include "scan/win32/plugin_loader_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "base/win32/wide_text.h"
#include "support/temp_tree.h"

namespace twinseek {
namespace {

constexpr char kCallsVariable[] = "TWINSEEK_PLUGIN_CALLS";

std::string PluginCalls() {
  char calls[8192];
  const DWORD length = GetEnvironmentVariableA(kCallsVariable, calls, sizeof calls);
  if (length == 0 || length >= sizeof calls) return "";
  return std::string(calls, length);
}

// The fragment the test plug-in number gives for an entry.
std::string ExpectedFragment(int number, const DirEntry& entry) {
  auto high = [](FileTime time) { return static_cast<unsigned long>(time >> 32); };
  auto low = [](FileTime time) { return static_cast<unsigned long>(time & 0xFFFFFFFFu); };
  char text[MAX_PATH + 128];
  std::snprintf(text, sizeof text, "T%d SZ%llx A%lx C%lx:%lx L%lx:%lx W%lx:%lx N%s S%s", number,
                static_cast<unsigned long long>(entry.size % 7), static_cast<unsigned long>(entry.attributes),
                high(entry.creation_time), low(entry.creation_time), high(entry.last_access_time),
                low(entry.last_access_time), high(entry.last_write_time), low(entry.last_write_time),
                entry.name.c_str(), entry.short_name.c_str());
  return text;
}

class Win32PluginLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { SetEnvironmentVariableA(kCallsVariable, nullptr); }

  // Writes a file of the temporary tree and gives its entry.
  DirEntry Entry(std::u8string_view name, std::string_view path_name, std::string_view content) {
    tree.Write(name, content);
    return EntryOf(path_name);
  }

  DirEntry EntryOf(std::string_view path_name) {
    const std::optional<DirEntry> entry = SystemFileSystem().GetEntry(tree.Path(path_name));
    EXPECT_TRUE(entry.has_value()) << path_name;
    return entry.value_or(DirEntry{});
  }

  testing::TempTree tree;
  Win32PluginLoader loader;
};

TEST_F(Win32PluginLoaderTest, LoadsTheSlotsLibrariesAndUnloadsThemBackwards) {
  {
    PluginSlots slots;
    slots.LoadAll(loader);
    EXPECT_TRUE(slots.Loaded(1));
    EXPECT_FALSE(slots.Loaded(2));
    EXPECT_TRUE(slots.Loaded(3));
    EXPECT_EQ(slots.Title(1), "表示1");
    EXPECT_EQ(slots.Title(2), std::nullopt);
    EXPECT_EQ(slots.Title(3), "表示3");
    EXPECT_EQ(PluginCalls(), "1:GetTitle;3:GetTitle;");
  }
  EXPECT_EQ(PluginCalls(), "1:GetTitle;3:GetTitle;3:Unload;1:Unload;");
}

TEST_F(Win32PluginLoaderTest, GivesCheckFileThePathAndTheFindData) {
  const std::unique_ptr<PluginLibrary> library = loader.Load(1);
  ASSERT_NE(library, nullptr);

  const DirEntry plain = Entry(u8"表示.txt", "表示.txt", "twelve bytes");
  EXPECT_EQ(library->CheckFile(tree.Path("表示.txt"), plain), ExpectedFragment(1, plain));
  EXPECT_EQ(library->ReturnMessage(), "");

  tree.Write(u8"big", "");
  tree.Resize(u8"big", (uint64_t{1} << 32) + 5);
  const DirEntry big = EntryOf("big");
  ASSERT_EQ(big.size, (uint64_t{1} << 32) + 5);
  EXPECT_EQ(library->CheckFile(tree.Path("big"), big), ExpectedFragment(1, big));

  const DirEntry reported = Entry(u8"X.dat", "X.dat", "");
  EXPECT_EQ(library->CheckFile(tree.Path("X.dat"), reported), ExpectedFragment(1, reported));
  EXPECT_EQ(library->ReturnMessage(), "1:" + tree.Path("X.dat") + "\r\n");

  const DirEntry nothing = Entry(u8"N.dat", "N.dat", "");
  EXPECT_EQ(library->CheckFile(tree.Path("N.dat"), nothing), std::nullopt);
}

// What FindFirstFileA would give: the short name the listing tells, and a
// long name cut to 259 bytes by whole characters, never inside one.
TEST_F(Win32PluginLoaderTest, CheckFileGetsTheShortNameAndANameCutByWholeCharacters) {
  const std::unique_ptr<PluginLibrary> library = loader.Load(1);
  ASSERT_NE(library, nullptr);
  tree.Write(u8"a long file name.text", "content");
  std::optional<DirEntry> listed;
  SystemFileSystem().ListFolder(tree.Root(), [&](const DirEntry& entry) {
    listed = entry;
    return false;
  });
  ASSERT_TRUE(listed.has_value());
  wchar_t short_path[MAX_PATH] = {};
  ASSERT_NE(GetShortPathNameW(Cp932ToWide(tree.Path(listed->name)).c_str(), short_path, MAX_PATH), 0u);
  const std::wstring_view short_name =
      std::wstring_view(short_path).substr(std::wstring_view(short_path).rfind(L'\\') + 1);
  if (short_name == L"a long file name.text") GTEST_SKIP() << "no short names here";
  EXPECT_EQ(listed->short_name, WideToCp932(short_name));
  const std::optional<std::string> fragment = library->CheckFile(tree.Path(listed->name), *listed);
  ASSERT_TRUE(fragment.has_value());
  EXPECT_TRUE(fragment->ends_with(" Na long file name.text S" + listed->short_name)) << *fragment;

  // 200 double-byte characters: 259 bytes would end inside the 130th.
  DirEntry long_entry;
  for (int i = 0; i < 200; ++i) long_entry.name += "表";
  const std::optional<std::string> cut = library->CheckFile(tree.Path("x"), long_entry);
  ASSERT_TRUE(cut.has_value());
  std::string expected_name;
  for (int i = 0; i < 129; ++i) expected_name += "表";
  EXPECT_TRUE(cut->ends_with(" N" + expected_name + " S")) << *cut;
}

TEST_F(Win32PluginLoaderTest, MissingEntriesAnswerNothing) {
  EXPECT_EQ(loader.Load(2), nullptr);
  const std::unique_ptr<PluginLibrary> library = loader.Load(3);
  ASSERT_NE(library, nullptr);
  EXPECT_FALSE(library->InitCheck());
  EXPECT_EQ(library->ReturnMessage(), std::nullopt);
  library->Release();
  EXPECT_EQ(PluginCalls(), "3:Release;");
}

TEST_F(Win32PluginLoaderTest, SlotsCallTheLibrariesForEachFile) {
  const DirEntry entry = Entry(u8"Xa.txt", "Xa.txt", "abc");
  const std::string path = tree.Path("Xa.txt");
  std::string key = "KEY";
  std::string log;
  {
    PluginSlots slots;
    slots.LoadAll(loader);
    // TOOL3.DLL has no InitCheck: it is never initialised, so never released.
    slots.PrepareFirstScan({true, true, true});
    slots.AppendFragments({true, false, true}, path, entry, key, log);
  }
  EXPECT_EQ(key, "KEY " + ExpectedFragment(1, entry) + " " + ExpectedFragment(3, entry));
  EXPECT_EQ(log, "1:" + path + "\r\n");
  EXPECT_EQ(PluginCalls(),
            "1:GetTitle;3:GetTitle;1:InitCheck;1:CheckFile;1:ReturnMessage;3:CheckFile;"
            "3:Unload;1:Release;1:Unload;");
}

}  // namespace
}  // namespace twinseek
