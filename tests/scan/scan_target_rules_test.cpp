// The scan target dialog's decisions without a window: which size fields are
// numbers, and the checks before a walk on real temporary folders.
#include "scan/scan_target_rules.h"

#include <gtest/gtest.h>

#include "scan/name_patterns.h"
#include "support/current_folder.h"
#include "support/temp_tree.h"

namespace twinseek {
namespace {

TEST(ParseSizeFieldTest, TakesEveryUnsignedDecimalThatFitsInThirtyTwoBits) {
  EXPECT_EQ(ParseSizeField("0"), 0u);
  EXPECT_EQ(ParseSizeField("4294967295"), 4294967295u);
  EXPECT_EQ(ParseSizeField("0004294967295"), 4294967295u) << "leading zeros";
  EXPECT_EQ(ParseSizeField(" \t\r\n\v\f1024 \t\r\n\v\f"), 1024u) << "blanks around";
}

TEST(ParseSizeFieldTest, RefusesNumbersTooLargeInsteadOfWrappingAround) {
  EXPECT_EQ(ParseSizeField("4294967296"), std::nullopt);
  EXPECT_EQ(ParseSizeField("4294967297"), std::nullopt) << "would wrap to 1";
  EXPECT_EQ(ParseSizeField("42949672950"), std::nullopt);
  EXPECT_EQ(ParseSizeField("18446744073709551617"), std::nullopt) << "wraps 64 bits to 1";
  EXPECT_EQ(ParseSizeField("99999999999999999999999999"), std::nullopt);
}

TEST(ParseSizeFieldTest, RefusesEverythingButDigitsWithBlanksAround) {
  for (const std::string_view text :
       {"", " ", "\t\r\n", "-1", "+1", "-0", "0x10", "1e3", "1.0", "1 2", "12abc", "abc", "1,024",
        "\xEF\xBC\x91",  // U+FF11 as UTF-8 bytes
        "１２",          // full-width digits in code page 932
        "\xA0"
        "12"}) {
    EXPECT_EQ(ParseSizeField(text), std::nullopt) << "\"" << text << "\"";
  }
  EXPECT_EQ(ParseSizeField(std::string_view("12\0", 3)), std::nullopt) << "a NUL is no blank";
}

class ScanStartTest : public ::testing::Test {
 protected:
  ScanStartTest() : criteria(tree.Root(), LocalTime{2024, 5, 17}) {
    tree.Write(u8"file.txt", "x");
    tree.MakeFolder(u8"表");  // its second byte is 0x5C, a backslash's code
  }

  StartCheck Check() { return CheckScanStart(criteria, SystemFileSystem()); }

  testing::TempTree tree;
  ScanCriteria criteria;
};

TEST_F(ScanStartTest, AcceptsAFolderWithOrWithoutItsSeparator) {
  EXPECT_EQ(Check(), StartCheck::kReady);
  criteria.location = tree.Root() + "\\";
  EXPECT_EQ(Check(), StartCheck::kReady);
  criteria.location = tree.Path("表");
  EXPECT_EQ(Check(), StartCheck::kReady);
}

TEST_F(ScanStartTest, RefusesALocationThatIsEmptyMissingOrAFile) {
  for (const std::string& location :
       {std::string(), tree.Path("missing"), tree.Path("file.txt"), tree.Path("file.txt\\")}) {
    criteria.location = location;
    EXPECT_EQ(Check(), StartCheck::kBadLocation) << location;
  }
}

TEST_F(ScanStartTest, KeepsThePatternsTrimmedOrDefaultedWhateverTheOutcome) {
  criteria.name_patterns = " \t*.txt;*.doc \r\n";
  EXPECT_EQ(Check(), StartCheck::kReady);
  EXPECT_EQ(criteria.name_patterns, "*.txt;*.doc");

  criteria.name_patterns = " \t ";
  criteria.location.clear();
  EXPECT_EQ(Check(), StartCheck::kBadLocation);
  EXPECT_EQ(criteria.name_patterns, "*.*") << "defaulted although the location is refused";

  criteria.name_patterns = "  a|b  ";
  EXPECT_EQ(Check(), StartCheck::kForbiddenPattern);
  EXPECT_EQ(criteria.name_patterns, "a|b");
}

TEST_F(ScanStartTest, ReportsABadPatternBeforeABadLocation) {
  for (const std::string& location : {std::string(), tree.Path("missing"), tree.Path("file.txt")}) {
    criteria.location = location;
    criteria.name_patterns = "*.txt;sub\\*.txt";
    EXPECT_EQ(Check(), StartCheck::kForbiddenPattern) << location;
  }
  criteria.location = tree.Root();
  criteria.name_patterns = "表*.txt;ソ?";  // second bytes 0x5C are no backslashes
  EXPECT_EQ(Check(), StartCheck::kReady);
}

TEST_F(ScanStartTest, ARelativeLocationIsMadeAbsoluteForTheWalk) {
  const testing::CurrentFolderAt here(tree.Root());
  criteria.location = "表\\..\\表";
  EXPECT_EQ(Check(), StartCheck::kReady);
  EXPECT_EQ(testing::Backslashed(criteria.location), testing::Backslashed(tree.Path("表")));
  criteria.location = "missing";
  EXPECT_EQ(Check(), StartCheck::kBadLocation);
  EXPECT_EQ(criteria.location, "missing") << "a refused location stays as typed";
}

}  // namespace
}  // namespace twinseek
