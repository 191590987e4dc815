// File-name patterns: "*" and "?" over whole characters of code page 932,
// checked on chosen cases and against a plain table-driven matcher on many
// generated ones.
#include "scan/wildcard.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "base/cp932.h"

namespace twinseek {
namespace {

TEST(MatchWildcardTest, MatchesWholeNamesByWholeCharacters) {
  EXPECT_TRUE(MatchWildcard("*.*", "A.TXT"));
  EXPECT_FALSE(MatchWildcard("*.*", "README"));
  EXPECT_TRUE(MatchWildcard("A*B", "AXBXB"));
  EXPECT_FALSE(MatchWildcard("A*B", "AXBXBC"));
  EXPECT_FALSE(MatchWildcard("BCD", "ABCD"));
  EXPECT_FALSE(MatchWildcard("*?", ""));
  EXPECT_FALSE(MatchWildcard("a", "A"));  // upper-casing is the caller's
  EXPECT_FALSE(MatchWildcard("", ""));
  EXPECT_FALSE(MatchWildcard("", "A"));
  // "ア" is 0x83 0x41: its second byte is an "A", and "?" takes both.
  EXPECT_TRUE(MatchWildcard("?", "ア"));
  EXPECT_FALSE(MatchWildcard("??", "ア"));
  EXPECT_FALSE(MatchWildcard("?A", "ア"));
  EXPECT_FALSE(MatchWildcard("*A", "ア"));
  EXPECT_TRUE(MatchWildcard("?示.TXT", "表示.TXT"));
  EXPECT_FALSE(MatchWildcard("アイ", "アウ"));
}

TEST(MatchWildcardTest, AnswersAtOnceWhereBacktrackingWouldNot) {
  // A matcher that retries every split of every "*" would try about
  // 200^8 / 8! splits here before giving up.
  const std::string name(200, 'A');
  EXPECT_FALSE(MatchWildcard("*A*A*A*A*A*A*A*A*B", name));
  EXPECT_TRUE(MatchWildcard("*A*A*A*A*A*A*A*A*B", name + "B"));
  EXPECT_TRUE(MatchWildcard("*A*A*A*A*A*A*A*A*?", name));
  std::string long_pattern;
  for (int i = 0; i < 100; ++i) long_pattern += "*A";
  EXPECT_FALSE(MatchWildcard(long_pattern + "*B", std::string(5000, 'A')));
}

// The characters of a code page 932 text.
std::vector<std::string> Characters(std::string_view text) {
  std::vector<std::string> characters;
  for (size_t pos = 0; pos < text.size();) {
    const size_t next = NextCharPos(text, pos);
    characters.emplace_back(text.substr(pos, next - pos));
    pos = next;
  }
  return characters;
}

// Whether pattern matches name, filled in a table of prefixes.
bool TableMatch(std::string_view pattern_text, std::string_view name_text) {
  const std::vector<std::string> pattern = Characters(pattern_text);
  const std::vector<std::string> name = Characters(name_text);
  if (pattern.empty()) return false;
  // matched[i][j]: the first i pattern characters match the first j name
  // characters.
  std::vector<std::vector<bool>> matched(pattern.size() + 1, std::vector<bool>(name.size() + 1, false));
  matched[0][0] = true;
  for (size_t i = 1; i <= pattern.size(); ++i) {
    for (size_t j = 0; j <= name.size(); ++j) {
      if (pattern[i - 1] == "*") {
        matched[i][j] = matched[i - 1][j] || (j > 0 && matched[i][j - 1]);
      } else if (j > 0) {
        matched[i][j] = matched[i - 1][j - 1] && (pattern[i - 1] == "?" || pattern[i - 1] == name[j - 1]);
      }
    }
  }
  return matched[pattern.size()][name.size()];
}

TEST(MatchWildcardTest, AgreesWithATableDrivenMatcher) {
  const std::vector<std::string> name_pieces = {"A", "B", ".", "ア", "イ"};
  const std::vector<std::string> pattern_pieces = {"A", "B", ".", "ア", "イ", "*", "*", "?"};
  std::mt19937 generator(20240315);
  auto build = [&](const std::vector<std::string>& pieces, size_t longest) {
    std::string text;
    const size_t length = generator() % (longest + 1);
    for (size_t i = 0; i < length; ++i) text += pieces[generator() % pieces.size()];
    return text;
  };
  int matches = 0;
  for (int round = 0; round < 20'000; ++round) {
    const std::string pattern = build(pattern_pieces, 7);
    const std::string name = build(name_pieces, 9);
    const bool expected = TableMatch(pattern, name);
    ASSERT_EQ(MatchWildcard(pattern, name), expected) << "pattern " << pattern << ", name " << name;
    matches += expected ? 1 : 0;
  }
  // Both answers came up often enough to mean something.
  EXPECT_GT(matches, 1000);
  EXPECT_LT(matches, 19'000);
}

TEST(SplitPatternsTest, SplitsAtEverySemicolon) {
  using Patterns = std::vector<std::string>;
  EXPECT_EQ(SplitPatterns("*.TXT"), Patterns({"*.TXT"}));
  EXPECT_EQ(SplitPatterns("a;b"), Patterns({"a", "b"}));
  EXPECT_EQ(SplitPatterns("a;b;"), Patterns({"a", "b"}));
  EXPECT_EQ(SplitPatterns(";a"), Patterns({"", "a"}));
  EXPECT_EQ(SplitPatterns("a;;b"), Patterns({"a", "", "b"}));
  EXPECT_EQ(SplitPatterns(";"), Patterns({""}));
  EXPECT_EQ(SplitPatterns(""), Patterns());
  EXPECT_EQ(SplitPatterns("*.txt; *.dat "), Patterns({"*.txt", " *.dat "}));
  EXPECT_EQ(SplitPatterns("表;ソ"), Patterns({"表", "ソ"}));
}

}  // namespace
}  // namespace twinseek
