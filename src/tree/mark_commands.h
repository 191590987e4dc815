// Marking one node at a time: the selected node of the tree gets a mark (or
// the next one in the cycle), and the kind of the selected node, which the
// main window's enabling reads.
#pragma once

#include "tree/result_tree.h"

namespace twinseek {

// The code that asks for the next mark of the cycle instead of a fixed one.
inline constexpr int kNextMark = -1;

// Marks the selected node: SetMark with code, or CycleMark for kNextMark.
// Nothing when no node is selected; the selection does not move.
void MarkSelected(ResultTree& tree, int code);

// What node is: nothing (kNoNode), a group or a file.
SelectionKind SelectionKindOf(const ResultTree& tree, NodeHandle node);

}  // namespace twinseek
