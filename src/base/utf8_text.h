// Code page 932 text to and from UTF-8: names on a POSIX disk, and text for
// a terminal or any reader that expects UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace twinseek {

// Nothing when the text holds a byte sequence the other side cannot hold
// exactly (an invalid sequence, or a character code page 932 lacks).
std::optional<std::string> Cp932ToUtf8(std::string_view text);
std::optional<std::string> Utf8ToCp932(std::string_view text);

// As Utf8ToCp932, but every character that cannot be held becomes "?": only
// for showing a name that cannot be used.
std::string Utf8ToCp932Lossy(std::string_view text);

}  // namespace twinseek
