#include "tree/win32/tree_view_result_tree.h"

#include <cwchar>

#include "base/win32/wide_text.h"

namespace twinseek {

namespace {

// Room for a text that the first reading takes whole in most cases (a path
// of MAX_PATH); longer texts double it until they fit.
constexpr size_t kFirstTextRoom = 264;

}  // namespace

NodeHandle ToNodeHandle(HTREEITEM item) {
  return static_cast<NodeHandle>(reinterpret_cast<uintptr_t>(item));
}

HTREEITEM ToTreeItem(NodeHandle node) {
  return reinterpret_cast<HTREEITEM>(static_cast<uintptr_t>(node));
}

NodeHandle TreeViewResultTree::Insert(HTREEITEM parent, std::string_view text, uint32_t item_data) {
  std::wstring wide = Cp932ToWide(text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  // Text, kind and mark 0 in one message: the same node as inserting the text
  // alone and setting the item data and the images afterwards.
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = wide.data();
  insert.item.lParam = static_cast<LPARAM>(item_data);
  insert.item.iImage = MarkNone;
  insert.item.iSelectedImage = MarkNone;
  const LRESULT item =
      SendMessageW(tree_view_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert));
  return ToNodeHandle(reinterpret_cast<HTREEITEM>(item));
}

NodeHandle TreeViewResultTree::AddGroup(std::string_view key) {
  return Insert(TVI_ROOT, key, kGroupItemData);
}

NodeHandle TreeViewResultTree::AddFile(NodeHandle group, std::string_view path) {
  if (group == kNoNode) return kNoNode;
  return Insert(ToTreeItem(group), path, 0);
}

void TreeViewResultTree::Expand(NodeHandle group) {
  if (group == kNoNode) return;
  SendMessageW(tree_view_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(ToTreeItem(group)));
}

NodeHandle TreeViewResultTree::GetNext(NodeHandle node, UINT relation) const {
  const LRESULT item = SendMessageW(tree_view_, TVM_GETNEXTITEM, relation,
                                    reinterpret_cast<LPARAM>(ToTreeItem(node)));
  return ToNodeHandle(reinterpret_cast<HTREEITEM>(item));
}

NodeHandle TreeViewResultTree::FirstGroup() const { return GetNext(kNoNode, TVGN_ROOT); }

// The control reads a missing item as its invisible root for some relations,
// so kNoNode is answered here, not sent.
NodeHandle TreeViewResultTree::Next(NodeHandle node) const {
  return node == kNoNode ? kNoNode : GetNext(node, TVGN_NEXT);
}

NodeHandle TreeViewResultTree::FirstFile(NodeHandle group) const {
  return group == kNoNode ? kNoNode : GetNext(group, TVGN_CHILD);
}

NodeHandle TreeViewResultTree::Parent(NodeHandle node) const {
  return node == kNoNode ? kNoNode : GetNext(node, TVGN_PARENT);
}

NodeHandle TreeViewResultTree::Selected() const { return GetNext(kNoNode, TVGN_CARET); }

bool TreeViewResultTree::GetItem(TVITEMW& item) const {
  if (item.hItem == nullptr) return false;
  return SendMessageW(tree_view_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

uint32_t TreeViewResultTree::ItemData(NodeHandle node) const {
  TVITEMW item{};
  item.mask = TVIF_PARAM;
  item.hItem = ToTreeItem(node);
  if (!GetItem(item)) return 0;
  return static_cast<uint32_t>(item.lParam);
}

int TreeViewResultTree::GetMark(NodeHandle node) const {
  TVITEMW item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = ToTreeItem(node);
  if (!GetItem(item)) return MarkNone;
  return item.iImage;
}

std::string TreeViewResultTree::Text(NodeHandle node) const {
  // The control copies at most the room it is given, less one for the end
  // mark: a text that fills the room may have been cut, so read again with
  // twice the room.
  std::wstring room(kFirstTextRoom, L'\0');
  for (;;) {
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = ToTreeItem(node);
    item.pszText = room.data();
    item.cchTextMax = static_cast<int>(room.size());
    room[0] = L'\0';
    if (!GetItem(item)) return {};
    const size_t length = wcsnlen(room.data(), room.size());
    if (length + 1 < room.size()) return WideToCp932Lossy(std::wstring_view(room.data(), length));
    room.assign(room.size() * 2, L'\0');
  }
}

size_t TreeViewResultTree::Count() const {
  return static_cast<size_t>(SendMessageW(tree_view_, TVM_GETCOUNT, 0, 0));
}

bool TreeViewResultTree::IsExpanded(NodeHandle group) const {
  if (group == kNoNode) return false;
  const LRESULT state = SendMessageW(tree_view_, TVM_GETITEMSTATE,
                                     reinterpret_cast<WPARAM>(ToTreeItem(group)), TVIS_EXPANDED);
  return (state & TVIS_EXPANDED) != 0;
}

void TreeViewResultTree::PutImage(NodeHandle node, int mark) {
  if (node == kNoNode) return;
  TVITEMW item{};
  item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  item.hItem = ToTreeItem(node);
  item.iImage = mark;
  item.iSelectedImage = mark;
  SendMessageW(tree_view_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
}

void TreeViewResultTree::Delete(NodeHandle node) {
  // TVM_DELETEITEM reads a missing item as the root and would delete all.
  if (node == kNoNode) return;
  const NodeHandle selected = Selected();
  if (selected != kNoNode && (selected == node || Parent(selected) == node)) Select(kNoNode);
  SendMessageW(tree_view_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(ToTreeItem(node)));
}

void TreeViewResultTree::Clear() {
  Select(kNoNode);
  SendMessageW(tree_view_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
}

void TreeViewResultTree::Select(NodeHandle node) {
  SendMessageW(tree_view_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(ToTreeItem(node)));
}

void TreeViewResultTree::ScrollToTop(NodeHandle node) {
  if (node == kNoNode) return;
  SendMessageW(tree_view_, TVM_SELECTITEM, TVGN_FIRSTVISIBLE,
               reinterpret_cast<LPARAM>(ToTreeItem(node)));
}

}  // namespace twinseek
