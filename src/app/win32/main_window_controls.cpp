// The main window's controls and menus kept in step with its state: the
// decisions come from main_window_rules, this file only applies them.
#include "app/win32/main_window.h"

#include <utility>

#include "base/win32/dialog_controls.h"
#include "resources/main_window_ids.h"
#include "tree/mark_commands.h"

namespace twinseek {
namespace {

// The menu item of each command, in the order of MenuCommand.
constexpr int kMenuItemIds[kMenuCommandCount] = {
    IDM_FILE_SEARCH,
    IDM_FILE_RESET,
    IDM_FILE_DELETE,
    IDM_FILE_MOVE,
    IDM_FILE_COPY,
    IDM_FILE_EXIT,
    IDM_EDIT_OPEN,
    IDM_EDIT_MARK_NONE,
    IDM_EDIT_MARK_DUPLICATE,
    IDM_EDIT_MARK_UNIQUE,
    IDM_EDIT_MARK_DELETE,
    IDM_EDIT_MARK_COPY,
    IDM_EDIT_BULK_MARK,
    IDM_EDIT_FULL_COMPARE,
    IDM_EDIT_COMPARE_ALL,
    IDM_EDIT_EXCLUDE_NONE,
    IDM_EDIT_EXCLUDE_DUPLICATE,
    IDM_EDIT_EXCLUDE_UNIQUE,
    IDM_TOOLS_MARK_BY_FOLDER,
    IDM_TOOLS_PICK_ONE,
    IDM_TOOLS_REPORT,
    IDM_VIEW_THUMBNAIL,
    IDM_VIEW_SHOW_UNIQUE,
    IDM_HELP_CONTENTS,
    IDM_HELP_ABOUT,
};

constexpr int kPluginBoxes[kPluginSlotCount] = {IDC_MAIN_CHECK_PLUGIN1, IDC_MAIN_CHECK_PLUGIN2,
                                                IDC_MAIN_CHECK_PLUGIN3};

// The box of each built-in condition, with its place in the conditions and
// in their enabling.
struct ConditionBox {
  int id;
  bool Conditions::*ticked;
  bool ConditionEnabling::*enabled;
};
constexpr ConditionBox kConditionBoxes[] = {
    {IDC_MAIN_CHECK_NAME, &Conditions::name, &ConditionEnabling::name},
    {IDC_MAIN_CHECK_EXTENSION, &Conditions::extension, &ConditionEnabling::extension},
    {IDC_MAIN_CHECK_SIZE, &Conditions::size, &ConditionEnabling::size},
    {IDC_MAIN_CHECK_CRC, &Conditions::checksum, &ConditionEnabling::checksum},
    {IDC_MAIN_CHECK_DATE, &Conditions::date, &ConditionEnabling::modified_date},
};

// Whether popup is one of the menu bar's pop-up menus (at any depth), not
// the tree's context menu, which has rules of its own.
bool IsPartOf(HMENU menu, HMENU popup) {
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    HMENU sub = GetSubMenu(menu, position);
    if (sub != nullptr && (sub == popup || IsPartOf(sub, popup))) return true;
  }
  return false;
}

}  // namespace

MainWindowState MainWindow::State() const {
  MainWindowState state;
  state.running = job_.running != 0;
  state.selection = selection_;
  state.file_info_ticked = Checked(Control(IDC_MAIN_CHECK_SHOW_INFO));
  // While a worker runs it is the only user of the key index and the
  // counters; the tree takes its lock for the count.
  state.node_count = static_cast<int>(tree_.Count());
  if (!state.running) {
    state.key_count = static_cast<int>(index_.size());
    state.index_count = index_.IndexCount();
    state.file_count = index_.FileCount();
    state.group_count = index_.GroupCount();
  }
  return state;
}

void MainWindow::UpdateControls() {
  const MainWindowState state = State();
  const ButtonEnabling buttons = DecideButtons(state);
  const std::pair<int, bool> enabling[] = {
      {IDC_MAIN_BUTTON_SEARCH, buttons.search},
      {IDC_MAIN_CHECK_SHOW_INFO, buttons.show_file_info},
      {IDC_MAIN_BUTTON_REPORT, buttons.report},
      {IDC_MAIN_BUTTON_EXCLUDE_UNIQUE, buttons.exclude_unique},
      {IDC_MAIN_BUTTON_RESET, buttons.reset},
      {IDC_MAIN_BUTTON_MARK_NONE, buttons.mark_none},
      {IDC_MAIN_BUTTON_MARK_DUPLICATE, buttons.mark_duplicate},
      {IDC_MAIN_BUTTON_MARK_UNIQUE, buttons.mark_unique},
      {IDC_MAIN_BUTTON_MARK_DELETE, buttons.mark_delete},
      {IDC_MAIN_BUTTON_OPEN, buttons.open},
      {IDC_MAIN_BUTTON_FULL_COMPARE, buttons.full_compare},
      {IDC_MAIN_BUTTON_QUIT, buttons.quit},
  };
  for (const auto& [id, enabled] : enabling) EnableWindow(Control(id), enabled);
  SetControlText(Control(IDC_MAIN_LABEL_TREE), TreeLabelText(state));
  // The counts are only read while no worker holds them.
  if (!state.running) SetControlText(Control(IDC_MAIN_STATUS), StatusLineText(state));
}

void MainWindow::UpdateMenuBar() {
  HMENU menu = GetMenu(window());
  const UINT enabling = MenuBarEnabled(State()) ? MF_ENABLED : MF_GRAYED;
  const int count = GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    EnableMenuItem(menu, static_cast<UINT>(position), MF_BYPOSITION | enabling);
  }
  RedrawWindow(window(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
}

void MainWindow::EnableConditions(bool on) {
  std::array<bool, kPluginSlotCount> loaded{};
  for (int slot = 1; slot <= kPluginSlotCount; ++slot) loaded[slot - 1] = plugins_.Loaded(slot);
  const ConditionEnabling enabling = DecideConditions(on, loaded);
  EnableWindow(Control(IDC_MAIN_GROUP_CONDITIONS), enabling.frame);
  for (const ConditionBox& box : kConditionBoxes) EnableWindow(Control(box.id), enabling.*box.enabled);
  for (int slot = 0; slot < kPluginSlotCount; ++slot) {
    EnableWindow(Control(kPluginBoxes[slot]), enabling.plugin[slot]);
  }
}

// Greys and checks the items of a pop-up menu as it opens.
void MainWindow::ApplyMenuRules(HMENU popup) {
  if (!IsPartOf(GetMenu(window()), popup)) return;
  const MainWindowState state = State();
  for (int i = 0; i < kMenuCommandCount; ++i) {
    const auto command = static_cast<MenuCommand>(i);
    const UINT id = static_cast<UINT>(kMenuItemIds[i]);
    EnableMenuItem(popup, id, MF_BYCOMMAND | (MenuItemGreyed(command, state) ? MF_GRAYED : MF_ENABLED));
    CheckMenuItem(popup, id, MF_BYCOMMAND | (MenuItemChecked(command, state) ? MF_CHECKED : MF_UNCHECKED));
  }
}

// Loads the plug-ins; each box of a slot with a title shows it.
void MainWindow::LoadPlugins() {
  plugins_.LoadAll(setup_.plugin_loader);
  for (int slot = 1; slot <= kPluginSlotCount; ++slot) {
    if (const std::optional<std::string>& title = plugins_.Title(slot)) {
      SetControlText(Control(kPluginBoxes[slot - 1]), *title);
    }
  }
}

void MainWindow::ReadConditions() {
  for (const ConditionBox& box : kConditionBoxes) conditions_.*box.ticked = Checked(Control(box.id));
  for (int slot = 0; slot < kPluginSlotCount; ++slot) {
    conditions_.plugins[slot] = Checked(Control(kPluginBoxes[slot]));
  }
}

void MainWindow::PutConditions() {
  for (const ConditionBox& box : kConditionBoxes) SetChecked(Control(box.id), conditions_.*box.ticked);
  for (int slot = 0; slot < kPluginSlotCount; ++slot) {
    SetChecked(Control(kPluginBoxes[slot]), conditions_.plugins[slot]);
  }
}

// "ファイルの情報を表示する(&I)" clicked: the file information window shows or
// hides with the box, showing the selected file while ticked and cleared
// otherwise.
void MainWindow::ShowFileInfoClicked() {
  const bool ticked = Checked(Control(IDC_MAIN_CHECK_SHOW_INFO));
  file_info_.SetVisible(ticked);
  std::string path;
  const NodeHandle node = tree_.Selected();
  if (ticked && SelectionKindOf(tree_, node) == SelectionKind::kFile) path = tree_.Text(node);
  file_info_.ShowFile(path);
}

// The file information window reports the new state of its box; the box
// takes it without its own click action.
void MainWindow::OnFileInfoState(WPARAM ticked) {
  SetChecked(Control(IDC_MAIN_CHECK_SHOW_INFO), ticked != 0);
}

}  // namespace twinseek
