// The tree-view control that shows the result tree. The tree itself lives in
// SharedResultTree; the control only repeats its changes, on the control's
// own thread, in batches: after each command of the window (Sync), about ten
// times a second while a worker runs and the control is visible
// (StartLiveSync), and whenever another thread asks for it
// (SyncFromAnyThread: one message, not one per change). Nothing is ever read
// back from the control but which node the user selected, expanded or
// collapsed, which the tree then follows.
//
// Each item's lParam is the handle of its node in the tree. Texts go into the
// control as code page 932 converted to UTF-16 explicitly; marks are not
// stored in the control at all: it asks for them as it draws
// (TVN_GETDISPINFO), straight from the tree.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <optional>
#include <unordered_map>
#include <vector>

#include "tree/shared_result_tree.h"

namespace twinseek {

class ResultTreeView {
 public:
  // control: a tree-view control that outlives the view, with its parent;
  // it must be empty.
  ResultTreeView(HWND control, SharedResultTree& tree);
  ~ResultTreeView();
  ResultTreeView(const ResultTreeView&) = delete;
  ResultTreeView& operator=(const ResultTreeView&) = delete;

  HWND control() const { return control_; }

  // Repeats every change not shown yet (the control's thread only). A call
  // made while a sync runs (from a notification it caused) returns at once;
  // the running sync takes the new changes too.
  void Sync();
  // Syncs about ten times a second until StopLiveSync, which syncs once more.
  void StartLiveSync();
  void StopLiveSync();
  // Syncs the view of control on the control's thread and waits for it; any
  // thread may call it, the control's own included.
  static void SyncFromAnyThread(HWND control);

  // The node an item of the control shows (kNoNode for none), and the item
  // that shows a node (null for none).
  NodeHandle NodeOf(HTREEITEM item) const;
  HTREEITEM ItemOf(NodeHandle node) const;

 private:
  struct Hook;
  class HookList;
  static HookList& Hooks();
  static LRESULT PassOn(const Hook& hook, UINT message, WPARAM wparam, LPARAM lparam);
  void Attach(HWND window, WNDPROC procedure);
  static LRESULT CALLBACK ControlProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void AnswerMarks(NMTVDISPINFOW& request) const;
  void FollowExpansion(const NMTREEVIEWW& change);
  void Apply(std::vector<TreeChange> changes);
  void ApplyOne(const TreeChange& change);
  HTREEITEM Insert(HTREEITEM parent, const TreeChange& change);
  void Forget(HTREEITEM item);

  HWND control_;
  HWND parent_;
  SharedResultTree& tree_;
  std::unordered_map<NodeHandle, HTREEITEM> items_;
  bool syncing_ = false;
  bool live_ = false;
  // While a batch goes in with the drawing off: the scroll it asked for last.
  struct Scroll {
    HTREEITEM item;
    bool to_top;  // to the top of the view, or only into view (a selection)
  };
  bool quiet_ = false;
  std::optional<Scroll> scroll_;
};

}  // namespace twinseek
