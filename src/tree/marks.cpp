// The marking rules. Beyond marks.h: MarkFromIndex turns a position outside
// 0 to 4 (a list with nothing chosen) into no mark, never into a negative
// code, which SetMark would read as "cycle"; MarkIndexOf answers -1 for a mark
// that no list offers (3, 4).
#include "tree/marks.h"

#include <array>

namespace twinseek {

namespace {

// The marks a user chooses from, in the order of every list that offers them.
constexpr std::array<int, 5> kListedMarks = {MarkNone, MarkDuplicate, MarkUnique, MarkDelete, MarkCopy};

int NextInCycle(int mark) {
  if (mark == MarkNone) return MarkDuplicate;
  if (mark == MarkDuplicate) return MarkUnique;
  return MarkNone;
}

// The summary of a group from how many of its files carry each mark; files
// marked 3 or 4 are not counted.
int Summary(int none, int duplicate, int unique, int remove, int copy) {
  if (remove > 0) return MarkDelete;
  if (copy > 0) return MarkCopy;
  const int kinds = (none > 0 ? 1 : 0) + (duplicate > 0 ? 1 : 0) + (unique > 0 ? 1 : 0);
  if (kinds > 1) return MarkMixed;
  if (duplicate > 0) return MarkDuplicate;
  if (unique > 0) return MarkUnique;
  return MarkNone;
}

}  // namespace

void SetMark(ResultTree& tree, NodeHandle node, int code) {
  if (node == kNoNode) return;
  const bool group = tree.IsGroup(node);
  if (code < 0) code = NextInCycle(tree.GetMark(node));
  tree.PutImage(node, code);
  if (group) {
    for (NodeHandle file = tree.FirstFile(node); file != kNoNode; file = tree.Next(file)) {
      tree.PutImage(file, code);
    }
  } else {
    UpdateGroupSummary(tree, tree.Parent(node));
  }
}

void CycleMark(ResultTree& tree, NodeHandle node) { SetMark(tree, node, -1); }

void UpdateGroupSummary(ResultTree& tree, NodeHandle group) {
  if (group == kNoNode || !tree.IsGroup(group)) return;
  const MarkCounts counts = tree.FileMarks(group);
  tree.PutImage(group, Summary(counts[MarkNone], counts[MarkDuplicate], counts[MarkUnique],
                               counts[MarkDelete], counts[MarkCopy]));
}

int MarkFromIndex(int mark_index) {
  if (mark_index < 0 || mark_index >= static_cast<int>(kListedMarks.size())) return MarkNone;
  return kListedMarks[static_cast<size_t>(mark_index)];
}

int MarkIndexOf(int mark) {
  for (size_t index = 0; index < kListedMarks.size(); ++index) {
    if (kListedMarks[index] == mark) return static_cast<int>(index);
  }
  return -1;
}

}  // namespace twinseek
