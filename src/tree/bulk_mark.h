// Marking many files in one go: which files are concerned (all, the
// unmarked ones, or those of one mark), optionally only in groups that carry
// no mark yet, and the mark they get.
#pragma once

#include "tree/result_tree.h"

namespace twinseek {

enum class BulkTarget : int {
  kAllFiles = 0,       // "すべてのアイテム(&A)"
  kUnmarkedFiles = 1,  // "未チェックのアイテム(&N)": files marked 0
  kChosenMark = 2,     // "次のアイテム(&L)": files with the chosen mark
};

struct BulkMarkRequest {
  int new_mark = MarkNone;  // a mark code (0, 1, 2, 5, 6)
  BulkTarget target = BulkTarget::kAllFiles;
  int chosen_mark = MarkNone;         // a mark code; used with kChosenMark only
  bool only_unmarked_groups = false;  // only groups whose summary is 0 now

  friend bool operator==(const BulkMarkRequest&, const BulkMarkRequest&) = default;
};

// For each group, first to last: when only_unmarked_groups is off or the
// group's summary is 0 at that moment, every concerned file of the group
// gets the new mark by the raw put (no summary per file); then every group,
// skipped or not, gets its summary again. The selection does not move.
void BulkMark(ResultTree& tree, const BulkMarkRequest& request);

}  // namespace twinseek
