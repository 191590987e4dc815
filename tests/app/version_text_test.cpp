// The version as the About box and the release files show it.
#include "app/version_text.h"

#include <gtest/gtest.h>

namespace twinseek {
namespace {

TEST(VersionTextTest, ShowsThreeNumbersAndTheFourthOnlyWhenSet) {
  EXPECT_EQ(VersionText(0x00000001, 0x00000000), "0.1.0");
  EXPECT_EQ(VersionText(0x0002000a, 0x00030000), "2.10.3");
  EXPECT_EQ(VersionText(0x0001ffff, 0xfffe0007), "1.65535.65534.7");
}

TEST(VersionTextTest, FillsEveryVersionFieldAndLeavesOtherBracesAlone) {
  EXPECT_EQ(WithVersion("Twinseek {version}\r\n({version})", "0.1.0"), "Twinseek 0.1.0\r\n(0.1.0)");
  EXPECT_EQ(WithVersion("{versio} {version", "1.2.3"), "{versio} {version");
  EXPECT_EQ(WithVersion("", "1.2.3"), "");
}

}  // namespace
}  // namespace twinseek
