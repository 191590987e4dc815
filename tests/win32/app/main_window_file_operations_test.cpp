// Scenario tests of the file operations and the full comparison in the main
// window, on real files: what is on disk is checked byte for byte before and
// after every operation, and the results in the tree must say what happened
// on disk.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "base/win32/wide_text.h"
#include "resources/main_window_ids.h"
#include "resources/move_target_dialog_ids.h"
#include "support/temp_tree.h"
#include "support/win32/shown_tree.h"
#include "win32/app/main_window_harness.h"

namespace twinseek::testing {
namespace {

constexpr FileTime kSameTime = 133'000'000'000'000'000;

using Snapshot = std::map<std::string, std::string>;  // relative path -> bytes

std::string Content(const std::string& path) {
  std::string content;
  std::unique_ptr<FileReader> reader = SystemFileSystem().OpenRead(path);
  if (!reader) return "<cannot open>";
  char buffer[4096];
  while (const std::optional<size_t> count = reader->Read(buffer, sizeof buffer)) {
    if (*count == 0) break;
    content.append(buffer, *count);
  }
  return content;
}

void Collect(const std::string& folder, const std::string& prefix, Snapshot& snapshot) {
  std::vector<std::string> folders;
  SystemFileSystem().ListFolder(folder, [&](const DirEntry& entry) {
    if (entry.IsDirectory()) {
      folders.push_back(entry.name);
    } else {
      snapshot[prefix + entry.name] = Content(folder + "\\" + entry.name);
    }
    return true;
  });
  for (const std::string& name : folders) Collect(folder + "\\" + name, prefix + name + "\\", snapshot);
}

// Every file below folder with its bytes.
Snapshot Files(const std::string& folder) {
  Snapshot snapshot;
  Collect(folder, "", snapshot);
  return snapshot;
}

// A dialog of the thread other than the main window (the shell's
// confirmation has a caption of its own).
struct OtherDialog {
  HWND main;
  HWND found = nullptr;
};

BOOL CALLBACK FindOtherDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<OtherDialog*>(param);
  wchar_t class_name[16] = {};
  GetClassNameW(window, class_name, 16);
  if (window == search->main || std::wstring_view(class_name) != L"#32770" || !IsWindowVisible(window)) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

class FileOperationsTest : public ::testing::Test {
 protected:
  void Write(std::u8string_view name, std::string_view content) {
    files.Write(name, content);
    files.SetLastWriteTime(name, kSameTime);
  }

  // Scans the paths by a drop and waits for the end.
  void Scan(const std::vector<std::string>& paths) {
    const size_t asked = window.prompter().Records().size();
    window.Drop(paths);
    ASSERT_TRUE(window.WaitForClosingMessage(asked));
    ASSERT_TRUE(window.WaitUntilIdle());
    window.prompter().Clear();
  }

  HWND Tree() const { return GetDlgItem(window.window(), IDC_MAIN_TREE); }
  HTREEITEM Node(UINT relation, HTREEITEM from = nullptr) const {
    return reinterpret_cast<HTREEITEM>(
        SendMessageW(Tree(), TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(from)));
  }
  // Selects a node and gives it a mark through the menu command.
  void MarkNode(HTREEITEM node, int command) {
    SendMessageW(Tree(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node));
    SendMessageW(window.window(), WM_COMMAND, command, 0);
  }
  void MarkAllFiles(int command) {
    for (HTREEITEM group = Node(TVGN_ROOT); group != nullptr; group = Node(TVGN_NEXT, group)) {
      MarkNode(group, command);
    }
  }

  // Runs the move command into folder through its dialog.
  void Move(const std::string& folder) {
    PostCommand(window.window(), IDM_FILE_MOVE);
    HWND dialog = WaitForDialog(window.thread(), "ファイルの移動");
    ASSERT_NE(dialog, nullptr);
    SetControlText(dialog, IDC_MOVE_EDIT_FOLDER, folder);
    const size_t asked = window.prompter().Records().size();
    Click(dialog, IDOK);
    // The exclusion's report ends the command.
    ASSERT_TRUE(WaitUntil([&] {
      for (const PromptRecord& record : window.prompter().Records()) {
        if (record.text.find("個のファイルを除外") != std::string::npos) return true;
      }
      return false;
    }, 20000)) << asked;
  }

  std::string LastMessage() {
    const auto texts = window.prompter().MessageTexts();
    return texts.empty() ? std::string() : texts.back();
  }

  TempTree files;
  MainWindowHarness window;
};

TEST_F(FileOperationsTest, NothingMarkedMeansNothingToDoMoveOrCopy) {
  Write(u8"a.txt", "same");
  Write(u8"b.txt", "same");
  Scan({files.Path("a.txt"), files.Path("b.txt")});
  const Snapshot before = Files(files.Root());
  for (int command : {IDM_FILE_DELETE, IDM_FILE_MOVE, IDM_FILE_COPY}) {
    SendMessageW(window.window(), WM_COMMAND, command, 0);
  }
  EXPECT_EQ(window.prompter().MessageTexts(),
            (std::vector<std::string>{"削除対象がありません", "移動対象がありません", "コピー対象がありません"}));
  EXPECT_EQ(Files(files.Root()), before);
}

// The recycle bin's delete, with the shell's own confirmation answered No and
// then Yes: on No every file stays, on the disk and in the tree.
TEST_F(FileOperationsTest, DeleteKeepsEverythingOnNoAndFoldsTheGroupOnYes) {
  Write(u8"a.txt", "same");
  Write(u8"b.txt", "same");
  Write(u8"c.txt", "same");
  Scan({files.Path("a.txt"), files.Path("b.txt"), files.Path("c.txt")});
  const HTREEITEM group = Node(TVGN_ROOT);
  MarkNode(Node(TVGN_CHILD, group), IDM_EDIT_MARK_DELETE);
  MarkNode(Node(TVGN_NEXT, Node(TVGN_CHILD, group)), IDM_EDIT_MARK_DELETE);
  const Snapshot before = Files(files.Root());

  for (const int answer : {IDNO, IDYES}) {
    window.prompter().Clear();
    PostCommand(window.window(), IDM_FILE_DELETE);
    OtherDialog confirmation{window.window()};
    ASSERT_TRUE(WaitUntil([&] {
      EnumThreadWindows(window.thread(), &FindOtherDialog, reinterpret_cast<LPARAM>(&confirmation));
      return confirmation.found != nullptr;
    }));
    PostMessageW(confirmation.found, WM_COMMAND, answer, 0);
    ASSERT_TRUE(window.prompter().WaitForRecords(1));
    if (answer == IDNO) {
      EXPECT_EQ(LastMessage(), "0個のファイルを除外\r\n");
      EXPECT_EQ(Files(files.Root()), before);
      const ShownTree view(Tree());
      EXPECT_EQ(view.Mark(group), MarkDelete);
      EXPECT_EQ(view.Count(), 4u);
    } else {
      EXPECT_EQ(LastMessage(), "2個のファイルを除外\r\n1個の新たな非重複ファイルが発生しました。\r\n");
      EXPECT_EQ(Files(files.Root()), (Snapshot{{"c.txt", "same"}}));
    }
  }
}

TEST_F(FileOperationsTest, TwoFilesOfOneNameMovedIntoOneFolderAreBothKept) {
  files.MakeFolder(u8"one");
  files.MakeFolder(u8"two");
  Write(u8"one\\x.txt", "copy");
  Write(u8"two\\x.txt", "copy");
  Write(u8"keep.txt", "kept file");
  Scan({files.Path("one\\x.txt"), files.Path("two\\x.txt"), files.Path("keep.txt")});
  MarkAllFiles(IDM_EDIT_MARK_DELETE);

  Move(files.Path("new\\place"));  // two levels created
  EXPECT_EQ(Files(files.Root()), (Snapshot{{"keep.txt", "kept file"},
                                          {"new\\place\\x.txt", "copy"},
                                          {"new\\place\\x (2).txt", "copy"}}));
  EXPECT_EQ(LastMessage(), "2個のファイルを除外\r\n1個のインデックスが削除されました。\r\n");
  EXPECT_EQ(Node(TVGN_ROOT), nullptr);
}

TEST_F(FileOperationsTest, AFileLockedDuringAMoveStaysReportedAndMarked) {
  Write(u8"a.txt", "content");
  Write(u8"b.txt", "content");
  Write(u8"c.txt", "content");
  Scan({files.Path("a.txt"), files.Path("b.txt"), files.Path("c.txt")});
  MarkAllFiles(IDM_EDIT_MARK_DELETE);
  files.MakeFolder(u8"target");

  const std::wstring locked_path = Cp932ToWide(files.Path("b.txt"));
  HANDLE locked = CreateFileW(locked_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  Move(files.Path("target"));
  CloseHandle(locked);

  // b.txt stays where it was, named in the report; the others moved.
  EXPECT_EQ(Files(files.Root()), (Snapshot{{"b.txt", "content"},
                                          {"target\\a.txt", "content"},
                                          {"target\\c.txt", "content"}}));
  const auto records = window.prompter().Records();
  bool reported = false;
  for (const PromptRecord& record : records) {
    if (record.kind == PromptRecord::Kind::kReport &&
        record.text.find(files.Path("b.txt")) != std::string::npos) {
      reported = true;
    }
  }
  EXPECT_TRUE(reported);
  // The group keeps b.txt with its delete mark, ready for another try.
  EXPECT_EQ(LastMessage(), "2個のファイルを除外\r\n");
  const HTREEITEM group = Node(TVGN_ROOT);
  ASSERT_NE(group, nullptr);
  const ShownTree view(Tree());
  const HTREEITEM file = Node(TVGN_CHILD, group);
  EXPECT_EQ(view.Text(file), files.Path("b.txt"));
  EXPECT_EQ(view.Mark(file), MarkDelete);
  EXPECT_EQ(view.Mark(group), MarkDelete);
}

TEST_F(FileOperationsTest, ACopyIntoAFolderHoldingTheNameKeepsBothAndTheTree) {
  files.MakeFolder(u8"target");
  Write(u8"x.txt", "new copy");
  Write(u8"y.txt", "new copy");
  files.Write(u8"target\\x.txt", "already there");
  Scan({files.Path("x.txt"), files.Path("y.txt")});
  MarkNode(Node(TVGN_CHILD, Node(TVGN_ROOT)), IDM_EDIT_MARK_COPY);
  window.prompter().QueueFolder(files.Path("target"));

  SendMessageW(window.window(), WM_COMMAND, IDM_FILE_COPY, 0);
  const auto records = window.prompter().Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].kind, PromptRecord::Kind::kFolder);
  EXPECT_EQ(records[0].text, "コピー先のフォルダを指定してください");
  EXPECT_EQ(records[0].folder, "");
  EXPECT_EQ(Files(files.Root()), (Snapshot{{"x.txt", "new copy"},
                                          {"y.txt", "new copy"},
                                          {"target\\x.txt", "already there"},
                                          {"target\\x (2).txt", "new copy"}}));
  // The tree is as it was: the copied file keeps its mark.
  EXPECT_EQ(ShownTree(Tree()).Mark(Node(TVGN_CHILD, Node(TVGN_ROOT))), MarkCopy);
}

TEST_F(FileOperationsTest, TheComparisonMarksWhatIsReallyEqual) {
  Write(u8"a1.txt", "equal");
  Write(u8"a2.txt", "equal");
  Write(u8"b1.txt", "left");
  Write(u8"b2.txt", "rght");
  Scan({files.Path("a1.txt"), files.Path("a2.txt"), files.Path("b1.txt"), files.Path("b2.txt")});
  const ShownTree view(Tree());
  const HTREEITEM first = view.FirstGroup();
  const HTREEITEM second = view.Next(first);

  MarkNode(first, IDM_EDIT_FULL_COMPARE);
  auto records = window.prompter().Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].kind, PromptRecord::Kind::kReport);
  EXPECT_EQ(records[0].text, "検査:" + view.Text(first) + "\r\nすべて同一内容です。\r\n\r\n");
  EXPECT_EQ(view.Mark(first), MarkDuplicate);

  // All groups: only the one still unmarked is compared.
  window.prompter().Clear();
  SendMessageW(window.window(), WM_COMMAND, IDM_EDIT_COMPARE_ALL, 0);
  ASSERT_TRUE(window.prompter().WaitForRecords(1));
  ASSERT_TRUE(window.WaitUntilIdle());
  records = window.prompter().Records();
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].text, "検査:" + view.Text(second) + "\r\n  " + files.Path("b1.txt") + "\r\n  " +
                                 files.Path("b2.txt") + "\r\nは同一内容ではありません\r\n\r\n");
  EXPECT_EQ(records[0].owner, window.window());
  EXPECT_EQ(view.Mark(second), MarkUnique);
  EXPECT_EQ(view.Mark(first), MarkDuplicate);
  EXPECT_TRUE(IsWindowEnabled(Tree()));
}

// The background comparison stops at the next file when asked, by "終了" or
// by the close box, and the window stays open.
TEST_F(FileOperationsTest, TheBackgroundComparisonStopsWhenAskedAndTheWindowStays) {
  Write(u8"a1.txt", "equal");
  Write(u8"a2.txt", "equal");
  Write(u8"b1.txt", "four");
  Write(u8"b2.txt", "four");
  Scan({files.Path("a1.txt"), files.Path("a2.txt"), files.Path("b1.txt"), files.Path("b2.txt")});
  const ShownTree view(Tree());
  const HTREEITEM first = view.FirstGroup();
  const HTREEITEM second = view.Next(first);

  for (const bool by_close_box : {false, true}) {
    window.prompter().Clear();
    window.file_system().CloseGate(files.Path("a1.txt"));
    PostCommand(window.window(), IDM_EDIT_COMPARE_ALL);
    ASSERT_TRUE(window.file_system().WaitForReader());
    EXPECT_FALSE(IsWindowEnabled(Tree()));
    EXPECT_FALSE(window.Enabled(IDC_MAIN_BUTTON_SEARCH));
    if (by_close_box) {
      PostMessageW(window.window(), WM_CLOSE, 0, 0);
    } else {
      PostCommand(window.window(), IDCANCEL);
    }
    Sleep(100);
    window.file_system().OpenGate();
    ASSERT_TRUE(window.prompter().WaitForRecords(1));
    ASSERT_TRUE(window.WaitUntilIdle());
    ASSERT_TRUE(IsWindow(window.window()));

    const std::string text = window.prompter().Records()[0].text;
    EXPECT_EQ(text, "検査:" + view.Text(first) + "\r\n検査中断\r\n検査はユーザーの指示で中断されました。\r\n");
    EXPECT_EQ(view.Mark(first), MarkNone);
    EXPECT_EQ(view.Mark(second), MarkNone);  // never examined
    EXPECT_EQ(view.Selected(), second);         // the first group not examined
    EXPECT_TRUE(IsWindowEnabled(Tree()));
  }
}

}  // namespace
}  // namespace twinseek::testing
