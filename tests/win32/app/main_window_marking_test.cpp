// Scenario tests of marking and narrowing the results in the main window:
// the mark buttons and keys, the double click, the context menu, exclusion
// by mark, the unique files, the tools and the tree report, on the real
// window after a real scan.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "resources/bulk_mark_dialog_ids.h"
#include "resources/directory_mark_dialog_ids.h"
#include "resources/main_window_ids.h"
#include "support/temp_tree.h"
#include "win32/app/main_window_harness.h"

namespace twinseek::testing {
namespace {

constexpr FileTime kSameTime = 133'000'000'000'000'000;

class MainWindowMarkingTest : public ::testing::Test {
 protected:
  // Two groups (three copies of one content, two of another) and one file
  // that matches nothing, scanned by a drop.
  void SetUp() override {
    for (const auto* name : {u8"a1.txt", u8"a2.txt", u8"a3.txt"}) Write(name, "0123456789");
    for (const auto* name : {u8"b1.txt", u8"b2.txt"}) Write(name, "01234");
    Write(u8"unique.txt", "0");
    window.Drop({files.Path("a1.txt"), files.Path("a2.txt"), files.Path("a3.txt"), files.Path("b1.txt"),
                 files.Path("b2.txt"), files.Path("unique.txt")});
    ASSERT_TRUE(window.WaitForClosingMessage(0));
    ASSERT_TRUE(window.WaitUntilIdle());
    window.prompter().Clear();
    tree = GetDlgItem(window.window(), IDC_MAIN_TREE);
  }

  void Write(std::u8string_view name, std::string_view content) {
    files.Write(name, content);
    files.SetLastWriteTime(name, kSameTime);
  }

  HTREEITEM Node(UINT relation, HTREEITEM from = nullptr) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
  }
  HTREEITEM FirstGroup() const { return Node(TVGN_ROOT); }
  HTREEITEM SecondGroup() const { return Node(TVGN_NEXT, FirstGroup()); }
  HTREEITEM FirstFile(HTREEITEM group) const { return Node(TVGN_CHILD, group); }

  void Select(HTREEITEM item) {
    SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  }

  int Mark(HTREEITEM item) const {
    TVITEMW data{};
    data.mask = TVIF_HANDLE | TVIF_IMAGE;
    data.hItem = item;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return data.iImage;
  }

  // The marks of a group and its files, group first.
  std::vector<int> Marks(HTREEITEM group) const {
    std::vector<int> marks{Mark(group)};
    for (HTREEITEM file = FirstFile(group); file != nullptr; file = Node(TVGN_NEXT, file)) {
      marks.push_back(Mark(file));
    }
    return marks;
  }

  // A key pressed in the tree, as the keyboard gives it.
  void Key(WORD key) {
    SendMessageW(tree, WM_KEYDOWN, key, 0);
    SendMessageW(tree, WM_KEYUP, key, 0);
  }

  bool Expanded(HTREEITEM item) const {
    return (SendMessageW(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) &
            TVIS_EXPANDED) != 0;
  }

  // Opens the context menu as a right click on no node would (the menu then
  // takes the selected node), returns its items as "text" or "text (grey)"
  // with "-" for separators, and closes it.
  std::vector<std::string> ContextMenu() {
    static NMHDR click;
    click = NMHDR{tree, IDC_MAIN_TREE, static_cast<UINT>(NM_RCLICK)};
    PostMessageW(window.window(), WM_NOTIFY, IDC_MAIN_TREE, reinterpret_cast<LPARAM>(&click));
    HWND popup = nullptr;
    EXPECT_TRUE(WaitUntil(
        [&] { return (popup = FindWindowW(L"#32768", nullptr)) != nullptr && IsWindowVisible(popup); }));
    std::vector<std::string> items;
    if (popup == nullptr) return items;
    auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
      if (state & MF_SEPARATOR) {
        items.push_back("-");
        continue;
      }
      wchar_t text[64] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
      items.push_back(WideToCp932Lossy(text) + ((state & MF_GRAYED) ? " (grey)" : ""));
    }
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(popup); }));
    return items;
  }

  TempTree files;
  MainWindowHarness window;
  HWND tree = nullptr;
};

TEST_F(MainWindowMarkingTest, ButtonsKeysAndDoubleClickMarkTheSelectedNode) {
  const HTREEITEM group = FirstGroup();
  const HTREEITEM file = FirstFile(group);
  // Nothing selected: Space changes nothing.
  Select(nullptr);
  Key(VK_SPACE);
  EXPECT_EQ(Marks(group), (std::vector<int>{0, 0, 0, 0}));

  Select(file);
  Key(VK_DELETE);
  EXPECT_EQ(Marks(group), (std::vector<int>{5, 5, 0, 0}));
  Key(VK_SPACE);  // 5 cycles to 0
  EXPECT_EQ(Marks(group), (std::vector<int>{0, 0, 0, 0}));

  Select(group);
  Key(VK_INSERT);
  EXPECT_EQ(Marks(group), (std::vector<int>{6, 6, 6, 6}));
  SendMessageW(window.window(), WM_COMMAND, IDC_MAIN_BUTTON_MARK_DUPLICATE, 0);
  EXPECT_EQ(Marks(group), (std::vector<int>{1, 1, 1, 1}));

  // A double click on the selected group cycles 1 to 2 and leaves it expanded.
  RECT rect{};
  TreeView_GetItemRect(tree, group, &rect, TRUE);
  const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
  SendMessageW(tree, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(tree, WM_LBUTTONUP, 0, at);
  EXPECT_EQ(Marks(group), (std::vector<int>{2, 2, 2, 2}));
  EXPECT_TRUE(Expanded(group));

  SendMessageW(window.window(), WM_COMMAND, IDC_MAIN_BUTTON_MARK_NONE, 0);
  SendMessageW(window.window(), WM_COMMAND, IDM_EDIT_MARK_COPY, 0);
  EXPECT_EQ(Marks(group), (std::vector<int>{6, 6, 6, 6}));
  // A letter is the tree's own (incremental search): no mark changes.
  Key('A');
  EXPECT_EQ(Marks(group), (std::vector<int>{6, 6, 6, 6}));
}

TEST_F(MainWindowMarkingTest, TheContextMenuOffersComparisonOnlyForThreeFilesOrMore) {
  Select(FirstGroup());  // three files
  EXPECT_EQ(ContextMenu(), (std::vector<std::string>{"解除", "重複", "非重複", "-", "削除マーク",
                                                     "コピーマーク", "-", "完全比較"}));
  Select(SecondGroup());  // two files
  EXPECT_EQ(ContextMenu().back(), "完全比較 (grey)");
  Select(FirstFile(SecondGroup()));
  EXPECT_EQ(ContextMenu(),
            (std::vector<std::string>{"解除", "重複", "非重複", "-", "削除マーク", "コピーマーク"}));
  Select(nullptr);
  static NMHDR click;
  click = NMHDR{tree, IDC_MAIN_TREE, static_cast<UINT>(NM_RCLICK)};
  SendMessageW(window.window(), WM_NOTIFY, IDC_MAIN_TREE, reinterpret_cast<LPARAM>(&click));
  const HWND popup = FindWindowW(L"#32768", nullptr);
  EXPECT_TRUE(popup == nullptr || !IsWindowVisible(popup)) << "no node, no menu";
}

TEST_F(MainWindowMarkingTest, ExclusionFoldsTheGroupsAndReports) {
  // The first group: 2, 2, 0 -> its last file becomes unique with the group.
  const HTREEITEM first = FirstGroup();
  HTREEITEM file = FirstFile(first);
  Select(file);
  SendMessageW(window.window(), WM_COMMAND, IDC_MAIN_BUTTON_MARK_UNIQUE, 0);
  Select(Node(TVGN_NEXT, file));
  SendMessageW(window.window(), WM_COMMAND, IDC_MAIN_BUTTON_MARK_UNIQUE, 0);
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), "2/3idx 5/6files(3dup)");

  SendMessageW(window.window(), WM_COMMAND, IDC_MAIN_BUTTON_EXCLUDE_UNIQUE, 0);
  auto records = window.prompter().Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].text, "2個のファイルを除外\r\n1個の新たな非重複ファイルが発生しました。\r\n");
  EXPECT_EQ(records[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(records[0].caption, "");
  // The unique key without a group went too, uncounted in the report.
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), "2/2idx 3/3files(1dup)");
  EXPECT_EQ(Marks(FirstGroup()), (std::vector<int>{2, 2}));
  EXPECT_TRUE(IsWindowVisible(tree));

  // Everything excluded: the conditions are free again.
  window.prompter().Clear();
  SendMessageW(window.window(), WM_COMMAND, IDM_EDIT_EXCLUDE_NONE, 0);
  SendMessageW(window.window(), WM_COMMAND, IDC_MAIN_BUTTON_EXCLUDE_UNIQUE, 0);
  records = window.prompter().Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].text, "2個のファイルを除外\r\n1個のインデックスが削除されました。\r\n");
  EXPECT_EQ(records[1].text, "1個のファイルを除外\r\n1個のインデックスが削除されました。\r\n");
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), "0/0idx 0/0files(0dup)");
  EXPECT_TRUE(window.Enabled(IDC_MAIN_CHECK_NAME));
  EXPECT_FALSE(window.Enabled(IDC_MAIN_BUTTON_RESET));
}

TEST_F(MainWindowMarkingTest, UniqueFilesPickOneAndTheTreeReport) {
  SendMessageW(window.window(), WM_COMMAND, IDM_VIEW_SHOW_UNIQUE, 0);
  const HTREEITEM unique = Node(TVGN_NEXT, SecondGroup());
  ASSERT_NE(unique, nullptr);
  EXPECT_EQ(Marks(unique), (std::vector<int>{2, 2}));
  EXPECT_FALSE(Expanded(unique));
  EXPECT_EQ(window.Text(IDC_MAIN_STATUS), "3/3idx 6/6files(3dup)");

  Select(FirstGroup());
  SendMessageW(window.window(), WM_COMMAND, IDC_MAIN_BUTTON_MARK_DUPLICATE, 0);
  SendMessageW(window.window(), WM_COMMAND, IDM_TOOLS_PICK_ONE, 0);
  EXPECT_EQ(Marks(FirstGroup()), (std::vector<int>{6, 6, 1, 1}));
  EXPECT_EQ(Marks(SecondGroup()), (std::vector<int>{0, 0, 0}));
  EXPECT_TRUE(window.prompter().Records().empty());

  SendMessageW(window.window(), WM_COMMAND, IDC_MAIN_BUTTON_REPORT, 0);
  const auto records = window.prompter().Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].kind, PromptRecord::Kind::kReport);
  const std::string& report = records[0].text;
  EXPECT_TRUE(report.starts_with("*W")) << report;
  EXPECT_NE(report.find("\r\n" + files.Path("a1.txt") + "\r\n"), std::string::npos);
  EXPECT_TRUE(report.ends_with(files.Path("unique.txt") + "\r\n"));
  EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 9);
}

TEST_F(MainWindowMarkingTest, BulkMarkingChangesOnOkAndNothingOnCancel) {
  Select(FirstFile(FirstGroup()));
  SendMessageW(window.window(), WM_COMMAND, IDC_MAIN_BUTTON_MARK_DUPLICATE, 0);

  // Cancel changes nothing.
  PostCommand(window.window(), IDM_EDIT_BULK_MARK);
  HWND dialog = WaitForDialog(window.thread(), "全てのアイテムのフラグ・マークの変更");
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_BULK_RADIO_NEW_MARK_4);
  Click(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  EXPECT_EQ(Marks(FirstGroup()), (std::vector<int>{3, 1, 0, 0}));

  // The files marked duplicate get the delete mark.
  PostCommand(window.window(), IDM_EDIT_BULK_MARK);
  dialog = WaitForDialog(window.thread(), "全てのアイテムのフラグ・マークの変更");
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDC_BULK_RADIO_CHOSEN_MARK);
  ASSERT_TRUE(WaitUntil([&] { return ControlEnabled(dialog, IDC_BULK_COMBO_CHOSEN_MARK); }));
  SendDlgItemMessageW(dialog, IDC_BULK_COMBO_CHOSEN_MARK, CB_SETCURSEL, 1, 0);
  Click(dialog, IDC_BULK_RADIO_NEW_MARK_3);
  Click(dialog, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  EXPECT_EQ(Marks(FirstGroup()), (std::vector<int>{5, 5, 0, 0}));
  EXPECT_EQ(Marks(SecondGroup()), (std::vector<int>{0, 0, 0}));
}

TEST_F(MainWindowMarkingTest, MarkingByFolderReportsHowManyFilesMatched) {
  PostCommand(window.window(), IDM_TOOLS_MARK_BY_FOLDER);
  HWND dialog = WaitForDialog(window.thread(), "指定ディレクトリの検索");
  ASSERT_NE(dialog, nullptr);
  // Letter case does not matter; the folder needs no final separator.
  std::string folder = files.Root();
  for (char& c : folder) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  SetControlText(dialog, IDC_DIRMARK_EDIT_FOLDER, folder);
  Click(dialog, IDC_DIRMARK_RADIO_MARK_3);
  Click(dialog, IDOK);
  ASSERT_TRUE(window.prompter().WaitForRecords(1));
  EXPECT_EQ(window.prompter().Records()[0].text, "5個のファイルが該当しました。");
  EXPECT_EQ(window.prompter().Records()[0].type, static_cast<UINT>(MB_OK));
  EXPECT_EQ(Marks(FirstGroup()), (std::vector<int>{5, 5, 5, 5}));
  EXPECT_EQ(Marks(SecondGroup()), (std::vector<int>{5, 5, 5}));

  // Cancel: no message, no change.
  window.prompter().Clear();
  PostCommand(window.window(), IDM_TOOLS_MARK_BY_FOLDER);
  dialog = WaitForDialog(window.thread(), "指定ディレクトリの検索");
  ASSERT_NE(dialog, nullptr);
  Click(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));
  EXPECT_TRUE(window.prompter().Records().empty());
  EXPECT_EQ(Marks(FirstGroup()), (std::vector<int>{5, 5, 5, 5}));
}

}  // namespace
}  // namespace twinseek::testing
