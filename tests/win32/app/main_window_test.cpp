// Scenario tests of the main window: the real window in this process, real
// temporary folders, real messages from the test thread; every message box
// and report goes through the recording prompt routine.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "resources/about_box_ids.h"
#include "resources/file_info_window_ids.h"
#include "resources/main_window_ids.h"
#include "resources/scan_target_dialog_ids.h"
#include "resources/version.h"
#include "scan/detection_run.h"
#include "scan/dropped_files.h"
#include "support/current_folder.h"
#include "support/temp_tree.h"
#include "support/win32/shown_tree.h"
#include "win32/app/main_window_harness.h"

namespace twinseek::testing {
namespace {

constexpr FileTime kSameTime = 133'000'000'000'000'000;  // the same for the three copies
constexpr const char* kEmptyStatus = "0/0idx 0/0files(0dup)";
constexpr const char* kDropLabel = "ここにファイルをドロップします(&L)";
constexpr const char* kResultsLabel = "発見された重複の可能性のあるファイル(&L)";

const int kConditionBoxes[] = {IDC_MAIN_CHECK_NAME, IDC_MAIN_CHECK_EXTENSION, IDC_MAIN_CHECK_SIZE,
                               IDC_MAIN_CHECK_CRC, IDC_MAIN_CHECK_DATE};

class MainWindowTest : public ::testing::Test {
 protected:
  // Three copies (same size and time) and two files that match nothing.
  void WriteFiveFiles() {
    for (const auto* name : {u8"copy1.txt", u8"copy2.txt", u8"copy3.txt"}) {
      files.Write(name, "0123456789");
      files.SetLastWriteTime(name, kSameTime);
    }
    files.Write(u8"other1.txt", "short");
    files.Write(u8"other2.txt", "a little longer");
  }

  // The last message box asked, with its type.
  PromptRecord LastMessage() {
    const auto records = window.prompter().Records();
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
      if (it->kind == PromptRecord::Kind::kMessage) return *it;
    }
    return {};
  }

  bool ConditionsEnabled() {
    for (int id : kConditionBoxes) {
      if (!window.Enabled(id)) return false;
    }
    return window.Enabled(IDC_MAIN_GROUP_CONDITIONS);
  }

  // Greys the items of a pop-up menu of the menu bar as the window does when
  // it opens, and tells whether item id is greyed.
  bool MenuItemGreyed(int menu_position, int id) {
    HMENU popup = GetSubMenu(GetMenu(window.window()), menu_position);
    SendMessageW(window.window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), menu_position);
    return (GetMenuState(GetMenu(window.window()), static_cast<UINT>(id), MF_BYCOMMAND) & MF_GRAYED) != 0;
  }

  TempTree files;
  MainWindowHarness window;
};

TEST_F(MainWindowTest, OpensWithTheDefaultConditionsAndOnlySearchAvailable) {
  ASSERT_NE(window.window(), nullptr);
  EXPECT_TRUE(window.Checked(IDC_MAIN_CHECK_SIZE));
  EXPECT_TRUE(window.Checked(IDC_MAIN_CHECK_DATE));
  for (int id : {IDC_MAIN_CHECK_NAME, IDC_MAIN_CHECK_EXTENSION, IDC_MAIN_CHECK_CRC, IDC_MAIN_CHECK_PLUGIN1,
                 IDC_MAIN_CHECK_PLUGIN2, IDC_MAIN_CHECK_PLUGIN3, IDC_MAIN_CHECK_SHOW_INFO}) {
    EXPECT_FALSE(window.Checked(id)) << id;
  }
  EXPECT_TRUE(ConditionsEnabled());
  // Without plug-in libraries their boxes stay disabled, with their captions.
  EXPECT_FALSE(window.Enabled(IDC_MAIN_CHECK_PLUGIN1));
  EXPECT_EQ(window.Text(IDC_MAIN_CHECK_PLUGIN2), "定義2");

  EXPECT_TRUE(window.Enabled(IDC_MAIN_BUTTON_SEARCH));
  EXPECT_TRUE(window.Enabled(IDC_MAIN_CHECK_SHOW_INFO));
  EXPECT_TRUE(window.Enabled(IDC_MAIN_BUTTON_QUIT));
  for (int id : {IDC_MAIN_BUTTON_REPORT, IDC_MAIN_BUTTON_RESET, IDC_MAIN_BUTTON_EXCLUDE_UNIQUE,
                 IDC_MAIN_BUTTON_MARK_NONE, IDC_MAIN_BUTTON_MARK_DUPLICATE, IDC_MAIN_BUTTON_MARK_UNIQUE,
                 IDC_MAIN_BUTTON_MARK_DELETE, IDC_MAIN_BUTTON_OPEN, IDC_MAIN_BUTTON_FULL_COMPARE}) {
    EXPECT_FALSE(window.Enabled(id)) << id;
  }
  EXPECT_EQ(window.Text(IDC_MAIN_LABEL_TREE), kDropLabel);
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), kEmptyStatus);
  EXPECT_FALSE(ControlVisible(window.window(), IDC_MAIN_PROGRESS));
  EXPECT_EQ(window.Text(IDC_MAIN_CHECK_PLUGIN1), "定義1");

  // The menus with an empty tree and an empty index.
  EXPECT_TRUE(MenuItemGreyed(0, IDM_FILE_RESET));
  EXPECT_TRUE(MenuItemGreyed(0, IDM_FILE_DELETE));
  EXPECT_FALSE(MenuItemGreyed(0, IDM_FILE_SEARCH));
  EXPECT_TRUE(MenuItemGreyed(1, IDM_EDIT_MARK_DELETE));
  EXPECT_FALSE(MenuItemGreyed(1, IDM_EDIT_OPEN));
  EXPECT_FALSE(MenuItemGreyed(4, IDM_HELP_ABOUT));
}

TEST_F(MainWindowTest, ASearchGroupsTheCopiesAndASecondSearchFindsNothingNew) {
  WriteFiveFiles();
  ASSERT_TRUE(window.Search(files.Root()));

  const PromptRecord found = LastMessage();
  EXPECT_EQ(found.text, NewDuplicatesMessage(2));
  EXPECT_EQ(found.text, "あらたに2個のファイルに重複の可能性があります。");
  EXPECT_EQ(found.type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
  EXPECT_EQ(found.owner, window.window());
  EXPECT_NE(found.thread, window.thread());  // shown by the worker itself

  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), "1/3idx 3/5files(2dup)");
  EXPECT_EQ(window.Text(IDC_MAIN_LABEL_TREE), kResultsLabel);
  const auto lines = window.TreeLines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_TRUE(lines[0].starts_with("W")) << lines[0];
  EXPECT_TRUE(lines[0].ends_with("(10)#0")) << lines[0];
  EXPECT_TRUE(ControlVisible(window.window(), IDC_MAIN_TREE));
  EXPECT_FALSE(ControlVisible(window.window(), IDC_MAIN_PROGRESS));

  // The conditions stay fixed; the results enable their commands.
  EXPECT_FALSE(ConditionsEnabled());
  for (int id : {IDC_MAIN_BUTTON_REPORT, IDC_MAIN_BUTTON_RESET, IDC_MAIN_BUTTON_EXCLUDE_UNIQUE,
                 IDC_MAIN_BUTTON_MARK_NONE, IDC_MAIN_BUTTON_MARK_DELETE}) {
    EXPECT_TRUE(window.Enabled(id)) << id;
  }

  ASSERT_TRUE(window.Search(files.Root()));
  EXPECT_EQ(LastMessage().text, kNoNewDuplicatesMessage);
  EXPECT_EQ(LastMessage().type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), "1/3idx 3/5files(2dup)");
  EXPECT_EQ(window.TreeLines(), lines);
}

TEST_F(MainWindowTest, SelectingAGroupOrAFileEnablesCompareOrOpen) {
  WriteFiveFiles();
  ASSERT_TRUE(window.Search(files.Root()));
  HWND tree = GetDlgItem(window.window(), IDC_MAIN_TREE);
  auto select = [&](HTREEITEM item) {
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  };
  const auto group = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  const auto file = reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(group)));

  select(group);
  EXPECT_TRUE(window.Enabled(IDC_MAIN_BUTTON_FULL_COMPARE));
  EXPECT_FALSE(window.Enabled(IDC_MAIN_BUTTON_OPEN));
  EXPECT_FALSE(MenuItemGreyed(1, IDM_EDIT_FULL_COMPARE));
  EXPECT_TRUE(MenuItemGreyed(0, IDM_FILE_COPY));
  select(file);
  EXPECT_FALSE(window.Enabled(IDC_MAIN_BUTTON_FULL_COMPARE));
  EXPECT_TRUE(window.Enabled(IDC_MAIN_BUTTON_OPEN));
  EXPECT_FALSE(MenuItemGreyed(0, IDM_FILE_COPY));
  select(nullptr);
  EXPECT_FALSE(window.Enabled(IDC_MAIN_BUTTON_FULL_COMPARE));
  EXPECT_FALSE(window.Enabled(IDC_MAIN_BUTTON_OPEN));
}

TEST_F(MainWindowTest, ResetEmptiesEverythingAndFreesTheConditionsWithTheirTicks) {
  WriteFiveFiles();
  ASSERT_TRUE(window.Search(files.Root()));
  Click(window.window(), IDC_MAIN_BUTTON_RESET);
  ASSERT_TRUE(WaitUntil([&] { return window.Text(IDC_MAIN_STATUS) == kEmptyStatus; }));
  EXPECT_TRUE(window.TreeLines().empty());
  EXPECT_EQ(window.Text(IDC_MAIN_LABEL_TREE), kDropLabel);
  EXPECT_TRUE(ConditionsEnabled());
  EXPECT_TRUE(window.Checked(IDC_MAIN_CHECK_SIZE));
  EXPECT_TRUE(window.Checked(IDC_MAIN_CHECK_DATE));
  EXPECT_FALSE(window.Enabled(IDC_MAIN_BUTTON_RESET));

  // The same files are new again.
  ASSERT_TRUE(window.Search(files.Root()));
  EXPECT_EQ(LastMessage().text, NewDuplicatesMessage(2));
}

TEST_F(MainWindowTest, AScanOfUniqueFilesLeavesResetAndExclusionButNotTheMarks) {
  files.Write(u8"a.txt", "1");
  files.Write(u8"b.txt", "22");
  window.Drop({files.Path("a.txt"), files.Path("b.txt")});
  ASSERT_TRUE(window.prompter().WaitForRecords(1));
  ASSERT_TRUE(window.WaitUntilIdle());
  EXPECT_EQ(LastMessage().text, kNoNewDuplicatesMessage);
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), "0/2idx 0/2files(0dup)");
  EXPECT_TRUE(window.Enabled(IDC_MAIN_BUTTON_RESET));
  EXPECT_TRUE(window.Enabled(IDC_MAIN_BUTTON_EXCLUDE_UNIQUE));
  EXPECT_FALSE(window.Enabled(IDC_MAIN_BUTTON_MARK_NONE));
  EXPECT_FALSE(window.Enabled(IDC_MAIN_BUTTON_REPORT));
}

TEST_F(MainWindowTest, NoConditionRefusesSearchAndDrop) {
  files.Write(u8"a.txt", "1");
  for (int id : {IDC_MAIN_CHECK_SIZE, IDC_MAIN_CHECK_DATE}) {
    SendDlgItemMessageW(window.window(), id, BM_SETCHECK, BST_UNCHECKED, 0);
  }
  PostCommand(window.window(), IDC_MAIN_BUTTON_SEARCH);
  ASSERT_TRUE(window.prompter().WaitForRecords(1));
  window.Drop({files.Path("a.txt")});
  ASSERT_TRUE(window.prompter().WaitForRecords(2));
  for (const PromptRecord& record : window.prompter().Records()) {
    EXPECT_EQ(record.text, "重複条件をセットしてください");
    EXPECT_EQ(record.type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  }
  // The dialog never opened and nothing ran.
  EXPECT_EQ(FindDialog(window.thread(), "Twinseek 対象の選択"), nullptr);
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), kEmptyStatus);
  EXPECT_TRUE(ConditionsEnabled());
}

TEST_F(MainWindowTest, DroppedFilesAndFoldersAskOnceAndNoWithOnlyFoldersStartsNothing) {
  files.MakeFolder(u8"one");
  files.MakeFolder(u8"two");
  files.Write(u8"one\\x.txt", "0123456789");
  files.Write(u8"two\\y.txt", "0123456789");
  files.SetLastWriteTime(u8"one\\x.txt", kSameTime);
  files.SetLastWriteTime(u8"two\\y.txt", kSameTime);

  window.Drop({files.Path("one"), files.Path("two")});  // answered No
  ASSERT_TRUE(window.prompter().WaitForRecords(1));
  // The drop is handled at once on the window's thread: once a message sent
  // after it comes back, the drop has ended.
  SendMessageW(window.window(), WM_NULL, 0, 0);
  auto records = window.prompter().Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].text, kFolderDropQuestion);
  EXPECT_EQ(records[0].caption, "フォルダのドロップ");
  EXPECT_EQ(records[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), kEmptyStatus);
  EXPECT_TRUE(ConditionsEnabled());

  window.prompter().Clear();
  window.prompter().QueueMessageAnswer(IDYES);
  window.Drop({files.Path("one"), files.Path("two")});
  ASSERT_TRUE(window.prompter().WaitForRecords(2));
  ASSERT_TRUE(window.WaitUntilIdle());
  records = window.prompter().Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].text, kFolderDropQuestion);
  EXPECT_EQ(records[1].text, NewDuplicatesMessage(1));
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), "1/1idx 2/2files(1dup)");
  EXPECT_FALSE(ConditionsEnabled());
}

TEST_F(MainWindowTest, TheErrorLogNamesAFolderAndAVanishedPathAndIsShownOnYes) {
  files.Write(u8"first.txt", "1");
  files.Write(u8"becomes_folder", "2");
  files.Write(u8"vanishes.txt", "3");
  const std::string first = files.Path("first.txt");
  const std::string folder = files.Path("becomes_folder");
  const std::string vanished = files.Path("vanishes.txt");
  // The worker waits on the first file while the others change.
  window.file_system().CloseGate(first);
  window.Drop({first, folder, vanished});
  ASSERT_TRUE(window.file_system().WaitForReader());
  files.Remove(u8"becomes_folder");
  files.MakeFolder(u8"becomes_folder");
  files.Remove(u8"vanishes.txt");
  window.prompter().QueueMessageAnswer(IDYES);
  window.file_system().OpenGate();
  ASSERT_TRUE(window.WaitUntilIdle());

  const auto records = window.prompter().Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].text, "エラー情報がありました。確認しますか？");
  EXPECT_EQ(records[0].type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
  EXPECT_EQ(records[1].kind, PromptRecord::Kind::kReport);
  EXPECT_EQ(records[1].text,
            "ﾃﾞｨﾚｸﾄﾘは指定できません(" + folder + ")\r\n情報の取得ができません(" + vanished + ")\r\n");
  EXPECT_EQ(records[1].owner, window.window());
  EXPECT_EQ(records[2].text, kNoNewDuplicatesMessage);
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), "0/1idx 0/1files(0dup)");
  EXPECT_FALSE(ConditionsEnabled());
}

TEST_F(MainWindowTest, AScanThatRegisteredNothingFreesTheConditions) {
  window.Drop({files.Path("missing.txt")});
  ASSERT_TRUE(window.WaitForClosingMessage(0));
  ASSERT_TRUE(window.WaitUntilIdle());
  EXPECT_EQ(window.prompter().MessageTexts().front(), "エラー情報がありました。確認しますか？");
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), kEmptyStatus);
  EXPECT_FALSE(window.Enabled(IDC_MAIN_BUTTON_RESET));
  EXPECT_TRUE(ConditionsEnabled());
}

TEST_F(MainWindowTest, StoppingAScanKeepsTheWindowAndTheResultsSoFar) {
  WriteFiveFiles();
  ASSERT_TRUE(window.Search(files.Root()));
  const auto before = window.TreeLines();
  window.prompter().Clear();

  files.Write(u8"late1.txt", "0123456789");
  files.Write(u8"late2.txt", "0123456789");
  files.SetLastWriteTime(u8"late1.txt", kSameTime);
  files.SetLastWriteTime(u8"late2.txt", kSameTime);
  window.file_system().CloseGate(files.Path("late1.txt"));
  window.Drop({files.Path("late1.txt"), files.Path("late2.txt")});
  ASSERT_TRUE(window.file_system().WaitForReader());

  // While running: only "終了" is available and the menu bar is grey.
  EXPECT_FALSE(window.Enabled(IDC_MAIN_BUTTON_SEARCH));
  EXPECT_FALSE(window.Enabled(IDC_MAIN_BUTTON_RESET));
  EXPECT_TRUE(window.Enabled(IDC_MAIN_BUTTON_QUIT));
  EXPECT_TRUE(GetMenuState(GetMenu(window.window()), 0, MF_BYPOSITION) & MF_GRAYED);
  EXPECT_FALSE(ControlVisible(window.window(), IDC_MAIN_TREE));
  EXPECT_TRUE(ControlVisible(window.window(), IDC_MAIN_PROGRESS));
  // A drop now is refused.
  window.Drop({files.Path("late2.txt")});
  ASSERT_TRUE(window.prompter().WaitForRecords(1));
  EXPECT_EQ(window.prompter().Records()[0].text, "重複検査中のため処理できません。");
  EXPECT_EQ(window.prompter().Records()[0].type, static_cast<UINT>(MB_OK | MB_ICONSTOP));

  // The close box and "終了" only ask the worker to stop (sent: each has
  // been handled when the call returns).
  SendMessageW(window.window(), WM_CLOSE, 0, 0);
  SendMessageW(window.window(), WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(IsWindow(window.window()));
  window.file_system().OpenGate();
  ASSERT_TRUE(window.WaitUntilIdle());
  ASSERT_TRUE(IsWindow(window.window()));

  // The file in progress was finished (it joined the group), the next one
  // never read; the stop is in the error log.
  const auto records = window.prompter().Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[1].text, "エラー情報がありました。確認しますか？");
  EXPECT_EQ(records[2].text, NewDuplicatesMessage(1));
  auto after = before;
  after.push_back("  " + files.Path("late1.txt") + "#0");
  EXPECT_EQ(window.TreeLines(), after);
  EXPECT_EQ(GetMenuState(GetMenu(window.window()), 0, MF_BYPOSITION) & MF_GRAYED, 0u);
}

TEST_F(MainWindowTest, EnterOpensTheScanDialogAndTheAboutBoxCloses) {
  PostMessageW(GetDlgItem(window.window(), IDC_MAIN_CHECK_NAME), WM_KEYDOWN, VK_RETURN, 0);
  HWND dialog = WaitForDialog(window.thread(), "Twinseek 対象の選択");
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), kEmptyStatus);

  PostCommand(window.window(), IDM_HELP_ABOUT);
  HWND about = WaitForDialog(window.thread(), "バージョン情報及び使用許諾条件");
  ASSERT_NE(about, nullptr);
  EXPECT_FALSE(IsWindowEnabled(window.window()));
  // The version of the program's VERSIONINFO stands in the first line.
  const std::string text = ControlText(about, IDC_ABOUT_TEXT);
  EXPECT_EQ(text.substr(0, text.find('\n')), "Twinseek バージョン " TWINSEEK_VERSION_TEXT);
  Click(about, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
  EXPECT_TRUE(IsWindowEnabled(window.window()));
}

TEST_F(MainWindowTest, EscapeClosesTheIdleWindow) {
  PostMessageW(GetDlgItem(window.window(), IDC_MAIN_BUTTON_SEARCH), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_TRUE(window.WaitUntilClosed());
}

TEST_F(MainWindowTest, ResizingMovesTheAnchoredControlsAndNeverBelowTheOpeningSize) {
  HWND main = window.window();
  auto rect_of = [&](int id) {
    RECT rect;
    GetWindowRect(GetDlgItem(main, id), &rect);
    MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
  };
  const int ids[] = {IDC_MAIN_TREE,        IDC_MAIN_BUTTON_MARK_NONE, IDC_MAIN_BUTTON_OPEN,
                     IDC_MAIN_BUTTON_QUIT, IDC_MAIN_BUTTON_SEARCH,    IDC_MAIN_STATUS};
  std::vector<RECT> opening;
  for (int id : ids) opening.push_back(rect_of(id));
  RECT frame;
  GetWindowRect(main, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;

  SetWindowPos(main, nullptr, 0, 0, width + 100, height + 50, SWP_NOMOVE | SWP_NOZORDER);
  const RECT tree = rect_of(IDC_MAIN_TREE);
  EXPECT_EQ(tree.right - tree.left, opening[0].right - opening[0].left + 100);
  EXPECT_EQ(tree.bottom - tree.top, opening[0].bottom - opening[0].top + 50);
  EXPECT_EQ(rect_of(IDC_MAIN_BUTTON_MARK_NONE).left, opening[1].left);
  EXPECT_EQ(rect_of(IDC_MAIN_BUTTON_MARK_NONE).top, opening[1].top + 50);
  EXPECT_EQ(rect_of(IDC_MAIN_BUTTON_OPEN).left, opening[2].left + 100);
  EXPECT_EQ(rect_of(IDC_MAIN_BUTTON_QUIT).top, opening[3].top + 50);
  EXPECT_EQ(rect_of(IDC_MAIN_BUTTON_SEARCH).left, opening[4].left);

  SetWindowPos(main, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
  for (size_t i = 0; i < std::size(ids); ++i) {
    const RECT now = rect_of(ids[i]);
    EXPECT_TRUE(EqualRect(&now, &opening[i])) << ids[i];
  }

  RECT proposed{frame.left, frame.top, frame.left + width - 40, frame.top + height + 20};
  SendMessageW(main, WM_SIZING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
  EXPECT_EQ(proposed.left, frame.left);
  EXPECT_EQ(proposed.right, frame.left + width);
  EXPECT_EQ(proposed.bottom, frame.top + height + 20);
}

TEST_F(MainWindowTest, TheFileInformationBoxFollowsItsWindowAndTheThumbnailItem) {
  SendMessageW(window.window(), MainWindow::kFileInfoStateMessage, 1, 0);
  EXPECT_TRUE(window.Checked(IDC_MAIN_CHECK_SHOW_INFO));
  HMENU view = GetSubMenu(GetMenu(window.window()), 3);
  SendMessageW(window.window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 3);
  EXPECT_TRUE(GetMenuState(view, IDM_VIEW_THUMBNAIL, MF_BYCOMMAND) & MF_CHECKED);

  SendMessageW(window.window(), MainWindow::kFileInfoStateMessage, 0, 0);
  EXPECT_FALSE(window.Checked(IDC_MAIN_CHECK_SHOW_INFO));
  SendMessageW(window.window(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(view), 3);
  EXPECT_FALSE(GetMenuState(view, IDM_VIEW_THUMBNAIL, MF_BYCOMMAND) & MF_CHECKED);

  // "サムネイル(&T)" flips the box.
  SendMessageW(window.window(), WM_COMMAND, IDM_VIEW_THUMBNAIL, 0);
  EXPECT_TRUE(window.Checked(IDC_MAIN_CHECK_SHOW_INFO));
}

TEST_F(MainWindowTest, TheFileInformationWindowShowsTheSelectedFileWhileTicked) {
  WriteFiveFiles();
  ASSERT_TRUE(window.Search(files.Root()));
  HWND tree = GetDlgItem(window.window(), IDC_MAIN_TREE);
  const auto group = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  const auto file = reinterpret_cast<HTREEITEM>(
      SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(group)));
  // Another program is writing the file: it is shown all the same.
  const std::string path = ShownTree(tree).Text(file);
  const HANDLE writer = CreateFileW(Cp932ToWide(path).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(file));

  Click(window.window(), IDC_MAIN_CHECK_SHOW_INFO);
  HWND info = WaitForDialog(window.thread(), "ファイル情報");
  CloseHandle(writer);
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(ControlText(info, IDC_FILE_INFO_EDIT_TEXT).starts_with("[ファイルサイズ]\r\n    10 BYTES\r\n"));
  // A group selected leaves the last file shown.
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(group));
  EXPECT_TRUE(ControlText(info, IDC_FILE_INFO_EDIT_TEXT).starts_with("[ファイルサイズ]\r\n    10 BYTES\r\n"));

  // The close box hides it and unticks the box; ticking again shows it.
  SendMessageW(info, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_FALSE(IsWindowVisible(info));
  EXPECT_FALSE(window.Checked(IDC_MAIN_CHECK_SHOW_INFO));
  Click(window.window(), IDC_MAIN_CHECK_SHOW_INFO);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(info) != 0; }));

  // Reset clears it.
  Click(window.window(), IDC_MAIN_BUTTON_RESET);
  ASSERT_TRUE(WaitUntil([&] { return window.Text(IDC_MAIN_STATUS) == kEmptyStatus; }));
  EXPECT_EQ(ControlText(info, IDC_FILE_INFO_EDIT_TEXT), "");
}

// A folder typed as a relative path is searched as the absolute folder it
// names at that moment: the tree holds absolute paths, which the commands on
// them resolve whatever the current folder later becomes.
TEST_F(MainWindowTest, ARelativeFolderPutsAbsolutePathsInTheTree) {
  WriteFiveFiles();
  files.MakeFolder(u8"sub");
  std::vector<std::string> lines;
  {
    const CurrentFolderAt here(files.Path("sub"));
    ASSERT_TRUE(window.Search(".."));
    lines = window.TreeLines();
  }
  ASSERT_EQ(lines.size(), 4u);
  for (size_t i = 1; i < lines.size(); ++i) {
    EXPECT_TRUE(lines[i].starts_with("  " + files.Root() + "\\copy")) << lines[i];
  }
}

// A plug-in whose fragment holds a code page 932 code that has a twin
// (0xED40 is also written 0xFA5C): the control can only show such a key, the
// tree keeps its bytes.
class TwinCodePlugin final : public PluginLibrary {
 public:
  std::optional<std::string> GetTitle() override { return "twin"; }
  bool InitCheck() override { return true; }
  std::optional<std::string> CheckFile(std::string_view, const DirEntry&) override { return "\xED\x40"; }
  std::optional<std::string> ReturnMessage() override { return std::nullopt; }
  void Release() override {}
};

class TwinCodeLoader final : public PluginLoader {
 public:
  std::unique_ptr<PluginLibrary> Load(int slot) override {
    return slot == 1 ? std::make_unique<TwinCodePlugin>() : nullptr;
  }
};

TEST(MainWindowKeyTest, AKeyTheControlCannotShowExactlyStillFindsItsEntry) {
  TempTree files;
  for (const auto* name : {u8"a.txt", u8"b.txt"}) {
    files.Write(name, "same");
    files.SetLastWriteTime(name, kSameTime);
  }
  TwinCodeLoader loader;
  MainWindowHarness window(loader);
  SendDlgItemMessageW(window.window(), IDC_MAIN_CHECK_PLUGIN1, BM_SETCHECK, BST_CHECKED, 0);
  window.Drop({files.Path("a.txt"), files.Path("b.txt")});
  ASSERT_TRUE(window.WaitForClosingMessage(0));
  ASSERT_TRUE(window.WaitUntilIdle());
  ASSERT_EQ(window.Text(IDC_MAIN_STATUS), "1/1idx 2/2files(1dup)");
  // What the control shows is the twin it converts to.
  ASSERT_EQ(window.TreeLines().front().substr(window.TreeLines().front().size() - 4), "\xFA\x5C#0");

  // Both files unique, then the unique files excluded: the group goes, and
  // its key with it.
  HWND tree = GetDlgItem(window.window(), IDC_MAIN_TREE);
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
  SendMessageW(window.window(), WM_COMMAND, IDM_EDIT_MARK_UNIQUE, 0);
  SendMessageW(window.window(), WM_COMMAND, IDC_MAIN_BUTTON_EXCLUDE_UNIQUE, 0);
  EXPECT_EQ(window.prompter().MessageTexts().back(),
            "2個のファイルを除外\r\n1個のインデックスが削除されました。\r\n");
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), kEmptyStatus);
  EXPECT_TRUE(window.TreeLines().empty());

  // A later scan opens the group anew rather than adding under the old one.
  window.prompter().Clear();
  window.Drop({files.Path("a.txt"), files.Path("b.txt")});
  ASSERT_TRUE(window.WaitForClosingMessage(0));
  ASSERT_TRUE(window.WaitUntilIdle());
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), "1/1idx 2/2files(1dup)");
  EXPECT_EQ(window.TreeLines().size(), 3u);
}

}  // namespace
}  // namespace twinseek::testing
