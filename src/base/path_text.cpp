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

size_t LastSeparator(std::string_view path) {
  size_t pos = path.size();
  while (pos > 0) {
    pos = PrevCharPos(path, pos);
    if (path[pos] == '\\') return pos;
  }
  return std::string_view::npos;
}

NameParts SplitName(std::string_view name) {
  size_t pos = name.size();
  while (pos > 0) {
    pos = PrevCharPos(name, pos);
    if (pos == 0) break;
    if (name[pos] == '.') return {name.substr(0, pos), name.substr(pos)};
  }
  return {name, {}};
}

}  // namespace twinseek
