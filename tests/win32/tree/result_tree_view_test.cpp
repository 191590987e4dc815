// The result tree shown in a real tree-view control: the shared suite run on
// a tree whose every reading comes back from the control (so the control
// must show exactly what the tree holds), the control catching up with a
// worker's changes while the test thread pumps, the user's own selection and
// collapsing followed by the tree, and exclusion and marking shown as they
// change the tree.
#include "tree/win32/result_tree_view.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/file_system.h"
#include "scan/key_index.h"
#include "support/win32/shown_tree.h"
#include "support/win32/ui_driver.h"
#include "tree/bulk_mark.h"
#include "tree/exclusion.h"
#include "tree/folder_marking.h"
#include "tree/marks.h"
#include "tree/result_tree_suite.h"
#include "tree/shared_result_tree.h"

namespace twinseek::testing {

namespace {

HWND CreateParent() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  return CreateWindowExW(0, L"STATIC", L"view test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// The main window's tree: lines, buttons, lines at the root, the selection
// shown without focus.
HWND CreateControl(HWND parent) {
  return CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS |
                             TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP,
                         0, 0, 400, 300, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

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

// A shared tree with its view in a control of this thread.
struct ViewedSetup {
  // The lines the tree holds, as ShownTree::Lines writes the control's.
  std::vector<std::string> TreeLines() const {
    std::vector<std::string> lines;
    for (NodeHandle group = tree.FirstGroup(); group != kNoNode; group = tree.Next(group)) {
      lines.push_back(tree.Text(group) + "#" + std::to_string(tree.GetMark(group)));
      for (NodeHandle file = tree.FirstFile(group); file != kNoNode; file = tree.Next(file)) {
        lines.push_back("  " + tree.Text(file) + "#" + std::to_string(tree.GetMark(file)));
      }
    }
    return lines;
  }

  // The control shows the tree: the same nodes in the same order with the
  // same texts and marks, each item standing for its node, the same groups
  // expanded and the same node selected.
  void ExpectControlShowsTree() const {
    const ShownTree shown(control.Handle());
    EXPECT_EQ(shown.Lines(), TreeLines());
    for (NodeHandle group = tree.FirstGroup(); group != kNoNode; group = tree.Next(group)) {
      EXPECT_EQ(view.NodeOf(view.ItemOf(group)), group);
      EXPECT_EQ(shown.Expanded(view.ItemOf(group)), tree.IsExpanded(group)) << tree.Text(group);
    }
    EXPECT_EQ(view.NodeOf(shown.Selected()), tree.Selected());
  }

  OwnedWindow parent{CreateParent()};
  OwnedWindow control{CreateControl(parent.Handle())};
  SharedResultTree tree;
  ResultTreeView view{control.Handle(), tree};
};

// Every change goes to the shared tree and the view syncs at once; every
// reading comes back from the control, through the items' nodes.
class ViewedTree final : public ResultTree {
 public:
  explicit ViewedTree(ViewedSetup& setup) : setup_(setup), shown_(setup.control.Handle()) {}

  NodeHandle AddGroup(std::string_view key) override { return Synced(tree().AddGroup(key)); }
  NodeHandle AddFile(NodeHandle group, std::string_view path) override {
    return Synced(tree().AddFile(group, path));
  }
  void Expand(NodeHandle group) override {
    Synced(Do([&] { tree().Expand(group); }));
  }
  void PutImage(NodeHandle node, int mark) override {
    Synced(Do([&] { tree().PutImage(node, mark); }));
  }
  void Delete(NodeHandle node) override {
    Synced(Do([&] { tree().Delete(node); }));
  }
  void Clear() override {
    Synced(Do([&] { tree().Clear(); }));
  }
  void Select(NodeHandle node) override {
    Synced(Do([&] { tree().Select(node); }));
  }
  void ScrollToTop(NodeHandle node) override {
    Synced(Do([&] { tree().ScrollToTop(node); }));
  }

  NodeHandle FirstGroup() const override { return Node(shown_.FirstGroup()); }
  NodeHandle Next(NodeHandle node) const override { return Node(shown_.Next(Item(node))); }
  NodeHandle FirstFile(NodeHandle group) const override { return Node(shown_.FirstFile(Item(group))); }
  NodeHandle Parent(NodeHandle node) const override { return Node(shown_.Parent(Item(node))); }
  NodeHandle Selected() const override { return Node(shown_.Selected()); }
  uint32_t ItemData(NodeHandle node) const override {
    const HTREEITEM item = Item(node);
    return item != nullptr && shown_.Parent(item) == nullptr ? kGroupItemData : 0;
  }
  int GetMark(NodeHandle node) const override { return Item(node) ? shown_.Mark(Item(node)) : MarkNone; }
  std::string Text(NodeHandle node) const override { return shown_.Text(Item(node)); }
  size_t Count() const override { return shown_.Count(); }
  bool IsExpanded(NodeHandle group) const override { return shown_.Expanded(Item(group)); }
  MarkCounts FileMarks(NodeHandle group) const override {
    MarkCounts counts{};
    for (HTREEITEM file = shown_.FirstFile(Item(group)); file != nullptr; file = shown_.Next(file)) {
      ++counts[static_cast<size_t>(shown_.Mark(file))];
    }
    return counts;
  }

 private:
  SharedResultTree& tree() { return setup_.tree; }
  template <typename Action>
  int Do(Action action) {
    action();
    return 0;
  }
  template <typename T>
  T Synced(T value) {
    setup_.view.Sync();
    return value;
  }
  HTREEITEM Item(NodeHandle node) const { return setup_.view.ItemOf(node); }
  NodeHandle Node(HTREEITEM item) const { return setup_.view.NodeOf(item); }

  ViewedSetup& setup_;
  ShownTree shown_;
};

}  // namespace

struct ViewedTreeMaker {
  ResultTree& Tree() { return tree; }

  ViewedSetup setup;
  ViewedTree tree{setup};
};

INSTANTIATE_TYPED_TEST_SUITE_P(ControlView, ResultTreeSuite, ViewedTreeMaker);

namespace {

// Carries out messages, those sent by other threads and the view's timer
// among them, until condition holds or 30 s have passed.
bool PumpUntil(const std::function<bool()>& condition) {
  const DWORD deadline = GetTickCount() + 30000;
  while (!condition()) {
    const DWORD now = GetTickCount();
    if (static_cast<LONG>(deadline - now) <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return true;
}

TEST(ResultTreeViewTest, CatchesUpWithAWorkerWhileItsThreadPumps) {
  ViewedSetup setup;
  ShowWindow(setup.parent.Handle(), SW_SHOWNOACTIVATE);
  setup.view.StartLiveSync();
  constexpr int kGroups = 300;
  std::atomic<bool> done{false};
  std::thread worker([&] {
    // What a scan does: groups opened with two files, later files appended,
    // every group expanded, the summaries put at the end.
    for (int i = 0; i < kGroups; ++i) {
      const NodeHandle group = setup.tree.AddGroup("(" + std::to_string(i) + ")ソフト");
      setup.tree.PutImage(setup.tree.AddFile(group, "C:\\表\\a" + std::to_string(i)), MarkNone);
      setup.tree.PutImage(setup.tree.AddFile(group, "C:\\能\\b" + std::to_string(i)), MarkNone);
      setup.tree.Expand(group);
      if (i % 3 == 0) setup.tree.AddFile(group, "C:\\c" + std::to_string(i));
    }
    for (NodeHandle group = setup.tree.FirstGroup(); group != kNoNode; group = setup.tree.Next(group)) {
      UpdateGroupSummary(setup.tree, group);
    }
    done = true;
  });
  // No sync is asked for: the live sync alone brings the control up to date.
  const size_t expected = kGroups * 3 + kGroups / 3;
  EXPECT_TRUE(PumpUntil([&] { return done && ShownTree(setup.control.Handle()).Count() == expected; }));
  worker.join();
  setup.view.StopLiveSync();
  setup.ExpectControlShowsTree();
}

TEST(ResultTreeViewTest, AnotherThreadCanHaveTheViewSyncedAndWaitForIt) {
  ViewedSetup setup;
  std::atomic<bool> done{false};
  size_t count_seen_by_worker = 0;
  std::thread worker([&] {
    const NodeHandle group = setup.tree.AddGroup("key");
    setup.tree.AddFile(group, "C:\\1");
    setup.tree.AddFile(group, "C:\\2");
    ResultTreeView::SyncFromAnyThread(setup.control.Handle());
    count_seen_by_worker = ShownTree(setup.control.Handle()).Count();
    done = true;
  });
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
  worker.join();
  EXPECT_EQ(count_seen_by_worker, 3u);
}

TEST(ResultTreeViewTest, TheTreeFollowsWhatTheUserSelectsAndCollapses) {
  ViewedSetup setup;
  const NodeHandle group = setup.tree.AddGroup("key");
  const NodeHandle file = setup.tree.AddFile(group, "C:\\1");
  setup.tree.AddFile(group, "C:\\2");
  setup.tree.Expand(group);
  setup.view.Sync();

  // A click on the file: the control selects it and tells its parent.
  TreeView_SelectItem(setup.control.Handle(), setup.view.ItemOf(file));
  EXPECT_EQ(setup.tree.Selected(), file);
  // Left on a file goes to its group; Left on an expanded group collapses it.
  SetFocus(setup.control.Handle());
  SendMessageW(setup.control.Handle(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(setup.tree.Selected(), group);
  SendMessageW(setup.control.Handle(), WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_FALSE(setup.tree.IsExpanded(group));
  // Nothing of it comes back as a change to repeat.
  EXPECT_TRUE(setup.tree.TakeChanges().empty());
  setup.ExpectControlShowsTree();
}

TEST(ResultTreeViewTest, ShowsExclusionAndMarkingAsTheyChangeTheTree) {
  ViewedSetup setup;
  KeyIndex index;
  // Groups registered as a scan does (the paths name no file), marked raw.
  const auto add = [&](std::string_view key, const std::vector<std::string>& paths,
                       const std::vector<int>& marks) {
    for (const std::string& path : paths) index.Register(key, path, setup.tree, SystemFileSystem());
    const NodeHandle group = index.Find(key)->group;
    size_t position = 0;
    for (NodeHandle file = setup.tree.FirstFile(group); file != kNoNode; file = setup.tree.Next(file)) {
      setup.tree.PutImage(file, marks[position++]);
    }
    UpdateGroupSummary(setup.tree, group);
    return group;
  };
  add("A", {"C:\\a\\1", "C:\\a\\2"}, {MarkDuplicate, MarkDuplicate});
  add("B", {"C:\\b\\1", "C:\\b\\2", "C:\\b\\3"}, {MarkDuplicate, MarkNone, MarkNone});
  add("D", {"C:\\表\\1", "C:\\表\\2"}, {MarkUnique, MarkDuplicate});
  add("K", {"C:\\表\\a.txt", "C:\\表示\\a.txt"}, {MarkNone, MarkNone});
  setup.tree.Select(setup.tree.FirstFile(setup.tree.FirstGroup()));
  setup.view.Sync();
  setup.ExpectControlShowsTree();

  EXPECT_EQ(ExcludeByMark(index, setup.tree, MarkDuplicate), (ExclusionCounts{4, 1, 1}));
  EXPECT_EQ(MarkByDirectory(setup.tree, {"c:\\表", false, MarkDelete, false}), 2);
  BulkMark(setup.tree, {MarkCopy, BulkTarget::kChosenMark, MarkNone, false});
  setup.view.Sync();
  setup.ExpectControlShowsTree();
  EXPECT_EQ(ShownTree(setup.control.Handle()).Lines(),
            (std::vector<std::string>{"B#6", "  C:\\b\\2#6", "  C:\\b\\3#6", "D#5", "  C:\\表\\1#5", "K#5",
                                      "  C:\\表\\a.txt#5", "  C:\\表示\\a.txt#6"}));
}

TEST(ResultTreeViewTest, ScrollsANodeToTheTopWithoutSelectingIt) {
  ViewedSetup setup;
  std::vector<NodeHandle> groups;
  for (int i = 0; i < 60; ++i) {
    const NodeHandle group = setup.tree.AddGroup("key" + std::to_string(i));
    setup.tree.AddFile(group, "C:\\a" + std::to_string(i));
    setup.tree.AddFile(group, "C:\\b" + std::to_string(i));
    setup.tree.Expand(group);
    groups.push_back(group);
  }
  const auto first_visible = [&] {
    setup.view.Sync();
    return setup.view.NodeOf(TreeView_GetFirstVisible(setup.control.Handle()));
  };
  setup.tree.ScrollToTop(groups[0]);
  ASSERT_EQ(first_visible(), groups[0]);
  setup.tree.ScrollToTop(groups[20]);
  EXPECT_EQ(first_visible(), groups[20]);
  setup.tree.ScrollToTop(setup.tree.FirstFile(groups[5]));
  EXPECT_EQ(first_visible(), setup.tree.FirstFile(groups[5]));
  EXPECT_EQ(setup.tree.Selected(), kNoNode);
}

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                              DWORD_PTR count) {
  ++*reinterpret_cast<int*>(count);
  return DefSubclassProc(window, message, wparam, lparam);
}

// The view hooks the control and its parent; gone, it leaves both working,
// whether it could put their procedures back or another hook came in front
// of its own since.
TEST(ResultTreeViewTest, LeavesTheControlAndItsParentWorkingWhenItGoes) {
  OwnedWindow parent{CreateParent()};
  OwnedWindow control{CreateControl(parent.Handle())};
  const LONG_PTR control_procedure = GetWindowLongPtrW(control.Handle(), GWLP_WNDPROC);
  const LONG_PTR parent_procedure = GetWindowLongPtrW(parent.Handle(), GWLP_WNDPROC);
  SharedResultTree tree;
  {
    ResultTreeView view(control.Handle(), tree);
    tree.AddFile(tree.AddGroup("A"), "C:\\a");
    view.Sync();
  }
  EXPECT_EQ(GetWindowLongPtrW(control.Handle(), GWLP_WNDPROC), control_procedure);
  EXPECT_EQ(GetWindowLongPtrW(parent.Handle(), GWLP_WNDPROC), parent_procedure);

  // A later hook in front of the view's: both windows still pass every
  // message on after the view is gone, to the end of their lives.
  int control_messages = 0;
  const SUBCLASSPROC counter = &CountingProc;
  {
    ResultTreeView view(control.Handle(), tree);
    SetWindowSubclass(control.Handle(), counter, 1, reinterpret_cast<DWORD_PTR>(&control_messages));
    tree.AddFile(tree.AddGroup("B"), "C:\\b");
    view.Sync();
  }
  const ShownTree shown(control.Handle());
  EXPECT_EQ(shown.Lines(), (std::vector<std::string>{"A#0", "  C:\\a#0", "B#0", "  C:\\b#0"}));
  const int before = control_messages;
  TreeView_DeleteAllItems(control.Handle());
  EXPECT_GT(control_messages, before);
  EXPECT_EQ(shown.Count(), 0u);
  EXPECT_EQ(SendMessageW(parent.Handle(), WM_GETTEXTLENGTH, 0, 0), 9) << "view test";
  RemoveWindowSubclass(control.Handle(), counter, 1);
}

}  // namespace
}  // namespace twinseek::testing
