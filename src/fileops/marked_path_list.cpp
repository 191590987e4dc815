#include "fileops/marked_path_list.h"

namespace twinseek {

std::optional<std::vector<std::string>> MarkedPathList(const ResultTree& tree, int mark) {
  std::vector<std::string> paths;
  for (NodeHandle group = tree.FirstGroup(); group != kNoNode; group = tree.Next(group)) {
    for (NodeHandle file = tree.FirstFile(group); file != kNoNode; file = tree.Next(file)) {
      if (tree.GetMark(file) == mark) paths.push_back(tree.Text(file));
    }
  }
  if (paths.empty()) return std::nullopt;
  return paths;
}

std::string DoubleNulList(const std::vector<std::string>& paths) {
  std::string list;
  for (const std::string& path : paths) {
    list += path;
    list.push_back('\0');
  }
  list.push_back('\0');
  return list;
}

}  // namespace twinseek
