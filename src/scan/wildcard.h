// File-name patterns of the scan target: "*" for any run of characters, "?"
// for exactly one, every other character for itself. Text is code page 932,
// walked by whole characters, so a double-byte character is one character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace twinseek {

// True when pattern matches the whole of name. Both are upper-cased by the
// caller; characters compare byte for byte (both bytes of a double-byte
// one). An empty pattern matches nothing. The time taken grows with the
// product of the two lengths at most, whatever the number of "*".
bool MatchWildcard(std::string_view pattern, std::string_view name);

// The patterns of a name field: split at every ";" into pieces, in order.
// Every piece before a ";" is a pattern, even an empty one; the piece after
// the last ";" only when it is not empty. Pieces are not trimmed ("a; b" gives
// "a" and " b"). An empty text gives no pattern.
std::vector<std::string> SplitPatterns(std::string_view text);

}  // namespace twinseek
