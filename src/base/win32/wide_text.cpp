#include "base/win32/wide_text.h"

#include <windows.h>

namespace twinseek {

namespace {

constexpr UINT kCodePage = 932;

// Converts to code page 932; reports whether a character had no exact code,
// or came back as another character: a name that converted back as another
// would name another file.
std::string Narrow(std::wstring_view text, bool& lossy) {
  lossy = false;
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  BOOL used_default = FALSE;
  const int size = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), length, nullptr, 0, "?",
                                       &used_default);
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), length, result.data(), size, "?",
                      &used_default);
  lossy = used_default != FALSE || size == 0 || Cp932ToWide(result) != text;
  return result;
}

}  // namespace

std::wstring Cp932ToWide(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(kCodePage, 0, text.data(), length, nullptr, 0);
  std::wstring result(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(kCodePage, 0, text.data(), length, result.data(), size);
  return result;
}

std::optional<std::string> WideToCp932(std::wstring_view text) {
  bool lossy = false;
  std::string result = Narrow(text, lossy);
  if (lossy) return std::nullopt;
  return result;
}

std::string WideToCp932Lossy(std::wstring_view text) {
  bool lossy = false;
  std::string result = Narrow(text, lossy);
  if (!lossy) return result;
  // Character by character, so that a character outside the basic plane
  // (two UTF-16 units) becomes one "?", not two.
  result.clear();
  for (size_t pos = 0; pos < text.size();) {
    const bool pair =
        IS_HIGH_SURROGATE(text[pos]) && pos + 1 < text.size() && IS_LOW_SURROGATE(text[pos + 1]);
    const size_t length = pair ? 2 : 1;
    const std::string piece = Narrow(text.substr(pos, length), lossy);
    result += lossy ? std::string("?") : piece;
    pos += length;
  }
  return result;
}

std::optional<std::wstring> Utf8ToWide(std::string_view text) {
  if (text.empty()) return std::wstring();
  const int length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring result(static_cast<size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, result.data(), size);
  return result;
}

std::string WideToUtf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  std::string result(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, result.data(), size, nullptr, nullptr);
  return result;
}

}  // namespace twinseek
