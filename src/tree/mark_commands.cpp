#include "tree/mark_commands.h"

#include "tree/marks.h"

namespace twinseek {

void MarkSelected(ResultTree& tree, int code) {
  const NodeHandle node = tree.Selected();
  if (node == kNoNode) return;
  if (code == kNextMark) {
    CycleMark(tree, node);
  } else {
    SetMark(tree, node, code);
  }
}

SelectionKind SelectionKindOf(const ResultTree& tree, NodeHandle node) {
  if (node == kNoNode) return SelectionKind::kNothing;
  return tree.ItemData(node) != 0 ? SelectionKind::kGroup : SelectionKind::kFile;
}

}  // namespace twinseek
