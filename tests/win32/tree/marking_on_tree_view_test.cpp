// The marking and exclusion rules on a real tree-view control: exclusion
// deleting nodes while it walks the control, bulk and folder marking reading
// Japanese paths back from it.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/file_system.h"
#include "scan/key_index.h"
#include "tree/bulk_mark.h"
#include "tree/exclusion.h"
#include "tree/folder_marking.h"
#include "tree/marks.h"
#include "tree/win32/tree_view_result_tree.h"

namespace twinseek::testing {
namespace {

using Marks = std::vector<int>;

// A window destroyed with the object.
class OwnedWindow {
 public:
  explicit OwnedWindow(HWND handle) : handle_(handle) {}
  ~OwnedWindow() {
    if (handle_ != nullptr) DestroyWindow(handle_);
  }
  OwnedWindow(const OwnedWindow&) = delete;
  OwnedWindow& operator=(const OwnedWindow&) = delete;
  HWND Handle() const { return handle_; }

 private:
  HWND handle_;
};

HWND CreateParentWindow() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  return CreateWindowExW(0, L"STATIC", L"marking test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

HWND CreateTreeControl(HWND parent) {
  return CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                         WS_CHILD | WS_VISIBLE | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                             TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP,
                         0, 0, 400, 300, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

class MarkingOnTreeViewTest : public ::testing::Test {
 protected:
  // A group registered file by file as a scan does (the paths name no file),
  // its files then marked raw and its summary computed.
  NodeHandle AddGroup(std::string_view key, const std::vector<std::string>& paths, const Marks& marks) {
    for (const std::string& path : paths) index_.Register(key, path, tree_, SystemFileSystem());
    const NodeHandle group = index_.Find(key)->group;
    size_t position = 0;
    for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
      tree_.PutImage(file, marks[position++]);
    }
    UpdateGroupSummary(tree_, group);
    return group;
  }

  Marks FileMarks(NodeHandle group) const {
    Marks marks;
    for (NodeHandle file = tree_.FirstFile(group); file != kNoNode; file = tree_.Next(file)) {
      marks.push_back(tree_.GetMark(file));
    }
    return marks;
  }

  std::vector<std::string> GroupKeys() const {
    std::vector<std::string> keys;
    for (NodeHandle group = tree_.FirstGroup(); group != kNoNode; group = tree_.Next(group)) {
      keys.push_back(tree_.Text(group));
    }
    return keys;
  }

  OwnedWindow parent_{CreateParentWindow()};
  OwnedWindow control_{CreateTreeControl(parent_.Handle())};
  TreeViewResultTree tree_{control_.Handle()};
  KeyIndex index_;
};

TEST_F(MarkingOnTreeViewTest, ExclusionDeletesAndFoldsGroupsAsItWalksTheControl) {
  AddGroup("A", {"C:\\a\\1", "C:\\a\\2"}, {MarkDuplicate, MarkDuplicate});
  const NodeHandle kept = AddGroup("B", {"C:\\b\\1", "C:\\b\\2", "C:\\b\\3"},
                                   {MarkDuplicate, MarkNone, MarkNone});
  AddGroup("C", {"C:\\c\\1", "C:\\c\\2"}, {MarkDuplicate, MarkDuplicate});
  const NodeHandle folded = AddGroup("D", {"C:\\表\\1", "C:\\表\\2"}, {MarkUnique, MarkDuplicate});
  tree_.Select(tree_.FirstFile(tree_.FirstGroup()));

  const ExclusionCounts counts = ExcludeByMark(index_, tree_, MarkDuplicate);

  EXPECT_EQ(counts, (ExclusionCounts{6, 2, 1}));
  EXPECT_EQ(GroupKeys(), (std::vector<std::string>{"B", "D"}));
  EXPECT_EQ(FileMarks(kept), (Marks{MarkNone, MarkNone}));
  EXPECT_EQ(tree_.GetMark(kept), MarkNone);
  EXPECT_EQ(FileMarks(folded), Marks{MarkUnique});
  EXPECT_EQ(tree_.GetMark(folded), MarkUnique);
  EXPECT_EQ(tree_.Text(tree_.FirstFile(folded)), "C:\\表\\1");
  EXPECT_EQ(tree_.Selected(), kNoNode);
  EXPECT_EQ(tree_.Count(), 5u);
  EXPECT_EQ(index_.Find("A"), nullptr);
  EXPECT_EQ(index_.Find("C"), nullptr);
  EXPECT_EQ(index_.IndexCount(), 2);
  EXPECT_EQ(index_.FileCount(), 3);
}

TEST_F(MarkingOnTreeViewTest, BulkAndFolderMarkingReadJapanesePathsFromTheControl) {
  const NodeHandle first = AddGroup("K1", {"C:\\表\\a.txt", "C:\\表示\\a.txt"}, {MarkDuplicate, MarkDuplicate});
  const NodeHandle second =
      AddGroup("K2", {"C:\\表\\ソフト\\b.txt", "C:\\能力\\b.txt"}, {MarkNone, MarkNone});

  EXPECT_EQ(MarkByDirectory(tree_, {"c:\\表", false, MarkDelete, false}), 1);
  EXPECT_EQ(FileMarks(first), (Marks{MarkDelete, MarkDuplicate}));
  EXPECT_EQ(tree_.GetMark(first), MarkDelete);
  EXPECT_EQ(FileMarks(second), (Marks{MarkNone, MarkNone}));

  BulkMark(tree_, {MarkCopy, BulkTarget::kChosenMark, MarkDelete, false});
  EXPECT_EQ(FileMarks(first), (Marks{MarkCopy, MarkDuplicate}));
  EXPECT_EQ(tree_.GetMark(first), MarkCopy);
  EXPECT_EQ(tree_.GetMark(second), MarkNone);
}

}  // namespace
}  // namespace twinseek::testing
