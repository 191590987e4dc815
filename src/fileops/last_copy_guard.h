// The last-copy guard: before the files marked for deletion are deleted or
// moved, the groups in which every file carries that mark, whose files would
// all leave their places, are named in one question to the user.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tree/result_tree.h"

namespace twinseek {

// The groups of at least one file in which every file is marked MarkDelete
// (the files' own marks; a group's summary is not read), in tree order.
std::vector<NodeHandle> WhollyMarkedGroups(const ResultTree& tree);

enum class MarkedFilesAction { kDelete, kMove };

// The most groups a question names by their keys; it says how many more
// there are.
inline constexpr size_t kLastCopyGroupsNamed = 10;

// The question to ask (Yes or No, No the default) before the action, or
// nothing when every group keeps a file that is not marked for deletion:
//   "すべてのファイルに削除マークが付いているグループがあります。\r\n"
//   "  <key>\r\n" for each of the first ten such groups,
//   "  ほか<n>個のグループ\r\n" when there are more,
//   then, for a delete:
//   "\r\n削除すると、これらのグループのファイルは1つも残りません。\r\n続けますか？"
//   or, for a move:
//   "\r\n移動すると、これらのグループのファイルは元の場所に1つも残りません。\r\n続けますか？"
std::optional<std::string> LastCopyQuestion(const ResultTree& tree, MarkedFilesAction action);

}  // namespace twinseek
