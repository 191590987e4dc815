// The walks and the drop intake on the Windows side, on real temporary
// folders under Wine: folder links that lead back up, and names that code
// page 932 cannot hold.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "scan/detection_run.h"
#include "scan/dropped_files.h"
#include "scan/enumeration.h"
#include "scan/win32/drop_intake.h"
#include "support/listing_limit_file_system.h"
#include "support/temp_tree.h"
#include "support/win32/ui_driver.h"
#include "tree/memory_result_tree.h"

namespace twinseek {
namespace {

using Paths = std::set<std::string>;

// Makes link (a folder path in code page 932) a symbolic link to target, a
// relative text such as "..". Under Wine, whose CreateSymbolicLinkW does
// nothing, the Unix ln makes it in the folder Wine keeps the drive in; Wine
// starts a Unix program without a handle to wait on, so the link is awaited.
// False when the system allows no link.
bool MakeFolderLink(const std::string& link, const std::string& target) {
  using UnixFileName = char*(CDECL*)(const WCHAR*);
  const auto unix_file_name = reinterpret_cast<UnixFileName>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  const std::wstring wide_link = Cp932ToWide(link);
  if (unix_file_name == nullptr) {
    return CreateSymbolicLinkW(wide_link.c_str(), Cp932ToWide(target).c_str(),
                               SYMBOLIC_LINK_FLAG_DIRECTORY) != 0;
  }
  const size_t separator = link.rfind('\\');
  char* folder = unix_file_name(Cp932ToWide(link.substr(0, separator)).c_str());
  if (folder == nullptr) return false;
  const std::string command =
      "sh -c \"ln -s '" + target + "' '" + folder + "/" + link.substr(separator + 1) + "'\"";
  HeapFree(GetProcessHeap(), 0, folder);
  std::wstring wide_command(command.begin(), command.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(L"Z:\\bin\\sh", wide_command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return testing::WaitUntil([&] { return GetFileAttributesW(wide_link.c_str()) != INVALID_FILE_ATTRIBUTES; },
                            20000);
}

TEST(WalkWindowsTest, LinksBackToAFolderAboveAreNotWalkedAgain) {
  testing::TempTree tree;
  tree.MakeFolder(u8"two");
  tree.MakeFolder(u8"two\\d");
  tree.Write(u8"two\\f.txt", "f");
  tree.Write(u8"two\\d\\g.txt", "g");
  if (!MakeFolderLink(tree.Path("two\\d\\a"), "..") || !MakeFolderLink(tree.Path("two\\d\\b"), "..")) {
    GTEST_SKIP() << "no folder links here";
  }
  const Paths expected{tree.Path("two\\f.txt"), tree.Path("two\\d\\g.txt")};

  testing::ListingLimitFileSystem walked;
  ScanCriteria criteria(tree.Root(), LocalTime{2024, 5, 17});
  ScanList found;
  criteria.output = &found;
  EnumerateFolder(MakeEnumerationRequest(criteria, nullptr), walked, nullptr);
  Paths paths;
  for (const ScanItem& item : found) paths.insert(item.path);
  EXPECT_EQ(found.size(), 2u);
  EXPECT_EQ(paths, expected);

  testing::ListingLimitFileSystem dropped;
  const ScanList list = CollectDroppedItems(
      dropped, {tree.Path("two")}, [] { return true; }, nullptr);
  paths.clear();
  for (const ScanItem& item : list) paths.insert(item.path);
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(paths, expected);
}

// A drop handle as the shell hands it over: DROPFILES and the wide paths.
HDROP MakeDrop(const std::vector<std::wstring>& paths) {
  size_t characters = 1;
  for (const std::wstring& path : paths) characters += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + characters * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  auto* text = reinterpret_cast<wchar_t*>(drop + 1);
  for (const std::wstring& path : paths) {
    std::copy(path.begin(), path.end(), text);
    text += path.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST(DropIntakeTest, APathThatCannotBeHeldComesByItsShortFormOrIsReported) {
  testing::TempTree tree;
  tree.Write(u8"a.txt", "same");
  tree.Write(u8"caf\u00e9.txt", "same");
  const std::wstring folder = Cp932ToWide(tree.Root());
  const std::wstring long_path = folder + L"\\caf\u00e9.txt";
  const std::wstring missing = folder + L"\\missing \U0001F600.txt";
  const HDROP drop = MakeDrop({Cp932ToWide(tree.Path("a.txt")), long_path, missing});
  const std::vector<DroppedItem> items = QueryDroppedPaths(drop);
  DragFinish(drop);

  ASSERT_EQ(items.size(), 3u) << "none left out";
  EXPECT_EQ(items[0].path, tree.Path("a.txt"));
  EXPECT_TRUE(items[0].representable);
  wchar_t short_path[MAX_PATH] = {};
  if (GetShortPathNameW(long_path.c_str(), short_path, MAX_PATH) != 0 && WideToCp932(short_path)) {
    EXPECT_TRUE(items[1].representable);
    EXPECT_EQ(Cp932ToWide(items[1].path), short_path);
  } else {
    EXPECT_FALSE(items[1].representable);
  }
  EXPECT_FALSE(items[2].representable);
  EXPECT_EQ(items[2].path, tree.Path("missing ?.txt"));

  // The run reports what it cannot name and takes the rest.
  MemoryResultTree results;
  KeyIndex index;
  PluginSlots plugins;
  DetectionRun run({.conditions = Conditions{.size = true},
                    .file_system = SystemFileSystem(),
                    .tree = results,
                    .index = index,
                    .plugins = plugins});
  const std::atomic<int> cancel{0};
  const DetectionResult result = run.Run(CollectDroppedItems(
                                             SystemFileSystem(), items, [] { return true; }, nullptr),
                                         cancel);
  EXPECT_EQ(result.error_log, "ファイル名を扱えません(" + tree.Path("missing ?.txt") + ")\r\n");
  EXPECT_EQ(index.FileCount(), items[1].representable ? 2 : 1);
}

}  // namespace
}  // namespace twinseek
