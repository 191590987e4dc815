#include "base/folder_volumes.h"

#include "base/cp932.h"

namespace twinseek {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The path without the separators at its end, but for a root ("C:\").
std::string_view Trimmed(std::string_view path) {
  while (path.size() > 3 && IsSeparator(path[PrevCharPos(path, path.size())])) path.remove_suffix(1);
  return path;
}

// The path up to its last separator, found by whole characters; empty when
// it has none.
std::string_view ParentOf(std::string_view path) {
  size_t separator = 0;
  for (size_t pos = 0; pos < path.size() && path[pos] != '\0'; pos = NextCharPos(path, pos)) {
    if (IsSeparator(path[pos])) separator = pos;
  }
  return path.substr(0, separator);
}

}  // namespace

std::optional<uint32_t> FolderVolumes::Inherited(std::string_view path, bool reparse_point) {
  const std::string_view parent = ParentOf(Trimmed(path));
  const std::lock_guard<std::mutex> hold(mutex_);
  while (!chain_.empty() && chain_.back().path != parent) chain_.pop_back();
  if (chain_.empty() || reparse_point) return std::nullopt;
  return chain_.back().volume;
}

void FolderVolumes::Listed(std::string_view path, uint32_t volume) {
  const std::lock_guard<std::mutex> hold(mutex_);
  chain_.push_back(Folder{std::string(Trimmed(path)), volume});
}

}  // namespace twinseek
