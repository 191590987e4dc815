// The main window: a resizable dialog with the duplicate conditions, the
// command buttons, the result tree with its label, status line and progress
// bar, and the menu bar. It owns every long-lived object of a run of the
// program: the tree, the key index, the scan job, the plug-in slots, the
// criteria of the scan target dialog and the layout.
//
// The class is split by concern: main_window.cpp opens, closes and lays the
// window out; main_window_controls.cpp applies the enabling, texts and
// greying decided by main_window_rules to the controls and menus;
// main_window_commands.cpp routes every command through one table and
// carries out the window's own (search, drop, reset, completion, help,
// About); the files named below carry out the others.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/main_window_rules.h"
#include "app/win32/help_launcher.h"
#include "base/file_system.h"
#include "base/win32/dialog.h"
#include "base/win32/prompter.h"
#include "base/win32/unique_handle.h"
#include "base/win32/window_layout.h"
#include "scan/duplicate_key.h"
#include "scan/enumeration.h"
#include "scan/key_index.h"
#include "scan/plugin_slot.h"
#include "scan/scan_job.h"
#include "fileops/transfer.h"
#include "report/win32/file_info_window.h"
#include "scan/win32/detection_worker.h"
#include "tree/exclusion.h"
#include "verify/win32/full_compare_worker.h"
#include "tree/shared_result_tree.h"
#include "tree/win32/result_tree_view.h"
#include "tree/win32/view_syncing_prompter.h"

namespace twinseek {

// What the main window takes from the application.
struct MainWindowSetup {
  uint32_t load_limit_kb = 0;  // files above it get no checksum; 0: no limit
  std::string help_path;       // the help file beside the executable
  Prompter& prompter;
  FileSystem& file_system;
  PluginLoader& plugin_loader;
  std::string manual_path;                // the manual page beside the executable
  HelpLauncher* help_launcher = nullptr;  // null: WinHelp and the shell themselves
};

class MainWindow final : public Dialog {
 public:
  explicit MainWindow(const MainWindowSetup& setup);
  // Frees the key index, then releases and unloads the plug-ins, slots 3 to 1.
  ~MainWindow() override;

  // Runs the window as a modal dialog without owner; returns once it closed.
  void Run();

  // The private message with which the file information window reports the
  // new state of the box "ファイルの情報を表示する(&I)" (0 when it was closed).
  static constexpr UINT kFileInfoStateMessage = FileInfoWindow::kFileInfoStateMessage;

 private:
  // main_window.cpp: opening, layout, painting, closing, and the messages
  // that are no command.
  bool OnInit() override;
  bool OnCommand(int id, int code) override;
  void OnSize() override;
  void OnSizing(RECT& proposed) override;
  bool OnClose() override;
  std::optional<INT_PTR> OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void OnFault() override;
  void SetUpTreeImages();
  void PlaceBeside(HWND other);
  bool OnPaintMinimised();
  // The tree view catches up with the results (after each command).
  void SyncView();

  // main_window_controls.cpp: state, enabling, texts, menus.
  MainWindowState State() const;
  void UpdateControls();
  void UpdateMenuBar();
  void EnableConditions(bool on);
  void LoadPlugins();
  void ApplyMenuRules(HMENU popup);
  void ReadConditions();
  void PutConditions();
  void OnFileInfoState(WPARAM ticked);
  void ShowFileInfoClicked();

  // main_window_commands.cpp: routing, scans, reset, closing, help.
  bool RouteCommand(int id);
  void SearchCommand();
  void OnDropFiles(HDROP drop);
  bool RefuseScanStart();
  void RunWorker(const std::function<bool()>& start);
  void StartDetection();
  void CompletionCommand();
  void QuitCommand();
  void Reset();
  void Help(UINT command, DWORD_PTR data);
  void ShowAbout();
  void ThumbnailCommand();

  // main_window_marking.cpp: the tree's notifications and the commands that
  // mark files one by one or by rule.
  // The answer to a notification of the tree; nothing for any other.
  std::optional<INT_PTR> OnNotify(const NMHDR& header);
  void OnSelectionChanged(const NMTREEVIEWW& change);
  LRESULT OnTreeKey(WORD key);
  LRESULT OnTreeDoubleClick();
  void ShowTreeMenu();
  void OpenSelectedFile();
  void BulkMarkCommand();
  void MarkByDirectoryCommand();

  // main_window_results.cpp: narrowing and widening the results, and the
  // tree report.
  void ExcludeCommand(int code, const PathTest& leaves = {});
  void ShowUniqueFilesCommand();
  void ReportCommand();

  // main_window_file_operations.cpp: delete, move and copy of marked files.
  void DeleteCommand();
  void MoveCommand();
  void CopyCommand();
  void ReportTransfer(const TransferOutcome& outcome, TransferKind kind);
  void ExcludeGoneFiles();

  // main_window_comparison.cpp: the full comparison of one group or of all.
  void CompareSelectedGroup();
  void CompareAllGroups();

  // The view of tree_ (made when the window opens) and the prompt routine
  // that brings it up to date before anything is asked; setup_ holds that
  // routine in place of the one given.
  std::unique_ptr<ResultTreeView> view_;
  ViewSyncingPrompter prompter_;
  MainWindowSetup setup_;
  HICON icon_ = nullptr;  // shared: the system frees it
  OwnedImageList tree_images_;
  SelectionKind selection_ = SelectionKind::kNothing;
  WindowLayout layout_;
  ScanCriteria criteria_;
  ScanJob job_;
  KeyIndex index_;
  SharedResultTree tree_;
  FileInfoWindow file_info_;  // its own file system: files shared for reading and writing
  std::unique_ptr<DetectionWorker> worker_;
  std::unique_ptr<FullCompareWorker> compare_worker_;
  Conditions conditions_ = DefaultConditions();
  PluginSlots plugins_;
};

}  // namespace twinseek
