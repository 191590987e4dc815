// The tree report: the result tree as plain text, one line per node. A group
// gives "*" and its key, each of its files the full path, every line ending
// in "\r\n"; groups in the tree's order, each followed by its files. Nothing
// else: no marks, no counts, no title. An empty tree gives an empty text.
#pragma once

#include <string>

#include "tree/result_tree.h"

namespace twinseek {

std::string BuildTreeReport(const ResultTree& tree);

}  // namespace twinseek
