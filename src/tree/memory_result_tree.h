// The result tree kept in memory, for the tests and the console tool: the
// same two levels, order, kinds and marks as the tree-view control, without
// a window.
//
// Contract beyond ResultTree:
// - Handles are increasing numbers; a deleted node's handle is never given to
//   another node (also not after Clear).
// - Adding at the end of the root or of a group, walking (FirstGroup, Next,
//   FirstFile, Parent) and reading are O(1); deleting a group is O(its files).
// - AddFile answers kNoNode, adding nothing, when the parent is not a group
//   node of this tree. Apart from Select(kNoNode), which selects nothing,
//   every operation given kNoNode or a handle of no node changes nothing and
//   answers kNoNode, 0, false or an empty text.
// - Expand has no effect on a group without files, as with the control.
//   ScrollToTop has nothing to scroll and changes nothing.
// - Not thread-safe: one thread at a time (a test, the console tool). The
//   Windows program's workers use the tree-view control instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "tree/result_tree.h"

namespace twinseek {

class MemoryResultTree final : public ResultTree {
 public:
  MemoryResultTree() = default;
  MemoryResultTree(const MemoryResultTree&) = delete;
  MemoryResultTree& operator=(const MemoryResultTree&) = delete;

  NodeHandle AddGroup(std::string_view key) override;
  NodeHandle AddFile(NodeHandle group, std::string_view path) override;
  void Expand(NodeHandle group) override;

  NodeHandle FirstGroup() const override { return root_.first; }
  NodeHandle Next(NodeHandle node) const override;
  NodeHandle FirstFile(NodeHandle group) const override;
  NodeHandle Parent(NodeHandle node) const override;
  NodeHandle Selected() const override { return selected_; }

  uint32_t ItemData(NodeHandle node) const override;
  int GetMark(NodeHandle node) const override;
  std::string Text(NodeHandle node) const override;
  size_t Count() const override { return nodes_.size(); }
  bool IsExpanded(NodeHandle group) const override;

  void PutImage(NodeHandle node, int mark) override;
  void Delete(NodeHandle node) override;
  void Clear() override;
  void Select(NodeHandle node) override;
  void ScrollToTop(NodeHandle) override {}

 private:
  // The ends of one sibling list: the root's groups or a group's files.
  struct Siblings {
    NodeHandle first = kNoNode;
    NodeHandle last = kNoNode;
  };

  struct Node {
    std::string text;
    uint32_t item_data = 0;
    int mark = MarkNone;
    bool expanded = false;
    NodeHandle parent = kNoNode;  // kNoNode for a group
    NodeHandle previous = kNoNode;
    NodeHandle next = kNoNode;
    Siblings children;  // a group's files
  };

  Node* Find(NodeHandle node);
  const Node* Find(NodeHandle node) const;
  Siblings& ListOf(const Node& node);
  NodeHandle Append(Siblings& list, NodeHandle parent, std::string_view text, uint32_t item_data);
  void Unlink(const Node& node);

  std::unordered_map<uintptr_t, Node> nodes_;
  Siblings root_;
  NodeHandle selected_ = kNoNode;
  uintptr_t last_id_ = 0;
};

}  // namespace twinseek
