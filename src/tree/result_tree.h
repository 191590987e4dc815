// The result tree: one group node per duplicate key that two or more files
// share, one file node per path below it, in the order they were added, never
// sorted. It is the only store of groups, files and marks: the tree-view
// control of the Windows program only shows it, and no key or mark is ever
// read back from the control.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace twinseek {

// A node of the tree. A handle stays valid while its node exists; once the
// node is deleted its handle is never used again (the tree-view control may
// give the same value to a later node). kNoNode is the answer "no node".
enum class NodeHandle : uintptr_t { kNoNode = 0 };
inline constexpr NodeHandle kNoNode = NodeHandle::kNoNode;

// The mark codes, stored as a node's image index.
enum Mark : int {
  MarkNone = 0,
  MarkDuplicate = 1,
  MarkUnique = 2,
  MarkMixed = 3,      // groups only: their files carry different marks among 0, 1, 2
  MarkComparing = 4,  // files only, while a full comparison takes the file as its base
  MarkDelete = 5,
  MarkCopy = 6,
};

// What is selected in the result tree: nothing, a file node or a group node.
enum class SelectionKind : int {
  kNothing = -1,
  kFile = 0,
  kGroup = 1,
};

// How many files of a group carry each mark: the count of mark m at [m].
using MarkCounts = std::array<int, 7>;

// Item data of a group node; a file node's is 0. A node is a group exactly
// when its item data is not 0.
inline constexpr uint32_t kGroupItemData = 1;

class ResultTree {
 public:
  virtual ~ResultTree() = default;

  // Building. AddGroup appends a group at the end of the root level with the
  // key as its text, item data 1 and mark 0; AddFile appends a file at the
  // end of a group with item data 0 and mark 0.
  virtual NodeHandle AddGroup(std::string_view key) = 0;
  virtual NodeHandle AddFile(NodeHandle group, std::string_view path) = 0;
  virtual void Expand(NodeHandle group) = 0;

  // Walking; each answers kNoNode at the end.
  virtual NodeHandle FirstGroup() const = 0;
  virtual NodeHandle Next(NodeHandle node) const = 0;  // next sibling
  virtual NodeHandle FirstFile(NodeHandle group) const = 0;
  virtual NodeHandle Parent(NodeHandle node) const = 0;
  virtual NodeHandle Selected() const = 0;

  // Reading.
  virtual uint32_t ItemData(NodeHandle node) const = 0;
  bool IsGroup(NodeHandle node) const { return ItemData(node) != 0; }
  virtual int GetMark(NodeHandle node) const = 0;
  virtual std::string Text(NodeHandle node) const = 0;  // whole, whatever its length
  virtual size_t Count() const = 0;                     // groups and files together
  virtual bool IsExpanded(NodeHandle group) const = 0;
  // Kept as the marks change, so a group's summary never walks its files.
  virtual MarkCounts FileMarks(NodeHandle group) const = 0;

  // Changing. PutImage sets one node's mark and nothing else (the marking
  // rules are SetMark's). Deleting a group deletes its files; a deleted node
  // that was selected leaves nothing selected.
  virtual void PutImage(NodeHandle node, int mark) = 0;
  virtual void Delete(NodeHandle node) = 0;
  virtual void Clear() = 0;
  virtual void Select(NodeHandle node) = 0;  // kNoNode selects nothing
  virtual void ScrollToTop(NodeHandle node) = 0;
};

}  // namespace twinseek
