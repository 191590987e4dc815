// The main window's command routing, and its commands: search, drop, the
// start and completion of the detection worker, reset, quit, help, About.
#include "app/win32/main_window.h"

#include <vector>

#include "app/help_route.h"
#include "app/win32/about_box.h"
#include "base/win32/dialog_controls.h"
#include "base/win32/wait_cursor.h"
#include "resources/main_window_ids.h"
#include "scan/dropped_files.h"
#include "scan/win32/drop_intake.h"
#include "scan/win32/scan_target_dialog.h"
#include "tree/folder_marking.h"
#include "tree/mark_commands.h"

namespace twinseek {

// Every command of the window: the id of its button or menu item (a menu
// item that runs a button's command carries the button's id), when it runs,
// and what it does. The commands on the results run only while no worker
// runs: their buttons are disabled and the menu bar grey meanwhile, and a
// stray one is ignored rather than let touch the tree or the key index. The
// comparison of all groups refuses by itself, with its message.
bool MainWindow::RouteCommand(int id) {
  enum When { kAlways, kWhenIdle };
  struct Command {
    int id;
    When when;
    void (*run)(MainWindow& self);
  };
  static constexpr Command kCommands[] = {
      {IDC_MAIN_BUTTON_SEARCH, kAlways, [](MainWindow& self) { self.SearchCommand(); }},
      {IDC_MAIN_BUTTON_RESET, kAlways, [](MainWindow& self) { self.Reset(); }},
      {IDC_MAIN_BUTTON_QUIT, kAlways, [](MainWindow& self) { self.QuitCommand(); }},
      {IDC_MAIN_BUTTON_THREAD_DONE, kAlways, [](MainWindow& self) { self.CompletionCommand(); }},
      {IDM_VIEW_THUMBNAIL, kAlways, [](MainWindow& self) { self.ThumbnailCommand(); }},
      {IDC_MAIN_CHECK_SHOW_INFO, kAlways, [](MainWindow& self) { self.ShowFileInfoClicked(); }},
      {IDM_HELP_CONTENTS, kAlways, [](MainWindow& self) { self.Help(HELP_FINDER, 0); }},
      {IDM_HELP_ABOUT, kAlways, [](MainWindow& self) { self.ShowAbout(); }},
      {IDM_EDIT_COMPARE_ALL, kAlways, [](MainWindow& self) { self.CompareAllGroups(); }},
      {IDM_EDIT_MARK_NONE, kWhenIdle, [](MainWindow& self) { MarkSelected(self.tree_, MarkNone); }},
      {IDM_EDIT_MARK_DUPLICATE, kWhenIdle, [](MainWindow& self) { MarkSelected(self.tree_, MarkDuplicate); }},
      {IDM_EDIT_MARK_UNIQUE, kWhenIdle, [](MainWindow& self) { MarkSelected(self.tree_, MarkUnique); }},
      {IDM_EDIT_MARK_DELETE, kWhenIdle, [](MainWindow& self) { MarkSelected(self.tree_, MarkDelete); }},
      {IDM_EDIT_MARK_COPY, kWhenIdle, [](MainWindow& self) { MarkSelected(self.tree_, MarkCopy); }},
      {IDM_EDIT_OPEN, kWhenIdle, [](MainWindow& self) { self.OpenSelectedFile(); }},
      {IDM_EDIT_BULK_MARK, kWhenIdle, [](MainWindow& self) { self.BulkMarkCommand(); }},
      {IDM_TOOLS_MARK_BY_FOLDER, kWhenIdle, [](MainWindow& self) { self.MarkByDirectoryCommand(); }},
      {IDM_TOOLS_PICK_ONE, kWhenIdle, [](MainWindow& self) { PickOneDuplicate(self.tree_); }},
      {IDM_EDIT_EXCLUDE_NONE, kWhenIdle, [](MainWindow& self) { self.ExcludeCommand(MarkNone); }},
      {IDM_EDIT_EXCLUDE_DUPLICATE, kWhenIdle, [](MainWindow& self) { self.ExcludeCommand(MarkDuplicate); }},
      {IDM_EDIT_EXCLUDE_UNIQUE, kWhenIdle, [](MainWindow& self) { self.ExcludeCommand(MarkUnique); }},
      {IDM_VIEW_SHOW_UNIQUE, kWhenIdle, [](MainWindow& self) { self.ShowUniqueFilesCommand(); }},
      {IDM_TOOLS_REPORT, kWhenIdle, [](MainWindow& self) { self.ReportCommand(); }},
      {IDM_EDIT_FULL_COMPARE, kWhenIdle, [](MainWindow& self) { self.CompareSelectedGroup(); }},
      {IDM_FILE_DELETE, kWhenIdle, [](MainWindow& self) { self.DeleteCommand(); }},
      {IDM_FILE_MOVE, kWhenIdle, [](MainWindow& self) { self.MoveCommand(); }},
      {IDM_FILE_COPY, kWhenIdle, [](MainWindow& self) { self.CopyCommand(); }},
  };
  for (const Command& command : kCommands) {
    if (command.id != id) continue;
    if (command.when == kWhenIdle && job_.running != 0) return false;
    command.run(*this);
    return true;
  }
  return false;
}

// Refuses a search or a drop while a worker runs or when no condition is
// ticked, with its message; true when refused.
bool MainWindow::RefuseScanStart() {
  switch (DecideScanStart(State(), conditions_.Any())) {
    case ScanStartRefusal::kBusy:
      setup_.prompter.ShowMessage(window(), kBusyMessage, {}, MB_OK | MB_ICONSTOP);
      return true;
    case ScanStartRefusal::kNoCondition:
      setup_.prompter.ShowMessage(window(), kNoConditionMessage, {}, MB_OK | MB_ICONEXCLAMATION);
      return true;
    case ScanStartRefusal::kNone:
      return false;
  }
  return true;
}

void MainWindow::SearchCommand() {
  ReadConditions();
  if (RefuseScanStart()) return;
  ScanTargetDialog dialog(criteria_, setup_.prompter, setup_.file_system);
  if (!dialog.Run(window(), job_.scan_list) || job_.scan_list.empty()) return;
  EnableConditions(false);
  // The plug-ins are prepared at the first scan after a reset only.
  if (index_.empty()) plugins_.PrepareFirstScan(conditions_.plugins);
  StartDetection();
}

void MainWindow::OnDropFiles(HDROP dropped) {
  OwnedDrop drop(dropped);
  ReadConditions();
  if (RefuseScanStart()) return;
  const std::vector<DroppedItem> items = QueryDroppedPaths(drop.get());
  {
    WaitCursor wait;
    job_.scan_list = CollectDroppedItems(
        setup_.file_system, items,
        [&] {
          return setup_.prompter.ShowMessage(window(), kFolderDropQuestion, kFolderDropCaption,
                                             MB_YESNO | MB_ICONQUESTION) == IDYES;
        },
        &EscapeKeyDown);
  }
  drop.reset();
  if (job_.scan_list.empty()) return;
  EnableConditions(false);
  StartDetection();
}

// Sets the job running and starts a worker with start, which makes it and
// answers whether its thread runs; the button "終了" takes the focus, so
// Enter or Space asks to stop. A worker that did not start leaves the window
// as it was.
void MainWindow::RunWorker(const std::function<bool()>& start) {
  job_.running = 1;
  job_.cancel = 0;
  UpdateControls();
  UpdateMenuBar();
  view_->StartLiveSync();
  if (!start()) {
    view_->StopLiveSync();
    job_.running = 0;
    UpdateControls();
    UpdateMenuBar();
    return;
  }
  FocusControl(IDC_MAIN_BUTTON_QUIT);
}

// The detection worker on the job's scan list.
void MainWindow::StartDetection() {
  RunWorker([this] {
    DetectionSetup setup{conditions_, setup_.load_limit_kb, setup_.file_system, tree_, index_, plugins_};
    const DetectionWindows windows{window(),
                                   Control(IDC_MAIN_TREE),
                                   Control(IDC_MAIN_LABEL_TREE),
                                   Control(IDC_MAIN_STATUS),
                                   Control(IDC_MAIN_PROGRESS),
                                   IDC_MAIN_BUTTON_THREAD_DONE};
    worker_ = std::make_unique<DetectionWorker>(job_, setup, windows, setup_.prompter);
    if (worker_->Start()) return true;
    worker_.reset();
    return false;
  });
}

// A worker has ended: the buttons, menus and status line follow the new
// state, and the tree takes the focus. The conditions stay fixed, unless the
// run left no result at all: with nothing to reset they are freed at once.
void MainWindow::CompletionCommand() {
  worker_.reset();
  compare_worker_.reset();
  view_->StopLiveSync();
  if (FreeConditionsAfterRun(State())) EnableConditions(true);
  UpdateControls();
  UpdateMenuBar();
  FocusControl(IDC_MAIN_TREE);
}

// "終了", "終了(&X)" and Escape: stop a running worker, or close.
void MainWindow::QuitCommand() {
  if (DecideClose(State()) == CloseAction::kRequestCancel) {
    job_.cancel = 1;
    return;
  }
  End(IDCANCEL);
}

// Empties the results and frees the conditions, without asking.
void MainWindow::Reset() {
  if (!ResetAllowed(State())) return;
  WaitCursor wait;
  EnableConditions(true);
  tree_.Select(kNoNode);
  SyncView();
  HWND tree = Control(IDC_MAIN_TREE);
  ShowWindow(tree, SW_HIDE);
  tree_.Clear();
  SyncView();
  ShowWindow(tree, SW_SHOW);
  index_.Clear();
  file_info_.ShowFile({});
  UpdateControls();
  UpdateMenuBar();
}

// The help file with WinHelp where it exists, else (or when WinHelp fails)
// the manual page with its associated program; the message when neither
// starts. F1 asks for the control's popup in the help file; the manual opens
// at its start either way.
void MainWindow::Help(UINT command, DWORD_PTR data) {
  WaitCursor wait;
  HelpLauncher& launcher = setup_.help_launcher != nullptr ? *setup_.help_launcher : SystemHelpLauncher();
  const auto is_file = [&](const std::string& path) {
    const std::optional<uint32_t> attributes = setup_.file_system.GetAttributes(path);
    return !path.empty() && attributes && (*attributes & kAttributeDirectory) == 0;
  };
  const HelpFiles files{is_file(setup_.help_path), is_file(setup_.manual_path)};
  const bool started = StartHelp(files, [&](HelpViewer viewer) {
    return viewer == HelpViewer::kHelpFile ? launcher.ShowHelpFile(window(), setup_.help_path, command, data)
                                           : launcher.OpenManual(window(), setup_.manual_path);
  });
  if (!started) {
    setup_.prompter.ShowMessage(window(), kHelpFailedMessage, {}, MB_OK | MB_ICONEXCLAMATION);
  }
}

void MainWindow::ShowAbout() { AboutBox::Show(window(), setup_.prompter); }

// "サムネイル(&T)" flips the box "ファイルの情報を表示する(&I)" and acts as its click.
void MainWindow::ThumbnailCommand() {
  const HWND box = Control(IDC_MAIN_CHECK_SHOW_INFO);
  SetChecked(box, !Checked(box));
  SendMessageW(window(), WM_COMMAND, MAKEWPARAM(IDC_MAIN_CHECK_SHOW_INFO, BN_CLICKED),
               reinterpret_cast<LPARAM>(box));
}

}  // namespace twinseek
