// The result tree kept in a tree-view control (SysTreeView32), the Windows
// program's only store of groups, files and marks.
//
// Contract beyond ResultTree:
// - The control is given by its window and not owned: it must outlive the
//   object, which only sends it messages (SendMessageW). So any thread may
//   call it while the control's own thread pumps messages; each operation is
//   then carried out by that thread, one at a time. A sequence of operations
//   is not atomic.
// - A handle is the control's HTREEITEM. The control may give a deleted
//   node's handle to a node added later, so a handle must not be used once
//   its node is deleted.
// - Texts cross the boundary as code page 932 converted to and from UTF-16
//   explicitly, whatever the system's ANSI code page; a text is read back
//   whole, whatever its length.
// - Deleting the selected node, or the group of the selected file, first
//   selects nothing, so the control does not move the selection to a
//   neighbour; Clear selects nothing too. Operations given kNoNode change
//   nothing (Select(kNoNode) selects nothing) and answer kNoNode, 0, false
//   or an empty text; AddFile with kNoNode adds nothing. AddFile's group must
//   be a group node (the control would take a file as a parent).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tree/result_tree.h"

namespace twinseek {

class TreeViewResultTree final : public ResultTree {
 public:
  explicit TreeViewResultTree(HWND tree_view) : tree_view_(tree_view) {}

  HWND Window() const { return tree_view_; }

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

  void PutImage(NodeHandle node, int mark) override;
  void Delete(NodeHandle node) override;
  void Clear() override;
  void Select(NodeHandle node) override;
  void ScrollToTop(NodeHandle node) override;

 private:
  NodeHandle Insert(HTREEITEM parent, std::string_view text, uint32_t item_data);
  NodeHandle GetNext(NodeHandle node, UINT relation) const;
  bool GetItem(TVITEMW& item) const;

  HWND tree_view_;
};

// The handle of a tree-view item and back.
NodeHandle ToNodeHandle(HTREEITEM item);
HTREEITEM ToTreeItem(NodeHandle node);

}  // namespace twinseek
