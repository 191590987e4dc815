#include "base/path_text.h"

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

}  // namespace twinseek
