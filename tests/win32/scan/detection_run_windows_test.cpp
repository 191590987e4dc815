// A search by checksum over real files that another program holds open
// without sharing: what nobody could read matches nothing.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/win32/wide_text.h"
#include "scan/detection_run.h"
#include "support/temp_tree.h"
#include "tree/memory_result_tree.h"

namespace twinseek {
namespace {

TEST(DetectionRunWindowsTest, FilesHeldOpenWithoutSharingJoinNoGroup) {
  testing::TempTree disk;
  constexpr FileTime kSameTime = 133'000'000'000'000'000;
  const std::vector<std::string> names = {"a.txt", "b.txt", "locked1.txt", "locked2.txt"};
  std::vector<std::string> paths;
  for (const std::string& name : names) {
    const std::u8string u8name(name.begin(), name.end());
    disk.Write(u8name, name.starts_with("locked") ? "other" : "equal");
    disk.SetLastWriteTime(u8name, kSameTime);
    paths.push_back(disk.Path(name));
  }
  std::vector<HANDLE> locks;
  for (const std::string& path : {paths[2], paths[3]}) {
    locks.push_back(
        CreateFileW(Cp932ToWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_NE(locks.back(), INVALID_HANDLE_VALUE);
  }

  MemoryResultTree tree;
  KeyIndex index;
  PluginSlots plugins;
  std::atomic<int> cancel{0};
  DetectionRun run({.conditions = {.size = true, .checksum = true, .date = true},
                    .file_system = SystemFileSystem(),
                    .tree = tree,
                    .index = index,
                    .plugins = plugins});
  const DetectionResult result = run.Run(ScanListOfPaths(paths), cancel);
  for (HANDLE lock : locks) CloseHandle(lock);

  EXPECT_EQ(result.error_log, "ファイルの読み取りに失敗しました(" + paths[2] + ")\r\n" +
                                  "ファイルの読み取りに失敗しました(" + paths[3] + ")\r\n");
  ASSERT_EQ(tree.Count(), 3u) << "one group: a.txt and b.txt";
  const NodeHandle group = tree.FirstGroup();
  EXPECT_EQ(tree.Text(tree.FirstFile(group)), paths[0]);
  EXPECT_EQ(tree.Text(tree.Next(tree.FirstFile(group))), paths[1]);
  EXPECT_EQ(index.FileCount(), 2);
}

}  // namespace
}  // namespace twinseek
