#include "base/path_text.h"

#include <vector>

#include "base/cp932.h"

namespace twinseek {

bool EndsWithSeparator(std::string_view path) {
  return !path.empty() && path.substr(PrevCharPos(path, path.size())) == "\\";
}

std::string WithSeparator(std::string_view folder) {
  std::string path(folder);
  if (!EndsWithSeparator(folder)) path += '\\';
  return path;
}

// Each walks the text once from its start by whole characters, which is
// what stepping back from the end with CharPrevA amounts to: that too never
// looks past the first NUL.
size_t LastSeparator(std::string_view path) {
  size_t found = std::string_view::npos;
  for (size_t pos = 0; pos < path.size() && path[pos] != '\0'; pos = NextCharPos(path, pos)) {
    if (path[pos] == '\\') found = pos;
  }
  return found;
}

NameParts SplitName(std::string_view name) {
  size_t dot = 0;
  for (size_t pos = 0; pos < name.size() && name[pos] != '\0'; pos = NextCharPos(name, pos)) {
    if (pos > 0 && name[pos] == '.') dot = pos;
  }
  if (dot == 0) return {name, {}};
  return {name.substr(0, dot), name.substr(dot)};
}

bool IsUsableName(std::string_view name) {
  for (size_t pos = 0; pos < name.size();) {
    if (name[pos] == '\\' || name[pos] == '\0') return false;
    pos = NextCharPos(name, pos);
  }
  return true;
}

std::string FoldDotSegments(std::string_view path) {
  struct Part {
    char separator;  // 0 for a first part with none before it
    std::string_view name;
  };
  std::vector<Part> parts;
  char separator = 0;
  size_t start = 0;
  const auto take = [&](size_t end) {
    const std::string_view name = path.substr(start, end - start);
    if (name == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!name.empty() && name != ".") {
      parts.push_back(Part{separator, name});
    }
  };
  for (size_t pos = 0; pos < path.size();) {
    if (path[pos] == '\\' || path[pos] == '/') {
      take(pos);
      separator = path[pos];
      start = pos + 1;
    }
    const size_t next = NextCharPos(path, pos);
    pos = next > pos ? next : pos + 1;  // a NUL is one byte
  }
  take(path.size());

  std::string folded;
  folded.reserve(path.size());
  const bool rooted = !path.empty() && (path.front() == '\\' || path.front() == '/');
  if (rooted && parts.empty()) folded += path.front();
  for (const Part& part : parts) {
    if (part.separator != 0) folded += part.separator;
    folded += part.name;
  }
  if (start == path.size() && separator != 0 && !folded.empty() && !EndsWithSeparator(folded) &&
      folded.back() != '/') {
    folded += separator;
  }
  return folded;
}

}  // namespace twinseek
