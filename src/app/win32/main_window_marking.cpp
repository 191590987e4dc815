// The result tree's interaction and the marking commands: the selection's
// kind, the mark buttons and menu items, Delete, Insert and Space, the
// double click, the context menu, opening a file, and marking in bulk, by
// folder and one of each group.
#include "app/win32/main_window.h"

#include "base/win32/dialog_controls.h"
#include "base/win32/wide_text.h"
#include "resources/main_window_ids.h"
#include "tree/bulk_mark.h"
#include "tree/folder_marking.h"
#include "tree/mark_commands.h"
#include "tree/win32/bulk_mark_dialog.h"
#include "tree/win32/directory_mark_dialog.h"

namespace twinseek {
namespace {

// A group's "完全比較" in the context menu needs three files or more.
constexpr int kFilesForComparisonItem = 3;

int CountFiles(const ResultTree& tree, NodeHandle group) {
  int count = 0;
  for (NodeHandle file = tree.FirstFile(group); file != kNoNode; file = tree.Next(file)) ++count;
  return count;
}

void AppendItem(HMENU menu, UINT id, const char* text, UINT flags = MF_STRING) {
  AppendMenuW(menu, flags, id, Cp932ToWide(text).c_str());
}

}  // namespace

std::optional<INT_PTR> MainWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom != IDC_MAIN_TREE) return std::nullopt;
  LRESULT result = 0;
  switch (header.code) {
    case TVN_SELCHANGEDW:
    case TVN_SELCHANGEDA:  // the same layout but for the text, which is not read
      OnSelectionChanged(reinterpret_cast<const NMTREEVIEWW&>(header));
      break;
    case TVN_KEYDOWN:
      result = OnTreeKey(reinterpret_cast<const NMTVKEYDOWN&>(header).wVKey);
      SyncView();
      break;
    case NM_DBLCLK:
      result = OnTreeDoubleClick();
      SyncView();
      break;
    case NM_RCLICK:
      ShowTreeMenu();
      break;
    default:
      return std::nullopt;
  }
  return result;
}

// The selection's kind follows every change of the tree's selection, and a
// selected file is shown in the file information window while its box is
// ticked.
void MainWindow::OnSelectionChanged(const NMTREEVIEWW& change) {
  const NodeHandle node = view_->NodeOf(change.itemNew.hItem);
  selection_ = SelectionKindOf(tree_, node);
  if (selection_ == SelectionKind::kFile && Checked(Control(IDC_MAIN_CHECK_SHOW_INFO))) {
    file_info_.ShowFile(tree_.Text(node));
  }
  UpdateControls();
}

// Delete, Insert and Space mark the selected node; answering them keeps them
// out of the tree's incremental search. Every other key is the tree's.
LRESULT MainWindow::OnTreeKey(WORD key) {
  switch (key) {
    case VK_DELETE:
      MarkSelected(tree_, MarkDelete);
      return 1;
    case VK_INSERT:
      MarkSelected(tree_, MarkCopy);
      return 1;
    case VK_SPACE:
      MarkSelected(tree_, kNextMark);
      return 1;
    default:
      return 0;
  }
}

// A double click cycles the mark of the node it selected; answered, so the
// group is not expanded or collapsed as well.
LRESULT MainWindow::OnTreeDoubleClick() {
  if (tree_.Selected() == kNoNode) return 0;
  MarkSelected(tree_, kNextMark);
  return 1;
}

// The context menu of the node under the pointer (or of the selected node
// when the click was on no node): the five marks, and for a group the full
// comparison, available from three files on.
void MainWindow::ShowTreeMenu() {
  POINT position;
  GetCursorPos(&position);
  NodeHandle node = view_->NodeOf(TreeView_GetDropHilight(Control(IDC_MAIN_TREE)));
  if (node != kNoNode) tree_.Select(node);
  node = tree_.Selected();
  if (node == kNoNode) return;
  tree_.Select(node);
  SyncView();

  const OwnedMenu owned(CreatePopupMenu());
  const HMENU menu = owned.get();
  AppendItem(menu, IDM_EDIT_MARK_NONE, "解除");
  AppendItem(menu, IDM_EDIT_MARK_DUPLICATE, "重複");
  AppendItem(menu, IDM_EDIT_MARK_UNIQUE, "非重複");
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendItem(menu, IDM_EDIT_MARK_DELETE, "削除マーク");
  AppendItem(menu, IDM_EDIT_MARK_COPY, "コピーマーク");
  if (tree_.ItemData(node) != 0) {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    const bool enough = CountFiles(tree_, node) >= kFilesForComparisonItem;
    AppendItem(menu, IDC_MAIN_BUTTON_FULL_COMPARE, "完全比較", MF_STRING | (enough ? 0 : MF_GRAYED));
  }
  TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, position.x, position.y, 0, window(), nullptr);
}

// Opens the selected file with its type's default action; a group or no
// selection does nothing, and a failure is not reported.
void MainWindow::OpenSelectedFile() {
  const NodeHandle node = tree_.Selected();
  if (SelectionKindOf(tree_, node) != SelectionKind::kFile) return;
  ShellExecuteW(window(), nullptr, Cp932ToWide(tree_.Text(node)).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MainWindow::BulkMarkCommand() {
  BulkMarkRequest request;
  BulkMarkDialog dialog(&setup_.prompter);
  if (dialog.Run(window(), request)) BulkMark(tree_, request);
}

void MainWindow::MarkByDirectoryCommand() {
  DirectoryMarkRequest request;
  DirectoryMarkDialog dialog(setup_.prompter);
  if (!dialog.Run(window(), request)) return;
  const int count = MarkByDirectory(tree_, request);
  setup_.prompter.ShowMessage(window(), MatchedFilesMessage(count), {}, MB_OK);
}

}  // namespace twinseek
