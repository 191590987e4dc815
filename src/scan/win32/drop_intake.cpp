#include "scan/win32/drop_intake.h"

#include <optional>
#include <string>

#include "base/win32/wide_text.h"

namespace twinseek {

namespace {

// The short form of a path, in code page 932, when the system has one that
// code page 932 can hold.
std::optional<std::string> ShortPath(const std::wstring& path) {
  const DWORD length = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (length == 0) return std::nullopt;
  std::wstring short_path(length, L'\0');
  const DWORD written = GetShortPathNameW(path.c_str(), short_path.data(), length);
  if (written == 0 || written >= length) return std::nullopt;
  short_path.resize(written);
  return WideToCp932(short_path);
}

}  // namespace

std::vector<DroppedItem> QueryDroppedPaths(HDROP drop) {
  std::vector<DroppedItem> items;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT index = 0; index < count; ++index) {
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    std::wstring path(static_cast<size_t>(length) + 1, L'\0');
    path.resize(DragQueryFileW(drop, index, path.data(), length + 1));
    if (std::optional<std::string> text = WideToCp932(path)) {
      items.emplace_back(std::move(*text));
    } else if (std::optional<std::string> short_path = ShortPath(path)) {
      items.emplace_back(std::move(*short_path));
    } else {
      items.emplace_back(WideToCp932Lossy(path), false);
    }
  }
  return items;
}

bool EscapeKeyDown() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0; }

}  // namespace twinseek
