// The paths of the files that carry one mark, for the file commands.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tree/result_tree.h"

namespace twinseek {

// The texts (full paths) of the file nodes whose mark equals mark, in tree
// order: groups from first to last, within each group its files from first to
// last. Nothing when no file carries the mark.
std::optional<std::vector<std::string>> MarkedPathList(const ResultTree& tree, int mark);

// The paths as the shell's file operations take them: each path followed by
// one NUL byte, then one more NUL byte.
std::string DoubleNulList(const std::vector<std::string>& paths);

}  // namespace twinseek
