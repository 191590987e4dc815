#include "fileops/ensure_folder.h"

#include "base/cp932.h"

namespace twinseek {

namespace {

constexpr size_t kNotFound = std::string_view::npos;

bool Exists(FileSystem& file_system, std::string_view path) {
  return file_system.GetAttributes(path).has_value();
}

// The position of the backslash that ends the longest leading part of path
// that exists, stepping back from the end by whole characters; kNotFound
// when no leading part exists.
size_t LongestExistingPart(FileSystem& file_system, std::string_view path) {
  size_t pos = path.size();
  while (pos > 0) {
    pos = PrevCharPos(path, pos);
    if (path[pos] == '\\' && Exists(file_system, path.substr(0, pos))) return pos;
  }
  return kNotFound;
}

// The end of the component that starts at start: the next backslash, found
// by whole characters, or the end of the path.
size_t ComponentEnd(std::string_view path, size_t start) {
  size_t pos = start;
  while (pos < path.size() && path[pos] != '\\') pos = NextCharPos(path, pos);
  return pos;
}

}  // namespace

bool EnsureFolder(FileSystem& file_system, std::string_view path) {
  if (path.empty() || path.size() > kMaxFolderPathBytes) return false;
  if (path.find('\0') != std::string_view::npos) return false;
  // Every pass creates one level, and a path has fewer levels than bytes: a
  // pass beyond that count means a level was created that did not appear.
  for (size_t pass = 0; pass <= path.size(); ++pass) {
    if (const std::optional<uint32_t> attributes = file_system.GetAttributes(path)) {
      return (*attributes & kAttributeDirectory) != 0;
    }
    const size_t separator = LongestExistingPart(file_system, path);
    if (separator == kNotFound) return false;
    const size_t start = separator + 1;
    if (start >= path.size()) return false;
    if (!file_system.CreateFolder(path.substr(0, ComponentEnd(path, start)))) return false;
  }
  return false;
}

}  // namespace twinseek
