// Narrowing and widening the results by their keys: the unique files (keys
// only one file had) brought into the tree as one-file groups.
#pragma once

#include "scan/key_index.h"
#include "tree/result_tree.h"

namespace twinseek {

// Gives every key that only one file had a group of its own, in the index's
// order, appended at the end of the tree and left collapsed: the group and
// its one file are marked unique (each by itself, no summary), and the key
// holds the group from now on as if a scan had opened it. The counters do
// not change. Running it again finds no such key and changes nothing.
void ShowUniqueFiles(KeyIndex& index, ResultTree& tree);

}  // namespace twinseek
