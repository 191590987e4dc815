// The condition of the name-variants plug-in (名前の揺れ): a file name folded
// so that the names people and Windows give to copies of one file meet.
// "report.txt", "report - コピー.txt", "ｒｅｐｏｒｔ (2).TXT" and
// "Copy of REPORT.txt" all give "REPORT.TXT"; "report.doc" does not.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace twinseek {

// Every character of a code page 932 text folded to one form: a full-width
// form of an ASCII character becomes that character, a half-width katakana
// (with a sound mark after it where they make one letter) its full-width
// letter, a hiragana its katakana, and the whole is upper-cased as Windows
// upper-cases names. The text ends at a NUL byte, if it holds one. Folding
// a folded text changes nothing.
std::string FoldNameCharacters(std::string_view text);

// The fragment of a file name (the name alone, no folder): the folded name
// with the marks that copies get taken from its base name, again and again
// while one is left: at the end " (n)", " - コピー", " - Copy" and "のコピー";
// at the start "Copy of ", "Copy (n) of ", "コピー ～ " and "コピー (n) ～ "
// (in any width and case). A mark is kept when nothing of the base name
// would remain. The extension stays (folded). Nothing for an empty name.
std::optional<std::string> NameVariantFragment(std::string_view name);

}  // namespace twinseek
