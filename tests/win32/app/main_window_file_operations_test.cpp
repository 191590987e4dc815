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

  // Writes the files (ASCII names, one time for all) and scans them in that
  // order.
  void WriteAndScan(const std::vector<std::pair<std::string, std::string>>& named) {
    std::vector<std::string> paths;
    for (const auto& [name, content] : named) {
      Write(std::u8string(name.begin(), name.end()), content);
      paths.push_back(files.Path(name));
    }
    Scan(paths);
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
    ASSERT_TRUE(WaitUntil(
        [&] {
          for (const PromptRecord& record : window.prompter().Records()) {
            if (record.text.find("個のファイルを除外") != std::string::npos) return true;
          }
          return false;
        },
        20000))
        << asked;
  }

  std::string LastMessage() {
    const auto texts = window.prompter().MessageTexts();
    return texts.empty() ? std::string() : texts.back();
  }

  TempTree files;
  MainWindowHarness window;
};

TEST_F(FileOperationsTest, NothingMarkedMeansNothingToDoMoveOrCopy) {
  WriteAndScan({{"a.txt", "same"}, {"b.txt", "same"}});
  const Snapshot before = Files(files.Root());
  for (int command : {IDM_FILE_DELETE, IDM_FILE_MOVE, IDM_FILE_COPY}) {
    SendMessageW(window.window(), WM_COMMAND, command, 0);
  }
  EXPECT_EQ(
      window.prompter().MessageTexts(),
      (std::vector<std::string>{"削除対象がありません", "移動対象がありません", "コピー対象がありません"}));
  EXPECT_EQ(Files(files.Root()), before);
}

// The recycle bin's delete, with the shell's own confirmation answered No and
// then Yes: on No every file stays, on the disk and in the tree.
TEST_F(FileOperationsTest, DeleteKeepsEverythingOnNoAndFoldsTheGroupOnYes) {
  WriteAndScan({{"a.txt", "same"}, {"b.txt", "same"}, {"c.txt", "same"}});
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
  WriteAndScan({{"one\\x.txt", "copy"}, {"two\\x.txt", "copy"}, {"keep.txt", "kept file"}});
  MarkAllFiles(IDM_EDIT_MARK_DELETE);
  window.prompter().QueueMessageAnswer(IDYES);  // every copy goes, knowingly

  Move(files.Path("new\\place"));  // two levels created
  EXPECT_EQ(Files(files.Root()), (Snapshot{{"keep.txt", "kept file"},
                                           {"new\\place\\x.txt", "copy"},
                                           {"new\\place\\x (2).txt", "copy"}}));
  EXPECT_EQ(LastMessage(), "2個のファイルを除外\r\n1個のインデックスが削除されました。\r\n");
  EXPECT_EQ(Node(TVGN_ROOT), nullptr);
}

TEST_F(FileOperationsTest, AFileLockedDuringAMoveStaysReportedAndMarked) {
  WriteAndScan({{"a.txt", "content"}, {"b.txt", "content"}, {"c.txt", "content"}});
  MarkAllFiles(IDM_EDIT_MARK_DELETE);
  files.MakeFolder(u8"target");
  window.prompter().QueueMessageAnswer(IDYES);  // every copy goes, knowingly

  const std::wstring locked_path = Cp932ToWide(files.Path("b.txt"));
  HANDLE locked = CreateFileW(locked_path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  Move(files.Path("target"));
  CloseHandle(locked);

  // b.txt stays where it was, named in the report; the others moved.
  EXPECT_EQ(Files(files.Root()),
            (Snapshot{{"b.txt", "content"}, {"target\\a.txt", "content"}, {"target\\c.txt", "content"}}));
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

// Groups whose every file is marked for deletion are named in one question
// before a delete or a move, No being the default; No changes nothing.
TEST_F(FileOperationsTest, TheLastCopiesOfAGroupGoOnlyAfterYes) {
  WriteAndScan({{"a1.txt", "first"}, {"a2.txt", "first"}, {"b1.txt", "second"}, {"b2.txt", "second"}});
  const HTREEITEM whole = Node(TVGN_ROOT);
  MarkNode(whole, IDM_EDIT_MARK_DELETE);                                     // both files of the first group
  MarkNode(Node(TVGN_CHILD, Node(TVGN_NEXT, whole)), IDM_EDIT_MARK_DELETE);  // one of the second
  const std::string key = ShownTree(Tree()).Text(whole);
  const std::string named =
      "すべてのファイルに削除マークが付いているグループがあります。\r\n  " + key + "\r\n\r\n";
  const Snapshot before = Files(files.Root());
  files.MakeFolder(u8"target");
  const UINT question_type = MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2;

  const std::map<int, std::string> endings = {
      {IDM_FILE_DELETE, "削除すると、これらのグループのファイルは1つも残りません。\r\n続けますか？"},
      {IDM_FILE_MOVE, "移動すると、これらのグループのファイルは元の場所に1つも残りません。\r\n続けますか？"}};
  for (const auto& [command, ending] : endings) {
    window.prompter().Clear();
    PostCommand(window.window(), command);  // answered No
    ASSERT_TRUE(window.prompter().WaitForRecords(1));
    // Once the window has handled this, the command is over, or waits in
    // the shell's confirmation or the move dialog.
    SendMessageW(window.window(), WM_NULL, 0, 0);
    OtherDialog next{window.window()};
    EnumThreadWindows(window.thread(), &FindOtherDialog, reinterpret_cast<LPARAM>(&next));
    EXPECT_EQ(next.found, nullptr) << "No goes no further";
    if (next.found != nullptr) PostMessageW(next.found, WM_COMMAND, IDCANCEL, 0);
    const auto records = window.prompter().Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].text, named + ending);
    EXPECT_EQ(records[0].type, question_type);
    EXPECT_EQ(records[0].caption, "");
    EXPECT_EQ(records[0].owner, window.window());
  }
  EXPECT_EQ(Files(files.Root()), before);
  EXPECT_EQ(ShownTree(Tree()).Count(), 6u);

  // Yes: the move goes on.
  window.prompter().Clear();
  window.prompter().QueueMessageAnswer(IDYES);
  Move(files.Path("target"));
  EXPECT_EQ(window.prompter().Records()[0].text, named + endings.at(IDM_FILE_MOVE));
  EXPECT_EQ(window.prompter().Records()[0].type, question_type);
  EXPECT_EQ(Files(files.Root()), (Snapshot{{"b2.txt", "second"},
                                           {"target\\a1.txt", "first"},
                                           {"target\\a2.txt", "first"},
                                           {"target\\b1.txt", "second"}}));
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
  WriteAndScan({{"a1.txt", "equal"}, {"a2.txt", "equal"}, {"b1.txt", "left"}, {"b2.txt", "rght"}});
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

// A file another program holds open without sharing cannot be compared: its
// pairs name it instead of calling it different, and the group is not
// called a group of copies.
TEST_F(FileOperationsTest, TheComparisonNamesAFileItCannotRead) {
  WriteAndScan({{"a1.txt", "equal"}, {"a2.txt", "equal"}, {"a3.txt", "equal"}});
  const ShownTree view(Tree());
  const HTREEITEM group = view.FirstGroup();
  const HANDLE locked = CreateFileW(Cp932ToWide(files.Path("a3.txt")).c_str(), GENERIC_READ, 0, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);

  MarkNode(group, IDM_EDIT_FULL_COMPARE);
  CloseHandle(locked);
  const auto records = window.prompter().Records();
  ASSERT_EQ(records.size(), 1u);
  const auto pair = [&](const char* a, const char* b) {
    return "  " + files.Path(a) + "\r\n  " + files.Path(b) + "\r\n";
  };
  const std::string unreadable =
      "は比較できません。ファイルの読み取りに失敗しました(" + files.Path("a3.txt") + ")\r\n\r\n";
  EXPECT_EQ(records[0].text, "検査:" + view.Text(group) + "\r\n" + pair("a1.txt", "a2.txt") +
                                 "は同一内容です\r\n\r\n" + pair("a1.txt", "a3.txt") + unreadable +
                                 pair("a2.txt", "a3.txt") + unreadable);
  EXPECT_EQ(view.Mark(group), MarkNone);
}

// The background comparison stops at the next file when asked, by "終了" or
// by the close box, and the window stays open.
TEST_F(FileOperationsTest, TheBackgroundComparisonStopsWhenAskedAndTheWindowStays) {
  WriteAndScan({{"a1.txt", "equal"}, {"a2.txt", "equal"}, {"b1.txt", "four"}, {"b2.txt", "four"}});
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
    // Sent, not posted: the window has set the cancel flag once this returns
    // (it never waits for the worker).
    if (by_close_box) {
      SendMessageW(window.window(), WM_CLOSE, 0, 0);
    } else {
      SendMessageW(window.window(), WM_COMMAND, IDCANCEL, 0);
    }
    window.file_system().OpenGate();
    ASSERT_TRUE(window.prompter().WaitForRecords(1));
    ASSERT_TRUE(window.WaitUntilIdle());
    ASSERT_TRUE(IsWindow(window.window()));

    const std::string text = window.prompter().Records()[0].text;
    EXPECT_EQ(text,
              "検査:" + view.Text(first) + "\r\n検査中断\r\n検査はユーザーの指示で中断されました。\r\n");
    EXPECT_EQ(view.Mark(first), MarkNone);
    EXPECT_EQ(view.Mark(second), MarkNone);  // never examined
    EXPECT_EQ(view.Selected(), second);      // the first group not examined
    EXPECT_TRUE(IsWindowEnabled(Tree()));
  }
}

}  // namespace
}  // namespace twinseek::testing
