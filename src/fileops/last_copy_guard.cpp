#include "fileops/last_copy_guard.h"

namespace twinseek {

std::vector<NodeHandle> WhollyMarkedGroups(const ResultTree& tree) {
  std::vector<NodeHandle> groups;
  for (NodeHandle group = tree.FirstGroup(); group != kNoNode; group = tree.Next(group)) {
    NodeHandle file = tree.FirstFile(group);
    if (file == kNoNode) continue;
    while (file != kNoNode && tree.GetMark(file) == MarkDelete) file = tree.Next(file);
    if (file == kNoNode) groups.push_back(group);
  }
  return groups;
}

std::optional<std::string> LastCopyQuestion(const ResultTree& tree, MarkedFilesAction action) {
  const std::vector<NodeHandle> groups = WhollyMarkedGroups(tree);
  if (groups.empty()) return std::nullopt;
  std::string question = "すべてのファイルに削除マークが付いているグループがあります。\r\n";
  for (size_t i = 0; i < groups.size() && i < kLastCopyGroupsNamed; ++i) {
    question += "  ";
    question += tree.Text(groups[i]);
    question += "\r\n";
  }
  if (groups.size() > kLastCopyGroupsNamed) {
    question += "  ほか";
    question += std::to_string(groups.size() - kLastCopyGroupsNamed);
    question += "個のグループ\r\n";
  }
  question += action == MarkedFilesAction::kDelete
                  ? "\r\n削除すると、これらのグループのファイルは1つも残りません。\r\n続けますか？"
                  : "\r\n移動すると、これらのグループのファイルは元の場所に1つも残りません。\r\n続けますか？";
  return question;
}

}  // namespace twinseek
