#include "tree/memory_result_tree.h"

#include <utility>

namespace twinseek {

namespace {

uintptr_t IdOf(NodeHandle node) { return static_cast<uintptr_t>(node); }

}  // namespace

MemoryResultTree::Node* MemoryResultTree::Find(NodeHandle node) {
  const auto found = nodes_.find(IdOf(node));
  return found == nodes_.end() ? nullptr : &found->second;
}

const MemoryResultTree::Node* MemoryResultTree::Find(NodeHandle node) const {
  const auto found = nodes_.find(IdOf(node));
  return found == nodes_.end() ? nullptr : &found->second;
}

MemoryResultTree::Siblings& MemoryResultTree::ListOf(const Node& node) {
  if (node.parent == kNoNode) return root_;
  return Find(node.parent)->children;
}

NodeHandle MemoryResultTree::Append(Siblings& list, NodeHandle parent, std::string_view text,
                                    uint32_t item_data) {
  const NodeHandle handle{++last_id_};
  Node node;
  node.text.assign(text);
  node.item_data = item_data;
  node.parent = parent;
  node.previous = list.last;
  // Element references survive the map's rehashing, so `list` stays valid.
  nodes_.emplace(IdOf(handle), std::move(node));
  if (list.last == kNoNode) {
    list.first = handle;
  } else {
    Find(list.last)->next = handle;
  }
  list.last = handle;
  return handle;
}

NodeHandle MemoryResultTree::AddGroup(std::string_view key) {
  return Append(root_, kNoNode, key, kGroupItemData);
}

NodeHandle MemoryResultTree::AddFile(NodeHandle group, std::string_view path) {
  Node* parent = Find(group);
  if (parent == nullptr || parent->parent != kNoNode) return kNoNode;
  return Append(parent->children, group, path, 0);
}

void MemoryResultTree::Expand(NodeHandle group) {
  Node* node = Find(group);
  if (node != nullptr && node->children.first != kNoNode) node->expanded = true;
}

NodeHandle MemoryResultTree::Next(NodeHandle node) const {
  const Node* found = Find(node);
  return found == nullptr ? kNoNode : found->next;
}

NodeHandle MemoryResultTree::FirstFile(NodeHandle group) const {
  const Node* found = Find(group);
  return found == nullptr ? kNoNode : found->children.first;
}

NodeHandle MemoryResultTree::Parent(NodeHandle node) const {
  const Node* found = Find(node);
  return found == nullptr ? kNoNode : found->parent;
}

uint32_t MemoryResultTree::ItemData(NodeHandle node) const {
  const Node* found = Find(node);
  return found == nullptr ? 0 : found->item_data;
}

int MemoryResultTree::GetMark(NodeHandle node) const {
  const Node* found = Find(node);
  return found == nullptr ? MarkNone : found->mark;
}

std::string MemoryResultTree::Text(NodeHandle node) const {
  const Node* found = Find(node);
  return found == nullptr ? std::string() : found->text;
}

bool MemoryResultTree::IsExpanded(NodeHandle group) const {
  const Node* found = Find(group);
  return found != nullptr && found->expanded;
}

void MemoryResultTree::PutImage(NodeHandle node, int mark) {
  Node* found = Find(node);
  if (found != nullptr) found->mark = mark;
}

void MemoryResultTree::Unlink(const Node& node) {
  Siblings& list = ListOf(node);
  if (node.previous == kNoNode) {
    list.first = node.next;
  } else {
    Find(node.previous)->next = node.next;
  }
  if (node.next == kNoNode) {
    list.last = node.previous;
  } else {
    Find(node.next)->previous = node.previous;
  }
}

void MemoryResultTree::Delete(NodeHandle node) {
  const Node* found = Find(node);
  if (found == nullptr) return;
  if (selected_ == node || (selected_ != kNoNode && Parent(selected_) == node)) selected_ = kNoNode;
  Unlink(*found);
  for (NodeHandle file = found->children.first; file != kNoNode;) {
    const NodeHandle next = Next(file);
    nodes_.erase(IdOf(file));
    file = next;
  }
  nodes_.erase(IdOf(node));
}

void MemoryResultTree::Clear() {
  nodes_.clear();
  root_ = Siblings{};
  selected_ = kNoNode;
}

void MemoryResultTree::Select(NodeHandle node) {
  if (node == kNoNode || Find(node) != nullptr) selected_ = node;
}

}  // namespace twinseek
