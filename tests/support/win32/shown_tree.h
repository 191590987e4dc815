// What a tree-view control shows, read from any thread with the control's
// own messages: the texts (code page 932), the images (the marks), the order,
// what is expanded and what is selected. The scenario tests check the results
// the user sees through it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>
#include <vector>

namespace twinseek::testing {

class ShownTree {
 public:
  explicit ShownTree(HWND control) : control_(control) {}

  // Walking; each answers null at the end.
  HTREEITEM FirstGroup() const { return Get(TVGN_ROOT, nullptr); }
  HTREEITEM Next(HTREEITEM item) const { return item ? Get(TVGN_NEXT, item) : nullptr; }
  HTREEITEM FirstFile(HTREEITEM group) const { return group ? Get(TVGN_CHILD, group) : nullptr; }
  HTREEITEM Parent(HTREEITEM item) const { return item ? Get(TVGN_PARENT, item) : nullptr; }
  HTREEITEM Selected() const { return Get(TVGN_CARET, nullptr); }

  std::string Text(HTREEITEM item) const;
  int Mark(HTREEITEM item) const;  // the image, -1 for no item
  LPARAM Param(HTREEITEM item) const;
  bool Expanded(HTREEITEM item) const;
  size_t Count() const;

  // Every item as "text#mark", a file's line indented by two blanks, in
  // order.
  std::vector<std::string> Lines() const;

 private:
  HTREEITEM Get(UINT relation, HTREEITEM from) const;

  HWND control_;
};

}  // namespace twinseek::testing
