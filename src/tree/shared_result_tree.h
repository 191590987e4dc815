// The result tree shared by the window's thread and one worker: every
// operation takes one lock, held only while that operation runs (a sequence
// of operations is not atomic: the window disables every command that would
// touch the tree while a worker runs). Every change is also recorded, in
// order, for a view that repeats it on the window's thread in batches
// (TakeChanges): the worker never waits for the view.
//
// A change that changes nothing is not recorded: a mark put again, a group
// expanded again, a selection made again.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "tree/memory_result_tree.h"
#include "tree/result_tree.h"

namespace twinseek {

// One change of the tree, as a view repeats it.
struct TreeChange {
  enum class Kind {
    kAddGroup,     // node appended at the end of the root, with text
    kAddFile,      // node appended at the end of group `parent`, with text
    kMark,         // node shows `mark`
    kExpand,       // group node is expanded
    kDelete,       // node (and a group's files) deleted
    kClear,        // every node deleted
    kSelect,       // node selected (kNoNode: nothing selected)
    kScrollToTop,  // node scrolled to the top of the view
  };
  Kind kind = Kind::kClear;
  NodeHandle node = kNoNode;
  NodeHandle parent = kNoNode;
  int mark = MarkNone;
  std::string text;

  friend bool operator==(const TreeChange&, const TreeChange&) = default;
};

// A batch of changes as a view carries it out. A tree control that checks
// the parent of every new item against all its items is fastest when those
// are few: within each run of consecutive additions (groups, files,
// expansions, marks) the groups go first, then the files, then the
// expansions, then the marks; every other change keeps its place between
// the runs.
struct ViewBatch {
  std::vector<TreeChange> changes;  // in the order to carry them out
  size_t structural = 0;            // insertions, deletions and clearings
  bool marks = false;               // some node shows another mark
};
ViewBatch PlanViewBatch(std::vector<TreeChange> changes);

class SharedResultTree final : public ResultTree {
 public:
  SharedResultTree() = default;
  SharedResultTree(const SharedResultTree&) = delete;
  SharedResultTree& operator=(const SharedResultTree&) = delete;

  NodeHandle AddGroup(std::string_view key) override;
  NodeHandle AddFile(NodeHandle group, std::string_view path) override;
  void Expand(NodeHandle group) override;

  NodeHandle FirstGroup() const override;
  NodeHandle Next(NodeHandle node) const override;
  NodeHandle FirstFile(NodeHandle group) const override;
  NodeHandle Parent(NodeHandle node) const override;
  NodeHandle Selected() const override;

  uint32_t ItemData(NodeHandle node) const override;
  int GetMark(NodeHandle node) const override;
  std::string Text(NodeHandle node) const override;
  size_t Count() const override;
  bool IsExpanded(NodeHandle group) const override;
  MarkCounts FileMarks(NodeHandle group) const override;

  void PutImage(NodeHandle node, int mark) override;
  void Delete(NodeHandle node) override;
  void Clear() override;
  void Select(NodeHandle node) override;
  void ScrollToTop(NodeHandle node) override;

  // The changes since the last call, oldest first; the record starts empty
  // again.
  std::vector<TreeChange> TakeChanges();

  // What the user did in the view itself (a click selected a node, a group
  // was collapsed or expanded): the tree follows, and nothing is recorded,
  // since the view shows it already.
  void SelectedInView(NodeHandle node);
  void ExpandedInView(NodeHandle group, bool expanded);

 private:
  void Record(TreeChange change);

  mutable std::mutex mutex_;
  MemoryResultTree tree_;
  std::vector<TreeChange> changes_;
};

}  // namespace twinseek
