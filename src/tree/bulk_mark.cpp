#include "tree/bulk_mark.h"

#include "tree/marks.h"

namespace twinseek {

namespace {

bool IsConcerned(const BulkMarkRequest& request, int mark) {
  switch (request.target) {
    case BulkTarget::kAllFiles:
      return true;
    case BulkTarget::kUnmarkedFiles:
      return mark == MarkNone;
    case BulkTarget::kChosenMark:
      return mark == request.chosen_mark;
  }
  return false;
}

void MarkConcernedFiles(ResultTree& tree, NodeHandle group, const BulkMarkRequest& request) {
  for (NodeHandle file = tree.FirstFile(group); file != kNoNode; file = tree.Next(file)) {
    if (IsConcerned(request, tree.GetMark(file))) tree.PutImage(file, request.new_mark);
  }
}

}  // namespace

void BulkMark(ResultTree& tree, const BulkMarkRequest& request) {
  for (NodeHandle group = tree.FirstGroup(); group != kNoNode; group = tree.Next(group)) {
    if (!request.only_unmarked_groups || tree.GetMark(group) == MarkNone) {
      MarkConcernedFiles(tree, group, request);
    }
    UpdateGroupSummary(tree, group);
  }
}

}  // namespace twinseek
