// The result tree in a real tree-view control: the shared suite on a control
// owned by the test thread, a worker thread driving the control while the
// test thread pumps, and scrolling a node to the top.
#include "tree/win32/tree_view_result_tree.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "tree/result_tree_suite.h"

namespace twinseek::testing {

namespace {

// A window destroyed with the object.
class Window {
 public:
  explicit Window(HWND handle) : handle_(handle) {}
  ~Window() {
    if (handle_ != nullptr) DestroyWindow(handle_);
  }
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  HWND Handle() const { return handle_; }

 private:
  HWND handle_;
};

// An event closed with the object.
class Event {
 public:
  Event() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Event() {
    if (handle_ != nullptr) CloseHandle(handle_);
  }
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;
  HANDLE Handle() const { return handle_; }

 private:
  HANDLE handle_;
};

HWND CreateHiddenParent() {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  return CreateWindowExW(0, L"STATIC", L"tree test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                         nullptr, GetModuleHandleW(nullptr), nullptr);
}

// The main window's tree: lines, buttons, lines at the root, the selection
// shown without focus.
HWND CreateTreeView(HWND parent) {
  RECT client{};
  GetClientRect(parent, &client);
  return CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                         WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS |
                             TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_DISABLEDRAGDROP,
                         0, 0, client.right, client.bottom, parent, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

// Carries out messages, also those sent by other threads, until the event
// is set.
void PumpUntil(HANDLE event) {
  for (;;) {
    const DWORD woken = MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_ALLINPUT);
    if (woken == WAIT_OBJECT_0) return;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
}

}  // namespace

struct TreeViewMaker {
  ResultTree& Tree() { return tree; }

  Window parent{CreateHiddenParent()};
  Window control{CreateTreeView(parent.Handle())};
  TreeViewResultTree tree{control.Handle()};
};

INSTANTIATE_TYPED_TEST_SUITE_P(TreeView, ResultTreeSuite, TreeViewMaker);

namespace {

TEST(TreeViewResultTreeTest, AWorkerBuildsAndReadsTheTreeWhileTheOwnerPumps) {
  TreeViewMaker maker;
  TreeViewResultTree& tree = maker.tree;
  const std::string key = "ソフト|1024|2001/02/03 04:05:06";
  const std::vector<std::string> paths = {"C:\\表示\\a.txt", "C:\\能力\\a.txt",
                                          "C:\\" + std::string(3000, 'x')};

  Event done;
  DWORD worker_thread = 0;
  NodeHandle group = kNoNode;
  std::vector<std::string> read_back;
  bool expanded = false;
  std::thread worker([&] {
    worker_thread = GetCurrentThreadId();
    group = tree.AddGroup(key);
    for (const std::string& path : paths) tree.AddFile(group, path);
    tree.Expand(group);
    expanded = tree.IsExpanded(group);
    read_back.push_back(tree.Text(group));
    for (NodeHandle file = tree.FirstFile(group); file != kNoNode; file = tree.Next(file)) {
      read_back.push_back(tree.Text(file));
    }
    SetEvent(done.Handle());
  });
  PumpUntil(done.Handle());
  worker.join();

  // The control belongs to this thread, so every call of the worker was a
  // message carried out here.
  EXPECT_EQ(GetWindowThreadProcessId(maker.control.Handle(), nullptr), GetCurrentThreadId());
  EXPECT_NE(worker_thread, GetCurrentThreadId());
  std::vector<std::string> expected = {key};
  expected.insert(expected.end(), paths.begin(), paths.end());
  EXPECT_EQ(read_back, expected);
  EXPECT_TRUE(expanded);
  EXPECT_EQ(tree.FirstGroup(), group);
  EXPECT_EQ(tree.Count(), 4u);
}

TEST(TreeViewResultTreeTest, ScrollsANodeToTheTop) {
  TreeViewMaker maker;
  TreeViewResultTree& tree = maker.tree;
  std::vector<NodeHandle> groups;
  for (int i = 0; i < 60; ++i) {
    const NodeHandle group = tree.AddGroup("key" + std::to_string(i));
    tree.AddFile(group, "C:\\a" + std::to_string(i));
    tree.AddFile(group, "C:\\b" + std::to_string(i));
    tree.Expand(group);
    groups.push_back(group);
  }
  const auto first_visible = [&] {
    return ToNodeHandle(TreeView_GetFirstVisible(maker.control.Handle()));
  };
  tree.ScrollToTop(groups[0]);
  ASSERT_EQ(first_visible(), groups[0]);
  tree.ScrollToTop(groups[20]);
  EXPECT_EQ(first_visible(), groups[20]);
  tree.ScrollToTop(tree.FirstFile(groups[5]));
  EXPECT_EQ(first_visible(), tree.FirstFile(groups[5]));
  EXPECT_EQ(tree.Selected(), kNoNode);
}

}  // namespace
}  // namespace twinseek::testing
