// The portable code page 932 rules against the system's own: LCMapStringA,
// CharPrevA and CharNextA on every single byte, every double-byte code and
// random texts, at every position.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp932.h"

namespace twinseek {
namespace {

std::string Hex(std::string_view text) {
  std::string hex;
  for (const char c : text) {
    char cell[4];
    std::snprintf(cell, sizeof cell, "%02X ", static_cast<uint8_t>(c));
    hex += cell;
  }
  if (!hex.empty()) hex.pop_back();
  return "[" + hex + "]";
}

std::string WindowsUpperCase(LCID locale, const std::string& text) {
  const int size = static_cast<int>(text.size());
  const int length = LCMapStringA(locale, LCMAP_UPPERCASE, text.data(), size, nullptr, 0);
  std::string upper(static_cast<size_t>(length), '\0');
  LCMapStringA(locale, LCMAP_UPPERCASE, text.data(), size, upper.data(), length);
  return upper;
}

// What Windows writes for a lone lead byte: the default character of the
// code page, read as UTF-16 and written back.
std::string DefaultCharacter() {
  CPINFOEXA info{};
  if (!GetCPInfoExA(932, 0, &info)) return "?";
  char bytes[4];
  const int length =
      WideCharToMultiByte(932, 0, &info.UnicodeDefaultChar, 1, bytes, sizeof bytes, nullptr, nullptr);
  return std::string(bytes, static_cast<size_t>(length));
}

// UpperCase(text) as Windows would write it: the same, except that a lone
// lead byte, which UpperCase keeps, becomes the default character.
std::string AsWindowsWrites(std::string_view text, std::string_view upper) {
  static const std::string default_character = DefaultCharacter();
  std::string result;
  for (size_t pos = 0; pos < text.size();) {
    const size_t length = NextCharPos(text, pos) == pos + 2 ? 2 : 1;
    const bool lone_lead = length == 1 && IsLeadByte(static_cast<uint8_t>(text[pos]));
    result += lone_lead ? default_character : std::string(upper.substr(pos, length));
    pos += length;
  }
  return result;
}

// Every difference between the portable rules and Windows, reported together.
class Differences {
 public:
  void Check(const std::string& text) {
    const std::string upper = UpperCase(text);
    const std::string expected = AsWindowsWrites(text, upper);
    for (const LCID locale : {LCID{0x411}, LCID{LOCALE_USER_DEFAULT}}) {
      const std::string windows = WindowsUpperCase(locale, text);
      if (windows != expected) {
        Add("UpperCase" + Hex(text) + " = " + Hex(upper) + ", LCMapStringA(" + std::to_string(locale) +
            ") = " + Hex(windows));
      }
    }
    const char* start = text.c_str();
    for (size_t pos = 0; pos <= text.size(); ++pos) {
      const auto prev = static_cast<size_t>(CharPrevA(start, start + pos) - start);
      if (PrevCharPos(text, pos) != prev) {
        Add("PrevCharPos(" + Hex(text) + ", " + std::to_string(pos) +
            ") = " + std::to_string(PrevCharPos(text, pos)) + ", CharPrevA: " + std::to_string(prev));
      }
      const auto next = static_cast<size_t>(CharNextA(start + pos) - start);
      if (NextCharPos(text, pos) != next) {
        Add("NextCharPos(" + Hex(text) + ", " + std::to_string(pos) +
            ") = " + std::to_string(NextCharPos(text, pos)) + ", CharNextA: " + std::to_string(next));
      }
    }
  }

  std::string Report() const {
    std::string report = std::to_string(count_) + " differences";
    for (const std::string& line : first_) report += "\n  " + line;
    return report;
  }
  size_t count() const { return count_; }

 private:
  void Add(std::string line) {
    if (++count_ <= 20) first_.push_back(std::move(line));
  }

  size_t count_ = 0;
  std::vector<std::string> first_;
};

class Cp932WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "the ANSI code page must be 932: run with LANG=ja_JP.UTF-8";
  }
};

TEST_F(Cp932WindowsTest, EverySingleByte) {
  Differences differences;
  for (int byte = 0x00; byte <= 0xFF; ++byte) {
    const auto b = static_cast<uint8_t>(byte);
    EXPECT_EQ(IsLeadByte(b), IsDBCSLeadByte(b) != FALSE) << std::hex << byte;
    const std::string single(1, static_cast<char>(b));
    differences.Check(single);
    differences.Check("A" + single + "b");
    differences.Check("\x95\x5C" + single + "\\");
  }
  EXPECT_EQ(differences.count(), 0u) << differences.Report();
}

TEST_F(Cp932WindowsTest, EveryDoubleByteCode) {
  Differences differences;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsLeadByte(static_cast<uint8_t>(lead))) continue;
    for (int trail = 0x00; trail <= 0xFF; ++trail) {
      const std::string code = {static_cast<char>(lead), static_cast<char>(trail)};
      differences.Check(code);
      differences.Check("A" + code + "b");
      differences.Check("\x81" + code + "\\");
    }
  }
  EXPECT_EQ(differences.count(), 0u) << differences.Report();
}

TEST_F(Cp932WindowsTest, RandomTexts) {
  static constexpr std::string_view kBytes = "aAzZ.\\~\x40\x7E\x7F\x80\xA0\xB1\xDF\xFD\xFF";
  std::mt19937 random(20240932);
  Differences differences;
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    const size_t length = 1 + random() % 40;
    while (text.size() < length) {
      const uint32_t pick = random() % 100;
      if (pick == 0) {
        text += '\0';
      } else if (pick < 40) {
        text += static_cast<char>(pick < 20 ? 0x81 + random() % 31 : 0xE0 + random() % 29);
        text += static_cast<char>(0x40 + random() % 0xBD);
      } else if (pick < 50) {
        text += static_cast<char>(random() % 0x100);
      } else {
        text += kBytes[random() % kBytes.size()];
      }
    }
    differences.Check(text);
  }
  EXPECT_EQ(differences.count(), 0u) << differences.Report();
}

}  // namespace
}  // namespace twinseek
