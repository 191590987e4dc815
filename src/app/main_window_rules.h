// The main window's decisions, apart from any window: which buttons, menu
// items and condition boxes are available, what the status line and the
// tree's label read, and what a close request does. Each is a pure function
// of a small snapshot of the window's state (MainWindowState), which the
// window takes afresh after every change (opening, reset, a worker's start
// and completion, an exclusion, a selection change) and applies to its
// controls. Texts are code page 932 bytes.
#pragma once

#include <array>
#include <string>

#include "tree/result_tree.h"

namespace twinseek {

// The state every decision reads. Counts are as the window finds them at the
// moment it decides.
struct MainWindowState {
  bool running = false;  // the running flag of the scan job (a worker is busy)
  int node_count = 0;    // groups and files in the result tree together
  int key_count = 0;     // entries of the key index
  int group_count = 0;   // key index entries that have a group in the tree
  int index_count = 0;   // the index counter (keys counted since the reset)
  int file_count = 0;    // the file counter (files registered since the reset)
  SelectionKind selection = SelectionKind::kNothing;
  bool file_info_ticked = false;  // the box "ファイルの情報を表示する(&I)"
};

// The status line: "%d/%didx %d/%dfiles(%ddup)" with the keys that have a
// group, the index counter, the file nodes (nodes less groups), the file
// counter, and the file nodes beyond the first of each group (nodes less
// twice the groups). "0/0idx 0/0files(0dup)" at the start and after a reset.
std::string StatusLineText(const MainWindowState& state);

// The label above the tree: "発見された重複の可能性のあるファイル(&L)" while the
// tree holds a node, else "ここにファイルをドロップします(&L)".
std::string TreeLabelText(const MainWindowState& state);

// The enabling of the buttons of the main window. The condition boxes are not
// among them: only ConditionEnabling decides those.
struct ButtonEnabling {
  bool search = false;          // "検索", the default button
  bool show_file_info = false;  // "ファイルの情報を表示する(&I)" (a check box)
  bool report = false;          // "レポート"
  bool exclude_unique = false;  // "非重複を除外(&X)"
  bool reset = false;           // "リセット(&R)"
  bool mark_none = false;       // "解除(&0)"
  bool mark_duplicate = false;  // "重複(&1)"
  bool mark_unique = false;     // "非重複(&2)"
  bool mark_delete = false;     // "削除(&3)"
  bool open = false;            // "開く(&O)"
  bool full_compare = false;    // "完全比較(&P)"
  bool quit = false;            // "終了"

  bool operator==(const ButtonEnabling&) const = default;
};

// What UpdateControls applies to the buttons: while a worker runs only
// "終了" is available; when idle, search and the file information box always
// are, the tree-dependent buttons need a node in the tree (or, for reset and
// the exclusion of non-duplicates, a node or a key), "開く(&O)" a selected
// file and "完全比較(&P)" a selected group.
ButtonEnabling DecideButtons(const MainWindowState& state);

// The enabling of the condition boxes and their frame.
struct ConditionEnabling {
  bool frame = false;            // group box "重複条件"
  bool name = false;             // "名前(&N)"
  bool extension = false;        // "拡張子(&E)"
  bool size = false;             // "サイズ(&S)"
  bool checksum = false;         // "CRC16(&B)"
  bool modified_date = false;    // "更新日(&D)"
  std::array<bool, 3> plugin{};  // "定義1" to "定義3", slots 1 to 3

  bool operator==(const ConditionEnabling&) const = default;
};

// What EnableConditions (on) applies: the frame and the five built-in boxes
// follow on; the box of plug-in slot n is enabled only when on is asked and
// the slot's library is loaded (plugin_loaded[n - 1]). Ticks are not touched.
ConditionEnabling DecideConditions(bool on, const std::array<bool, 3>& plugin_loaded);

// Whether the condition boxes are freed again once a worker has finished:
// only when it left the tree and the key index both empty (a scan that
// registered nothing, or was stopped before its first file), so that the
// user is not left with fixed conditions and no reset to free them. A scan
// that left any result keeps them fixed until a reset.
bool FreeConditionsAfterRun(const MainWindowState& state);

// Every command of the menu bar, in menu order (menu by menu, top to bottom,
// submenus in place). Separators and the submenus themselves are not
// commands.
enum class MenuCommand : int {
  // "ファイル(&F)"
  kSearch,  // "検索...(&S)"
  kReset,   // "リセット(&R)"
  // "ファイル操作(&F)" submenu
  kDeleteFiles,  // "ファイルの削除(&D)"
  kMoveFiles,    // "ファイルの移動(&M)"
  kCopyFiles,    // "ファイルのコピー(&C)"
  kExit,         // "終了(&X)"
  // "編集(&E)"
  kOpen,  // "開く(&O)"
  // "マークの設定(&S)" submenu
  kMarkNone,       // "&0 - 解除"
  kMarkDuplicate,  // "&1 - 重複"
  kMarkUnique,     // "&2 - 非重複"
  kMarkDelete,     // "&3 - 削除"
  kMarkCopy,       // "&4 - コピー"
  kBulkMark,       // "一括してマークを設定...(&M)"
  kFullCompare,    // "完全比較(&C)"
  kCompareAll,     // "すべてを完全比較(&F)"
  // "フラグによる一括除外(&D)" submenu
  kExcludeUnmarked,    // "&0 - フラグなしの除外"
  kExcludeDuplicates,  // "&1 - 重複の除外"
  kExcludeUnique,      // "&2 - 非重複の除外"
  // "ツール(&T)"
  kMarkByFolder,  // "特定ディレクトリを指定して一括してマーク(&F)"
  kPickOne,       // "重複ファイルを1つ抜き出してマーク(&M)"
  kReport,        // "レポート(&R)"
  // "表示(&V)"
  kThumbnail,        // "サムネイル(&T)"
  kShowUniqueFiles,  // "非重複も表示(&S)"
  // "ヘルプ(&H)"
  kHelp,   // "ヘルプ(&H)"
  kAbout,  // "バージョン情報(&A)"
};

inline constexpr int kMenuCommandCount = static_cast<int>(MenuCommand::kAbout) + 1;

// What UpdateMenuBar applies to every top-level menu: enabled while no worker
// runs, grey while one does.
bool MenuBarEnabled(const MainWindowState& state);

// Whether an item is greyed when its pop-up menu opens. These rules act while
// the window is idle (the whole menu bar is grey while a worker runs):
// deleting and moving files, the mark, bulk, comparison-of-all, folder,
// pick-one and report items and the exclusion of unmarked files and of
// duplicates need a node in the tree; copying files needs a selected file;
// "完全比較(&C)" a selected group; reset and the exclusion of non-duplicates a
// key in the index. Every other item has no rule and is never greyed.
bool MenuItemGreyed(MenuCommand command, const MainWindowState& state);

// Whether an item carries a check mark: only "サムネイル(&T)", exactly while the
// file information box is ticked.
bool MenuItemChecked(MenuCommand command, const MainWindowState& state);

// What a close request ("終了", "終了(&X)", Esc, the close box, Alt+F4) does.
enum class CloseAction {
  kRequestCancel,  // a worker runs: set its cancel flag, nothing else; the window stays
  kClose,          // idle: end the window
};

CloseAction DecideClose(const MainWindowState& state);

// Why a scan cannot start, if it cannot: the search command and a drop both
// refuse while a worker runs, then when no condition is ticked.
enum class ScanStartRefusal {
  kNone,
  kBusy,         // kBusyMessage, stop icon
  kNoCondition,  // kNoConditionMessage, exclamation icon
};

ScanStartRefusal DecideScanStart(const MainWindowState& state, bool any_condition);

inline constexpr const char* kBusyMessage = "重複検査中のため処理できません。";
inline constexpr const char* kNoConditionMessage = "重複条件をセットしてください";
// Shown when the help cannot be started.
inline constexpr const char* kHelpFailedMessage = "ﾍﾙﾌﾟの起動に失敗しました。";

// Whether Reset may run: only while no worker runs (a worker may be using the
// key index and the tree it empties). The command is ignored otherwise.
bool ResetAllowed(const MainWindowState& state);

}  // namespace twinseek
