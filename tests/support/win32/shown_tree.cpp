#include "support/win32/shown_tree.h"

#include "base/win32/wide_text.h"

namespace twinseek::testing {

HTREEITEM ShownTree::Get(UINT relation, HTREEITEM from) const {
  return reinterpret_cast<HTREEITEM>(
      SendMessageW(control_, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
}

std::string ShownTree::Text(HTREEITEM item) const {
  if (item == nullptr) return {};
  // Room enough for any text a test makes.
  std::wstring room(1 << 20, L'\0');
  TVITEMW data{};
  data.mask = TVIF_TEXT;
  data.hItem = item;
  data.pszText = room.data();
  data.cchTextMax = static_cast<int>(room.size());
  if (!SendMessageW(control_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return {};
  room.resize(wcsnlen(room.data(), room.size()));
  return WideToCp932Lossy(room);
}

int ShownTree::Mark(HTREEITEM item) const {
  TVITEMW data{};
  data.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  data.hItem = item;
  if (item == nullptr || !SendMessageW(control_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return -1;
  return data.iImage;
}

LPARAM ShownTree::Param(HTREEITEM item) const {
  TVITEMW data{};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  if (item == nullptr || !SendMessageW(control_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return 0;
  return data.lParam;
}

bool ShownTree::Expanded(HTREEITEM item) const {
  if (item == nullptr) return false;
  const LRESULT state =
      SendMessageW(control_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED);
  return (state & TVIS_EXPANDED) != 0;
}

size_t ShownTree::Count() const { return static_cast<size_t>(SendMessageW(control_, TVM_GETCOUNT, 0, 0)); }

std::vector<std::string> ShownTree::Lines() const {
  std::vector<std::string> lines;
  for (HTREEITEM group = FirstGroup(); group != nullptr; group = Next(group)) {
    lines.push_back(Text(group) + "#" + std::to_string(Mark(group)));
    for (HTREEITEM file = FirstFile(group); file != nullptr; file = Next(file)) {
      lines.push_back("  " + Text(file) + "#" + std::to_string(Mark(file)));
    }
  }
  return lines;
}

}  // namespace twinseek::testing
