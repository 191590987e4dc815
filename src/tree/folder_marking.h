// Marking by rule: every file of the tree that lies in a named folder (with
// or without its subfolders), and one file of each group whose files are all
// marked duplicate.
#pragma once

#include <string>

#include "tree/result_tree.h"

namespace twinseek {

struct DirectoryMarkRequest {
  std::string folder;  // code page 932; not validated, need not exist
  bool include_subfolders = false;
  int mark = MarkNone;           // a mark code (0, 1, 2, 5, 6)
  bool only_duplicates = false;  // only files marked 1 are examined

  friend bool operator==(const DirectoryMarkRequest&, const DirectoryMarkRequest&) = default;
};

// Puts the mark on every file whose path lies in the folder (compared as
// text without regard to case under code page 932, the folder given a final
// backslash unless its last whole character is one); without subfolders a
// file whose rest of path holds a backslash (a whole character) is skipped.
// Each file marked gets the raw put and its group's summary. Returns how
// many files were marked.
int MarkByDirectory(ResultTree& tree, const DirectoryMarkRequest& request);

// "%d個のファイルが該当しました。"
std::string MatchedFilesMessage(int count);

// For each group, first to last, whose summary is 1 at that moment: its
// first file marked 1 gets 6 (raw put) and the group its summary again, so it
// shows 6. Other groups are left alone; running it again changes nothing.
void PickOneDuplicate(ResultTree& tree);

}  // namespace twinseek
