// Code page 932 text to and from UTF-16 at the Windows boundary, so the
// program behaves the same whatever the system's ANSI code page is.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace twinseek {

std::wstring Cp932ToWide(std::string_view text);

// Nothing when a character cannot be held in code page 932.
std::optional<std::string> WideToCp932(std::wstring_view text);

// As WideToCp932, but a character that cannot be held becomes "?": only for
// showing a name that cannot be used.
std::string WideToCp932Lossy(std::wstring_view text);

// UTF-8 to and from UTF-16; nothing for a text that is not valid UTF-8.
std::optional<std::wstring> Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::wstring_view text);

}  // namespace twinseek
