// The main window's decisions over the states that matter: the start, a run,
// results with and without a tree, and each kind of selection.
#include "app/main_window_rules.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "base/utf8_text.h"

namespace twinseek {
namespace {

// The state after scans that opened groups of the given sizes and left
// lone_keys keys that only one file had, none of them shown in the tree.
MainWindowState AfterScan(std::initializer_list<int> group_sizes, int lone_keys) {
  MainWindowState state;
  for (const int size : group_sizes) {
    state.node_count += 1 + size;
    state.group_count += 1;
    state.file_count += size;
  }
  state.key_count = state.group_count + lone_keys;
  state.index_count = state.key_count;
  state.file_count += lone_keys;
  return state;
}

MainWindowState Selecting(MainWindowState state, SelectionKind selection) {
  state.selection = selection;
  return state;
}

MainWindowState Running(MainWindowState state) {
  state.running = true;
  return state;
}

std::string Cp932(const char8_t* utf8) { return Utf8ToCp932(reinterpret_cast<const char*>(utf8)).value(); }

TEST(StatusLineTextTest, CountsKeysFilesAndDuplicatesBeyondTheFirstOfEachGroup) {
  EXPECT_EQ(StatusLineText(MainWindowState{}), "0/0idx 0/0files(0dup)");
  // Three equal files and two that match nothing.
  EXPECT_EQ(StatusLineText(AfterScan({3}, 2)), "1/3idx 3/5files(2dup)");
  EXPECT_EQ(StatusLineText(AfterScan({2, 4, 3}, 0)), "3/3idx 9/9files(6dup)");
  EXPECT_EQ(StatusLineText(AfterScan({}, 7)), "0/7idx 0/7files(0dup)");
  EXPECT_EQ(StatusLineText(AfterScan({1000, 2}, 12345)), "2/12347idx 1002/13347files(1000dup)");
}

TEST(StatusLineTextTest, OneFileGroupsOfTheUniqueFilesAddFilesButNoDuplicates) {
  // The two lone keys of a scan shown as one-file groups: they now have a
  // group each, and the counters stay as they were.
  MainWindowState state = AfterScan({3}, 2);
  state.node_count += 2 * 2;
  state.group_count += 2;
  EXPECT_EQ(StatusLineText(state), "3/3idx 5/5files(2dup)");
}

TEST(TreeLabelTextTest, InvitesDroppingUntilTheTreeHoldsANode) {
  const std::string drop = Cp932(u8"ここにファイルをドロップします(&L)");
  const std::string found = Cp932(u8"発見された重複の可能性のあるファイル(&L)");
  EXPECT_EQ(TreeLabelText(MainWindowState{}), drop);
  EXPECT_EQ(TreeLabelText(AfterScan({}, 3)), drop) << "keys without groups show no node";
  EXPECT_EQ(TreeLabelText(AfterScan({2}, 0)), found);
}

struct ButtonCase {
  const char* name;
  MainWindowState state;
  ButtonEnabling expected;
};

ButtonEnabling Buttons(bool idle, bool has_nodes, bool has_keys, bool open, bool compare) {
  ButtonEnabling b;
  b.search = idle;
  b.show_file_info = idle;
  b.report = idle && has_nodes;
  b.exclude_unique = idle && (has_nodes || has_keys);
  b.reset = idle && (has_nodes || has_keys);
  b.mark_none = b.mark_duplicate = b.mark_unique = b.mark_delete = idle && has_nodes;
  b.open = open;
  b.full_compare = compare;
  b.quit = true;
  return b;
}

TEST(DecideButtonsTest, FollowsTheRunningFlagTheTreeTheIndexAndTheSelection) {
  const MainWindowState results = AfterScan({3, 2}, 1);
  const std::vector<ButtonCase> cases = {
      {"start", MainWindowState{}, Buttons(true, false, false, false, false)},
      {"only unique keys", AfterScan({}, 4), Buttons(true, false, true, false, false)},
      {"groups, nothing selected", results, Buttons(true, true, true, false, false)},
      {"file selected", Selecting(results, SelectionKind::kFile), Buttons(true, true, true, true, false)},
      {"group selected", Selecting(results, SelectionKind::kGroup), Buttons(true, true, true, false, true)},
      {"first scan running", Running(MainWindowState{}), Buttons(false, false, false, false, false)},
      {"comparison running with a group selected", Running(Selecting(results, SelectionKind::kGroup)),
       Buttons(false, true, true, false, false)},
      {"later scan running with a file selected", Running(Selecting(results, SelectionKind::kFile)),
       Buttons(false, true, true, false, false)},
  };
  for (const ButtonCase& c : cases) {
    SCOPED_TRACE(c.name);
    const ButtonEnabling got = DecideButtons(c.state);
    EXPECT_EQ(got.search, c.expected.search);
    EXPECT_EQ(got.show_file_info, c.expected.show_file_info);
    EXPECT_EQ(got.report, c.expected.report);
    EXPECT_EQ(got.exclude_unique, c.expected.exclude_unique);
    EXPECT_EQ(got.reset, c.expected.reset);
    EXPECT_EQ(got.mark_none, c.expected.mark_none);
    EXPECT_EQ(got.mark_duplicate, c.expected.mark_duplicate);
    EXPECT_EQ(got.mark_unique, c.expected.mark_unique);
    EXPECT_EQ(got.mark_delete, c.expected.mark_delete);
    EXPECT_EQ(got.open, c.expected.open);
    EXPECT_EQ(got.full_compare, c.expected.full_compare);
    EXPECT_TRUE(got.quit);
  }
}

TEST(DecideConditionsTest, PluginBoxesNeedTheirLibraryAndTheBuiltInBoxesFollowTheRequest) {
  const ConditionEnabling on = DecideConditions(true, {true, false, true});
  EXPECT_TRUE(on.frame && on.name && on.extension && on.size && on.checksum && on.modified_date);
  EXPECT_EQ(on.plugin, (std::array<bool, 3>{true, false, true}));

  EXPECT_EQ(DecideConditions(true, {false, false, false}).plugin, (std::array<bool, 3>{}));

  EXPECT_EQ(DecideConditions(false, {true, true, true}), ConditionEnabling{})
      << "off disables everything, loaded or not";
}

TEST(FreeConditionsAfterRunTest, OnlyARunThatLeftNoResultFreesTheConditions) {
  EXPECT_TRUE(FreeConditionsAfterRun(MainWindowState{}));
  EXPECT_FALSE(FreeConditionsAfterRun(AfterScan({}, 1))) << "a unique key still counts";
  EXPECT_FALSE(FreeConditionsAfterRun(AfterScan({2}, 0)));
  EXPECT_FALSE(FreeConditionsAfterRun(Running(MainWindowState{})));
}

// Columns of the menu table: the idle states an open pop-up menu can meet.
enum Column { kEmpty, kKeysOnly, kNoSelection, kFileSelected, kGroupSelected, kColumns };

struct MenuRow {
  MenuCommand command;
  const char* caption;
  bool greyed[kColumns];
};

TEST(MenuItemGreyedTest, EveryItemOfTheMenuBarOverTheIdleStates) {
  const MainWindowState results = AfterScan({2}, 3);
  const MainWindowState states[kColumns] = {
      MainWindowState{},
      AfterScan({}, 2),
      results,
      Selecting(results, SelectionKind::kFile),
      Selecting(results, SelectionKind::kGroup),
  };
  constexpr bool G = true;
  constexpr bool E = false;
  const MenuRow rows[] = {
      {MenuCommand::kSearch, "search", {E, E, E, E, E}},
      {MenuCommand::kReset, "reset", {G, E, E, E, E}},
      {MenuCommand::kDeleteFiles, "delete files", {G, G, E, E, E}},
      {MenuCommand::kMoveFiles, "move files", {G, G, E, E, E}},
      {MenuCommand::kCopyFiles, "copy files", {G, G, G, E, G}},
      {MenuCommand::kExit, "exit", {E, E, E, E, E}},
      {MenuCommand::kOpen, "open", {E, E, E, E, E}},
      {MenuCommand::kMarkNone, "mark 0", {G, G, E, E, E}},
      {MenuCommand::kMarkDuplicate, "mark 1", {G, G, E, E, E}},
      {MenuCommand::kMarkUnique, "mark 2", {G, G, E, E, E}},
      {MenuCommand::kMarkDelete, "mark 5", {G, G, E, E, E}},
      {MenuCommand::kMarkCopy, "mark 6", {G, G, E, E, E}},
      {MenuCommand::kBulkMark, "bulk marking", {G, G, E, E, E}},
      {MenuCommand::kFullCompare, "full comparison", {G, G, G, G, E}},
      {MenuCommand::kCompareAll, "compare all", {G, G, E, E, E}},
      {MenuCommand::kExcludeUnmarked, "exclude unmarked", {G, G, E, E, E}},
      {MenuCommand::kExcludeDuplicates, "exclude duplicates", {G, G, E, E, E}},
      {MenuCommand::kExcludeUnique, "exclude non-duplicates", {G, E, E, E, E}},
      {MenuCommand::kMarkByFolder, "mark by folder", {G, G, E, E, E}},
      {MenuCommand::kPickOne, "pick one", {G, G, E, E, E}},
      {MenuCommand::kReport, "report", {G, G, E, E, E}},
      {MenuCommand::kThumbnail, "thumbnail", {E, E, E, E, E}},
      {MenuCommand::kShowUniqueFiles, "show non-duplicates", {E, E, E, E, E}},
      {MenuCommand::kHelp, "help", {E, E, E, E, E}},
      {MenuCommand::kAbout, "about", {E, E, E, E, E}},
  };
  ASSERT_EQ(std::size(rows), static_cast<size_t>(kMenuCommandCount));
  for (int i = 0; i < kMenuCommandCount; ++i) {
    const MenuRow& row = rows[i];
    SCOPED_TRACE(row.caption);
    EXPECT_EQ(static_cast<int>(row.command), i) << "the table follows the menu order";
    for (int column = 0; column < kColumns; ++column) {
      EXPECT_EQ(MenuItemGreyed(row.command, states[column]), row.greyed[column]) << "column " << column;
    }
  }
}

TEST(MenuItemCheckedTest, OnlyTheThumbnailItemFollowsTheFileInformationBox) {
  MainWindowState state = AfterScan({2}, 0);
  for (const bool ticked : {false, true}) {
    state.file_info_ticked = ticked;
    for (int i = 0; i < kMenuCommandCount; ++i) {
      const auto command = static_cast<MenuCommand>(i);
      EXPECT_EQ(MenuItemChecked(command, state), ticked && command == MenuCommand::kThumbnail)
          << "item " << i << ", box ticked " << ticked;
    }
  }
}

TEST(RunningFlagTest, ARunningWorkerGreysTheMenuBarIsOnlyAskedToStopAndHoldsOffReset) {
  const MainWindowState results = AfterScan({2}, 1);
  EXPECT_TRUE(MenuBarEnabled(MainWindowState{}));
  EXPECT_TRUE(MenuBarEnabled(results));
  EXPECT_FALSE(MenuBarEnabled(Running(MainWindowState{})));
  EXPECT_FALSE(MenuBarEnabled(Running(results)));

  EXPECT_EQ(DecideClose(MainWindowState{}), CloseAction::kClose);
  EXPECT_EQ(DecideClose(results), CloseAction::kClose);
  EXPECT_EQ(DecideClose(Running(MainWindowState{})), CloseAction::kRequestCancel);
  EXPECT_EQ(DecideClose(Running(results)), CloseAction::kRequestCancel);

  EXPECT_TRUE(ResetAllowed(results));
  EXPECT_FALSE(ResetAllowed(Running(results)));

  // A busy worker is named before missing conditions.
  EXPECT_EQ(DecideScanStart(results, true), ScanStartRefusal::kNone);
  EXPECT_EQ(DecideScanStart(results, false), ScanStartRefusal::kNoCondition);
  EXPECT_EQ(DecideScanStart(Running(results), false), ScanStartRefusal::kBusy);
}

}  // namespace
}  // namespace twinseek
