#include "tree/shared_result_tree.h"

#include <algorithm>
#include <utility>

namespace twinseek {

namespace {

using Kind = TreeChange::Kind;
using Hold = std::lock_guard<std::mutex>;

TreeChange Change(Kind kind, NodeHandle node = kNoNode) {
  TreeChange change;
  change.kind = kind;
  change.node = node;
  return change;
}

TreeChange Added(Kind kind, NodeHandle node, NodeHandle parent, std::string_view text) {
  TreeChange change = Change(kind, node);
  change.parent = parent;
  change.text.assign(text);
  return change;
}

}  // namespace

void SharedResultTree::Record(TreeChange change) { changes_.push_back(std::move(change)); }

NodeHandle SharedResultTree::AddGroup(std::string_view key) {
  const Hold hold(mutex_);
  const NodeHandle group = tree_.AddGroup(key);
  Record(Added(Kind::kAddGroup, group, kNoNode, key));
  return group;
}

NodeHandle SharedResultTree::AddFile(NodeHandle group, std::string_view path) {
  const Hold hold(mutex_);
  const NodeHandle file = tree_.AddFile(group, path);
  if (file != kNoNode) Record(Added(Kind::kAddFile, file, group, path));
  return file;
}

void SharedResultTree::Expand(NodeHandle group) {
  const Hold hold(mutex_);
  if (tree_.IsExpanded(group)) return;
  tree_.Expand(group);
  if (tree_.IsExpanded(group)) Record(Change(Kind::kExpand, group));
}

NodeHandle SharedResultTree::FirstGroup() const {
  const Hold hold(mutex_);
  return tree_.FirstGroup();
}

NodeHandle SharedResultTree::Next(NodeHandle node) const {
  const Hold hold(mutex_);
  return tree_.Next(node);
}

NodeHandle SharedResultTree::FirstFile(NodeHandle group) const {
  const Hold hold(mutex_);
  return tree_.FirstFile(group);
}

NodeHandle SharedResultTree::Parent(NodeHandle node) const {
  const Hold hold(mutex_);
  return tree_.Parent(node);
}

NodeHandle SharedResultTree::Selected() const {
  const Hold hold(mutex_);
  return tree_.Selected();
}

uint32_t SharedResultTree::ItemData(NodeHandle node) const {
  const Hold hold(mutex_);
  return tree_.ItemData(node);
}

int SharedResultTree::GetMark(NodeHandle node) const {
  const Hold hold(mutex_);
  return tree_.GetMark(node);
}

std::string SharedResultTree::Text(NodeHandle node) const {
  const Hold hold(mutex_);
  return tree_.Text(node);
}

size_t SharedResultTree::Count() const {
  const Hold hold(mutex_);
  return tree_.Count();
}

bool SharedResultTree::IsExpanded(NodeHandle group) const {
  const Hold hold(mutex_);
  return tree_.IsExpanded(group);
}

MarkCounts SharedResultTree::FileMarks(NodeHandle group) const {
  const Hold hold(mutex_);
  return tree_.FileMarks(group);
}

void SharedResultTree::PutImage(NodeHandle node, int mark) {
  const Hold hold(mutex_);
  if (!tree_.Contains(node)) return;
  if (tree_.GetMark(node) == mark) return;
  tree_.PutImage(node, mark);
  TreeChange change = Change(Kind::kMark, node);
  change.mark = mark;
  Record(std::move(change));
}

void SharedResultTree::Delete(NodeHandle node) {
  const Hold hold(mutex_);
  if (!tree_.Contains(node)) return;
  const NodeHandle selected = tree_.Selected();
  tree_.Delete(node);
  // The view must select nothing before it deletes, or the control would
  // hand the selection to a neighbour.
  if (selected != kNoNode && tree_.Selected() == kNoNode) Record(Change(Kind::kSelect));
  Record(Change(Kind::kDelete, node));
}

void SharedResultTree::Clear() {
  const Hold hold(mutex_);
  tree_.Clear();
  Record(Change(Kind::kClear));
}

void SharedResultTree::Select(NodeHandle node) {
  const Hold hold(mutex_);
  const NodeHandle before = tree_.Selected();
  tree_.Select(node);
  if (tree_.Selected() != before) Record(Change(Kind::kSelect, tree_.Selected()));
}

void SharedResultTree::ScrollToTop(NodeHandle node) {
  const Hold hold(mutex_);
  if (!tree_.Contains(node)) return;
  Record(Change(Kind::kScrollToTop, node));
}

std::vector<TreeChange> SharedResultTree::TakeChanges() {
  const Hold hold(mutex_);
  return std::exchange(changes_, {});
}

void SharedResultTree::SelectedInView(NodeHandle node) {
  const Hold hold(mutex_);
  tree_.Select(node);
}

void SharedResultTree::ExpandedInView(NodeHandle group, bool expanded) {
  const Hold hold(mutex_);
  tree_.SetExpanded(group, expanded);
}

ViewBatch PlanViewBatch(std::vector<TreeChange> changes) {
  // The place of an addition within its run; -1 for any other change.
  const auto rank = [](const TreeChange& change) {
    switch (change.kind) {
      case Kind::kAddGroup:
        return 0;
      case Kind::kAddFile:
        return 1;
      case Kind::kExpand:
        return 2;
      case Kind::kMark:
        return 3;
      default:
        return -1;
    }
  };
  ViewBatch batch;
  for (auto begin = changes.begin(); begin != changes.end();) {
    const auto end =
        std::find_if(begin, changes.end(), [&](const TreeChange& change) { return rank(change) < 0; });
    std::stable_sort(begin, end, [&](const TreeChange& a, const TreeChange& b) { return rank(a) < rank(b); });
    begin = end == changes.end() ? end : end + 1;
  }
  for (const TreeChange& change : changes) {
    const Kind kind = change.kind;
    if (kind == Kind::kAddGroup || kind == Kind::kAddFile || kind == Kind::kDelete || kind == Kind::kClear) {
      ++batch.structural;
    }
    if (kind == Kind::kMark) batch.marks = true;
  }
  batch.changes = std::move(changes);
  return batch;
}

}  // namespace twinseek
