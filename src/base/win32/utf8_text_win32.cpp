// UTF-8 conversions through UTF-16, with the system's own tables.
#include <windows.h>

#include "base/utf8_text.h"
#include "base/win32/wide_text.h"

namespace twinseek {

std::optional<std::string> Cp932ToUtf8(std::string_view text) {
  const std::wstring wide = Cp932ToWide(text);
  // Every code page 932 byte sequence converts; one that is no character
  // becomes the default character, which does not convert back.
  if (WideToCp932(wide) != text) return std::nullopt;
  return WideToUtf8(wide);
}

std::optional<std::string> Utf8ToCp932(std::string_view text) {
  const std::optional<std::wstring> wide = Utf8ToWide(text);
  if (!wide) return std::nullopt;
  return WideToCp932(*wide);
}

std::string Utf8ToCp932Lossy(std::string_view text) {
  const std::optional<std::wstring> wide = Utf8ToWide(text);
  if (!wide) return std::string(text.size(), '?');
  return WideToCp932Lossy(*wide);
}

}  // namespace twinseek
