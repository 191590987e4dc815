// Narrowing and widening the results (exclusion by mark, the unique files)
// and the tree report.
#include "app/win32/main_window.h"

#include "base/win32/wait_cursor.h"
#include "report/tree_report.h"
#include "resources/main_window_ids.h"
#include "tree/exclusion.h"

namespace twinseek {

// Takes every file of one mark out of the results; the tree stays hidden
// until the report has been read. When nothing is left the conditions are
// free again, as after a reset.
void MainWindow::ExcludeCommand(int code, const PathTest& leaves) {
  WaitCursor wait;
  HWND tree = Control(IDC_MAIN_TREE);
  ShowWindow(tree, SW_HIDE);
  const ExclusionCounts counts = ExcludeByMark(index_, tree_, code, leaves);
  setup_.prompter.ShowMessage(window(), ExclusionReport(counts), {}, MB_OK);
  if (tree_.Count() == 0 && index_.empty()) EnableConditions(true);
  SyncView();
  ShowWindow(tree, SW_SHOW);
  UpdateControls();
}

void MainWindow::ShowUniqueFilesCommand() {
  WaitCursor wait;
  HWND tree = Control(IDC_MAIN_TREE);
  ShowWindow(tree, SW_HIDE);
  ShowUniqueFiles(index_, tree_);
  SyncView();
  ShowWindow(tree, SW_SHOW);
  UpdateControls();
}

void MainWindow::ReportCommand() {
  WaitCursor wait;
  const std::string report = BuildTreeReport(tree_);
  setup_.prompter.ShowReport(window(), report);
}

}  // namespace twinseek
