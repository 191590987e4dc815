#include "tree/folder_marking.h"

#include <string>
#include <string_view>

#include "base/cp932.h"
#include "base/path_text.h"
#include "tree/marks.h"

namespace twinseek {

namespace {

// True when a backslash stands in text at or after pos, read by whole
// characters from pos (pos being the start of a character). A NUL ends the
// text.
bool HasSeparatorFrom(std::string_view text, size_t pos) {
  while (pos < text.size()) {
    if (text[pos] == '\\') return true;
    const size_t next = NextCharPos(text, pos);
    if (next == pos) return false;
    pos = next;
  }
  return false;
}

bool LiesInFolder(std::string_view path, std::string_view prefix, bool include_subfolders) {
  if (!StartsWithFolded(path, prefix)) return false;
  return include_subfolders || !HasSeparatorFrom(path, prefix.size());
}

}  // namespace

int MarkByDirectory(ResultTree& tree, const DirectoryMarkRequest& request) {
  const std::string prefix = WithSeparator(request.folder);
  int matched = 0;
  for (NodeHandle group = tree.FirstGroup(); group != kNoNode; group = tree.Next(group)) {
    for (NodeHandle file = tree.FirstFile(group); file != kNoNode; file = tree.Next(file)) {
      if (request.only_duplicates && tree.GetMark(file) != MarkDuplicate) continue;
      if (!LiesInFolder(tree.Text(file), prefix, request.include_subfolders)) continue;
      ++matched;
      tree.PutImage(file, request.mark);
      UpdateGroupSummary(tree, group);
    }
  }
  return matched;
}

std::string MatchedFilesMessage(int count) { return std::to_string(count) + "個のファイルが該当しました。"; }

void PickOneDuplicate(ResultTree& tree) {
  for (NodeHandle group = tree.FirstGroup(); group != kNoNode; group = tree.Next(group)) {
    if (tree.GetMark(group) != MarkDuplicate) continue;
    for (NodeHandle file = tree.FirstFile(group); file != kNoNode; file = tree.Next(file)) {
      if (tree.GetMark(file) != MarkDuplicate) continue;
      tree.PutImage(file, MarkCopy);
      UpdateGroupSummary(tree, group);
      break;
    }
  }
}

}  // namespace twinseek
