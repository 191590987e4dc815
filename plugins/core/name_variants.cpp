#include "core/name_variants.h"

#include <algorithm>
#include <cstdint>

#include "base/cp932.h"
#include "base/path_text.h"

namespace twinseek {
namespace {

#include "core/name_fold_table.inc"

// The copy marks as FoldNameCharacters leaves them, written as bytes so that
// they are code page 932 whatever the compiler's execution character set.
constexpr std::string_view kKatakanaCopy = "\x83\x52\x83\x73\x81\x5B";  // コピー
constexpr std::string_view kKatakanaNo = "\x83\x6D";                    // ノ (from の)
constexpr std::string_view kEnglishCopy = "COPY";

uint8_t Byte(std::string_view text, size_t pos) { return static_cast<uint8_t>(text[pos]); }

void AppendCode(std::string& out, uint16_t code) {
  if (code > 0xFF) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
}

// The fold of one double-byte character, or 0 when it has none.
uint16_t WideFoldOf(uint16_t code) {
  const WideFold* end = kWideFolds + std::size(kWideFolds);
  const WideFold* found = std::lower_bound(
      kWideFolds, end, code, [](const WideFold& fold, uint16_t key) { return fold.code < key; });
  return found != end && found->code == code ? found->folded : 0;
}

bool IsHalfWidthKana(uint8_t byte) { return byte >= 0xA1 && byte <= 0xDF; }

// The full-width letter that a half-width katakana and the sound mark after
// it make together, or 0.
uint16_t VoicedKanaOf(uint8_t kana, uint8_t mark) {
  for (const VoicedKana& voiced : kVoicedKana) {
    if (voiced.kana == kana && voiced.mark == mark) return voiced.code;
  }
  return 0;
}

// Whether pos is where a character of text begins (or its end).
bool IsCharStart(std::string_view text, size_t pos) {
  size_t at = 0;
  while (at < pos) {
    const size_t next = NextCharPos(text, at);
    if (next == at) return false;
    at = next;
  }
  return at == pos;
}

bool EndsWithChars(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix &&
         IsCharStart(text, text.size() - suffix.size());
}

// The length of " (n)" at pos of text (n: one to nine ASCII digits), or 0.
size_t NumberMarkAt(std::string_view text, size_t pos) {
  if (text.substr(pos, 2) != " (") return 0;
  size_t end = pos + 2;
  while (end < text.size() && end - pos - 2 < 9 && text[end] >= '0' && text[end] <= '9') ++end;
  if (end == pos + 2 || end >= text.size() || text[end] != ')') return 0;
  return end + 1 - pos;
}

// Removes one copy mark from the end of base; false when it ends in none.
bool StripEndMark(std::string& base) {
  // Neither " (" nor the digits and ")" can be the second byte of a
  // double-byte character: their bytes lie below 0x40.
  const size_t number = base.rfind(" (");
  if (number != std::string::npos && NumberMarkAt(base, number) == base.size() - number) {
    base.erase(number);
    return true;
  }
  const std::string japanese_mark = " - " + std::string(kKatakanaCopy);
  const std::string english_mark = " - " + std::string(kEnglishCopy);
  for (const std::string& mark : {japanese_mark, english_mark}) {
    if (EndsWithChars(base, mark)) {
      base.erase(base.size() - mark.size());
      return true;
    }
  }
  const std::string of_mark = std::string(kKatakanaNo) + std::string(kKatakanaCopy);
  if (EndsWithChars(base, of_mark)) {
    base.erase(base.size() - of_mark.size());
    while (!base.empty() && base.back() == ' ') base.pop_back();
    return true;
  }
  return false;
}

// Removes one copy mark from the start of base: a word, an optional " (n)",
// then its link (" OF " after COPY, " ~ " after コピー, whose "～" folds to
// "~"). False when it starts with none.
bool StripStartMark(std::string& base) {
  const std::pair<std::string_view, std::string_view> marks[] = {{kEnglishCopy, " OF "},
                                                                 {kKatakanaCopy, " ~ "}};
  for (const auto& [word, link] : marks) {
    if (base.substr(0, word.size()) != word) continue;
    const size_t number = NumberMarkAt(base, word.size());
    const size_t link_at = word.size() + number;
    if (base.substr(link_at, link.size()) != link) continue;
    base.erase(0, link_at + link.size());
    return true;
  }
  return false;
}

}  // namespace

std::string FoldNameCharacters(std::string_view text) {
  text = text.substr(0, std::min(text.find('\0'), text.size()));
  std::string folded;
  folded.reserve(text.size() + text.size() / 2);
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t next = NextCharPos(text, pos);
    const uint8_t first = Byte(text, pos);
    if (next - pos == 2) {
      const uint16_t code = static_cast<uint16_t>(first << 8 | Byte(text, pos + 1));
      const uint16_t fold = WideFoldOf(code);
      if (fold == 0) {
        folded += UpperCase(text.substr(pos, 2));
      } else if (fold <= 0xFF) {
        folded += static_cast<char>(fold >= 'a' && fold <= 'z' ? fold - ('a' - 'A') : fold);
      } else {
        AppendCode(folded, fold);
      }
    } else if (IsHalfWidthKana(first)) {
      const uint16_t voiced = next < text.size() ? VoicedKanaOf(first, Byte(text, next)) : 0;
      if (voiced != 0) {
        AppendCode(folded, voiced);
        pos = next + 1;
        continue;
      }
      AppendCode(folded, kHalfWidthKana[first - 0xA1]);
    } else {
      folded += static_cast<char>(first >= 'a' && first <= 'z' ? first - ('a' - 'A') : first);
    }
    pos = next;
  }
  return folded;
}

std::optional<std::string> NameVariantFragment(std::string_view name) {
  const std::string folded = FoldNameCharacters(name);
  if (folded.empty()) return std::nullopt;
  const NameParts parts = SplitName(folded);
  std::string base(parts.base);
  for (;;) {
    std::string shorter = base;
    if (!StripEndMark(shorter) && !StripStartMark(shorter)) break;
    if (shorter.empty()) break;
    base = std::move(shorter);
  }
  return base + std::string(parts.extension);
}

}  // namespace twinseek
