#include "tree/win32/result_tree_view.h"

#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "base/win32/wide_text.h"

namespace twinseek {

namespace {

constexpr UINT_PTR kLiveSyncTimer = 0x7553;
constexpr UINT kLiveSyncMilliseconds = 100;
// Asks the view of a control to sync (sent, so the sender waits).
constexpr UINT kSyncMessage = WM_APP + 0x153;
// From this many insertions and deletions on, the control lays itself out
// once for the whole batch rather than after each of them.
constexpr size_t kQuietBatch = 8;

using Kind = TreeChange::Kind;

}  // namespace

// The control and its parent are hooked by replacing their window
// procedures rather than with SetWindowSubclass, which looks its data up with
// GetProp on every message: under Wine that is a round trip to the server,
// and a batch of changes costs the control and its parent several messages
// per item. The hooks are few (two per view), so a short list finds them.
// (One list for the process behind a lock, not one per thread: with the
// static runtime a thread_local with a destructor hangs the process at its
// exit.)
struct ResultTreeView::Hook {
  HWND window;
  WNDPROC original;
  ResultTreeView* view;  // null once the view is gone but the hook stays
};

class ResultTreeView::HookList {
 public:
  void Add(const Hook& hook) {
    const std::lock_guard<std::mutex> hold(mutex_);
    hooks_.push_back(hook);
  }

  std::optional<Hook> Find(HWND window) {
    const std::lock_guard<std::mutex> hold(mutex_);
    for (const Hook& hook : hooks_) {
      if (hook.window == window) return hook;
    }
    return std::nullopt;
  }

  // Puts the window's own procedure back, unless another one was put in
  // front of ours since: then ours stays and only passes messages on.
  void Detach(HWND window, WNDPROC procedure) {
    const std::lock_guard<std::mutex> hold(mutex_);
    for (auto hook = hooks_.begin(); hook != hooks_.end(); ++hook) {
      if (hook->window != window) continue;
      if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == procedure) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->original));
        hooks_.erase(hook);
      } else {
        hook->view = nullptr;
      }
      return;
    }
  }

  void Forget(HWND window) {
    const std::lock_guard<std::mutex> hold(mutex_);
    std::erase_if(hooks_, [window](const Hook& hook) { return hook.window == window; });
  }

 private:
  std::mutex mutex_;
  std::vector<Hook> hooks_;
};

ResultTreeView::HookList& ResultTreeView::Hooks() {
  static HookList hooks;
  return hooks;
}

void ResultTreeView::Attach(HWND window, WNDPROC procedure) {
  const auto original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
  Hooks().Add(Hook{window, original, this});
}

// Passes a message to the window's own procedure; the hook goes with the
// window.
LRESULT ResultTreeView::PassOn(const Hook& hook, UINT message, WPARAM wparam, LPARAM lparam) {
  const LRESULT result = CallWindowProcW(hook.original, hook.window, message, wparam, lparam);
  if (message == WM_NCDESTROY) Hooks().Forget(hook.window);
  return result;
}

ResultTreeView::ResultTreeView(HWND control, SharedResultTree& tree)
    : control_(control), parent_(GetParent(control)), tree_(tree) {
  Attach(control_, &ResultTreeView::ControlProc);
  Attach(parent_, &ResultTreeView::ParentProc);
}

ResultTreeView::~ResultTreeView() {
  if (live_) KillTimer(control_, kLiveSyncTimer);
  Hooks().Detach(control_, &ResultTreeView::ControlProc);
  Hooks().Detach(parent_, &ResultTreeView::ParentProc);
}

LRESULT CALLBACK ResultTreeView::ControlProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const std::optional<Hook> hook = Hooks().Find(window);
  if (!hook) return DefWindowProcW(window, message, wparam, lparam);
  if (ResultTreeView* view = hook->view) {
    if (message == kSyncMessage) {
      view->Sync();
      return 0;
    }
    if (message == WM_TIMER && wparam == kLiveSyncTimer) {
      // A hidden control (the tree during a scan) catches up when it shows
      // again: every batch costs the control a pass over all its items.
      if (IsWindowVisible(window)) view->Sync();
      return 0;
    }
  }
  return PassOn(*hook, message, wparam, lparam);
}

// The control's notifications reach its parent: the marks it asks for are
// answered here, and the tree follows the user's selection and expansion
// before the parent hears of them.
LRESULT CALLBACK ResultTreeView::ParentProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  const std::optional<Hook> hook = Hooks().Find(window);
  if (!hook) return DefWindowProcW(window, message, wparam, lparam);
  ResultTreeView* view = hook->view;
  if (view != nullptr && message == WM_NOTIFY &&
      reinterpret_cast<const NMHDR*>(lparam)->hwndFrom == view->control_) {
    const auto& header = *reinterpret_cast<const NMHDR*>(lparam);
    // The A and W forms of these notifications differ only in the text,
    // which is not read.
    switch (header.code) {
      case TVN_GETDISPINFOW:
      case TVN_GETDISPINFOA:
        view->AnswerMarks(*reinterpret_cast<NMTVDISPINFOW*>(lparam));
        return 0;
      case TVN_SELCHANGEDW:
      case TVN_SELCHANGEDA:
        view->tree_.SelectedInView(view->NodeOf(reinterpret_cast<const NMTREEVIEWW*>(lparam)->itemNew.hItem));
        break;
      case TVN_ITEMEXPANDEDW:
      case TVN_ITEMEXPANDEDA:
        view->FollowExpansion(*reinterpret_cast<const NMTREEVIEWW*>(lparam));
        break;
      default:
        break;
    }
  }
  return PassOn(*hook, message, wparam, lparam);
}

void ResultTreeView::SyncFromAnyThread(HWND control) { SendMessageW(control, kSyncMessage, 0, 0); }

void ResultTreeView::StartLiveSync() {
  live_ = SetTimer(control_, kLiveSyncTimer, kLiveSyncMilliseconds, nullptr) != 0;
}

void ResultTreeView::StopLiveSync() {
  if (live_) KillTimer(control_, kLiveSyncTimer);
  live_ = false;
  Sync();
}

void ResultTreeView::Sync() {
  if (syncing_) return;
  syncing_ = true;
  for (std::vector<TreeChange> changes = tree_.TakeChanges(); !changes.empty();
       changes = tree_.TakeChanges()) {
    Apply(std::move(changes));
  }
  syncing_ = false;
}

void ResultTreeView::Apply(std::vector<TreeChange> changes) {
  const ViewBatch batch = PlanViewBatch(std::move(changes));
  // While it redraws, the control lays itself out after every insertion: a
  // large batch goes in with the drawing off.
  quiet_ = batch.structural >= kQuietBatch;
  scroll_ = std::nullopt;
  if (quiet_) SendMessageW(control_, WM_SETREDRAW, FALSE, 0);
  for (const TreeChange& change : batch.changes) ApplyOne(change);
  if (quiet_) {
    SendMessageW(control_, WM_SETREDRAW, TRUE, 0);
    // Without its layout the control cannot scroll: the last scroll of the
    // batch (to a node, or to the selection) comes now.
    if (scroll_) {
      if (scroll_->to_top) {
        TreeView_SelectSetFirstVisible(control_, scroll_->item);
      } else {
        TreeView_EnsureVisible(control_, scroll_->item);
      }
    }
  }
  quiet_ = false;
  // Marks are read from the tree as the control draws.
  if (batch.marks || batch.structural >= kQuietBatch) InvalidateRect(control_, nullptr, TRUE);
}

NodeHandle ResultTreeView::NodeOf(HTREEITEM item) const {
  if (item == nullptr) return kNoNode;
  TVITEMW data{};
  data.mask = TVIF_PARAM;
  data.hItem = item;
  if (!SendMessageW(control_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return kNoNode;
  return static_cast<NodeHandle>(data.lParam);
}

HTREEITEM ResultTreeView::ItemOf(NodeHandle node) const {
  const auto found = items_.find(node);
  return found == items_.end() ? nullptr : found->second;
}

// The mark is not given: the control asks for it each time it draws
// (TVN_GETDISPINFO), so a mark changes without a message to the control.
HTREEITEM ResultTreeView::Insert(HTREEITEM parent, const TreeChange& change) {
  std::wstring text = Cp932ToWide(change.text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  insert.item.pszText = text.data();
  insert.item.lParam = static_cast<LPARAM>(change.node);
  insert.item.iImage = I_IMAGECALLBACK;
  insert.item.iSelectedImage = I_IMAGECALLBACK;
  const auto item = reinterpret_cast<HTREEITEM>(
      SendMessageW(control_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (item != nullptr) items_[change.node] = item;
  return item;
}

// Forgets a group's files before the control deletes them with it.
void ResultTreeView::Forget(HTREEITEM item) {
  for (HTREEITEM child = TreeView_GetChild(control_, item); child != nullptr;
       child = TreeView_GetNextSibling(control_, child)) {
    items_.erase(NodeOf(child));
  }
}

void ResultTreeView::ApplyOne(const TreeChange& change) {
  switch (change.kind) {
    case Kind::kDelete:
      if (HTREEITEM item = ItemOf(change.node)) {
        if (scroll_ && (scroll_->item == item || TreeView_GetParent(control_, scroll_->item) == item)) {
          scroll_ = std::nullopt;
        }
        Forget(item);
        items_.erase(change.node);
        TreeView_DeleteItem(control_, item);
      }
      return;
    case Kind::kClear:
      scroll_ = std::nullopt;
      TreeView_SelectItem(control_, nullptr);
      TreeView_DeleteAllItems(control_);
      items_.clear();
      return;
    case Kind::kSelect:
      TreeView_SelectItem(control_, ItemOf(change.node));
      if (quiet_ && ItemOf(change.node) != nullptr) scroll_ = Scroll{ItemOf(change.node), false};
      return;
    case Kind::kScrollToTop:
      if (HTREEITEM item = ItemOf(change.node)) {
        if (quiet_) {
          scroll_ = Scroll{item, true};
        } else {
          TreeView_SelectSetFirstVisible(control_, item);
        }
      }
      return;
    case Kind::kAddGroup:
      Insert(TVI_ROOT, change);
      return;
    case Kind::kAddFile:
      if (HTREEITEM group = ItemOf(change.parent)) Insert(group, change);
      return;
    case Kind::kExpand:
      if (HTREEITEM group = ItemOf(change.node)) TreeView_Expand(control_, group, TVE_EXPAND);
      return;
    case Kind::kMark:
      return;  // read from the tree as the control draws
  }
}

void ResultTreeView::AnswerMarks(NMTVDISPINFOW& request) const {
  if ((request.item.mask & (TVIF_IMAGE | TVIF_SELECTEDIMAGE)) == 0) return;
  const int mark = tree_.GetMark(static_cast<NodeHandle>(request.item.lParam));
  request.item.iImage = mark;
  request.item.iSelectedImage = mark;
}

void ResultTreeView::FollowExpansion(const NMTREEVIEWW& change) {
  const NodeHandle node = NodeOf(change.itemNew.hItem);
  if ((change.action & TVE_EXPAND) != 0) tree_.ExpandedInView(node, true);
  if ((change.action & TVE_COLLAPSE) != 0) tree_.ExpandedInView(node, false);
}

}  // namespace twinseek
