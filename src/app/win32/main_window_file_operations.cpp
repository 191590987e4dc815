// The file operations of the main window: the files marked for deletion
// sent to the recycle bin or moved into one folder, the files marked for
// copying copied into one folder. Before a delete or a move, groups whose
// every file is marked for deletion are named in one question, and No does
// nothing. After a delete or a move only the files really gone from their
// paths leave the results; a file still in its place keeps its mark and its
// group, and every failure is reported.
#include "app/win32/main_window.h"

#include "base/win32/wait_cursor.h"
#include "fileops/file_operation_texts.h"
#include "fileops/last_copy_guard.h"
#include "fileops/marked_path_list.h"
#include "fileops/transfer.h"
#include "fileops/win32/move_target_dialog.h"
#include "fileops/win32/recycle_bin.h"
#include "fileops/win32/transfer_dialog.h"
#include "resources/main_window_ids.h"
#include "tree/exclusion.h"

namespace twinseek {

namespace {

// True when no group would lose every file, or the user goes on all the same.
bool LastCopiesConfirmed(Prompter& prompter, HWND owner, const ResultTree& tree, MarkedFilesAction action) {
  const std::optional<std::string> question = LastCopyQuestion(tree, action);
  return !question ||
         prompter.ShowMessage(owner, *question, {}, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) == IDYES;
}

}  // namespace

void MainWindow::DeleteCommand() {
  const auto paths = MarkedPathList(tree_, MarkDelete);
  if (!paths) {
    setup_.prompter.ShowMessage(window(), kNothingToDeleteMessage, {}, MB_OK);
    return;
  }
  if (!LastCopiesConfirmed(setup_.prompter, window(), tree_, MarkedFilesAction::kDelete)) return;
  DeleteToRecycleBin(window(), *paths);
  ExcludeGoneFiles();
}

void MainWindow::MoveCommand() {
  const auto paths = MarkedPathList(tree_, MarkDelete);
  if (!paths) {
    setup_.prompter.ShowMessage(window(), kNothingToMoveMessage, {}, MB_OK);
    return;
  }
  if (!LastCopiesConfirmed(setup_.prompter, window(), tree_, MarkedFilesAction::kMove)) return;
  MoveTargetDialog dialog(setup_.prompter, setup_.file_system);
  const std::optional<std::string> folder = dialog.Run(window());
  if (!folder) return;
  TransferDialog transfer(setup_.file_system, &setup_.prompter);
  ReportTransfer(transfer.Run(window(), *paths, *folder, TransferKind::kMove), TransferKind::kMove);
  ExcludeGoneFiles();
}

void MainWindow::CopyCommand() {
  const auto paths = MarkedPathList(tree_, MarkCopy);
  if (!paths) {
    setup_.prompter.ShowMessage(window(), kNothingToCopyMessage, {}, MB_OK);
    return;
  }
  std::string folder;
  if (!setup_.prompter.ChooseFolder(window(), folder, kChooseCopyFolderTitle)) return;
  TransferDialog transfer(setup_.file_system, &setup_.prompter);
  ReportTransfer(transfer.Run(window(), *paths, folder, TransferKind::kCopy), TransferKind::kCopy);
}

// The files that could not be moved or copied, one line each with the
// reason, in the report window.
void MainWindow::ReportTransfer(const TransferOutcome& outcome, TransferKind kind) {
  if (outcome.failed.empty() && !outcome.cancelled) return;
  setup_.prompter.ShowReport(window(), TransferFailureReport(outcome, kind));
}

// The delete-marked files that are gone from their paths leave the results,
// folding their groups, with the exclusion's report.
void MainWindow::ExcludeGoneFiles() {
  FileSystem& file_system = setup_.file_system;
  ExcludeCommand(MarkDelete, [&](const std::string& path) { return !file_system.GetAttributes(path); });
}

}  // namespace twinseek
