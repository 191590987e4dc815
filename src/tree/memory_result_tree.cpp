#include "tree/memory_result_tree.h"

namespace twinseek {

namespace {

// A mark that counts in a group's tally (0 to 6); other values are kept on
// the node but counted nowhere.
bool Counted(int mark) { return mark >= 0 && mark < static_cast<int>(MarkCounts{}.size()); }

void ReleaseText(std::string& text) {
  text.clear();
  text.shrink_to_fit();
}

}  // namespace

MemoryResultTree::Index MemoryResultTree::IndexOf(NodeHandle node) const {
  const auto value = static_cast<uintptr_t>(node);
  if (value <= handle_base_ || value - handle_base_ > nodes_.size()) return kNone;
  const auto index = static_cast<Index>(value - handle_base_);
  return At(index).alive ? index : kNone;
}

NodeHandle MemoryResultTree::HandleOf(Index index) const {
  return index == kNone ? kNoNode : static_cast<NodeHandle>(handle_base_ + index);
}

MemoryResultTree::Siblings& MemoryResultTree::ListOf(const Node& node) {
  return node.parent == kNone ? root_ : InfoOf(node.parent).files;
}

MemoryResultTree::Index MemoryResultTree::Append(Siblings& list, Index parent, std::string_view text,
                                                 bool is_group) {
  // `list` may live in groups_, which only grows here when is_group (and then
  // `list` is the root's): growing it never moves the list being appended to.
  Node node;
  node.text.assign(text);
  node.parent = parent;
  node.previous = list.last;
  node.is_group = is_group;
  if (is_group) {
    node.group_info = static_cast<uint32_t>(groups_.size());
    groups_.emplace_back();
  }
  nodes_.push_back(std::move(node));
  const auto index = static_cast<Index>(nodes_.size());
  if (list.last == kNone) {
    list.first = index;
  } else {
    At(list.last).next = index;
  }
  list.last = index;
  ++count_;
  return index;
}

NodeHandle MemoryResultTree::AddGroup(std::string_view key) {
  return HandleOf(Append(root_, kNone, key, true));
}

NodeHandle MemoryResultTree::AddFile(NodeHandle group, std::string_view path) {
  const Index parent = IndexOf(group);
  if (parent == kNone || !At(parent).is_group) return kNoNode;
  const Index file = Append(InfoOf(parent).files, parent, path, false);
  ++InfoOf(parent).marks[MarkNone];
  return HandleOf(file);
}

void MemoryResultTree::Expand(NodeHandle group) { SetExpanded(group, true); }

void MemoryResultTree::SetExpanded(NodeHandle group, bool expanded) {
  const Index index = IndexOf(group);
  if (index == kNone || !At(index).is_group) return;
  GroupInfo& info = InfoOf(index);
  if (info.files.first != kNone) info.expanded = expanded;
}

NodeHandle MemoryResultTree::Next(NodeHandle node) const {
  const Index index = IndexOf(node);
  return index == kNone ? kNoNode : HandleOf(At(index).next);
}

NodeHandle MemoryResultTree::FirstFile(NodeHandle group) const {
  const Index index = IndexOf(group);
  if (index == kNone || !At(index).is_group) return kNoNode;
  return HandleOf(InfoOf(index).files.first);
}

NodeHandle MemoryResultTree::Parent(NodeHandle node) const {
  const Index index = IndexOf(node);
  return index == kNone ? kNoNode : HandleOf(At(index).parent);
}

uint32_t MemoryResultTree::ItemData(NodeHandle node) const {
  const Index index = IndexOf(node);
  return index != kNone && At(index).is_group ? kGroupItemData : 0;
}

int MemoryResultTree::GetMark(NodeHandle node) const {
  const Index index = IndexOf(node);
  return index == kNone ? MarkNone : At(index).mark;
}

std::string MemoryResultTree::Text(NodeHandle node) const {
  const Index index = IndexOf(node);
  return index == kNone ? std::string() : At(index).text;
}

bool MemoryResultTree::IsExpanded(NodeHandle group) const {
  const Index index = IndexOf(group);
  return index != kNone && At(index).is_group && InfoOf(index).expanded;
}

MarkCounts MemoryResultTree::FileMarks(NodeHandle group) const {
  const Index index = IndexOf(group);
  if (index == kNone || !At(index).is_group) return MarkCounts{};
  return InfoOf(index).marks;
}

void MemoryResultTree::PutImage(NodeHandle node, int mark) {
  const Index index = IndexOf(node);
  if (index == kNone) return;
  Node& found = At(index);
  if (found.parent != kNone) {
    MarkCounts& marks = InfoOf(found.parent).marks;
    if (Counted(found.mark)) --marks[static_cast<size_t>(found.mark)];
    if (Counted(mark)) ++marks[static_cast<size_t>(mark)];
  }
  found.mark = mark;
}

void MemoryResultTree::Unlink(const Node& node) {
  Siblings& list = ListOf(node);
  if (node.previous == kNone) {
    list.first = node.next;
  } else {
    At(node.previous).next = node.next;
  }
  if (node.next == kNone) {
    list.last = node.previous;
  } else {
    At(node.next).previous = node.previous;
  }
}

void MemoryResultTree::Kill(Index index) {
  Node& node = At(index);
  node.alive = false;
  ReleaseText(node.text);
  --count_;
}

void MemoryResultTree::Delete(NodeHandle node) {
  const Index index = IndexOf(node);
  if (index == kNone) return;
  if (selected_ == node || (selected_ != kNoNode && Parent(selected_) == node)) selected_ = kNoNode;
  Node& found = At(index);
  Unlink(found);
  if (found.is_group) {
    GroupInfo& info = InfoOf(index);
    for (Index file = info.files.first; file != kNone; file = At(file).next) Kill(file);
    info = GroupInfo{};
  } else if (Counted(found.mark)) {
    --InfoOf(found.parent).marks[static_cast<size_t>(found.mark)];
  }
  Kill(index);
}

void MemoryResultTree::Clear() {
  handle_base_ += nodes_.size();
  nodes_.clear();
  groups_.clear();
  root_ = Siblings{};
  count_ = 0;
  selected_ = kNoNode;
}

void MemoryResultTree::Select(NodeHandle node) {
  if (node == kNoNode || IndexOf(node) != kNone) selected_ = node;
}

}  // namespace twinseek
