// The Windows side of the file commands on real temporary folders: the move
// destination dialog and the progress window, each run on its own thread and
// driven from the test thread, and the shell's recycle-bin delete with its
// own confirmation answered by clicking it. Files are compared byte for byte
// before and after.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/win32/wide_text.h"
#include "fileops/file_operation_texts.h"
#include "fileops/win32/move_target_dialog.h"
#include "fileops/win32/recycle_bin.h"
#include "fileops/transfer.h"
#include "fileops/win32/transfer_dialog.h"
#include "resources/move_target_dialog_ids.h"
#include "resources/transfer_dialog_ids.h"
#include "base/file_system_wrapper.h"
#include "support/temp_tree.h"
#include "support/win32/fake_prompter.h"
#include "support/win32/ui_driver.h"

namespace twinseek {
namespace {

using testing::ControlText;
using testing::FakePrompter;
using testing::PromptRecord;
using testing::TempTree;
using testing::UiThread;

// The whole content of a file; nothing when it cannot be read.
std::optional<std::string> Content(std::string_view path) {
  std::unique_ptr<FileReader> reader = SystemFileSystem().OpenRead(path);
  if (!reader) return std::nullopt;
  std::string content;
  char buffer[4096];
  while (std::optional<size_t> read = reader->Read(buffer, sizeof buffer)) {
    if (*read == 0) return content;
    content.append(buffer, *read);
  }
  return std::nullopt;
}

bool Exists(std::string_view path) { return SystemFileSystem().GetAttributes(path).has_value(); }

// Presses a button and returns once its command has been handled: the fake
// prompter opens no window, so no command here waits for a user.
void Press(HWND dialog, int id) { SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// ---- The move destination dialog ----

constexpr std::string_view kMoveCaption = "ファイルの移動";

class MoveTargetDialogTest : public ::testing::Test {
 protected:
  // Opens the dialog on its own thread and returns its window.
  HWND Open() {
    ui_.emplace([this] { result_ = MoveTargetDialog(prompter_, SystemFileSystem()).Run(nullptr); });
    const HWND window = testing::WaitForDialog(ui_->id(), kMoveCaption);
    EXPECT_NE(window, nullptr);
    return window;
  }
  bool StillOpen() const { return testing::FindDialog(ui_->id(), kMoveCaption) != nullptr; }
  std::optional<std::string> Finish() {
    EXPECT_TRUE(ui_->Join());
    return result_;
  }
  void TearDown() override {
    if (!ui_ || ui_->Join(0)) return;
    if (HWND open = testing::FindDialog(ui_->id(), kMoveCaption)) PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
  }

  // The one message asked since the last Clear, as a record.
  PromptRecord OnlyRecord() {
    const std::vector<PromptRecord> records = prompter_.Records();
    EXPECT_EQ(records.size(), 1u);
    prompter_.Clear();
    return records.empty() ? PromptRecord{} : records.front();
  }

  TempTree tree_;
  FakePrompter prompter_;
  std::optional<std::string> result_ = "untouched";
  std::optional<UiThread> ui_;
};

TEST_F(MoveTargetDialogTest, RefusesWhatCannotBeAFolderAndStaysOpenUntilCancelled) {
  tree_.Write(u8"taken.txt", "keep me");
  const HWND window = Open();
  EXPECT_EQ(ControlText(window, IDC_MOVE_EDIT_FOLDER), "");

  Press(window, IDOK);
  PromptRecord record = OnlyRecord();
  EXPECT_EQ(record.text, kNoDestinationMessage);
  EXPECT_EQ(record.caption, "");
  EXPECT_EQ(record.type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  EXPECT_EQ(record.owner, window);
  EXPECT_TRUE(StillOpen());

  const std::string file = tree_.Path("taken.txt");
  testing::SetControlText(window, IDC_MOVE_EDIT_FOLDER, file);
  Press(window, IDOK);
  record = OnlyRecord();
  EXPECT_EQ(record.text, kBadFolderMessage);
  EXPECT_EQ(record.type, static_cast<UINT>(MB_OK | MB_ICONWARNING));
  EXPECT_EQ(Content(file), "keep me");

  // A name code page 932 cannot hold is refused before anything is created.
  const std::wstring foreign = Cp932ToWide(tree_.Root()) + L"\\\uD55C\\sub";
  SetDlgItemTextW(window, IDC_MOVE_EDIT_FOLDER, foreign.c_str());
  Press(window, IDOK);
  EXPECT_EQ(OnlyRecord().text, kBadFolderMessage);
  EXPECT_EQ(GetFileAttributesW(foreign.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(StillOpen());

  Press(window, IDCANCEL);
  EXPECT_EQ(Finish(), std::nullopt);
  EXPECT_TRUE(prompter_.Records().empty());
}

TEST_F(MoveTargetDialogTest, CreatesEveryMissingLevelAndReturnsTheDestination) {
  const std::string destination = tree_.Path("新しい\\old\\twins");
  const HWND window = Open();
  testing::SetControlText(window, IDC_MOVE_EDIT_FOLDER, destination);
  Press(window, IDOK);
  EXPECT_EQ(Finish(), destination);
  EXPECT_TRUE(prompter_.Records().empty());
  const std::optional<uint32_t> attributes = SystemFileSystem().GetAttributes(destination);
  ASSERT_TRUE(attributes.has_value());
  EXPECT_NE(*attributes & kAttributeDirectory, 0u);
}

TEST_F(MoveTargetDialogTest, BrowseOffersNothingAndPutsTheChosenFolderInTheBox) {
  const std::string chosen = tree_.Path("選んだ");
  tree_.MakeFolder(u8"選んだ");
  const HWND window = Open();
  testing::SetControlText(window, IDC_MOVE_EDIT_FOLDER, "C:\\typed");

  prompter_.QueueFolder(chosen);
  Press(window, IDC_MOVE_BUTTON_BROWSE);
  PromptRecord record = OnlyRecord();
  EXPECT_EQ(record.kind, PromptRecord::Kind::kFolder);
  EXPECT_EQ(record.text, kChooseMoveFolderTitle);
  EXPECT_EQ(record.folder, "");
  EXPECT_EQ(record.owner, window);
  EXPECT_EQ(ControlText(window, IDC_MOVE_EDIT_FOLDER), chosen);

  Press(window, IDC_MOVE_BUTTON_BROWSE);  // cancelled: the box keeps its text
  EXPECT_EQ(OnlyRecord().folder, "");
  EXPECT_EQ(ControlText(window, IDC_MOVE_EDIT_FOLDER), chosen);

  Press(window, IDOK);
  EXPECT_EQ(Finish(), chosen);
}

// ---- The progress window ----

// The system's file system, whose move or copy of the gated file (by its
// position among the calls) waits until the test opens the gate.
class GatedFileSystem final : public FileSystemWrapper {
 public:
  explicit GatedFileSystem(int gated_call) : gated_call_(gated_call) {}
  ~GatedFileSystem() override {
    CloseHandle(gate_);
    CloseHandle(reached_);
  }

  void Open() { SetEvent(gate_); }
  bool WaitUntilReached() { return WaitForSingleObject(reached_, 30000) == WAIT_OBJECT_0; }

  FileError MoveFileTo(std::string_view from, std::string_view to) override {
    Pass();
    return target().MoveFileTo(from, to);
  }
  FileError CopyFileTo(std::string_view from, std::string_view to) override {
    Pass();
    return target().CopyFileTo(from, to);
  }

 private:
  void Pass() {
    if (++calls_ != gated_call_) return;
    SetEvent(reached_);
    WaitForSingleObject(gate_, 30000);
  }

  const int gated_call_;
  int calls_ = 0;  // the worker's thread only
  HANDLE gate_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE reached_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

class TransferDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tree_.MakeFolder(u8"from");
    tree_.MakeFolder(u8"from\\a");
    tree_.MakeFolder(u8"to");
    tree_.Write(u8"from\\重複.txt", "first twin");
    tree_.Write(u8"from\\a\\重複.txt", "second twin");
    tree_.Write(u8"from\\c.bin", std::string("\0\x81\xff", 3));
    tree_.Write(u8"from\\d.txt", "last");
    paths_ = {tree_.Path("from\\重複.txt"), tree_.Path("from\\a\\重複.txt"), tree_.Path("from\\c.bin"),
              tree_.Path("from\\d.txt")};
    for (const std::string& path : paths_) contents_.push_back(*Content(path));
  }

  std::string To(std::string_view name) const { return tree_.Path("to\\" + std::string(name)); }

  TransferOutcome RunOn(FileSystem& file_system, TransferKind kind, const std::function<void(DWORD)>& drive) {
    TransferOutcome outcome;
    UiThread ui([&] { outcome = TransferDialog(file_system).Run(nullptr, paths_, tree_.Path("to"), kind); });
    drive(ui.id());
    EXPECT_TRUE(ui.Join(30000));
    return outcome;
  }

  TempTree tree_;
  std::vector<std::string> paths_;
  std::vector<std::string> contents_;
};

TEST_F(TransferDialogTest, MovesAndCopiesEveryFileKeepingBothTwins) {
  const std::vector<std::string> stored = {To("重複.txt"), To("重複 (2).txt"), To("c.bin"), To("d.txt")};
  for (TransferKind kind : {TransferKind::kCopy, TransferKind::kMove}) {
    SCOPED_TRACE(kind == TransferKind::kMove ? "move" : "copy");
    for (const std::string& path : stored) DeleteFileW(Cp932ToWide(path).c_str());
    const TransferOutcome outcome = RunOn(SystemFileSystem(), kind, [](DWORD) {});
    EXPECT_EQ(outcome.done, paths_);
    EXPECT_TRUE(outcome.failed.empty());
    EXPECT_FALSE(outcome.cancelled);
    for (size_t i = 0; i < paths_.size(); ++i) {
      EXPECT_EQ(Content(stored[i]), contents_[i]) << stored[i];
      EXPECT_EQ(Exists(paths_[i]), kind == TransferKind::kCopy) << paths_[i];
    }
  }
}

TEST_F(TransferDialogTest, ShowsALongRunAndCancelLeavesTheRestUntouched) {
  GatedFileSystem gated(2);
  const TransferOutcome outcome = RunOn(gated, TransferKind::kMove, [&](DWORD thread) {
    ASSERT_TRUE(gated.WaitUntilReached());
    const HWND window = testing::WaitForDialog(thread, kMoveProgressTitle);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ControlText(window, IDC_TRANSFER_TEXT_FILE), paths_[1]);
    Press(window, IDCANCEL);
    // The window waits for the worker, which is still busy with the second file.
    EXPECT_EQ(testing::FindDialog(thread, kMoveProgressTitle), window);
    EXPECT_FALSE(testing::ControlEnabled(window, IDCANCEL));
    gated.Open();
  });
  gated.Open();
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_EQ(outcome.done, std::vector<std::string>(paths_.begin(), paths_.begin() + 2));
  EXPECT_EQ(outcome.not_handled, 2u);
  EXPECT_EQ(Content(To("重複 (2).txt")), contents_[1]);
  for (size_t i = 2; i < paths_.size(); ++i) EXPECT_EQ(Content(paths_[i]), contents_[i]) << paths_[i];
  EXPECT_FALSE(Exists(To("c.bin")));
  EXPECT_FALSE(Exists(To("d.txt")));
}

// A move into the files' own folder, spelled by its short name or in other
// letters, moves nothing and renames nothing.
TEST(TransferFilesWindowsTest, AMoveIntoTheOwnFolderByAnotherSpellingLeavesTheFilesAlone) {
  TempTree tree;
  tree.MakeFolder(u8"a long folder name");
  tree.Write(u8"a long folder name\\x.txt", "x");
  const std::string folder = tree.Path("a long folder name");
  const std::string file = tree.Path("a long folder name\\x.txt");
  std::vector<std::string> spellings = {WideToCp932Lossy(CharUpperW(Cp932ToWide(folder).data()))};
  wchar_t short_path[MAX_PATH];
  const DWORD length = GetShortPathNameW(Cp932ToWide(folder).c_str(), short_path, MAX_PATH);
  if (length > 0 && length < MAX_PATH &&
      std::wstring_view(short_path).find(L'~') != std::wstring_view::npos) {
    spellings.push_back(WideToCp932Lossy(short_path));
  }
  for (const std::string& spelling : spellings) {
    const TransferOutcome outcome =
        TransferFiles(SystemFileSystem(), {file}, spelling, TransferKind::kMove, nullptr);
    EXPECT_TRUE(outcome.done.empty()) << spelling;
    ASSERT_EQ(outcome.failed.size(), 1u) << spelling;
    EXPECT_TRUE(outcome.failed[0].in_destination) << spelling;
    EXPECT_EQ(Content(file), "x");
    EXPECT_FALSE(Exists(tree.Path("a long folder name\\x (2).txt")));
  }
  EXPECT_EQ(spellings.size(), 2u) << "Wine gives long names a short one";
}

// ---- The recycle bin ----

// The shell's operation as the delete asks for it, caught in place of the
// shell: to the recycle bin, files only, and never deleted for good without
// a warning.
TEST(RecycleBinFlagsTest, TheDeleteAsksTheShellToWarnBeforeDeletingForGood) {
  std::vector<SHFILEOPSTRUCTW> calls;
  std::wstring list;
  const HWND owner = GetDesktopWindow();
  DeleteToRecycleBin(owner, {"C:\\a.txt", "", "C:\\表\\b.txt"}, [&](SHFILEOPSTRUCTW& operation) {
    calls.push_back(operation);
    const wchar_t* end = operation.pFrom;
    while (*end != L'\0' || end[1] != L'\0') ++end;
    list.assign(operation.pFrom, end + 2);
    return 0;
  });
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].wFunc, static_cast<UINT>(FO_DELETE));
  EXPECT_EQ(calls[0].fFlags, FOF_ALLOWUNDO | FOF_FILESONLY | FOF_WANTNUKEWARNING);
  EXPECT_EQ(calls[0].hwnd, owner);
  EXPECT_EQ(calls[0].pTo, nullptr);
  EXPECT_EQ(list, std::wstring(L"C:\\a.txt\0C:\\\u8868\\b.txt\0\0", 21));

  calls.clear();
  DeleteToRecycleBin(owner, {}, [&](SHFILEOPSTRUCTW& operation) {
    calls.push_back(operation);
    return 0;
  });
  EXPECT_TRUE(calls.empty()) << "nothing to delete, no shell call";
}

BOOL CALLBACK TakeVisibleDialog(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  GetClassNameW(window, name, 16);
  if (std::wstring_view(name) != L"#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// A visible dialog of the thread, whatever its caption; null after 10 s.
HWND WaitForAnyDialog(DWORD thread) {
  HWND found = nullptr;
  testing::WaitUntil([&] {
    EnumThreadWindows(thread, &TakeVisibleDialog, reinterpret_cast<LPARAM>(&found));
    return found != nullptr;
  });
  return found;
}

// A variable of the environment; nothing when it is not set.
std::optional<std::wstring> Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::nullopt;
  return std::wstring(value, length);
}

// Wine's trash below $XDG_DATA_HOME (or $HOME/.local/share), as a Windows
// path; nothing outside Wine. The data folder is created here when missing,
// or Wine would delete for good and report success. Wine hands the Unix home
// over as WINEHOMEDIR ("\??\Z:\root"), not as HOME.
std::optional<std::wstring> TrashFolder() {
  std::optional<std::wstring> data_home;
  if (std::optional<std::wstring> xdg = Environment(L"XDG_DATA_HOME")) {
    using ToDos = WCHAR* (*)(const char*);
    const auto to_dos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    WCHAR* dos = to_dos != nullptr ? to_dos(WideToUtf8(*xdg).c_str()) : nullptr;
    if (dos == nullptr) return std::nullopt;
    data_home = dos;
    HeapFree(GetProcessHeap(), 0, dos);
  } else if (std::optional<std::wstring> home = Environment(L"WINEHOMEDIR")) {
    constexpr std::wstring_view kNtPrefix = L"\\??\\";
    if (home->starts_with(kNtPrefix)) home->erase(0, kNtPrefix.size());
    data_home = *home + L"\\.local\\share";
  }
  if (!data_home) return std::nullopt;
  SHCreateDirectoryExW(nullptr, data_home->c_str(), nullptr);
  return *data_home + L"\\Trash";
}

class RecycleBinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    trash_ = TrashFolder();
    if (!trash_) GTEST_SKIP() << "not under Wine";
    // Names of this run only, so the trash holds no older file of that name.
    const std::string tag = std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
    names_ = {"ごみ箱_" + tag + ".txt", "plain_" + tag + ".bin"};
    tree_.MakeFolder(u8"sub");
    tree_.Write(u8"neighbour.txt", "stays");
    for (size_t i = 0; i < names_.size(); ++i) {
      paths_.push_back(tree_.Path("sub\\" + names_[i]));
      contents_.push_back("content " + std::to_string(i) + std::string("\0\r\n", 3));
      HANDLE file =
          CreateFileW(Cp932ToWide(paths_[i]).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
      DWORD written = 0;
      WriteFile(file, contents_[i].data(), static_cast<DWORD>(contents_[i].size()), &written, nullptr);
      CloseHandle(file);
    }
  }

  void TearDown() override {
    if (!trash_) return;
    for (const std::string& name : names_) {
      DeleteFileW((*trash_ + L"\\files\\" + Cp932ToWide(name)).c_str());
      DeleteFileW((*trash_ + L"\\info\\" + Cp932ToWide(name) + L".trashinfo").c_str());
    }
  }

  // Deletes the files on a thread of their own and answers the shell's
  // confirmation with the button.
  void DeleteAnswering(int button) {
    UiThread ui([this] { DeleteToRecycleBin(nullptr, paths_); });
    const HWND confirmation = WaitForAnyDialog(ui.id());
    ASSERT_NE(confirmation, nullptr);
    ASSERT_NE(GetDlgItem(confirmation, button), nullptr);
    testing::Click(confirmation, button);
    EXPECT_TRUE(ui.Join(30000));
  }

  std::string InTrash(const std::string& name) const {
    return WideToCp932Lossy(*trash_ + L"\\files\\") + name;
  }

  TempTree tree_;
  std::optional<std::wstring> trash_;
  std::vector<std::string> names_;
  std::vector<std::string> paths_;
  std::vector<std::string> contents_;
};

TEST_F(RecycleBinTest, YesSendsExactlyTheListedFilesToTheTrash) {
  DeleteAnswering(IDYES);
  for (size_t i = 0; i < paths_.size(); ++i) {
    EXPECT_FALSE(Exists(paths_[i])) << paths_[i];
    EXPECT_EQ(Content(InTrash(names_[i])), contents_[i]) << names_[i];
  }
  EXPECT_EQ(Content(tree_.Path("neighbour.txt")), "stays");
}

TEST_F(RecycleBinTest, NoLeavesEveryFileAsItWas) {
  DeleteAnswering(IDNO);
  for (size_t i = 0; i < paths_.size(); ++i) {
    EXPECT_EQ(Content(paths_[i]), contents_[i]) << paths_[i];
    EXPECT_FALSE(Exists(InTrash(names_[i]))) << names_[i];
  }
}

}  // namespace
}  // namespace twinseek
