// The volumes a walk's folders inherit from the folders they are in.
#include "base/folder_volumes.h"

#include <gtest/gtest.h>

#include <optional>

namespace twinseek::testing {
namespace {

constexpr uint32_t kRootVolume = 7;

TEST(FolderVolumesTest, AFolderInheritsOnlyFromTheLastFolderListedAtTheLevelAbove) {
  FolderVolumes volumes;
  EXPECT_EQ(volumes.Inherited("C:\\walk", false), std::nullopt);  // the first folder: ask
  volumes.Listed("C:\\walk", kRootVolume);

  EXPECT_EQ(volumes.Inherited("C:\\walk\\a", false), kRootVolume);  // down
  volumes.Listed("C:\\walk\\a", kRootVolume);
  EXPECT_EQ(volumes.Inherited("C:\\walk\\a\\deep", false), kRootVolume);
  volumes.Listed("C:\\walk\\a\\deep", kRootVolume);
  EXPECT_EQ(volumes.Inherited("C:\\walk\\b", false), kRootVolume);  // up and across
  volumes.Listed("C:\\walk\\b", kRootVolume);
  EXPECT_EQ(volumes.Inherited("C:\\walk\\a\\other", false), std::nullopt);  // "a" is no longer noted
  EXPECT_EQ(volumes.Inherited("D:\\another\\walk", false), std::nullopt);
}

TEST(FolderVolumesTest, AReparsePointIsAskedAndWhatLiesBelowItTakesItsVolume) {
  FolderVolumes volumes;
  volumes.Listed("C:\\walk", kRootVolume);
  EXPECT_EQ(volumes.Inherited("C:\\walk\\mount", true), std::nullopt);
  volumes.Listed("C:\\walk\\mount", 9);
  EXPECT_EQ(volumes.Inherited("C:\\walk\\mount\\inside", false), 9u);
}

TEST(FolderVolumesTest, PathsAreSplitByWholeCharactersAtEitherSeparator) {
  FolderVolumes volumes;
  volumes.Listed("C:/walk/", kRootVolume);  // a trailing separator is no part of its own
  EXPECT_EQ(volumes.Inherited("C:/walk\\sub\\", false), kRootVolume);

  // "表" ends in the byte of "\": a name is never split or cut there.
  volumes.Listed("C:\\top", 3);
  EXPECT_EQ(volumes.Inherited("C:\\top\\\x95\x5C", false), 3u);
  volumes.Listed("C:\\top\\\x95\x5C", 3);
  EXPECT_EQ(volumes.Inherited("C:\\top\\\x95\x5C\\a", false), 3u);
}

}  // namespace
}  // namespace twinseek::testing
