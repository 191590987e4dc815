#include "scan/win32/drop_intake.h"

#include <optional>

#include "base/win32/wide_text.h"

namespace twinseek {

std::vector<std::string> QueryDroppedPaths(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT index = 0; index < count; ++index) {
    const UINT length = DragQueryFileW(drop, index, nullptr, 0);
    std::wstring path(static_cast<size_t>(length) + 1, L'\0');
    path.resize(DragQueryFileW(drop, index, path.data(), length + 1));
    if (std::optional<std::string> text = WideToCp932(path)) paths.push_back(std::move(*text));
  }
  return paths;
}

bool EscapeKeyDown() { return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0; }

}  // namespace twinseek
