// The marking rules of the result tree: marking a node, cycling its mark,
// and the summary mark a group shows for its files.
#pragma once

#include "tree/result_tree.h"

namespace twinseek {

// Puts a mark on a node. A negative code asks for the next mark of the cycle
// (0 -> 1 -> 2 -> 0; every other mark -> 0). A group passes its mark to every
// one of its files and keeps it itself; a file's group gets its summary
// recomputed.
void SetMark(ResultTree& tree, NodeHandle node, int code);

// SetMark with the next mark of the cycle.
void CycleMark(ResultTree& tree, NodeHandle node);

// Recomputes a group's mark from its files' marks: any 5 gives 5, else any 6
// gives 6, else the one mark among 0, 1, 2 that files carry, or 3 when they
// carry two or three of them, or 0 when none (files marked 3 or 4 are not
// counted). Does nothing for a file node.
void UpdateGroupSummary(ResultTree& tree, NodeHandle group);

// The position of a mark in every list a user chooses marks from (0, 1, 2, 5,
// 6), and back.
int MarkFromIndex(int mark_index);
int MarkIndexOf(int mark);

}  // namespace twinseek
