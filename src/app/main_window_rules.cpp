// The main window's decisions: enabling, texts and the closing rule.
#include "app/main_window_rules.h"

namespace twinseek {

namespace {

bool TreeHasNodes(const MainWindowState& state) { return state.node_count > 0; }

bool IndexHasKeys(const MainWindowState& state) { return state.key_count > 0; }

}  // namespace

std::string StatusLineText(const MainWindowState& state) {
  const int groups = state.group_count;
  const int file_nodes = state.node_count - groups;
  const int duplicates = state.node_count - 2 * groups;
  return std::to_string(groups) + "/" + std::to_string(state.index_count) + "idx " +
         std::to_string(file_nodes) + "/" + std::to_string(state.file_count) + "files(" +
         std::to_string(duplicates) + "dup)";
}

std::string TreeLabelText(const MainWindowState& state) {
  if (TreeHasNodes(state)) return "発見された重複の可能性のあるファイル(&L)";
  return "ここにファイルをドロップします(&L)";
}

ButtonEnabling DecideButtons(const MainWindowState& state) {
  ButtonEnabling buttons;
  buttons.quit = true;
  if (state.running) return buttons;

  const bool has_nodes = TreeHasNodes(state);
  const bool has_results = has_nodes || IndexHasKeys(state);
  buttons.search = true;
  buttons.show_file_info = true;
  buttons.report = has_nodes;
  buttons.exclude_unique = has_results;
  buttons.reset = has_results;
  buttons.mark_none = has_nodes;
  buttons.mark_duplicate = has_nodes;
  buttons.mark_unique = has_nodes;
  buttons.mark_delete = has_nodes;
  buttons.open = state.selection == SelectionKind::kFile;
  buttons.full_compare = state.selection == SelectionKind::kGroup;
  return buttons;
}

ConditionEnabling DecideConditions(bool on, const std::array<bool, 3>& plugin_loaded) {
  ConditionEnabling conditions;
  conditions.frame = on;
  conditions.name = on;
  conditions.extension = on;
  conditions.size = on;
  conditions.checksum = on;
  conditions.modified_date = on;
  for (size_t slot = 0; slot < conditions.plugin.size(); ++slot) {
    conditions.plugin[slot] = on && plugin_loaded[slot];
  }
  return conditions;
}

bool FreeConditionsAfterRun(const MainWindowState& state) {
  return !state.running && !TreeHasNodes(state) && !IndexHasKeys(state);
}

bool MenuBarEnabled(const MainWindowState& state) { return !state.running; }

bool MenuItemGreyed(MenuCommand command, const MainWindowState& state) {
  switch (command) {
    case MenuCommand::kDeleteFiles:
    case MenuCommand::kMoveFiles:
    case MenuCommand::kMarkNone:
    case MenuCommand::kMarkDuplicate:
    case MenuCommand::kMarkUnique:
    case MenuCommand::kMarkDelete:
    case MenuCommand::kMarkCopy:
    case MenuCommand::kBulkMark:
    case MenuCommand::kCompareAll:
    case MenuCommand::kExcludeUnmarked:
    case MenuCommand::kExcludeDuplicates:
    case MenuCommand::kMarkByFolder:
    case MenuCommand::kPickOne:
    case MenuCommand::kReport:
      return !TreeHasNodes(state);
    case MenuCommand::kCopyFiles:
      return state.selection != SelectionKind::kFile;
    case MenuCommand::kFullCompare:
      return state.selection != SelectionKind::kGroup;
    case MenuCommand::kReset:
    case MenuCommand::kExcludeUnique:
      return !IndexHasKeys(state);
    case MenuCommand::kSearch:
    case MenuCommand::kExit:
    case MenuCommand::kOpen:
    case MenuCommand::kThumbnail:
    case MenuCommand::kShowUniqueFiles:
    case MenuCommand::kHelp:
    case MenuCommand::kAbout:
      return false;
  }
  return false;
}

bool MenuItemChecked(MenuCommand command, const MainWindowState& state) {
  return command == MenuCommand::kThumbnail && state.file_info_ticked;
}

CloseAction DecideClose(const MainWindowState& state) {
  return state.running ? CloseAction::kRequestCancel : CloseAction::kClose;
}

bool ResetAllowed(const MainWindowState& state) { return !state.running; }

ScanStartRefusal DecideScanStart(const MainWindowState& state, bool any_condition) {
  if (state.running) return ScanStartRefusal::kBusy;
  if (!any_condition) return ScanStartRefusal::kNoCondition;
  return ScanStartRefusal::kNone;
}

}  // namespace twinseek
