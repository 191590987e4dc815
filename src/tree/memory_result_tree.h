// The result tree kept in memory: the one store of groups, files and marks
// of the program. The console tool and the tests use it as it is; the
// Windows program shares it between a worker and the window's thread through
// SharedResultTree, and shows it in a tree-view control (ResultTreeView).
//
// Contract beyond ResultTree:
// - Handles are increasing numbers; a deleted node's handle is never given to
//   another node (also not after Clear).
// - Adding at the end of the root or of a group, walking (FirstGroup, Next,
//   FirstFile, Parent), reading and FileMarks are O(1); deleting a group is
//   O(its files).
// - AddFile answers kNoNode, adding nothing, when the parent is not a group
//   node of this tree. Apart from Select(kNoNode), which selects nothing,
//   every operation given kNoNode or a handle of no node changes nothing and
//   answers kNoNode, 0, false or an empty text.
// - Expand has no effect on a group without files, as with a tree-view
//   control. ScrollToTop has nothing to scroll and changes nothing.
// - Not thread-safe: one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

  NodeHandle FirstGroup() const override { return HandleOf(root_.first); }
  NodeHandle Next(NodeHandle node) const override;
  NodeHandle FirstFile(NodeHandle group) const override;
  NodeHandle Parent(NodeHandle node) const override;
  NodeHandle Selected() const override { return selected_; }

  uint32_t ItemData(NodeHandle node) const override;
  int GetMark(NodeHandle node) const override;
  std::string Text(NodeHandle node) const override;
  size_t Count() const override { return count_; }
  bool IsExpanded(NodeHandle group) const override;
  MarkCounts FileMarks(NodeHandle group) const override;

  void PutImage(NodeHandle node, int mark) override;
  void Delete(NodeHandle node) override;
  void Clear() override;
  void Select(NodeHandle node) override;
  void ScrollToTop(NodeHandle) override {}

  // Whether a node of this handle exists.
  bool Contains(NodeHandle node) const { return IndexOf(node) != kNone; }

  // A group collapsed or expanded by the user in a view; changes nothing but
  // the flag IsExpanded answers.
  void SetExpanded(NodeHandle group, bool expanded);

 private:
  // Nodes are numbered from 1 in the order they were made since the last
  // Clear; 0 is no node. A handle is that number plus the count of nodes
  // made before the last Clear, so no handle is ever given twice.
  using Index = uint32_t;
  static constexpr Index kNone = 0;

  // The ends of one sibling list: the root's groups or a group's files.
  struct Siblings {
    Index first = kNone;
    Index last = kNone;
  };

  struct Node {
    std::string text;
    Index parent = kNone;  // kNone for a group
    Index previous = kNone;
    Index next = kNone;
    uint32_t group_info = 0;  // a group's place in groups_
    int mark = MarkNone;
    bool is_group = false;
    bool alive = true;
  };

  // What only a group has: its files and how many of them carry each mark.
  struct GroupInfo {
    Siblings files;
    MarkCounts marks{};
    bool expanded = false;
  };

  Index IndexOf(NodeHandle node) const;  // kNone for no live node
  NodeHandle HandleOf(Index index) const;
  Node& At(Index index) { return nodes_[index - 1]; }
  const Node& At(Index index) const { return nodes_[index - 1]; }
  GroupInfo& InfoOf(Index group) { return groups_[At(group).group_info]; }
  const GroupInfo& InfoOf(Index group) const { return groups_[At(group).group_info]; }
  Siblings& ListOf(const Node& node);
  Index Append(Siblings& list, Index parent, std::string_view text, bool is_group);
  void Unlink(const Node& node);
  void Kill(Index index);

  std::vector<Node> nodes_;
  std::vector<GroupInfo> groups_;
  Siblings root_;
  size_t count_ = 0;
  NodeHandle selected_ = kNoNode;
  uintptr_t handle_base_ = 0;  // handles given before the last Clear
};

}  // namespace twinseek
