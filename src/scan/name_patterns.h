// The name patterns as the user types them, made ready for a walk: blanks
// around them trimmed, nothing meaning every file with an extension ("*.*"),
// and the characters no file name can hold refused.
#pragma once

#include <string>
#include <string_view>

namespace twinseek {

// The characters a name pattern may not hold, in the order the refusal
// message lists them.
inline constexpr std::string_view kForbiddenPatternCharacters = "\\/:\"<>|";

// The message that refuses a pattern holding one of them.
inline constexpr std::string_view kForbiddenPatternMessage =
    "検索ファイル名に使用できない文字が含まれています。\r\n\\/:\"<>|";

// Leading and trailing single-byte white space (blank, tab, CR, LF, VT, FF)
// removed; an empty result becomes "*.*".
std::string NormalizeNamePatterns(std::string_view patterns);

// True when a whole character of the text is one of the forbidden ones (the
// second byte of a double-byte character never counts).
bool HasForbiddenPatternCharacter(std::string_view patterns);

}  // namespace twinseek
